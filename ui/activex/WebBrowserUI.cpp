#include "activex/WebBrowserUI.h"

#include "activex/DocHostCommand.h"
#include "activex/EventArguments.h"
#include "window/PaintManagerUI.h"

#include <exdispid.h>

namespace SkinUI {

namespace {

// Locale of every call by name: the system default, as scripts expect.
constexpr LCID kDispatchLocale = LOCALE_SYSTEM_DEFAULT;
// Asked through the sink's IDispatch: what the browser may download.
constexpr DISPID kAmbientDownloadControl = -5512;
// Images and videos, no background sounds (DLCTL_DLIMAGES | DLCTL_VIDEOS).
constexpr LONG kDownloadControlFlags = 0x10 | 0x20;
// Key messages, WM_KEYDOWN to WM_SYSDEADCHAR, are what the browser may translate.
constexpr UINT kFirstKeyMessage = 0x100;
constexpr UINT kLastKeyMessage = 0x108;

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_dwRef(0), m_dwCookie(0), m_bAutoNavi(false), m_pWebBrowserEventHandler(nullptr) {
    m_clsid = CLSID_WebBrowser;
}

CWebBrowserUI::~CWebBrowserUI() {
    CWebBrowserUI::ReleaseControl();
}

const wchar_t* CWebBrowserUI::GetClass() const {
    return L"WebBrowserUI";
}

void* CWebBrowserUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"WebBrowser") == 0) return this;
    return CActiveXUI::GetInterface(name);
}

void CWebBrowserUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    if (wcscmp(name, L"homepage") == 0)
        SetHomePage(value);
    else if (wcscmp(name, L"autonavi") == 0)
        SetAutoNavigation(wcscmp(value, L"true") == 0);
    else
        CActiveXUI::SetAttribute(name, value);
}

void CWebBrowserUI::SetHomePage(const wchar_t* homePage) {
    m_sHomePage = homePage != nullptr ? homePage : L"";
}

CSkinString CWebBrowserUI::GetHomePage() const {
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool autoNavigation) {
    m_bAutoNavi = autoNavigation;
}

bool CWebBrowserUI::IsAutoNavigation() const {
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* handler) {
    if (handler != nullptr && handler != m_pWebBrowserEventHandler)
        m_pWebBrowserEventHandler = handler;
}

CWebBrowserEventHandler* CWebBrowserUI::GetWebBrowserEventHandler() const {
    return m_pWebBrowserEventHandler;
}

void CWebBrowserUI::Navigate2(const wchar_t* url) {
    if (url == nullptr || !m_pWebBrowser2) return;
    CVariant address = CVariant::FromText(url);
    if (V_BSTR(address.Get()) == nullptr) return; // no memory for the copy
    m_pWebBrowser2->Navigate2(address.Get(), nullptr, nullptr, nullptr, nullptr);
}

void CWebBrowserUI::NavigateUrl(const wchar_t* url) {
    if (url == nullptr || !m_pWebBrowser2) return;
    const CBstr address(url);
    if (address.Get() == nullptr) return; // no memory for the copy
    m_pWebBrowser2->Navigate(address, nullptr, nullptr, nullptr, nullptr);
}

void CWebBrowserUI::NavigateHomePage() {
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage.GetData());
}

void CWebBrowserUI::Refresh() {
    if (m_pWebBrowser2) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int level) {
    if (!m_pWebBrowser2) return;
    CVariant value = CVariant::FromLong(level);
    m_pWebBrowser2->Refresh2(value.Get());
}

