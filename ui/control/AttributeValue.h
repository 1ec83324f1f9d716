// Readers for the value syntax shared by every control attribute: colours, integers,
// number lists (rectangles, sizes), booleans. Reading never fails: malformed text reads
// as whatever the standard conversions make of it, and missing numbers read as 0.
#pragma once

#include <windows.h>

#include "core/NumberList.h"

namespace SkinUI {

/// A colour "#AARRGGBB": leading characters up to the space are skipped, then one '#'
/// if present, then the rest is read as an unsigned 32-bit hexadecimal number.
/// Null reads as 0 (no colour).
DWORD ParseColorValue(const wchar_t* value);
/// Like ParseColorValue, but only a '#' in the very first position is skipped.
DWORD ParseColorValueHashOnly(const wchar_t* value);
/// A decimal integer with the standard conversion (leading space and sign; no digits: 0).
int ParseIntValue(const wchar_t* value);
/// True only for exactly "true".
bool ParseBoolValue(const wchar_t* value);
/// "l,t,r,b", read as every number list is (ReadNumberList).
RECT ParseRectValue(const wchar_t* value);
/// "cx,cy", likewise.
SIZE ParseSizeValue(const wchar_t* value);

} // namespace SkinUI
