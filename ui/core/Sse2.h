#pragma once

// SSE2 where the target has it (every x86-64 does), for the text scans of the XML reader
// and the UTF-8 decoder; SKINUI_SSE2 says whether it is there, and the scalar paths serve
// other targets.

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define SKINUI_SSE2 1
#ifdef _MSC_VER
#include <intrin.h>
#endif

namespace SkinUI {

/// Index of the lowest set bit of a non-zero mask (as from `_mm_movemask_epi8`).
inline unsigned LowestBit(unsigned mask) {
#ifdef _MSC_VER
    unsigned long index;
    _BitScanForward(&index, mask);
    return static_cast<unsigned>(index);
#else
    return static_cast<unsigned>(__builtin_ctz(mask));
#endif
}

} // namespace SkinUI
#endif
