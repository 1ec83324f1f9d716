#include "activex/WebBrowserUI.h"

#include "activex/ComHelpers.h"
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
    : m_pWebBrowser2(nullptr), m_dwRef(0), m_pHtmlWnd2(nullptr), m_dwCookie(0), m_bAutoNavi(false),
      m_pWebBrowserEventHandler(nullptr) {
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
    if (url == nullptr || m_pWebBrowser2 == nullptr) return;
    VARIANT address;
    VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = ::SysAllocString(url);
    m_pWebBrowser2->Navigate2(&address, nullptr, nullptr, nullptr, nullptr);
    VariantClear(&address);
}

void CWebBrowserUI::NavigateUrl(const wchar_t* url) {
    if (url == nullptr || m_pWebBrowser2 == nullptr) return;
    CBstr address(url);
    m_pWebBrowser2->Navigate(address, nullptr, nullptr, nullptr, nullptr);
}

void CWebBrowserUI::NavigateHomePage() {
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage.GetData());
}

void CWebBrowserUI::Refresh() {
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int level) {
    if (m_pWebBrowser2 == nullptr) return;
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = level;
    m_pWebBrowser2->Refresh2(&value);
}

void CWebBrowserUI::GoBack() {
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward() {
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->GoForward();
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const {
    return m_pWebBrowser2;
}

IDispatch* CWebBrowserUI::GetHtmlWindow() {
    if (m_pWebBrowser2 == nullptr) return nullptr;
    IDispatch* documentDispatch = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&documentDispatch)) || documentDispatch == nullptr)
        return nullptr;
    IHTMLDocument2* document = nullptr;
    const HRESULT hr =
        documentDispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    documentDispatch->Release();
    if (FAILED(hr) || document == nullptr) return nullptr;
    IHTMLWindow2* window = nullptr;
    const HRESULT windowResult = document->get_parentWindow(&window);
    document->Release();
    if (FAILED(windowResult) || window == nullptr) return nullptr;
    ReleaseAndClear(m_pHtmlWnd2);
    m_pHtmlWnd2 = window;
    IDispatch* answer = nullptr;
    if (FAILED(m_pHtmlWnd2->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&answer))))
        return nullptr;
    return answer;
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
    IWebBrowser2* browser = nullptr;
    GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    ReleaseAndClear(m_pWebBrowser2);
    m_pWebBrowser2 = browser;
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) {
        Navigate2(L"about:blank");
        Navigate2(m_sHomePage.GetData());
    }
    RegisterEventHandler(true);
    return true;
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
    ReleaseAndClear(m_pHtmlWnd2);
    ReleaseAndClear(m_pWebBrowser2);
}

HRESULT CWebBrowserUI::RegisterEventHandler(bool advise) {
    if (m_pWebBrowser2 == nullptr) return E_NOINTERFACE;
    if (advise == (m_dwCookie != 0)) return S_OK;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = m_pWebBrowser2->QueryInterface(IID_IConnectionPointContainer,
                                                reinterpret_cast<void**>(&container));
    if (FAILED(hr) || container == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    container->Release();
    if (FAILED(hr) || point == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    if (advise) {
        hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
        if (FAILED(hr)) m_dwCookie = 0;
    } else {
        hr = point->Unadvise(m_dwCookie);
        m_dwCookie = 0;
    }
    point->Release();
    return hr;
}

void CWebBrowserUI::SetDocumentUIHandler(IDocHostUIHandler* handler) {
    if (m_pWebBrowser2 == nullptr) return;
    IDispatch* document = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&document)) || document == nullptr) return;
    ICustomDoc* customDoc = nullptr;
    if (SUCCEEDED(
            document->QueryInterface(__uuidof(ICustomDoc), reinterpret_cast<void**>(&customDoc))) &&
        customDoc != nullptr) {
        customDoc->SetUIHandler(handler);
        customDoc->Release();
    }
    document->Release();
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
    if (m_pWebBrowser2 == nullptr) return;
    IDispatch* documentDispatch = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&documentDispatch)) || documentDispatch == nullptr)
        return;
    IHTMLDocument2* document = nullptr;
    documentDispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    documentDispatch->Release();
    if (document == nullptr) return;
    IHTMLElement* body = nullptr;
    document->get_body(&body);
    document->Release();
    if (body == nullptr) return;

    IHTMLBodyElement* bodyElement = nullptr;
    if (SUCCEEDED(
            body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement))) &&
        bodyElement != nullptr) {
        bodyElement->put_scroll(CBstr(L"no"));
        bodyElement->Release();
    }
    IHTMLStyle* style = nullptr;
    if (SUCCEEDED(body->get_style(&style)) && style != nullptr) {
        style->put_overflow(CBstr(L"hidden"));
        style->put_border(CBstr(L"none"));
        style->put_borderStyle(CBstr(L"none"));
        style->Release();
    }
    body->Release();
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
    if (m_pWebBrowser2 == nullptr) return E_NOTIMPL;
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
    IOleInPlaceActiveObject* activeObject = nullptr;
    if (FAILED(m_pWebBrowser2->QueryInterface(IID_IOleInPlaceActiveObject,
                                              reinterpret_cast<void**>(&activeObject))) ||
        activeObject == nullptr)
        return S_FALSE;
    const HRESULT hr = activeObject->TranslateAccelerator(msg);
    activeObject->Release();
    return hr;
}

} // namespace SkinUI
