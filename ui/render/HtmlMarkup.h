// Reading the markup of HTML-like text: single-letter tags in angle brackets or braces
// (either kind may close either), the three-character escapes of the brackets, and the
// arguments of the tags that take any. Pure text work: no device context, no manager.
#pragma once

#include <windows.h>

#include "core/SkinString.h"

namespace SkinUI {
namespace HtmlMarkup {

/// One tag as written in the text.
struct Tag {
    wchar_t letter = 0;            ///< 'a'..'z'
    bool closing = false;          ///< written with a '/' before the letter
    const wchar_t* args = nullptr; ///< arguments, leading white space skipped
    int argsLength = 0;            ///< up to the closing bracket (or the end of the text)
    const wchar_t* next = nullptr; ///< the first character after the tag
};

/// Reads a tag at `p`: '<' or '{', an optional '/', a letter a-z, then white space or a
/// closing bracket; the tag runs to the next '>' or '}' (to the end of the text when there
/// is none). False when `p` starts no tag; `p` must not be null.
bool ReadTag(const wchar_t* p, Tag& tag);

/// Whether `p` starts the closing tag of `letter` (read it with `ReadTag`).
bool IsClosingTag(const wchar_t* p, wchar_t letter);

/// The character an escape at `p` draws ("<{>" '{', "<}>" '}', "{<}" '<', "{>}" '>'), or 0
/// when `p` starts none. The drawn character is always the middle one of the three.
wchar_t ReadEscape(const wchar_t* p);

/// Whether a line may be broken after this character: after anything but an ASCII letter,
/// so ideographic text breaks between any two characters. Never inside a surrogate pair.
bool IsBreakAfter(wchar_t ch);

/// A signed decimal number at the start of the arguments (after white space), saturated
/// to the range of int; `fallback` when there is none.
int ReadInt(const wchar_t* args, int length, int fallback);

/// A colour argument: white space and one '#' skipped, the rest read as a signed 32-bit
/// hexadecimal number saturating at 0x7FFFFFFF; only its low 24 bits (RRGGBB) are kept,
/// as 0xFF000000 | RRGGBB. Black when there are no digits.
DWORD ReadColor(const wchar_t* args, int length);

/// An inline image: a plain name or the "file", "res" and "restype" items of an image
/// attribute string, then an optional frame count and frame index.
struct InlineImage {
    CSkinString name;
    CSkinString resourceType; ///< empty: a skin file
    int frames = 1;           ///< at least 1
    int frame = 0;            ///< within 0..frames-1
};

/// Reads the arguments of an image tag; false when they name no image (an italic tag).
bool ReadInlineImage(const wchar_t* args, int length, InlineImage& image);

/// The font a font tag asks for: by index (a leading digit or sign), or by face name with
/// an optional size (default 10) and the words "bold", "underline", "italic".
struct FontRequest {
    bool byIndex = true;
    int index = -1; ///< -1 (no arguments) is the default font
    CSkinString faceName;
    int size = 10;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

FontRequest ReadFontRequest(const wchar_t* args, int length);

} // namespace HtmlMarkup
} // namespace SkinUI
