// Small COM conveniences of the browser controls.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace SkinUI {

/// A BSTR copy of a text that lives as long as this object.
class CBstr {
public:
    explicit CBstr(const wchar_t* text) : m_text(::SysAllocString(text)) {}
    ~CBstr() { ::SysFreeString(m_text); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

/// Clears the pointer, then releases what it held (the release may call back here).
template <typename Interface> void ReleaseAndClear(Interface*& pointer) {
    if (pointer == nullptr) return;
    Interface* old = pointer;
    pointer = nullptr;
    old->Release();
}

} // namespace SkinUI
