#include "activex/ActiveXCtrl.h"

#include "activex/ActiveXEnum.h"
#include "activex/ActiveXFrameWnd.h"
#include "activex/ActiveXUI.h"
#include "activex/ActiveXWnd.h"
#include "window/PaintManagerUI.h"

#include <new>

namespace SkinUI {

CActiveXCtrl::CActiveXCtrl(CActiveXUI* owner) : m_pOwner(owner) {}

CActiveXCtrl::~CActiveXCtrl() {
    Detach();
}

void CActiveXCtrl::Detach() {
    EndActivation();
    DestroyActiveXWnd();
    m_pOwner = nullptr;
    m_pUnkSite.Reset();
    m_pViewObjectEx.Reset();
    m_pViewObject.Reset();
    m_pInPlaceObject.Reset();
    m_bInPlaceActive = false;
}

void CActiveXCtrl::SetViewObject(IUnknown* object) {
    m_pViewObjectEx.Reset();
    m_pViewObject.Reset();
    if (object == nullptr) return;
    if (SUCCEEDED(m_pViewObjectEx.QueryFrom(object, IID_IViewObjectEx))) {
        m_pViewObject = CComPtr<IViewObject>(m_pViewObjectEx.Get());
        return;
    }
    if (FAILED(m_pViewObject.QueryFrom(object, IID_IViewObject2)))
        m_pViewObject.QueryFrom(object, IID_IViewObject);
}

IOleInPlaceObjectWindowless* CActiveXCtrl::GetWindowlessObject() const {
    if (!m_bWindowless || !m_pInPlaceObject) return nullptr;
    return static_cast<IOleInPlaceObjectWindowless*>(m_pInPlaceObject.Get());
}

HWND CActiveXCtrl::HostWindow() const {
    return m_pOwner != nullptr ? m_pOwner->m_hwndHost : nullptr;
}

HRESULT CActiveXCtrl::CreateActiveXWnd() {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pWindow == nullptr) {
        CPaintManagerUI* manager = m_pOwner->GetManager();
        m_pWindow = new (std::nothrow) CActiveXWnd;
        if (m_pWindow == nullptr) return E_OUTOFMEMORY;
        if (m_pWindow->Init(this, manager != nullptr ? manager->GetPaintWindow() : nullptr) ==
            nullptr) {
            delete m_pWindow;
            m_pWindow = nullptr;
            return E_FAIL;
        }
    }
    m_pOwner->m_hwndHost = m_pWindow->GetHWND();
    return S_OK;
}

void CActiveXCtrl::DestroyActiveXWnd() {
    if (m_pWindow == nullptr) return;
    const HWND window = m_pWindow->GetHWND();
    if (m_pOwner != nullptr && m_pOwner->m_hwndHost == window && window != nullptr)
        m_pOwner->m_hwndHost = nullptr;
    if (::IsWindow(window)) ::DestroyWindow(window);
    delete m_pWindow;
    m_pWindow = nullptr;
}

void CActiveXCtrl::RemoveMessageFilter() {
    // From the manager it went to, even if the owner has moved on to another since.
    if (m_pFilterManager != nullptr && m_pOwner != nullptr)
        m_pFilterManager->RemoveMessageFilter(m_pOwner);
    m_pFilterManager = nullptr;
}

void CActiveXCtrl::EndActivation() {
    // Each activation registers the filter and may ask for a window context again: neither
    // may outlive it, or they pile up.
    RemoveMessageFilter();
    if (m_bLockedRunning && m_pOwner != nullptr && m_pOwner->m_pUnk)
        ::OleLockRunning(m_pOwner->m_pUnk.Get(), FALSE, FALSE);
    m_bLockedRunning = false;
    m_hAccel.Reset();
}

