#pragma once

// UTF-8 to UTF-16 for the XML reader.
//
// Runs of ASCII, the bulk of any skin file, are widened sixteen bytes at a time where
// the target has SSE2; everything else goes through a checked decoder that never reads
// past the input and never refuses it.

#include <cstddef>

namespace SkinUI {

/// Decodes UTF-8 the way the system's UTF-8 code page conversion does without flags:
/// each well-formed sequence gives its character (two surrogate units above U+FFFF), and
/// each ill-formed piece gives one U+FFFD. The pieces:
/// - a byte that cannot start a sequence (80..C1, F5..FF);
/// - a lead byte whose sequence would run past the end of the data, with all the rest;
/// - a lead byte whose next byte is not a continuation byte;
/// - a lead byte with a continuation byte that makes an overlong form, a surrogate or a
///   value past U+10FFFF (E0 80..9F, ED A0..BF, F0 80..8F, F4 90..BF): those two bytes;
/// - a lead byte and the continuation bytes before a byte that is not one.
/// Zero bytes decode to zero units like any other ASCII byte.
class CUtf8Decoder {
public:
    /// Units that `size` bytes can decode to at most: never more than the bytes.
    static size_t MaxUnits(size_t size) { return size; }

    /// Decodes `size` bytes of `data` into `out`, which has room for MaxUnits(size)
    /// units, and returns the units written. Writes no terminator.
    static size_t Decode(const unsigned char* data, size_t size, wchar_t* out);

private:
    /// Decodes one sequence whose lead byte `data[0]` is not ASCII; `size` > 0 bytes
    /// remain. Returns the bytes used (at least 1) and adds its units to `out`.
    static size_t DecodeSequence(const unsigned char* data, size_t size, wchar_t*& out);
};

} // namespace SkinUI
