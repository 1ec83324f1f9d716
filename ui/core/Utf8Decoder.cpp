#include "core/Utf8Decoder.h"

#include "core/Sse2.h"

namespace SkinUI {

namespace {

const wchar_t kReplacement = 0xFFFD;

inline bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

size_t CUtf8Decoder::Decode(const unsigned char* data, size_t size, wchar_t* out) {
    wchar_t* const begin = out;
    const unsigned char* const end = data + size;
    while (data < end) {
#ifdef SKINUI_SSE2
        // Sixteen bytes at a time, widened with zeros. A block with a non-ASCII byte is
        // stored whole too: the units from that byte on are overwritten by what follows,
        // and the room is there because no more units than bytes are ever written.
        const __m128i zero = _mm_setzero_si128();
        while (end - data >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(bytes));
            if (mask != 0) {
                const unsigned ascii = LowestBit(mask);
                data += ascii;
                out += ascii;
                break;
            }
            data += 16;
            out += 16;
        }
#endif
        while (data < end && *data < 0x80)
            *out++ = static_cast<wchar_t>(*data++);
        if (data < end) data += DecodeSequence(data, static_cast<size_t>(end - data), out);
    }
    return static_cast<size_t>(out - begin);
}

size_t CUtf8Decoder::DecodeSequence(const unsigned char* data, size_t size, wchar_t*& out) {
    const unsigned char lead = data[0];
    // Lead bytes: C2..DF start two bytes, E0..EF three, F0..F4 four. C0 and C1 could only
    // start overlong forms and F5..FF values past U+10FFFF: alone they are ill-formed.
    size_t length;
    unsigned value;
    unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;  // below is overlong
        if (lead == 0xED) high = 0x9F; // above are the surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;  // below is overlong
        if (lead == 0xF4) high = 0x8F; // above is past U+10FFFF
    } else {
        *out++ = kReplacement;
        return 1;
    }
    *out = kReplacement;
    if (length > size) { // cut short by the end: the rest is one piece
        ++out;
        return size;
    }
    const unsigned char second = data[1];
    if (!IsContinuation(second)) {
        ++out;
        return 1;
    }
    if (second < low || second > high) { // a continuation byte, but out of range here
        ++out;
        return 2;
    }
    value = (value << 6) | (second & 0x3F);
    for (size_t used = 2; used < length; ++used) {
        const unsigned char byte = data[used];
        if (!IsContinuation(byte)) {
            ++out;
            return used;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value >= 0x10000) {
        value -= 0x10000;
        *out++ = static_cast<wchar_t>(0xD800 + (value >> 10));
        *out++ = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
    } else {
        *out++ = static_cast<wchar_t>(value);
    }
    return length;
}

} // namespace SkinUI