void CWebBrowserUI::GoBack() {
    if (m_pWebBrowser2) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward() {
    if (m_pWebBrowser2) m_pWebBrowser2->GoForward();
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const {
    return m_pWebBrowser2.Get();
}

IDispatch* CWebBrowserUI::GetHtmlWindow() {
    if (!m_pWebBrowser2) return nullptr;
    CComPtr<IDispatch> documentDispatch;
    if (FAILED(m_pWebBrowser2->get_Document(documentDispatch.Receive())) || !documentDispatch)
        return nullptr;
    CComPtr<IHTMLDocument2> document;
    if (FAILED(document.QueryFrom(documentDispatch.Get(), IID_IHTMLDocument2))) return nullptr;
    CComPtr<IHTMLWindow2> window;
    if (FAILED(document->get_parentWindow(window.Receive())) || !window) return nullptr;
    m_pHtmlWnd2 = std::move(window);
    CComPtr<IDispatch> answer;
    answer.QueryFrom(m_pHtmlWnd2.Get(), IID_IDispatch);
    return answer.Detach();
}

DISPID CWebBrowserUI::FindId(IDispatch* disp, const wchar_t* name) {
    if (disp == nullptr || name == nullptr) return -1;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = -1;
    if (FAILED(disp->GetIDsOfNames(IID_NULL, names, 1, kDispatchLocale, &id))) return -1;
    return id;
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* disp, const wchar_t* name, VARIANT* result,
                                    VARIANT* args, int count) {
    if (count < 0 || (count > 0 && args == nullptr)) return E_INVALIDARG;
    const DISPID id = FindId(disp, name);
    if (id == -1) return E_FAIL;
    DISPPARAMS params{args, nullptr, static_cast<UINT>(count), 0};
    return disp->Invoke(id, IID_NULL, kDispatchLocale, DISPATCH_METHOD, &params, result, nullptr,
                        nullptr);
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* disp, const wchar_t* name, VARIANT* result) {
    const DISPID id = FindId(disp, name);
    if (id == -1) return E_FAIL;
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return disp->Invoke(id, IID_NULL, kDispatchLocale, DISPATCH_PROPERTYGET, &params, result,
                        nullptr, nullptr);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* disp, const wchar_t* name, VARIANT* value) {
    if (value == nullptr) return E_INVALIDARG;
    const DISPID id = FindId(disp, name);
    if (id == -1) return E_FAIL;
    // A property put names its one argument, or IDispatch refuses it.
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{value, &putId, 1, 1};
    return disp->Invoke(id, IID_NULL, kDispatchLocale, DISPATCH_PROPERTYPUT, &params, nullptr,
                        nullptr, nullptr);
}

// ---- Creation and release ----

bool CWebBrowserUI::DoCreateControl() {
    // A second creation: the old browser's connections go before it does.
    ReleaseBrowser();
    if (!CActiveXUI::DoCreateControl()) return false;
    if (CPaintManagerUI* manager = GetManager()) {
        manager->RemoveTranslateAccelerator(this);
        manager->AddTranslateAccelerator(this);
    }
    if (FAILED(GetControl(IID_IWebBrowser2, m_pWebBrowser2.ReceiveAsVoid())) || !m_pWebBrowser2)
        return AbandonCreation();
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) {
        Navigate2(L"about:blank");
        Navigate2(m_sHomePage.GetData());
    }
    if (FAILED(RegisterEventHandler(true))) return AbandonCreation();
    return true;
}

bool CWebBrowserUI::AbandonCreation() {
    ReleaseControl();
    m_bCreated = true;
    return false;
}

void CWebBrowserUI::ReleaseControl() {
    m_bCreated = false;
    if (CPaintManagerUI* manager = GetManager()) manager->RemoveTranslateAccelerator(this);
    ReleaseBrowser();
    CActiveXUI::ReleaseControl();
}

void CWebBrowserUI::ReleaseBrowser() {
    // The document and the browser hold this object: both let go before it can die.
    SetDocumentUIHandler(nullptr);
    RegisterEventHandler(false);
    m_pHtmlWnd2.Reset();
    m_pWebBrowser2.Reset();
}

HRESULT CWebBrowserUI::RegisterEventHandler(bool advise) {
    if (!m_pWebBrowser2) return E_NOINTERFACE;
    if (advise == (m_dwCookie != 0)) return S_OK;
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr = container.QueryFrom(m_pWebBrowser2.Get(), IID_IConnectionPointContainer);
    if (FAILED(hr)) return hr;
    CComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_NOINTERFACE;
    if (advise) {
        hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
        if (FAILED(hr)) m_dwCookie = 0;
    } else {
        hr = point->Unadvise(m_dwCookie);
        m_dwCookie = 0;
    }
    return hr;
}

void CWebBrowserUI::SetDocumentUIHandler(IDocHostUIHandler* handler) {
    if (!m_pWebBrowser2) return;
    CComPtr<IDispatch> document;
    if (FAILED(m_pWebBrowser2->get_Document(document.Receive())) || !document) return;
    CComPtr<ICustomDoc> customDoc;
    if (SUCCEEDED(customDoc.QueryFrom(document.Get(), __uuidof(ICustomDoc))))
        customDoc->SetUIHandler(handler);
}

// ---- Events ----

void CWebBrowserUI::OnNavigateComplete2(IDispatch* pDisp, VARIANT*& url) {
    SetDocumentUIHandler(static_cast<IDocHostUIHandler*>(this));
    if (m_pWebBrowserEventHandler != nullptr) {
        const CSkinString name = GetName();
        m_pWebBrowserEventHandler->NavigateComplete2(pDisp, url, name.GetData());
    }
}

void CWebBrowserUI::OnDocumentComplete() {
    if (!m_pWebBrowser2) return;
    CComPtr<IDispatch> documentDispatch;
    if (FAILED(m_pWebBrowser2->get_Document(documentDispatch.Receive())) || !documentDispatch)
        return;
    CComPtr<IHTMLDocument2> document;
    if (FAILED(document.QueryFrom(documentDispatch.Get(), IID_IHTMLDocument2))) return;
    CComPtr<IHTMLElement> body;
    if (FAILED(document->get_body(body.Receive())) || !body) return;

    CComPtr<IHTMLBodyElement> bodyElement;
    if (SUCCEEDED(bodyElement.QueryFrom(body.Get(), IID_IHTMLBodyElement)))
        bodyElement->put_scroll(CBstr(L"no"));
    CComPtr<IHTMLStyle> style;
    if (SUCCEEDED(body->get_style(style.Receive())) && style) {
        style->put_overflow(CBstr(L"hidden"));
        style->put_border(CBstr(L"none"));
        style->put_borderStyle(CBstr(L"none"));
    }
}

// ---- IUnknown ----

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IDocHostUIHandler)))
        *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_DWebBrowserEvents2))
        *ppvObject = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_IServiceProvider))
        *ppvObject = static_cast<IServiceProvider*>(this);
    else if (IsEqualIID(riid, IID_IOleCommandTarget))
        *ppvObject = static_cast<IOleCommandTarget*>(this);
    else if (IsEqualIID(riid, __uuidof(IDownloadManager)))
        *ppvObject = static_cast<IDownloadManager*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&m_dwRef));
}

