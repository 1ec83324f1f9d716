// The control behind the skin element "WebBrowser": hosts the system web browser,
// hears its events and relays them to a CWebBrowserEventHandler, answers the
// document's host questions (through the handler when one is set), swallows script
// errors, offers the download manager service and hands keys to the browser while the
// keyboard focus is inside it. Every loaded page loses its border and scroll bars.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <servprov.h>

#include "activex/ActiveXUI.h"
#include "activex/WebBrowserEventHandler.h"
#include "core/Handles.h"
#include "core/SkinString.h"
#include "window/TranslateAccelerator.h"

namespace SkinUI {

class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IDownloadManager {
public:
    CWebBrowserUI();
    /// Lets go of the browser and its connections while this object is still whole.
    ~CWebBrowserUI() override;

    /// "WebBrowserUI".
    const wchar_t* GetClass() const override;
    /// This control for "WebBrowser", else the ActiveX host's answer.
    void* GetInterface(const wchar_t* name) override;
    /// "homepage" and "autonavi"; other names go to the ActiveX host.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

    /// Address that auto-navigation and NavigateHomePage go to.
    void SetHomePage(const wchar_t* homePage);
    CSkinString GetHomePage() const;
    /// Navigate to the home page as soon as the browser is created.
    void SetAutoNavigation(bool autoNavigation = true);
    bool IsAutoNavigation() const;
    /// Replaces the handler (not owned); null keeps the current one.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler);
    CWebBrowserEventHandler* GetWebBrowserEventHandler() const;

    /// IWebBrowser2::Navigate2 to url; nothing without a browser or an address.
    void Navigate2(const wchar_t* url);
    /// IWebBrowser2::Navigate to url; nothing without a browser or an address.
    void NavigateUrl(const wchar_t* url);
    /// NavigateUrl(home page) when there is one.
    void NavigateHomePage();
    void Refresh();
    /// Refresh with a REFRESH_* level (3 reloads completely).
    void Refresh2(int level);
    void GoBack();
    void GoForward();
    /// The hosted browser, null before creation (not AddRef'd).
    IWebBrowser2* GetWebBrowser2() const;
    /// The current document's window as IDispatch (AddRef'd: the caller releases it), or
    /// null when there is no document.
    IDispatch* GetHtmlWindow();

    /// The DISPID of a name (locale 2048), -1 when the object does not know it.
    static DISPID FindId(IDispatch* disp, const wchar_t* name);
    /// Calls a method by name with count arguments (last argument first, as COM passes
    /// them); E_FAIL for an unknown name.
    static HRESULT InvokeMethod(IDispatch* disp, const wchar_t* name, VARIANT* result,
                                VARIANT* args, int count);
    /// Reads a property by name into result.
    static HRESULT GetProperty(IDispatch* disp, const wchar_t* name, VARIANT* result);
    /// Writes a property by name.
    static HRESULT SetProperty(IDispatch* disp, const wchar_t* name, VARIANT* value);

    // IUnknown: one count for every face; reaching 0 frees nothing, the control tree
    // owns the object.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the DWebBrowserEvents2 sink.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    /// Relays the browser's events to the handler; checks the arguments of each.
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IDocHostUIHandler: the handler's answers, fixed ones without a handler.
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                 IDispatch* object) override;
    /// Never forwarded: no 3D border and no scroll bars.
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                        IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* doc) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                              BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD commandId) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* data, IDataObject** filtered) override;

    // IServiceProvider: only the download manager.
    STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget: swallows script errors.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD commandId, DWORD options, VARIANT* input,
                      VARIANT* output) override;

    // IDownloadManager: the handler decides; without one the download is dropped.
    STDMETHODIMP Download(IMoniker* moniker, IBindCtx* bindContext, DWORD bindVerb, LONG formatEtc,
                          BINDINFO* bindInfo, LPCOLESTR headers, LPCOLESTR redirect,
                          UINT codePage) override;

    // ITranslateAccelerator: key messages go to the browser while the focus is inside
    // the host window; 0 when the browser used the key.
    LRESULT TranslateAccelerator(MSG* msg) override;

protected:
    /// Creates the browser, registers for keys, auto-navigates and sinks the events. False,
    /// with nothing hosted, when the object is no IWebBrowser2 or its events cannot be
    /// connected: such a control could neither navigate nor tell where pages go.
    bool DoCreateControl() override;
    /// Releases the document's handler, the event sink and the browser, then the host.
    void ReleaseControl() override;
    /// Connects (advise) or disconnects this object as the browser's event sink.
    HRESULT RegisterEventHandler(bool advise);

    /// Makes this object the new document's host UI handler, then tells the handler.
    void OnNavigateComplete2(IDispatch* pDisp, VARIANT*& url);
    /// Takes the border and scroll bars off the finished document's body.
    void OnDocumentComplete();

    CComPtr<IWebBrowser2> m_pWebBrowser2; ///< the hosted browser
    LONG m_dwRef;                         ///< COM reference count, informative only
    CComPtr<IHTMLWindow2> m_pHtmlWnd2;    ///< last answer of GetHtmlWindow
    DWORD m_dwCookie;                     ///< event sink connection, 0 when not connected
    CSkinString m_sHomePage;              ///< auto-navigation and NavigateHomePage address
    bool m_bAutoNavi;                     ///< navigate home once created
    CWebBrowserEventHandler* m_pWebBrowserEventHandler; ///< not owned, may be null

private:
    void ReleaseBrowser();
    /// Undoes a creation that failed half-way, keeping layouts from retrying it; false.
    bool AbandonCreation();
    // Sets or clears (null) the UI handler of the current document.
    void SetDocumentUIHandler(IDocHostUIHandler* handler);
};

} // namespace SkinUI