// ---- IUnknown

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IOleClientSite))
        *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleInPlaceSiteWindowless) ||
             IsEqualIID(iid, IID_IOleInPlaceSiteEx) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
             IsEqualIID(iid, IID_IOleWindow))
        *object = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (IsEqualIID(iid, IID_IOleControlSite))
        *object = static_cast<IOleControlSite*>(this);
    else if (IsEqualIID(iid, IID_IObjectWithSite))
        *object = static_cast<IObjectWithSite*>(this);
    else if (IsEqualIID(iid, IID_IOleContainer) || IsEqualIID(iid, IID_IParseDisplayName))
        *object = static_cast<IOleContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef() {
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release() {
    const LONG left = --m_dwRef;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// ---- IObjectWithSite

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site) {
    m_pUnkSite = CComPtr<IUnknown>(site);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID iid, void** site) {
    if (site == nullptr) return E_POINTER;
    *site = nullptr;
    if (!m_pUnkSite) return E_FAIL;
    return m_pUnkSite->QueryInterface(iid, site);
}

// ---- IOleClientSite

STDMETHODIMP CActiveXCtrl::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** container) {
    if (container == nullptr) return E_POINTER;
    *container = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite)
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(container));
    if (FAILED(hr)) hr = QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(container));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject() {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const CWindowDC dc(HostWindow());
    if (!dc) return E_FAIL;
    if (m_pViewObject) {
        const RECT& rc = m_pOwner->GetPos();
        const RECTL bounds{rc.left, rc.top, rc.right, rc.bottom};
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.Get(), &bounds,
                            &bounds, nullptr, 0);
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

// ---- IOleInPlaceSiteWindowless

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture() {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture) {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_bCaptured = capture == TRUE;
    if (m_bCaptured)
        ::SetCapture(HostWindow());
    else
        ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus() {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus) {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (focus) m_pOwner->SetFocus();
    m_bFocused = focus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD flags, HDC* hDC) {
    if (hDC == nullptr) return E_POINTER;
    *hDC = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    // Lent to the object, which gives it back through ReleaseDC.
    CWindowDC dc(HostWindow());
    if (!dc) return E_FAIL;
    if ((flags & OLEDC_PAINTBKGND) != 0) {
        RECT rc = m_pOwner->GetPos();
        if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
        ::FillRect(dc.Get(), &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    *hDC = dc.Detach();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC) {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const HWND host = HostWindow();
    if (host == nullptr) return E_FAIL;
    return CWindowDC::Adopt(host, hDC).Reset() ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rect, BOOL erase) {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const HWND host = HostWindow();
    if (host == nullptr) return E_FAIL;
    return ::InvalidateRect(host, rect, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN region, BOOL erase) {
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const HWND host = HostWindow();
    if (host == nullptr) return E_FAIL;
    return ::InvalidateRgn(host, region, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT* result) {
    if (result == nullptr) return E_POINTER;
    *result = 0;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *result = ::DefWindowProcW(HostWindow(), message, wParam, lParam);
    return S_OK;
}

// ---- IOleInPlaceSiteEx

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) {
    if (noRedraw != nullptr) *noRedraw = FALSE;
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) return E_UNEXPECTED;
    IOleObject* object = m_pOwner->m_pUnk.Get();
    if (!m_bLockedRunning) m_bLockedRunning = SUCCEEDED(::OleLockRunning(object, TRUE, FALSE));
    // A repeated activation registers the filter once, not once more.
    RemoveMessageFilter();
    m_pInPlaceObject.Reset();
    HRESULT hr = E_FAIL;
    if ((flags & ACTIVATE_WINDOWLESS) != 0) {
        CComPtr<IOleInPlaceObjectWindowless> windowless;
        hr = windowless.QueryFrom(object, IID_IOleInPlaceObjectWindowless);
        if (SUCCEEDED(hr)) {
            m_bWindowless = true;
            m_pInPlaceObject.Attach(windowless.Detach());
            CPaintManagerUI* manager = m_pOwner->GetManager();
            m_pOwner->m_hwndHost = manager != nullptr ? manager->GetPaintWindow() : nullptr;
            if (manager != nullptr && manager->AddMessageFilter(m_pOwner))
                m_pFilterManager = manager;
        } else {
            hr = E_FAIL;
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        m_pInPlaceObject.QueryFrom(object, IID_IOleInPlaceObject);
    }
    if (m_pInPlaceObject) {
        RECT rc = m_pOwner->GetPos();
        if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL) {
    m_bInPlaceActive = false;
    m_pInPlaceObject.Reset();
    EndActivation();
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() {
    return S_OK;
}

// ---- IOleInPlaceSite

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate() {
    return OnInPlaceActivateEx(nullptr, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate() {
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame,
                                            IOleInPlaceUIWindow** document, LPRECT position,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        frameInfo == nullptr)
        return E_POINTER;
    *frame = nullptr;
    *document = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const HWND host = HostWindow();
    if (host != nullptr) {
        ::GetClientRect(host, position);
        ::GetClientRect(host, clip);
    }
    *frame = new (std::nothrow) CActiveXFrameWnd(this);
    if (*frame == nullptr) return E_OUTOFMEMORY;
    // One table per site, reused by later calls and freed when the activation ends.
    if (!m_hAccel) {
        ACCEL empty{};
        m_hAccel.Reset(::CreateAcceleratorTableW(&empty, 1));
    }
    CPaintManagerUI* manager = m_pOwner->GetManager();
    frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = manager != nullptr ? manager->GetPaintWindow() : nullptr;
    frameInfo->haccel = m_hAccel.Get();
    frameInfo->cAccelEntries = 1;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL) {
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() {
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) {
    return E_NOTIMPL;
}

// ---- IOleWindow

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) CreateActiveXWnd();
    *window = m_pOwner->m_hwndHost;
    return *window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) {
    return S_OK;
}

// ---- IOleControlSite

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** dispatch) {
    if (dispatch == nullptr) return E_POINTER;
    *dispatch = nullptr;
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) {
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL focus) {
    m_bFocused = focus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() {
    return E_NOTIMPL;
}

// ---- IOleContainer

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker) {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** enumerator) {
    if (enumerator == nullptr) return E_POINTER;
    *enumerator = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *enumerator = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk.Get());
    return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock) {
    m_bLocked = lock != FALSE;
    return S_OK;
}

} // namespace SkinUI
