#include "activex/ActiveXUI.h"

#include <windowsx.h>

#include <cwchar>
#include <new>

#include "activex/ActiveXCtrl.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// Class id text is copied into a buffer of this many characters, terminator included.
constexpr size_t kClassTextSize = 100;
// The mouse range the object sees: up to the extra-button double click.
constexpr UINT kLastMouseMessage = 0x020D;
// The keyboard range the object sees: WM_KEYFIRST to 0x108, without WM_UNICHAR.
constexpr UINT kLastKeyMessage = 0x0108;

using DllGetClassObjectProc = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowProc = HRESULT(STDAPICALLTYPE*)();
using AnyProc = void (*)();

template <class T> T ModuleEntry(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<AnyProc>(::GetProcAddress(module, name)));
}

// Frees a class module unless it says objects of it are still alive; then it stays loaded
// rather than pulling code from under them.
void FreeClassModule(HMODULE& module) {
    if (module == nullptr) return;
    auto canUnload = ModuleEntry<DllCanUnloadNowProc>(module, "DllCanUnloadNow");
    if (canUnload == nullptr || canUnload() == S_OK) ::FreeLibrary(module);
    module = nullptr;
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL), m_bCreated(false), m_bDelayCreated(true), m_hwndHost(nullptr) {}

CActiveXUI::~CActiveXUI() {
    CActiveXUI::ReleaseControl();
}

const wchar_t* CActiveXUI::GetClass() const {
    return L"ActiveXUI";
}

void* CActiveXUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ActiveX") == 0) return this;
    return CControlUI::GetInterface(name);
}

HWND CActiveXUI::GetHostWindow() const {
    return m_hwndHost;
}

bool CActiveXUI::IsDelayCreate() const {
    return m_bDelayCreated;
}

void CActiveXUI::SetDelayCreate(bool delayCreate) {
    if (m_bDelayCreated == delayCreate) return;
    if (!delayCreate && !m_bCreated && !IsEqualCLSID(m_clsid, GUID_NULL)) DoCreateControl();
    m_bDelayCreated = delayCreate;
}

bool CActiveXUI::CreateControl(const CLSID clsid) {
    if (IsEqualCLSID(clsid, GUID_NULL)) return false;
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreated) return DoCreateControl();
    return true;
}

bool CActiveXUI::CreateControl(const wchar_t* clsidOrProgId) {
    if (clsidOrProgId == nullptr) return false;
    wchar_t text[kClassTextSize] = {};
    for (size_t i = 0; i + 1 < kClassTextSize && clsidOrProgId[i] != L'\0'; ++i)
        text[i] = clsidOrProgId[i];
    CLSID clsid = GUID_NULL;
    const HRESULT hr =
        text[0] == L'{' ? ::CLSIDFromString(text, &clsid) : ::CLSIDFromProgID(text, &clsid);
    if (FAILED(hr)) return false;
    return CreateControl(clsid);
}

HRESULT CActiveXUI::GetControl(const IID iid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (!m_pUnk) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppv);
}

CLSID CActiveXUI::GetClisd() const {
    return m_clsid;
}

CSkinString CActiveXUI::GetModuleName() const {
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(const wchar_t* moduleName) {
    m_sModuleName = moduleName != nullptr ? moduleName : L"";
}

void CActiveXUI::SyncHostVisibility() {
    if (m_hwndHost == nullptr || !m_pControl || m_pControl->IsWindowless()) return;
    ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    SyncHostVisibility();
}

void CActiveXUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    SyncHostVisibility();
}

void CActiveXUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    if (!m_bCreated) DoCreateControl();
    if (!m_pUnk || !m_pControl) return;

    SIZEL extent{};
    {
        const CWindowDC screen(nullptr);
        extent.cx = ::MulDiv(2540, m_rcItem.right - m_rcItem.left,
                             ::GetDeviceCaps(screen.Get(), LOGPIXELSX));
        extent.cy = ::MulDiv(2540, m_rcItem.bottom - m_rcItem.top,
                             ::GetDeviceCaps(screen.Get(), LOGPIXELSY));
    }
    m_pUnk->SetExtent(DVASPECT_CONTENT, &extent);

    const bool windowless = m_pControl->IsWindowless();
    if (IOleInPlaceObject* inPlace = m_pControl->GetInPlaceObject()) {
        RECT rc = m_rcItem;
        if (!windowless) ::OffsetRect(&rc, -rc.left, -rc.top);
        inPlace->SetObjectRects(&rc, &rc);
    }
    if (!windowless && m_hwndHost != nullptr)
        ::MoveWindow(m_hwndHost, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& paintRect) {
    RECT overlap{};
    if (!::IntersectRect(&overlap, &paintRect, &m_rcItem)) return;
    if (!m_pControl || !m_pControl->IsWindowless()) return;
    IViewObject* view = m_pControl->GetViewObject();
    if (view == nullptr) return;
    const RECTL bounds{m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &bounds, &bounds, nullptr, 0);
}

void CActiveXUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    if (wcscmp(name, L"clsid") == 0)
        CreateControl(value);
    else if (wcscmp(name, L"modulename") == 0)
        SetModuleName(value);
    else if (wcscmp(name, L"delaycreate") == 0)
        SetDelayCreate(wcscmp(value, L"true") == 0);
    else
        CControlUI::SetAttribute(name, value);
}

