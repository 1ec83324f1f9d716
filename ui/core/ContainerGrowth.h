#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

namespace SkinUI {
namespace ContainerGrowth {

/// Slots a fresh array allocates on its first append.
constexpr int kFirstAllocation = 11;

/// Computes the allocation an array of `count` used out of `allocated` elements of
/// `elementSize` bytes needs to take one more element: unchanged while a free element
/// would remain afterwards, otherwise doubled (0 becomes 11), capped at INT_MAX. False
/// when the count or the block size in bytes cannot grow any further.
inline bool NextAllocation(int count, int allocated, size_t elementSize, int* result) {
    if (elementSize == 0 || count < 0 || count >= INT_MAX) return false;
    const int needed = count + 1;
    if (needed < allocated) {
        *result = allocated;
        return true;
    }
    int grown = kFirstAllocation;
    if (allocated > 0) grown = allocated > INT_MAX / 2 ? INT_MAX : allocated * 2;
    if (grown < needed) grown = needed;
    if (static_cast<size_t>(grown) > SIZE_MAX / elementSize) return false;
    *result = grown;
    return true;
}

} // namespace ContainerGrowth
} // namespace SkinUI
