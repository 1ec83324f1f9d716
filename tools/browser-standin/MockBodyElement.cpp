#include "MockBodyElement.h"

#include "MockStyle.h"
#include "StandInLog.h"
#include "StandInModule.h"
#include "StandInProtocol.h"

namespace {

HRESULT CopyOut(const std::wstring& text, BSTR* value) {
    if (!value) return E_POINTER;
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

std::wstring FromBstr(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

} // namespace

MockBodyElement::MockBodyElement() : style_(new MockStyle) {
    StandInModule::ObjectCreated();
}

MockBodyElement::~MockBodyElement() {
    style_->Release();
    StandInModule::ObjectDestroyed();
}

STDMETHODIMP MockBodyElement::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLElement) {
        *object = static_cast<IHTMLElement*>(this);
    } else if (iid == IID_IHTMLBodyElement) {
        *object = static_cast<IHTMLBodyElement*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MockBodyElement::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) MockBodyElement::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP MockBodyElement::get_tagName(BSTR* name) {
    return CopyOut(L"BODY", name);
}

STDMETHODIMP MockBodyElement::get_style(IHTMLStyle** style) {
    if (!style) return E_POINTER;
    return style_->QueryInterface(IID_IHTMLStyle, reinterpret_cast<void**>(style));
}

STDMETHODIMP MockBodyElement::put_innerHTML(BSTR html) {
    innerHtml_ = FromBstr(html);
    return S_OK;
}

STDMETHODIMP MockBodyElement::get_innerHTML(BSTR* html) {
    return CopyOut(innerHtml_, html);
}

STDMETHODIMP MockBodyElement::put_scroll(BSTR value) {
    scroll_ = FromBstr(value);
    StandInLog::Write(StandIn::kLogBodyScroll, scroll_);
    return S_OK;
}

STDMETHODIMP MockBodyElement::get_scroll(BSTR* value) {
    return CopyOut(scroll_, value);
}