bool CActiveXUI::HitTest(UINT message, LPARAM lParam) const {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const HWND paintWindow = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
    // WM_SETCURSOR carries no point, and the wheel's point is on the screen.
    if (message == WM_SETCURSOR) ::GetCursorPos(&point);
    if (message == WM_SETCURSOR || message == WM_MOUSEWHEEL) ::ScreenToClient(paintWindow, &point);
    // Only IViewObjectEx can tell; without it the whole rectangle counts.
    IViewObjectEx* viewEx = m_pControl->GetViewObjectEx();
    if (viewEx == nullptr) return ::PtInRect(&m_rcItem, point) != FALSE;
    DWORD hit = HITRESULT_OUTSIDE;
    return viewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, point, 0, &hit) == S_OK &&
           hit == HITRESULT_HIT;
}

LRESULT CActiveXUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (!m_pControl || !m_pControl->IsInPlaceActive()) return 0;
    IOleInPlaceObjectWindowless* windowless = m_pControl->GetWindowlessObject();
    if (windowless == nullptr || !IsVisible()) return 0;

    bool passedOn = false; // the object sees it, the window still handles it
    const bool mouse = message >= WM_MOUSEFIRST && message <= kLastMouseMessage;
    if (mouse || message == WM_SETCURSOR) {
        if (mouse && !IsMouseEnabled()) return 0;
        if (!m_pControl->IsCaptured() && !HitTest(message, lParam)) return 0;
        passedOn = message == WM_SETCURSOR;
    } else if (message >= WM_KEYFIRST && message <= kLastKeyMessage) {
        if (!IsFocused()) return 0;
    } else if (message == WM_HELP || message == WM_CONTEXTMENU) {
        passedOn = true;
    } else {
        return 0;
    }
    LRESULT result = 0;
    if (windowless->OnWindowMessage(message, wParam, lParam, &result) == S_OK && !passedOn)
        handled = true;
    return result;
}

CComPtr<IUnknown> CActiveXUI::CreateFromModule() {
    const HMODULE module = ::LoadLibraryW(m_sModuleName.GetData());
    if (module == nullptr) return nullptr;
    CComPtr<IUnknown> object;
    CComPtr<IClassFactory> factory;
    auto getClassObject = ModuleEntry<DllGetClassObjectProc>(module, "DllGetClassObject");
    if (getClassObject != nullptr &&
        SUCCEEDED(getClassObject(m_clsid, IID_IClassFactory, factory.ReceiveAsVoid())) && factory &&
        FAILED(factory->CreateInstance(nullptr, IID_IOleObject, object.ReceiveAsVoid())))
        object.Reset();
    factory.Reset();
    // The module stays loaded while its object lives and goes with it.
    m_hModule = module;
    if (!object) FreeClassModule(m_hModule);
    return object;
}

bool CActiveXUI::DoCreateControl() {
    ReleaseControl();
    m_bCreated = true;

    CComPtr<IUnknown> first;
    if (!m_sModuleName.IsEmpty()) first = CreateFromModule();
    if (!first && FAILED(::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
                                            first.ReceiveAsVoid())))
        first.Reset();
    if (!first) return false;
    m_pUnk.QueryFrom(first.Get(), IID_IOleObject);
    first.Reset();
    if (!m_pUnk) {
        Abandon();
        return false;
    }

    m_pControl.Attach(new (std::nothrow) CActiveXCtrl(this));
    if (!m_pControl) {
        Abandon();
        return false;
    }
    DWORD misc = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &misc);
    CComPtr<IOleClientSite> clientSite;
    clientSite.QueryFrom(m_pControl.Get(), IID_IOleClientSite);
    if ((misc & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(clientSite.Get());

    CComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(persist.QueryFrom(m_pUnk.Get(), IID_IPersistStreamInit)) &&
        FAILED(persist->InitNew())) {
        persist.Reset();
        clientSite.Reset();
        Abandon();
        return false;
    }
    persist.Reset();
    if ((misc & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(clientSite.Get());

    m_pControl->SetViewObject(m_pUnk.Get());
    m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyType::kShowActiveX, 0, 0, false);

    // The object may be gone if a notification handler released it.
    HRESULT hr = m_pUnk ? S_OK : E_ABORT;
    if (m_pUnk && (misc & OLEMISC_INVISIBLEATRUNTIME) == 0)
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite.Get(), 0,
                            m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr,
                            &m_rcItem);
    clientSite.Reset();

    // The creation stands or falls with the activation; the site hand-over is optional.
    CComPtr<IObjectWithSite> withSite;
    if (SUCCEEDED(withSite.QueryFrom(m_pUnk.Get(), IID_IObjectWithSite)))
        withSite->SetSite(static_cast<IOleClientSite*>(m_pControl.Get()));
    withSite.Reset();
    if (FAILED(hr)) {
        Abandon();
        return false;
    }
    SyncHostVisibility();
    return true;
}

void CActiveXUI::Abandon() {
    // Only what this class set up exists yet; derived releases may clear the created flag.
    CActiveXUI::ReleaseControl();
    m_bCreated = true;
}

void CActiveXUI::ReleaseControl() {
    m_hwndHost = nullptr;
    if (m_pUnk) {
        CComPtr<IObjectWithSite> withSite;
        if (SUCCEEDED(withSite.QueryFrom(m_pUnk.Get(), IID_IObjectWithSite)))
            withSite->SetSite(nullptr);
        withSite.Reset();
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        m_pUnk.Reset();
    }
    if (m_pControl) {
        m_pControl->Detach();
        m_pControl.Reset();
    }
    if (m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
    FreeClassModule(m_hModule);
}

} // namespace SkinUI
