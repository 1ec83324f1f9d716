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

void ParseIntList(const wchar_t* value, int* numbers, int count) {
    const wchar_t* cursor = value != nullptr ? value : L"";
    for (int i = 0; i < count; ++i) {
        wchar_t* end = nullptr;
        numbers[i] = static_cast<int>(wcstol(cursor, &end, 10));
        cursor = end;
        // One separator follows each number; never step over the terminator.
        if (*cursor != L'\0') ++cursor;
    }
}

RECT ParseRectValue(const wchar_t* value) {
    int numbers[4];
    ParseIntList(value, numbers, 4);
    return RECT{numbers[0], numbers[1], numbers[2], numbers[3]};
}

SIZE ParseSizeValue(const wchar_t* value) {
    int numbers[2];
    ParseIntList(value, numbers, 2);
    return SIZE{numbers[0], numbers[1]};
}

} // namespace SkinUI
