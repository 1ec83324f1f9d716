// The number lists of skin and configuration values: rectangles "l,t,r,b", sizes "cx,cy"
// and the like. Reading never fails: whatever the text holds is read as far as it goes.
#pragma once

#include <windows.h>

namespace SkinUI {

/// Reads `count` decimal integers with the standard conversion (leading blanks and a sign
/// allowed; no digits read as 0), each from the character after the one that follows the
/// previous number. Reading stops at the end of the text, which is never stepped over:
/// numbers missing there are 0, and all of them are 0 for null.
void ReadNumberList(const wchar_t* text, int* numbers, int count);
/// The first four numbers of a list as left, top, right, bottom.
RECT ReadRect(const wchar_t* text);
/// The first two numbers of a list as cx, cy.
SIZE ReadSize(const wchar_t* text);

} // namespace SkinUI
