#include "activex/DocHostCommand.h"

#include "activex/WebBrowserUI.h"

#include <docobj.h>
#include <mshtml.h>

namespace SkinUI {

const GUID kDocHostCommandGroup = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

namespace {

// Fetches the failing script's details from the document's event object. Nothing uses
// them yet: a host that wants to log script errors starts here. Failures are ignored.
void ReadScriptError(IUnknown* documentObject) {
    IHTMLDocument2* document = nullptr;
    if (FAILED(documentObject->QueryInterface(IID_IHTMLDocument2,
                                              reinterpret_cast<void**>(&document))) ||
        document == nullptr)
        return;
    IHTMLWindow2* window = nullptr;
    if (SUCCEEDED(document->get_parentWindow(&window)) && window != nullptr) {
        IHTMLEventObj* event = nullptr;
        if (SUCCEEDED(window->get_event(&event)) && event != nullptr) {
            IDispatch* details = nullptr;
            if (SUCCEEDED(
                    event->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&details))) &&
                details != nullptr) {
                const wchar_t* const names[] = {L"errorLine", L"errorCharacter", L"errorCode",
                                                L"errorMessage", L"errorUrl"};
                for (const wchar_t* name : names) {
                    VARIANT value;
                    VariantInit(&value);
                    CWebBrowserUI::GetProperty(details, name, &value);
                    VariantClear(&value);
                }
                details->Release();
            }
            event->Release();
        }
        window->Release();
    }
    document->Release();
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
