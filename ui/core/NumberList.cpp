#include "core/NumberList.h"

#include <cwchar>

namespace SkinUI {

void ReadNumberList(const wchar_t* text, int* numbers, int count) {
    const wchar_t* cursor = text != nullptr ? text : L"";
    for (int i = 0; i < count; ++i) {
        wchar_t* end = nullptr;
        // long and int are both 32 bits on Windows: an overlong number saturates.
        numbers[i] = static_cast<int>(std::wcstol(cursor, &end, 10));
        cursor = end;
        // One separator follows each number; at the terminator the rest read as 0.
        if (*cursor != L'\0') ++cursor;
    }
}

RECT ReadRect(const wchar_t* text) {
    int numbers[4];
    ReadNumberList(text, numbers, 4);
    return RECT{numbers[0], numbers[1], numbers[2], numbers[3]};
}

SIZE ReadSize(const wchar_t* text) {
    int numbers[2];
    ReadNumberList(text, numbers, 2);
    return SIZE{numbers[0], numbers[1]};
}

} // namespace SkinUI
