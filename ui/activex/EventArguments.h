// Checks of the arguments a browser event brings, shared by the browser controls' sinks.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <initializer_list>

namespace SkinUI {

/// A VARIANT* parameter, passed by reference.
constexpr VARTYPE kVariantByRef = VT_BYREF | VT_VARIANT;
/// A VARIANT_BOOL* parameter (Cancel), passed by reference.
constexpr VARTYPE kBoolByRef = VT_BYREF | VT_BOOL;

/// S_OK when the event brought exactly the arguments of the given types (last argument
/// first, as COM passes them); DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH (with the
/// index in argError) otherwise. By-reference arguments must point somewhere, since
/// handlers write through them; a VT_I4 may also come as VT_UI4.
inline HRESULT CheckEventArguments(const DISPPARAMS* params, std::initializer_list<VARTYPE> types,
                                   UINT* argError) {
    if (params == nullptr || params->cArgs != types.size() ||
        (params->cArgs > 0 && params->rgvarg == nullptr))
        return DISP_E_BADPARAMCOUNT;
    UINT index = 0;
    for (VARTYPE expected : types) {
        const VARIANT& argument = params->rgvarg[index];
        const VARTYPE actual = V_VT(&argument);
        const bool sameType = actual == expected || (expected == VT_I4 && actual == VT_UI4);
        if (!sameType || ((actual & VT_BYREF) != 0 && argument.byref == nullptr)) {
            if (argError != nullptr) *argError = index;
            return DISP_E_TYPEMISMATCH;
        }
        ++index;
    }
    return S_OK;
}

} // namespace SkinUI
