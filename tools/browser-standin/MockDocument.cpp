#include "MockDocument.h"

#include "MockBodyElement.h"
#include "StandInLog.h"
#include "StandInModule.h"
#include "StandInProtocol.h"

#include <cwchar>

namespace {

// ICustomDoc's id; the platform's uuid library does not carry it.
constexpr IID kCustomDocIid = {
    0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

HRESULT CopyOut(const std::wstring& text, BSTR* value) {
    if (!value) return E_POINTER;
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

} // namespace

MockDocument::MockDocument(const std::wstring& address, const std::wstring& title)
    : address_(address), title_(title), body_(new MockBodyElement) {
    StandInModule::ObjectCreated();
}

MockDocument::~MockDocument() {
    DropUIHandler();
    body_->Release();
    StandInModule::ObjectDestroyed();
}

STDMETHODIMP MockDocument::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument ||
        iid == IID_IHTMLDocument2) {
        *object = static_cast<IHTMLDocument2*>(this);
    } else if (iid == kCustomDocIid) {
        *object = static_cast<ICustomDoc*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MockDocument::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) MockDocument::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP MockDocument::get_title(BSTR* title) {
    return CopyOut(title_, title);
}

STDMETHODIMP MockDocument::put_title(BSTR title) {
    title_ = title ? std::wstring(title, SysStringLen(title)) : std::wstring();
    return S_OK;
}

STDMETHODIMP MockDocument::get_body(IHTMLElement** body) {
    if (!body) return E_POINTER;
    return body_->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(body));
}

STDMETHODIMP MockDocument::get_URL(BSTR* address) {
    return CopyOut(address_, address);
}

STDMETHODIMP MockDocument::get_readyState(BSTR* state) {
    return CopyOut(L"complete", state);
}

STDMETHODIMP MockDocument::SetUIHandler(IDocHostUIHandler* handler) {
    if (handler) handler->AddRef();
    DropUIHandler();
    uiHandler_ = handler;
    StandInLog::Write(StandIn::kLogSetUIHandler, handler ? L"set" : L"cleared");
    if (!handler) return S_OK;

    // Asked once here, as a document asks its host when it starts: the flags
    // show in the log whether the host turns off borders and scroll bars.
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(handler->GetHostInfo(&info))) {
        wchar_t flags[16];
        swprintf(flags, 16, L"0x%08lx", static_cast<unsigned long>(info.dwFlags));
        StandInLog::Write(StandIn::kLogHostInfo, flags);
    }
    CoTaskMemFree(info.pchHostCss);
    CoTaskMemFree(info.pchHostNS);
    return S_OK;
}

void MockDocument::DropUIHandler() {
    IDocHostUIHandler* handler = uiHandler_;
    uiHandler_ = nullptr;
    if (handler) handler->Release();
}
