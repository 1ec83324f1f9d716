#include "activex/DocHostCommand.h"

#include "activex/WebBrowserUI.h"
#include "core/Handles.h"

#include <docobj.h>
#include <mshtml.h>

namespace SkinUI {

const GUID kDocHostCommandGroup = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

namespace {

// Fetches the failing script's details from the document's event object. Nothing uses
// them yet: a host that wants to log script errors starts here. Failures are ignored.
void ReadScriptError(IUnknown* documentObject) {
    CComPtr<IHTMLDocument2> document;
    if (FAILED(document.QueryFrom(documentObject, IID_IHTMLDocument2))) return;
    CComPtr<IHTMLWindow2> window;
    if (FAILED(document->get_parentWindow(window.Receive())) || !window) return;
    CComPtr<IHTMLEventObj> event;
    if (FAILED(window->get_event(event.Receive())) || !event) return;
    CComPtr<IDispatch> details;
    if (FAILED(details.QueryFrom(event.Get(), IID_IDispatch))) return;
    const wchar_t* const names[] = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                    L"errorUrl"};
    for (const wchar_t* name : names) {
        CVariant value;
        CWebBrowserUI::GetProperty(details.Get(), name, value.Receive());
    }
}

} // namespace

HRESULT ExecDocHostCommand(const GUID* group, DWORD commandId, VARIANT* input, VARIANT* output) {
    if (group == nullptr || !IsEqualGUID(*group, kDocHostCommandGroup))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (commandId != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    if (output == nullptr) return E_POINTER;
    if (input == nullptr || (V_VT(input) != VT_DISPATCH && V_VT(input) != VT_UNKNOWN) ||
        V_UNKNOWN(input) == nullptr)
        return E_INVALIDARG;
    ReadScriptError(V_UNKNOWN(input));
    // VARIANT_TRUE keeps the page's scripts running; no dialog is shown either way.
    VariantInit(output);
    V_VT(output) = VT_BOOL;
    V_BOOL(output) = VARIANT_TRUE;
    return S_OK;
}

} // namespace SkinUI
