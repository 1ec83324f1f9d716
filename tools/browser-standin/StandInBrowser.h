// The stand-in for the system web browser control: an in-place activatable
// object that shows mock pages in a child window of its site and navigates like
// a browser (BeforeNavigate2 with Cancel, NavigateComplete2, DocumentComplete),
// firing the events from its own message queue, never from inside a call.
#pragma once

#include "MockPage.h"
#include "WebBrowserDefaults.h"
#include "WebBrowserEventsPoint.h"

#include <windows.h>
#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>

#include <deque>
#include <string>
#include <vector>

class MockDocument;

class StandInBrowser final : public WebBrowser2Defaults,
                             public IOleObject,
                             public IOleInPlaceObject,
                             public IOleInPlaceActiveObject,
                             public IViewObjectEx,
                             public IPersistStreamInit,
                             public IOleControl,
                             public IOleCommandTarget,
                             public IConnectionPointContainer {
public:
    // Creates a browser and answers the interface asked for.
    static HRESULT Create(REFIID iid, void** object);

    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

    // IUnknown (one identity for every interface)
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IWebBrowser2
    STDMETHODIMP GoBack() override;
    STDMETHODIMP GoForward() override;
    STDMETHODIMP GoHome() override;
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                          VARIANT* headers) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP Refresh2(VARIANT* level) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP get_Application(IDispatch** application) override;
    STDMETHODIMP get_Document(IDispatch** document) override;
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* topLevel) override;
    STDMETHODIMP get_Type(BSTR* type) override;
    STDMETHODIMP get_LocationName(BSTR* name) override;
    STDMETHODIMP get_LocationURL(BSTR* url) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) override;
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP get_HWND(SHANDLE_PTR* window) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* visible) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL visible) override;
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                           VARIANT* headers) override;
    STDMETHODIMP QueryStatusWB(OLECMDID command, OLECMDF* status) override;
    STDMETHODIMP ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* input,
                        VARIANT* output) override;
    STDMETHODIMP get_ReadyState(READYSTATE* state) override;
    STDMETHODIMP get_Silent(VARIANT_BOOL* silent) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL silent) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR application, LPCOLESTR object) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* activeSite, LONG index,
                        HWND parent, LPCRECT position) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* classId) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* userType) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow (shared by IOleInPlaceObject and IOleInPlaceActiveObject)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;

    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG message) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IViewObject, IViewObject2, IViewObjectEx
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                      HDC targetDevice, HDC dc, LPCRECTL bounds, LPCRECTL metafileBounds,
                      BOOL(STDMETHODCALLTYPE* proceed)(ULONG_PTR),
                      ULONG_PTR proceedArgument) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                             HDC targetDevice, LOGPALETTE** colours) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
    STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
    STDMETHODIMP GetViewStatus(DWORD* status) override;
    STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG closeHint,
                               DWORD* hitResult) override;
    STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG closeHint,
                              DWORD* hitResult) override;
    STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device,
                                  HDC targetDevice, DVEXTENTINFO* info, LPSIZEL size) override;

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* message) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID property) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD option, VARIANT* input,
                      VARIANT* output) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

private:
    // A navigation waiting for its turn in the message queue.
    struct PendingNavigation {
        std::wstring address;
        int historyStep; // 0 for a new address, -1 / +1 for back / forward
    };

    StandInBrowser();
    ~StandInBrowser();

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Becomes in-place active in a child window of the site's window, and UI
    // active when asked.
    HRESULT Activate(IOleClientSite* activeSite, HWND parentHint, LPCRECT positionHint,
                     bool uiActivate);
    // Queues a navigation and posts its turn; E_FAIL without a message queue.
    HRESULT QueueNavigation(const std::wstring& address, int historyStep);
    // Runs the oldest queued navigation: BeforeNavigate2, then (not cancelled)
    // the new page, NavigateComplete2 and DocumentComplete.
    void RunNextNavigation();
    // Shows the page of a navigation that went through.
    void LoadPage(const PendingNavigation& navigation, bool unreachable);
    // Drops the current document and lets go of the host's UI handler.
    void DropDocument();
    void Repaint();

    IDispatch* Dispatch() { return static_cast<IWebBrowser2*>(this); }

    LONG references_ = 1;
    IOleClientSite* clientSite_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    IOleInPlaceFrame* frame_ = nullptr;
    IOleInPlaceUIWindow* uiWindow_ = nullptr;
    WebBrowserEventsPoint events_;

    HWND window_ = nullptr;      // the page window, while in-place active
    HWND queueWindow_ = nullptr; // message-only window that runs queued navigations
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    RECT objectRect_{}; // last SetObjectRects position, in the site's window
    bool hasObjectRect_ = false;
    SIZEL extent_{}; // HIMETRIC
    bool silent_ = false;
    bool visible_ = true;

    MockPage page_;
    MockDocument* document_ = nullptr;
    std::deque<PendingNavigation> pending_;
    // Bumped by Stop and Close: a navigation under way stops firing events.
    unsigned navigationSerial_ = 0;
    std::vector<std::wstring> history_;
    size_t historyIndex_ = 0;
    int refreshCount_ = 0;
};
