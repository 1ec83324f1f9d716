#include "control/AttributeValue.h"

#include <cwchar>

namespace SkinUI {

DWORD ParseColorValue(const wchar_t* value) {
    if (value == nullptr) return 0;
    while (*value != L'\0' && *value <= L' ')
        ++value;
    if (*value == L'#') ++value;
    return static_cast<DWORD>(wcstoul(value, nullptr, 16));
}

DWORD ParseColorValueHashOnly(const wchar_t* value) {
    if (value == nullptr) return 0;
    if (*value == L'#') ++value;
    return static_cast<DWORD>(wcstoul(value, nullptr, 16));
}

int ParseIntValue(const wchar_t* value) {
    if (value == nullptr) return 0;
    return static_cast<int>(wcstol(value, nullptr, 10));
}

bool ParseBoolValue(const wchar_t* value) {
    return value != nullptr && wcscmp(value, L"true") == 0;
}

RECT ParseRectValue(const wchar_t* value) {
    return ReadRect(value);
}

SIZE ParseSizeValue(const wchar_t* value) {
    return ReadSize(value);
}

} // namespace SkinUI
