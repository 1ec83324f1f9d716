#include "activex/WebBrowserEventSinker.h"

#include "activex/ComHelpers.h"
#include "activex/DocHostUIHandler.h"
#include "activex/EventArguments.h"
#include "control/ControlUI.h"
#include "window/PaintManagerUI.h"

#include <exdispid.h>
#include <mshtml.h>

#include <string>

namespace SkinUI {

namespace {

// The document of the browser an event came from, or null.
IHTMLDocument2* DocumentOf(IDispatch* browserDispatch) {
    if (browserDispatch == nullptr) return nullptr;
    IWebBrowser2* browser = nullptr;
    if (FAILED(browserDispatch->QueryInterface(IID_IWebBrowser2,
                                               reinterpret_cast<void**>(&browser))) ||
        browser == nullptr)
        return nullptr;
    IDispatch* documentDispatch = nullptr;
    browser->get_Document(&documentDispatch);
    browser->Release();
    if (documentDispatch == nullptr) return nullptr;
    IHTMLDocument2* document = nullptr;
    documentDispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document));
    documentDispatch->Release();
    return document;
}

// The address as narrow text in the system code page; empty when it is no text.
std::string NarrowAddress(const VARIANT* url) {
    VARIANT text;
    VariantInit(&text);
    std::string narrow;
    if (SUCCEEDED(VariantCopyInd(&text, const_cast<VARIANT*>(url))) &&
        SUCCEEDED(VariantChangeType(&text, &text, 0, VT_BSTR)) && V_BSTR(&text) != nullptr) {
        const int length = static_cast<int>(SysStringLen(V_BSTR(&text)));
        const int size =
            WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), length, nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            narrow.resize(static_cast<size_t>(size));
            WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), length, &narrow[0], size, nullptr,
                                nullptr);
        }
    }
    VariantClear(&text);
    return narrow;
}

} // namespace

WebBrowserEventSinker::WebBrowserEventSinker(CControlUI* owner, bool border, bool scrollbar)
    : m_refs(1), m_pOwner(owner), m_pPoint(nullptr), m_dwCookie(0), m_bBorder(border),
      m_bScrollbar(scrollbar), m_bNavigateError(false) {}

WebBrowserEventSinker::~WebBrowserEventSinker() {
    ReleaseAndClear(m_pPoint);
}

HRESULT WebBrowserEventSinker::Connect(IWebBrowser2* browser) {
    if (browser == nullptr) return E_POINTER;
    if (m_pPoint != nullptr) return E_UNEXPECTED;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = browser->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container));
    if (FAILED(hr) || container == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    container->Release();
    if (FAILED(hr) || point == nullptr) return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (FAILED(hr)) {
        m_dwCookie = 0;
        point->Release();
        return hr;
    }
    m_pPoint = point;
    return S_OK;
}

void WebBrowserEventSinker::Disconnect() {
    m_pOwner = nullptr;
    IConnectionPoint* point = m_pPoint;
    m_pPoint = nullptr;
    if (point == nullptr) return;
    // The point may hold the last reference but one: keep this object alive through it.
    AddRef();
    point->Unadvise(m_dwCookie);
    m_dwCookie = 0;
    point->Release();
    Release();
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
    IHTMLDocument2* document = DocumentOf(browser);
    if (document == nullptr) return;
    ICustomDoc* customDoc = nullptr;
    if (SUCCEEDED(
            document->QueryInterface(__uuidof(ICustomDoc), reinterpret_cast<void**>(&customDoc))) &&
        customDoc != nullptr) {
        CDocHostUIHandler* handler = new CDocHostUIHandler(m_bBorder, m_bScrollbar);
        customDoc->SetUIHandler(handler);
        handler->Release(); // the document keeps its own reference
        customDoc->Release();
    }
    document->Release();
}

void WebBrowserEventSinker::OnDocumentComplete(IDispatch* browser, const VARIANT* url) {
    if (IHTMLDocument2* document = DocumentOf(browser)) {
        IHTMLElement* body = nullptr;
        document->get_body(&body);
        if (body != nullptr) {
            IHTMLStyle* style = nullptr;
            body->get_style(&style);
            if (!m_bBorder && style != nullptr) style->put_border(CBstr(L"none"));
            if (!m_bScrollbar) {
                IHTMLBodyElement* bodyElement = nullptr;
                body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement));
                if (bodyElement != nullptr) {
                    // "no" is the value that turns a body's scroll bars off.
                    bodyElement->put_scroll(CBstr(L"no"));
                    bodyElement->Release();
                }
                if (style != nullptr) style->put_overflow(CBstr(L"hidden"));
            }
            if (style != nullptr) style->Release();
            body->Release();
        }
        document->Release();
    }

    const bool navigateError = m_bNavigateError;
    m_bNavigateError = false;
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;
    const std::string address = NarrowAddress(url);
    if (address == "about:blank") return;
    m_pOwner->GetManager()->SendNotify(m_pOwner, L"HTML_COMPLETE",
                                       reinterpret_cast<WPARAM>(address.c_str()),
                                       navigateError ? 1 : 0);
}

} // namespace SkinUI
