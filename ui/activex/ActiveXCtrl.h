// The OLE container side of a hosted ActiveX object: client site, in-place site
// (windowless capable), control site, object-with-site and container, all in one
// reference-counted object bound to its CActiveXUI.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>

#include "core/Handles.h"

namespace SkinUI {

class CActiveXUI;
class CActiveXWnd;
class CPaintManagerUI;

class CActiveXCtrl final : public IOleClientSite,
                           public IOleInPlaceSiteWindowless,
                           public IOleControlSite,
                           public IObjectWithSite,
                           public IOleContainer {
public:
    /// Starts with one reference, which the owner holds.
    explicit CActiveXCtrl(CActiveXUI* owner);
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    /// Cuts the site loose from its owner: every interface it holds is released and the
    /// host window goes; calls that need the owner answer E_UNEXPECTED from then on.
    void Detach();
    CActiveXUI* GetOwner() const { return m_pOwner; }

    /// Takes the object's view interface: IViewObjectEx, else IViewObject2, else IViewObject.
    void SetViewObject(IUnknown* object);
    IViewObject* GetViewObject() const { return m_pViewObject.Get(); }
    /// Only set when the object has IViewObjectEx (hit tests need it).
    IViewObjectEx* GetViewObjectEx() const { return m_pViewObjectEx.Get(); }
    IOleInPlaceObject* GetInPlaceObject() const { return m_pInPlaceObject.Get(); }
    /// The in-place object of a windowless activation, else null.
    IOleInPlaceObjectWindowless* GetWindowlessObject() const;
    /// The accelerator table handed out by GetWindowContext, while it lives.
    HACCEL GetAcceleratorTable() const { return m_hAccel.Get(); }

    bool IsWindowless() const { return m_bWindowless; }
    bool IsInPlaceActive() const { return m_bInPlaceActive; }
    bool IsUIActive() const { return m_bUIActivated; }
    bool IsCaptured() const { return m_bCaptured; }
    bool IsFocused() const { return m_bFocused; }
    void SetFocused(bool focused) { m_bFocused = focused; }
    bool IsContainerLocked() const { return m_bLocked; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD whichMoniker, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override;
    STDMETHODIMP GetCapture() override;
    STDMETHODIMP SetCapture(BOOL capture) override;
    STDMETHODIMP GetFocus() override;
    STDMETHODIMP SetFocus(BOOL focus) override;
    STDMETHODIMP GetDC(LPCRECT rect, DWORD flags, HDC* hDC) override;
    STDMETHODIMP ReleaseDC(HDC hDC) override;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN region, BOOL erase) override;
    STDMETHODIMP ScrollRect(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    STDMETHODIMP AdjustRect(LPRECT rect) override;
    STDMETHODIMP OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    /// E_OUTOFMEMORY, with null outputs, when the frame cannot be made.
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** dispatch) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL focus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IOleContainer
    STDMETHODIMP ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                  IMoniker** moniker) override;
    /// E_OUTOFMEMORY, with a null output, when the enumerator cannot be made.
    STDMETHODIMP EnumObjects(DWORD flags, IEnumUnknown** enumerator) override;
    STDMETHODIMP LockContainer(BOOL lock) override;

private:
    ~CActiveXCtrl();

    /// Creates the "UIActiveX" host window if there is none and makes it the owner's.
    HRESULT CreateActiveXWnd();
    /// Destroys and frees the host window object.
    void DestroyActiveXWnd();
    /// The owner's host window, or null.
    HWND HostWindow() const;
    /// Takes the owner's message filter off its manager.
    void RemoveMessageFilter();
    /// Undoes what an activation set up: the message filter, the running lock and the
    /// accelerator table of the window context.
    void EndActivation();

    LONG m_dwRef = 1;
    CActiveXUI* m_pOwner;                        ///< cleared on Detach
    CActiveXWnd* m_pWindow = nullptr;            ///< host window object, owned
    CComPtr<IUnknown> m_pUnkSite;                ///< given through IObjectWithSite
    CComPtr<IViewObject> m_pViewObject;          ///< best view interface of the object
    CComPtr<IViewObjectEx> m_pViewObjectEx;      ///< for hit tests, when the object has it
    CComPtr<IOleInPlaceObject> m_pInPlaceObject; ///< windowless one when windowless
    CAcceleratorTable m_hAccel;                  ///< table of the window context
    CPaintManagerUI* m_pFilterManager = nullptr; ///< holds the owner's message filter
    bool m_bLocked = false;
    bool m_bLockedRunning = false; ///< the object is locked running until deactivation
    bool m_bFocused = false;
    bool m_bCaptured = false;
    bool m_bUIActivated = false;
    bool m_bInPlaceActive = false;
    bool m_bWindowless = true; ///< until in-place activation decides
};

} // namespace SkinUI