// ---- IDispatch ----

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo != nullptr) *typeInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return E_INVALIDARG;
    CWebBrowserEventHandler* handler = m_pWebBrowserEventHandler;
    HRESULT hr = S_OK;
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        hr = CheckEventArguments(params,
                                 {kBoolByRef, kVariantByRef, kVariantByRef, kVariantByRef,
                                  kVariantByRef, kVariantByRef, VT_DISPATCH},
                                 argError);
        if (SUCCEEDED(hr) && handler != nullptr) {
            VARIANT* args = params->rgvarg;
            handler->BeforeNavigate2(V_DISPATCH(&args[6]), args[5].pvarVal, args[4].pvarVal,
                                     args[3].pvarVal, args[2].pvarVal, args[1].pvarVal,
                                     args[0].pboolVal);
        }
        return hr;
    case DISPID_NAVIGATECOMPLETE2:
        hr = CheckEventArguments(params, {kVariantByRef, VT_DISPATCH}, argError);
        if (SUCCEEDED(hr))
            OnNavigateComplete2(V_DISPATCH(&params->rgvarg[1]), params->rgvarg[0].pvarVal);
        return hr;
    case DISPID_DOCUMENTCOMPLETE:
        hr = CheckEventArguments(params, {kVariantByRef, VT_DISPATCH}, argError);
        if (SUCCEEDED(hr)) OnDocumentComplete();
        return hr;
    case DISPID_NAVIGATEERROR:
        hr = CheckEventArguments(
            params, {kBoolByRef, kVariantByRef, kVariantByRef, kVariantByRef, VT_DISPATCH},
            argError);
        if (SUCCEEDED(hr) && handler != nullptr) {
            VARIANT* args = params->rgvarg;
            handler->NavigateError(V_DISPATCH(&args[4]), args[3].pvarVal, args[2].pvarVal,
                                   args[1].pvarVal, args[0].pboolVal);
        }
        return hr;
    case DISPID_NEWWINDOW3:
        hr = CheckEventArguments(
            params, {VT_BSTR, VT_BSTR, VT_I4, kBoolByRef, VT_BYREF | VT_DISPATCH}, argError);
        if (SUCCEEDED(hr) && handler != nullptr) {
            VARIANT* args = params->rgvarg;
            handler->NewWindow3(args[4].ppdispVal, args[3].pboolVal,
                                static_cast<DWORD>(V_I4(&args[2])), V_BSTR(&args[1]),
                                V_BSTR(&args[0]));
        }
        return hr;
    case DISPID_COMMANDSTATECHANGE:
        hr = CheckEventArguments(params, {VT_BOOL, VT_I4}, argError);
        if (SUCCEEDED(hr) && handler != nullptr)
            handler->CommandStateChange(V_I4(&params->rgvarg[1]), V_BOOL(&params->rgvarg[0]));
        return hr;
    case DISPID_STATUSTEXTCHANGE:
        return S_OK;
    case kAmbientDownloadControl:
        if (result == nullptr) return E_INVALIDARG;
        VariantInit(result);
        V_VT(result) = VT_I4;
        V_I4(result) = kDownloadControlFlags;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// ---- IDocHostUIHandler ----

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                            IDispatch* object) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ShowContextMenu(id, point, commandTarget, object);
    return S_OK; // no context menu
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) return E_INVALIDARG;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                                   IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                                   IOleInPlaceUIWindow* doc) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ShowUI(id, activeObject, commandTarget, frame, doc);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI() {
    if (m_pWebBrowserEventHandler != nullptr) return m_pWebBrowserEventHandler->HideUI();
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI() {
    if (m_pWebBrowserEventHandler != nullptr) return m_pWebBrowserEventHandler->UpdateUI();
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->EnableModeless(enable);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->OnDocWindowActivate(activate);
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->OnFrameWindowActivate(activate);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                         BOOL frameWindow) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->ResizeBorder(border, window, frameWindow);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD commandId) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateAccelerator(msg, group, commandId);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetOptionKeyPath(key, reserved);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetDropTarget(dropTarget, replacement);
    if (replacement != nullptr) *replacement = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** external) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetExternal(external);
    if (external != nullptr) *external = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateUrl(translate, url, translated);
    if (translated != nullptr) *translated = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* data, IDataObject** filtered) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->FilterDataObject(data, filtered);
    if (filtered != nullptr) *filtered = nullptr;
    return E_NOTIMPL;
}

