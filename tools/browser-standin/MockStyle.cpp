#include "MockStyle.h"

#include "StandInLog.h"
#include "StandInModule.h"
#include "StandInProtocol.h"

#include <cstring>

MockStyle::MockStyle() {
    StandInModule::ObjectCreated();
}

MockStyle::~MockStyle() {
    StandInModule::ObjectDestroyed();
}

STDMETHODIMP MockStyle::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLStyle) {
        *object = static_cast<IHTMLStyle*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MockStyle::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) MockStyle::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

HRESULT MockStyle::Put(const char* name, std::wstring& field, BSTR value) {
    field = value ? std::wstring(value, SysStringLen(value)) : std::wstring();
    std::wstring argument(name, name + strlen(name));
    StandInLog::Write(StandIn::kLogStyle, argument + L" " + field);
    return S_OK;
}

HRESULT MockStyle::Get(const std::wstring& field, BSTR* value) {
    if (!value) return E_POINTER;
    *value = SysAllocStringLen(field.data(), static_cast<UINT>(field.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP MockStyle::put_overflow(BSTR value) {
    return Put("overflow", overflow_, value);
}

STDMETHODIMP MockStyle::get_overflow(BSTR* value) {
    return Get(overflow_, value);
}

STDMETHODIMP MockStyle::put_border(BSTR value) {
    return Put("border", border_, value);
}

STDMETHODIMP MockStyle::get_border(BSTR* value) {
    return Get(border_, value);
}

STDMETHODIMP MockStyle::put_borderStyle(BSTR value) {
    return Put("borderStyle", borderStyle_, value);
}

STDMETHODIMP MockStyle::get_borderStyle(BSTR* value) {
    return Get(borderStyle_, value);
}
