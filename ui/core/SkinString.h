#pragma once

#include <windows.h>

namespace SkinUI {

// The framework's wide (UTF-16) string: a value type with deep copies. Texts of up to
// 62 characters live in an inline buffer; longer ones in a heap block the string owns.
// The length is never stored: every operation that needs it scans for the terminator.
class CSkinString {
public:
    /// Size of the inline buffer in characters, terminator included.
    static constexpr int kInlineBufferSize = 64;
    /// Longest text kept inline; one more character moves the text to the heap.
    static constexpr int kMaxInlineLength = kInlineBufferSize - 2;

    /// Empty string, inline.
    CSkinString();
    /// Deep copy of another string.
    CSkinString(const CSkinString& other);
    /// The first `count` characters of `text` (all of it when negative); null gives "".
    CSkinString(const wchar_t* text, int count = -1);
    /// One-character string; the character 0 gives the empty string.
    explicit CSkinString(wchar_t ch);
    ~CSkinString();

    /// Replaces the text by up to `count` characters of `source` (all when negative).
    /// A null source is the empty string; a pointer into this string's own text is fine.
    void Assign(const wchar_t* source, int count = -1);
    /// Appends the whole of `text`, which may be this string's own text. Null is ignored.
    void Append(const wchar_t* text);
    /// Makes the string empty and releases its heap block.
    void Empty();

    CSkinString& operator=(const CSkinString& other);
    /// Null empties the string.
    CSkinString& operator=(const wchar_t* text);
    CSkinString& operator=(wchar_t ch);
    /// Narrow text in the system ANSI code page; null empties the string.
    CSkinString& operator=(const char* text);
    CSkinString& operator+=(const CSkinString& other);
    /// Null is ignored.
    CSkinString& operator+=(const wchar_t* text);
    CSkinString& operator+=(wchar_t ch);
    /// Narrow text in the system ANSI code page; null is ignored.
    CSkinString& operator+=(const char* text);
    CSkinString operator+(const CSkinString& other) const;
    /// Null appends nothing.
    CSkinString operator+(const wchar_t* text) const;

    /// Number of characters before the terminator (scanned).
    int GetLength() const;
    /// True when the text is "".
    bool IsEmpty() const { return m_text[0] == L'\0'; }
    /// The text; valid until the string next changes.
    const wchar_t* GetData() const { return m_text; }
    operator const wchar_t*() const { return m_text; }
    /// Character at `index` in 0..length; 0 for an index outside that range.
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }
    /// Stores `ch` at `index` in 0..length; 0 shortens the text. Other indexes, and a
    /// character that would overwrite the terminator, are ignored.
    void SetAt(int index, wchar_t ch);

    /// Case-sensitive comparison by code unit, like wcscmp. Null compares as "".
    int Compare(const wchar_t* text) const;
    /// Like Compare, with only 'A'..'Z' folded to 'a'..'z'.
    int CompareNoCase(const wchar_t* text) const;
    bool operator==(const CSkinString& other) const { return Compare(other.m_text) == 0; }
    bool operator!=(const CSkinString& other) const { return Compare(other.m_text) != 0; }
    bool operator==(const wchar_t* text) const { return Compare(text) == 0; }
    bool operator!=(const wchar_t* text) const { return Compare(text) != 0; }
    bool operator<(const wchar_t* text) const { return Compare(text) < 0; }
    bool operator<=(const wchar_t* text) const { return Compare(text) < 1; }
    bool operator>(const wchar_t* text) const { return Compare(text) > 0; }
    bool operator>=(const wchar_t* text) const { return Compare(text) >= 0; }

    /// Index of the first `text` at or after `start` (0..length), or -1. "" is found at start.
    int Find(const wchar_t* text, int start = 0) const;
    /// Index of the first `ch` at or after `start` (0..length-1, or 0), or -1.
    /// Searching for 0 answers the length.
    int Find(wchar_t ch, int start = 0) const;
    /// Index of the last `ch`, or -1. Searching for 0 answers the length.
    int ReverseFind(wchar_t ch) const;
    /// The first `count` characters, `count` clamped to 0..length.
    CSkinString Left(int count) const;
    /// `count` characters from `start` (the rest when negative), cut at the end.
    /// A start outside 0..length is clamped into it.
    CSkinString Mid(int start, int count = -1) const;
    /// The last `count` characters; the whole text when longer, "" when negative.
    CSkinString Right(int count) const;
    /// Replaces every `from` by `to`, left to right, never rescanning inserted text.
    /// Returns the number of replacements; an empty or null `from` replaces nothing.
    int Replace(const wchar_t* from, const wchar_t* to);
    /// Upper-cases 'a'..'z' in place; other characters stay.
    void MakeUpper();
    /// Lower-cases 'A'..'Z' in place; other characters stay.
    void MakeLower();

    /// printf-style formatting of any length (the C runtime's wide printf: %s wide, %S
    /// narrow). Returns the number of characters produced; on a formatting error the
    /// string becomes empty and the result is -1.
    int Format(const wchar_t* format, ...);
    /// Short formatting through the window system's formatter (no floating point).
    /// Output past 63 characters is cut off. Returns the number of characters stored.
    int SmallFormat(const wchar_t* format, ...);

private:
    bool IsInline() const { return m_text == m_inlineBuffer; }
    /// Frees the heap block, if any, and points the text at the inline buffer.
    void ReleaseHeapBlock();

    wchar_t* m_text;
    wchar_t m_inlineBuffer[kInlineBufferSize];
};

/// With the literal on the left: compares text, not pointers.
inline bool operator==(const wchar_t* text, const CSkinString& string) {
    return string == text;
}
inline bool operator!=(const wchar_t* text, const CSkinString& string) {
    return string != text;
}

/// Trace line: a printf-style format (%s takes a wide string), cut to 511 characters and
/// handed to the trace handler, or by default to the debugger output (OutputDebugStringW).
void SKIN__Trace(const wchar_t* format, ...);
/// Receives each trace line, without a line end; may be called from any thread that traces.
using SkinTraceHandler = void (*)(const wchar_t* line);
/// Sends trace lines to `handler` instead; null sends them to the debugger output again.
/// Returns the handler that was set before.
SkinTraceHandler SKIN__SetTraceHandler(SkinTraceHandler handler);
/// Name of a window message ("WM_PAINT"), or its number as "0x%04X". Unknown numbers share
/// one static buffer that the next unknown number overwrites (UI thread only).
const wchar_t* SKIN__TraceMsg(UINT message);

} // namespace SkinUI
