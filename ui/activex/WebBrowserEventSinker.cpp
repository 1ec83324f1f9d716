#include "activex/WebBrowserEventSinker.h"

#include "activex/DocHostUIHandler.h"
#include "activex/EventArguments.h"
#include "control/ControlUI.h"
#include "window/PaintManagerUI.h"

#include <exdispid.h>
#include <mshtml.h>

#include <cstring>
#include <memory>
#include <new>

namespace SkinUI {

namespace {

// The document of the browser an event came from, or null.
CComPtr<IHTMLDocument2> DocumentOf(IDispatch* browserDispatch) {
    CComPtr<IWebBrowser2> browser;
    if (FAILED(browser.QueryFrom(browserDispatch, IID_IWebBrowser2))) return nullptr;
    CComPtr<IDispatch> documentDispatch;
    if (FAILED(browser->get_Document(documentDispatch.Receive()))) return nullptr;
    CComPtr<IHTMLDocument2> document;
    document.QueryFrom(documentDispatch.Get(), IID_IHTMLDocument2);
    return document;
}

// The address as terminated narrow text in the system code page: empty when it is no
// text, null when there is no memory for it.
std::unique_ptr<char[]> NarrowAddress(const VARIANT* url) {
    CVariant text;
    int length = 0;
    int size = 0;
    if (SUCCEEDED(VariantCopyInd(text.Get(), const_cast<VARIANT*>(url))) &&
        SUCCEEDED(VariantChangeType(text.Get(), text.Get(), 0, VT_BSTR)) &&
        V_BSTR(text.Get()) != nullptr) {
        length = static_cast<int>(SysStringLen(V_BSTR(text.Get())));
        size = WideCharToMultiByte(CP_ACP, 0, V_BSTR(text.Get()), length, nullptr, 0, nullptr,
                                   nullptr);
        if (size < 0) size = 0;
    }
    std::unique_ptr<char[]> narrow(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
    if (!narrow) return narrow;
    if (size > 0)
        size = WideCharToMultiByte(CP_ACP, 0, V_BSTR(text.Get()), length, narrow.get(), size,
                                   nullptr, nullptr);
    narrow[static_cast<size_t>(size > 0 ? size : 0)] = '\0';
    return narrow;
}

} // namespace

WebBrowserEventSinker::WebBrowserEventSinker(CControlUI* owner, bool border, bool scrollbar)
    : m_refs(1), m_pOwner(owner), m_pPoint(nullptr), m_dwCookie(0), m_bBorder(border),
      m_bScrollbar(scrollbar), m_bNavigateError(false) {}

WebBrowserEventSinker::~WebBrowserEventSinker() = default;

HRESULT WebBrowserEventSinker::Connect(IWebBrowser2* browser) {
    if (browser == nullptr) return E_POINTER;
    if (m_pPoint) return E_UNEXPECTED;
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr = container.QueryFrom(browser, IID_IConnectionPointContainer);
    if (FAILED(hr)) return hr;
    CComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (FAILED(hr)) {
        m_dwCookie = 0;
        return hr;
    }
    m_pPoint = std::move(point);
    return S_OK;
}

void WebBrowserEventSinker::Disconnect() {
    m_pOwner = nullptr;
    CComPtr<IConnectionPoint> point = std::move(m_pPoint);
    if (!point) return;
    // The point may hold the last reference but one: keep this object alive through it.
    const CComPtr<WebBrowserEventSinker> self(this);
    point->Unadvise(m_dwCookie);
    m_dwCookie = 0;
    point.Reset();
}

STDMETHODIMP WebBrowserEventSinker::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) &&
        !IsEqualIID(riid, DIID_DWebBrowserEvents2))
        return E_NOINTERFACE;
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo != nullptr) *typeInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params,
                                           VARIANT*, EXCEPINFO*, UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return E_INVALIDARG;
    HRESULT hr = S_OK;
    switch (id) {
    case DISPID_NAVIGATECOMPLETE2:
        hr = CheckEventArguments(params, {kVariantByRef, VT_DISPATCH}, argError);
        if (SUCCEEDED(hr)) OnNavigateComplete2(V_DISPATCH(&params->rgvarg[1]));
        return hr;
    case DISPID_DOCUMENTCOMPLETE:
        hr = CheckEventArguments(params, {kVariantByRef, VT_DISPATCH}, argError);
        if (SUCCEEDED(hr))
            OnDocumentComplete(V_DISPATCH(&params->rgvarg[1]), params->rgvarg[0].pvarVal);
        return hr;
    case DISPID_NAVIGATEERROR:
        m_bNavigateError = true;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

void WebBrowserEventSinker::OnNavigateComplete2(IDispatch* browser) {
    const CComPtr<IHTMLDocument2> document = DocumentOf(browser);
    CComPtr<ICustomDoc> customDoc;
    if (FAILED(customDoc.QueryFrom(document.Get(), __uuidof(ICustomDoc)))) return;
    // The document keeps its own reference; without memory it keeps its default handler.
    CComPtr<CDocHostUIHandler> handler;
    handler.Attach(new (std::nothrow) CDocHostUIHandler(m_bBorder, m_bScrollbar));
    if (handler) customDoc->SetUIHandler(handler.Get());
}

void WebBrowserEventSinker::OnDocumentComplete(IDispatch* browser, const VARIANT* url) {
    const CComPtr<IHTMLDocument2> document = DocumentOf(browser);
    CComPtr<IHTMLElement> body;
    if (document && SUCCEEDED(document->get_body(body.Receive())) && body) {
        CComPtr<IHTMLStyle> style;
        body->get_style(style.Receive());
        if (!m_bBorder && style) style->put_border(CBstr(L"none"));
        if (!m_bScrollbar) {
            CComPtr<IHTMLBodyElement> bodyElement;
            // "no" is the value that turns a body's scroll bars off.
            if (SUCCEEDED(bodyElement.QueryFrom(body.Get(), IID_IHTMLBodyElement)))
                bodyElement->put_scroll(CBstr(L"no"));
            if (style) style->put_overflow(CBstr(L"hidden"));
        }
    }

    const bool navigateError = m_bNavigateError;
    m_bNavigateError = false;
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;
    const std::unique_ptr<char[]> address = NarrowAddress(url);
    if (!address || strcmp(address.get(), "about:blank") == 0) return;
    m_pOwner->GetManager()->SendNotify(
        m_pOwner, L"HTML_COMPLETE", reinterpret_cast<WPARAM>(address.get()), navigateError ? 1 : 0);
}

} // namespace SkinUI
