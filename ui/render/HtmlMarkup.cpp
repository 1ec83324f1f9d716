#include "render/HtmlMarkup.h"

#include <climits>

namespace SkinUI {
namespace HtmlMarkup {

namespace {

// Font sizes beyond this many pixels are cut to it: larger ones only make the system
// build glyphs nobody can see, slowly.
constexpr int kMaxFontSize = 1000;

bool IsOpening(wchar_t ch) {
    return ch == L'<' || ch == L'{';
}

bool IsClosing(wchar_t ch) {
    return ch == L'>' || ch == L'}';
}

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

bool IsLetter(wchar_t ch) {
    return ch >= L'a' && ch <= L'z';
}

bool IsDigit(wchar_t ch) {
    return ch >= L'0' && ch <= L'9';
}

int HexValue(wchar_t ch) {
    if (IsDigit(ch)) return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

// A cursor over the arguments of one tag.
struct Args {
    const wchar_t* p;
    const wchar_t* end;

    void SkipBlanks() {
        while (p < end && IsBlank(*p))
            ++p;
    }
    bool AtEnd() const { return p >= end; }
    // The next white-space separated word; empty at the end.
    CSkinString Word() {
        SkipBlanks();
        const wchar_t* start = p;
        while (p < end && !IsBlank(*p))
            ++p;
        return CSkinString(start, static_cast<int>(p - start));
    }
};

// A signed decimal number, saturated to int; false when no digit follows the sign.
bool ParseInt(const wchar_t*& p, const wchar_t* end, int& value) {
    const wchar_t* q = p;
    bool negative = false;
    if (q < end && (*q == L'-' || *q == L'+')) negative = *q++ == L'-';
    if (q >= end || !IsDigit(*q)) return false;
    long long magnitude = 0;
    for (; q < end && IsDigit(*q); ++q) {
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*q - L'0');
    }
    if (negative) magnitude = -magnitude;
    value = magnitude > INT_MAX   ? INT_MAX
            : magnitude < INT_MIN ? INT_MIN
                                  : static_cast<int>(magnitude);
    p = q;
    return true;
}

// Whether the word is a whole decimal number.
bool IsNumber(const CSkinString& word, int& value) {
    const wchar_t* p = word.GetData();
    const wchar_t* end = p + word.GetLength();
    return ParseInt(p, end, value) && p == end;
}

// The value of a key='value' item in the arguments; false when there is none.
bool FindItem(const wchar_t* args, int length, const wchar_t* key, CSkinString& value) {
    const wchar_t* end = args + length;
    int keyLength = 0;
    while (key[keyLength] != L'\0')
        ++keyLength;
    for (const wchar_t* p = args; p + keyLength <= end; ++p) {
        // Only at the start of an item, never inside another item's value.
        if (p != args && !IsBlank(p[-1])) continue;
        bool same = true;
        for (int i = 0; i < keyLength && same; ++i)
            same = p[i] == key[i];
        if (!same) continue;
        const wchar_t* q = p + keyLength;
        while (q < end && IsBlank(*q))
            ++q;
        if (q >= end || *q != L'=') continue;
        ++q;
        while (q < end && IsBlank(*q))
            ++q;
        if (q >= end || *q != L'\'') continue;
        const wchar_t* start = ++q;
        while (q < end && *q != L'\'')
            ++q;
        if (q >= end) return false; // unterminated value
        value.Assign(start, static_cast<int>(q - start));
        return true;
    }
    return false;
}

// The words of the arguments outside key='value' items.
template <typename Visit> void ForEachBareWord(const wchar_t* args, int length, Visit visit) {
    Args cursor{args, args + length};
    while (true) {
        cursor.SkipBlanks();
        if (cursor.AtEnd()) return;
        const wchar_t* start = cursor.p;
        bool item = false;
        while (cursor.p < cursor.end && !IsBlank(*cursor.p)) {
            if (*cursor.p == L'=') item = true;
            if (*cursor.p == L'\'') {
                // A quoted value may hold white space: skip to its closing quote.
                item = true;
                ++cursor.p;
                while (cursor.p < cursor.end && *cursor.p != L'\'')
                    ++cursor.p;
                if (cursor.p >= cursor.end) return;
            }
            ++cursor.p;
        }
        if (!item) visit(CSkinString(start, static_cast<int>(cursor.p - start)));
    }
}

} // namespace

bool ReadTag(const wchar_t* p, Tag& tag) {
    if (!IsOpening(p[0])) return false;
    const bool closing = p[1] == L'/';
    const wchar_t* letter = closing ? p + 2 : p + 1;
    if (!IsLetter(letter[0])) return false;
    if (!IsBlank(letter[1]) && !IsClosing(letter[1])) return false;
    const wchar_t* args = letter + 1;
    while (IsBlank(*args))
        ++args;
    const wchar_t* end = args;
    while (*end != L'\0' && !IsClosing(*end))
        ++end;
    tag.letter = letter[0];
    tag.closing = closing;
    tag.args = args;
    tag.argsLength = static_cast<int>(end - args);
    tag.next = *end != L'\0' ? end + 1 : end;
    return true;
}

bool IsClosingTag(const wchar_t* p, wchar_t letter) {
    return IsOpening(p[0]) && p[1] == L'/' && p[2] == letter && (IsBlank(p[3]) || IsClosing(p[3]));
}

wchar_t ReadEscape(const wchar_t* p) {
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') return p[1];
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') return p[1];
    return 0;
}

bool IsBreakAfter(wchar_t ch) {
    if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z')) return false;
    return !IS_HIGH_SURROGATE(ch);
}

int ReadInt(const wchar_t* args, int length, int fallback) {
    Args cursor{args, args + length};
    cursor.SkipBlanks();
    int value = fallback;
    return ParseInt(cursor.p, cursor.end, value) ? value : fallback;
}

DWORD ReadColor(const wchar_t* args, int length) {
    Args cursor{args, args + length};
    cursor.SkipBlanks();
    if (!cursor.AtEnd() && *cursor.p == L'#') ++cursor.p;
    const wchar_t*& p = cursor.p;
    bool negative = false;
    if (p < cursor.end && (*p == L'-' || *p == L'+')) negative = *p++ == L'-';
    if (cursor.end - p >= 2 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') &&
        p + 2 < cursor.end && HexValue(p[2]) >= 0)
        p += 2;
    long long magnitude = 0;
    for (; p < cursor.end && HexValue(*p) >= 0; ++p) {
        if (magnitude <= 0x7FFFFFFF) magnitude = magnitude * 16 + HexValue(*p);
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    if (value < -0x80000000LL) value = -0x80000000LL;
    return 0xFF000000 | (static_cast<DWORD>(value) & 0x00FFFFFF);
}

bool ReadInlineImage(const wchar_t* args, int length, InlineImage& image) {
    image = InlineImage();
    const bool hasFile = FindItem(args, length, L"file", image.name);
    CSkinString resource;
    if (FindItem(args, length, L"res", resource)) {
        image.name = resource;
        FindItem(args, length, L"restype", image.resourceType);
    }
    const bool attributeForm = hasFile || !resource.IsEmpty();
    int numbers[2] = {1, 0};
    int numberCount = 0;
    bool named = attributeForm;
    ForEachBareWord(args, length, [&](const CSkinString& word) {
        if (!named) {
            image.name = word;
            named = true;
            return;
        }
        int value = 0;
        if (numberCount < 2 && IsNumber(word, value)) numbers[numberCount++] = value;
    });
    if (image.name.IsEmpty()) return false;
    image.frames = numbers[0] < 1 ? 1 : numbers[0];
    image.frame = numbers[1] < 0 || numbers[1] >= image.frames ? 0 : numbers[1];
    return true;
}

FontRequest ReadFontRequest(const wchar_t* args, int length) {
    FontRequest request;
    Args cursor{args, args + length};
    cursor.SkipBlanks();
    if (cursor.AtEnd()) return request;
    int index = 0;
    const wchar_t* p = cursor.p;
    if (ParseInt(p, cursor.end, index)) {
        request.index = index;
        return request;
    }
    request.byIndex = false;
    request.faceName = cursor.Word();
    CSkinString word = cursor.Word();
    int size = 0;
    if (IsNumber(word, size)) {
        request.size = size > kMaxFontSize    ? kMaxFontSize
                       : size < -kMaxFontSize ? -kMaxFontSize
                                              : size;
        word = cursor.Word();
    }
    // The remaining words, lower-cased, switch the styles on. Each is looked at alone:
    // joining them would cost time in the square of the tag's length.
    for (; !word.IsEmpty(); word = cursor.Word()) {
        word.MakeLower();
        request.bold = request.bold || word.Find(L"bold") >= 0;
        request.underline = request.underline || word.Find(L"underline") >= 0;
        request.italic = request.italic || word.Find(L"italic") >= 0;
    }
    return request;
}

} // namespace HtmlMarkup
} // namespace SkinUI