// ---- IServiceProvider, IDownloadManager ----

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID service, REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    // SID_SDownloadManager shares its value with the interface id.
    if (IsEqualGUID(service, __uuidof(IDownloadManager)) &&
        IsEqualIID(riid, __uuidof(IDownloadManager))) {
        *ppvObject = static_cast<IDownloadManager*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CWebBrowserUI::Download(IMoniker* moniker, IBindCtx* bindContext, DWORD bindVerb,
                                     LONG formatEtc, BINDINFO* bindInfo, LPCOLESTR headers,
                                     LPCOLESTR redirect, UINT codePage) {
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->Download(moniker, bindContext, bindVerb, formatEtc,
                                                   bindInfo, headers, redirect, codePage);
    return S_OK;
}

// ---- IOleCommandTarget ----

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) {
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD commandId, DWORD, VARIANT* input,
                                 VARIANT* output) {
    return ExecDocHostCommand(group, commandId, input, output);
}

// ---- ITranslateAccelerator ----

LRESULT CWebBrowserUI::TranslateAccelerator(MSG* msg) {
    if (msg == nullptr || msg->message < kFirstKeyMessage || msg->message > kLastKeyMessage)
        return S_FALSE;
    if (!m_pWebBrowser2) return E_NOTIMPL;
    const HWND host = GetHostWindow();
    bool focusInside = false;
    for (HWND window = ::GetFocus(); window != nullptr && host != nullptr;
         window = ::GetParent(window)) {
        if (window == host) {
            focusInside = true;
            break;
        }
    }
    if (!focusInside) return S_FALSE;
    CComPtr<IOleInPlaceActiveObject> activeObject;
    if (FAILED(activeObject.QueryFrom(m_pWebBrowser2.Get(), IID_IOleInPlaceActiveObject)))
        return S_FALSE;
    return activeObject->TranslateAccelerator(msg);
}

} // namespace SkinUI
