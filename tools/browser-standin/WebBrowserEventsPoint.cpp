#include "WebBrowserEventsPoint.h"

#include "StandInLog.h"
#include "StandInProtocol.h"

#include <exdisp.h>
#include <exdispid.h>

#include <cwchar>

namespace {

// Whether the environment asks the stand-in to refuse `what`.
bool Refuses(const wchar_t* what) {
    wchar_t refused[64];
    const DWORD length = GetEnvironmentVariableW(StandIn::kRefuseVariable, refused, 64);
    return length > 0 && length < 64 && wcsstr(refused, what) != nullptr;
}

// A string VARIANT owned by the caller.
VARIANT StringVariant(const std::wstring& text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return value;
}

// An argument passing a VARIANT by reference, as the browser passes its VARIANT* parameters.
VARIANT ByReference(VARIANT* value) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_VARIANT | VT_BYREF;
    argument.pvarVal = value;
    return argument;
}

VARIANT DispatchArgument(IDispatch* dispatch) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = dispatch;
    return argument;
}

VARIANT CancelArgument(VARIANT_BOOL* cancel) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BOOL | VT_BYREF;
    argument.pboolVal = cancel;
    return argument;
}

} // namespace

WebBrowserEventsPoint::WebBrowserEventsPoint(IConnectionPointContainer* container)
    : container_(container) {}

WebBrowserEventsPoint::~WebBrowserEventsPoint() {
    DisconnectAll();
}

STDMETHODIMP WebBrowserEventsPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) WebBrowserEventsPoint::AddRef() {
    return container_->AddRef();
}

STDMETHODIMP_(ULONG) WebBrowserEventsPoint::Release() {
    return container_->Release();
}

STDMETHODIMP WebBrowserEventsPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP
WebBrowserEventsPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = container_;
    container_->AddRef();
    return S_OK;
}

STDMETHODIMP WebBrowserEventsPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    if (Refuses(StandIn::kRefuseAdvise)) {
        StandInLog::Write(StandIn::kLogAdvise, L"refused");
        return CONNECT_E_ADVISELIMIT;
    }
    // The events interface is a dispinterface: a sink that does not answer its
    // id is still taken as a plain IDispatch, as the system browser does.
    IDispatch* dispatch = nullptr;
    if (FAILED(
            sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    connections_.push_back(Connection{*cookie, dispatch});
    StandInLog::Write(StandIn::kLogAdvise, std::to_wstring(*cookie));
    return S_OK;
}

STDMETHODIMP WebBrowserEventsPoint::Unadvise(DWORD cookie) {
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->cookie != cookie) continue;
        IDispatch* sink = it->sink;
        connections_.erase(it);
        StandInLog::Write(StandIn::kLogUnadvise, std::to_wstring(cookie));
        sink->Release();
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP WebBrowserEventsPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void WebBrowserEventsPoint::DisconnectAll() {
    std::vector<Connection> connections;
    connections.swap(connections_);
    for (const Connection& connection : connections)
        connection.sink->Release();
}

void WebBrowserEventsPoint::Fire(DISPID event, VARIANT* arguments, UINT count) {
    std::vector<IDispatch*> sinks;
    for (const Connection& connection : connections_) {
        connection.sink->AddRef();
        sinks.push_back(connection.sink);
    }
    for (IDispatch* sink : sinks) {
        DISPPARAMS parameters{arguments, nullptr, count, 0};
        sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                     nullptr, nullptr);
        sink->Release();
    }
}

bool WebBrowserEventsPoint::FireBeforeNavigate2(IDispatch* browser, const std::wstring& address) {
    VARIANT url = StringVariant(address);
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = 0;
    VARIANT frame = StringVariant(std::wstring());
    VARIANT postData;
    VariantInit(&postData);
    VARIANT headers = StringVariant(std::wstring());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // Arguments in reverse order: the last parameter (Cancel) comes first.
    VARIANT arguments[7] = {CancelArgument(&cancel),  ByReference(&headers), ByReference(&postData),
                            ByReference(&frame),      ByReference(&flags),   ByReference(&url),
                            DispatchArgument(browser)};
    Fire(DISPID_BEFORENAVIGATE2, arguments, 7);
    VariantClear(&url);
    VariantClear(&flags);
    VariantClear(&frame);
    VariantClear(&postData);
    VariantClear(&headers);
    return cancel != VARIANT_FALSE;
}

bool WebBrowserEventsPoint::FireNavigateError(IDispatch* browser, const std::wstring& address,
                                              LONG status) {
    VARIANT url = StringVariant(address);
    VARIANT frame = StringVariant(std::wstring());
    VARIANT statusCode;
    VariantInit(&statusCode);
    statusCode.vt = VT_I4;
    statusCode.lVal = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[5] = {CancelArgument(&cancel), ByReference(&statusCode), ByReference(&frame),
                            ByReference(&url), DispatchArgument(browser)};
    Fire(DISPID_NAVIGATEERROR, arguments, 5);
    VariantClear(&url);
    VariantClear(&frame);
    VariantClear(&statusCode);
    return cancel != VARIANT_FALSE;
}

void WebBrowserEventsPoint::FireNavigateComplete2(IDispatch* browser, const std::wstring& address) {
    VARIANT url = StringVariant(address);
    VARIANT arguments[2] = {ByReference(&url), DispatchArgument(browser)};
    Fire(DISPID_NAVIGATECOMPLETE2, arguments, 2);
    VariantClear(&url);
}

void WebBrowserEventsPoint::FireDocumentComplete(IDispatch* browser, const std::wstring& address) {
    VARIANT url = StringVariant(address);
    VARIANT arguments[2] = {ByReference(&url), DispatchArgument(browser)};
    Fire(DISPID_DOCUMENTCOMPLETE, arguments, 2);
    VariantClear(&url);
}

void WebBrowserEventsPoint::FireTitleChange(const std::wstring& title) {
    VARIANT text = StringVariant(title);
    Fire(DISPID_TITLECHANGE, &text, 1);
    VariantClear(&text);
}

void WebBrowserEventsPoint::FireCommandStateChange(LONG command, bool enabled) {
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_BOOL;
    arguments[0].boolVal = enabled ? VARIANT_TRUE : VARIANT_FALSE;
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_I4;
    arguments[1].lVal = command;
    Fire(DISPID_COMMANDSTATECHANGE, arguments, 2);
}
