// Arithmetic shared by the containers and layouts. Sizes, paddings and positions come
// from skins and may be anything an int holds: sums are made in 64 bits and brought back
// into int range only where a rectangle is stored.
#pragma once

#include <windows.h>

#include <climits>

namespace SkinUI {

/// The value limited to the range of int.
inline int ClampToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

/// A rectangle from 64-bit edges, each limited to the range of int.
inline RECT MakeRect(long long left, long long top, long long right, long long bottom) {
    return RECT{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
}

/// Raises a size to the minimum, then lowers it to the maximum (the maximum wins).
inline long long ClampToMinMax(long long size, int minimum, int maximum) {
    if (size < minimum) size = minimum;
    if (size > maximum) size = maximum;
    return size;
}

} // namespace SkinUI
