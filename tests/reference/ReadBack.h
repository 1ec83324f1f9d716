// Renders what controls and managers report in the reference's own value syntax, so that a
// value read back can be compared with the text of the reference.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace skinref {

inline std::wstring Color(DWORD color) {
    if (color == 0) return L"0";
    wchar_t text[16];
    std::swprintf(text, 16, L"#%08lX", static_cast<unsigned long>(color));
    return text;
}

inline std::wstring Int(long long value) {
    return std::to_wstring(value);
}

inline std::wstring Bool(bool value) {
    return value ? L"true" : L"false";
}

inline std::wstring Size(SIZE size) {
    return Int(size.cx) + L"," + Int(size.cy);
}

inline std::wstring Rect(const RECT& rc) {
    return Int(rc.left) + L"," + Int(rc.top) + L"," + Int(rc.right) + L"," + Int(rc.bottom);
}

/// Escapes a value for a double-quoted XML attribute.
inline std::wstring XmlAttribute(const std::wstring& value) {
    std::wstring escaped;
    for (const wchar_t ch : value) {
        switch (ch) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        default:
            escaped += ch;
        }
    }
    return escaped;
}

} // namespace skinref
