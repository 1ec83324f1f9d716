#include "core/SkinString.h"

#include <shlwapi.h>

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

wchar_t* AllocateChars(size_t count) {
    return static_cast<wchar_t*>(malloc(count * sizeof(wchar_t)));
}

void MoveChars(wchar_t* target, const wchar_t* source, size_t count) {
    memmove(target, source, count * sizeof(wchar_t));
}

bool PointsInto(const wchar_t* pointer, const wchar_t* begin, size_t length) {
    const auto address = reinterpret_cast<uintptr_t>(pointer);
    const auto first = reinterpret_cast<uintptr_t>(begin);
    return address >= first && address <= first + length * sizeof(wchar_t);
}

wchar_t FoldAsciiUpper(wchar_t ch) {
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

// Converts narrow text from the system ANSI code page and hands the wide text to `use`.
// Short texts convert on the stack; long ones through a temporary heap buffer.
template <typename Use> void WithWideFromAnsi(const char* text, Use use) {
    const UINT codePage = GetACP();
    const int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    wchar_t local[CSkinString::kInlineBufferSize];
    wchar_t* wide = needed <= CSkinString::kInlineBufferSize ? local : AllocateChars(needed);
    if (needed <= 0 || wide == nullptr) {
        use(L"");
        return;
    }
    if (MultiByteToWideChar(codePage, 0, text, -1, wide, needed) <= 0) wide[0] = L'\0';
    use(wide);
    if (wide != local) free(wide);
}

} // namespace

CSkinString::CSkinString() : m_text(m_inlineBuffer) {
    m_inlineBuffer[0] = L'\0';
}

CSkinString::CSkinString(const CSkinString& other) : CSkinString() {
    Assign(other.m_text);
}

CSkinString::CSkinString(const wchar_t* text, int count) : CSkinString() {
    Assign(text, count);
}

CSkinString::CSkinString(wchar_t ch) : CSkinString() {
    m_inlineBuffer[0] = ch;
    m_inlineBuffer[1] = L'\0';
}

CSkinString::~CSkinString() {
    ReleaseHeapBlock();
}

void CSkinString::ReleaseHeapBlock() {
    if (!IsInline()) free(m_text);
    m_text = m_inlineBuffer;
}

void CSkinString::Assign(const wchar_t* source, int count) {
    if (source == nullptr) source = L"";
    // Positions past the source's end would only be zero-filled, so the stored text is
    // never longer than the source; that keeps short texts inline.
    const size_t length = count < 0 ? wcslen(source) : wcsnlen(source, count);
    // The source may lie in this string's own text. Its length then never exceeds the
    // current one, so the heap block is never reallocated under it, and moving back
    // inline copies before the block is freed.
    if (length <= static_cast<size_t>(kMaxInlineLength)) {
        MoveChars(m_inlineBuffer, source, length);
        ReleaseHeapBlock();
    } else if (IsInline()) {
        wchar_t* block = AllocateChars(length + 1);
        if (block == nullptr) return;
        MoveChars(block, source, length);
        m_text = block;
    } else {
        if (wcslen(m_text) < length) {
            wchar_t* block = static_cast<wchar_t*>(realloc(m_text, (length + 1) * sizeof(wchar_t)));
            if (block == nullptr) return;
            m_text = block;
        }
        MoveChars(m_text, source, length);
    }
    m_text[length] = L'\0';
}

void CSkinString::Append(const wchar_t* text) {
    if (text == nullptr) return;
    const size_t oldLength = wcslen(m_text);
    const size_t addedLength = wcslen(text);
    const size_t newLength = oldLength + addedLength;
    if (newLength > static_cast<size_t>(kMaxInlineLength)) {
        if (IsInline()) {
            wchar_t* block = AllocateChars(newLength + 1);
            if (block == nullptr) return;
            MoveChars(block, m_text, oldLength);
            MoveChars(block + oldLength, text, addedLength);
            m_text = block;
        } else {
            // Appending our own text: find it again in the block after it may have moved.
            const bool fromSelf = PointsInto(text, m_text, oldLength);
            const ptrdiff_t offset = fromSelf ? text - m_text : 0;
            wchar_t* block =
                static_cast<wchar_t*>(realloc(m_text, (newLength + 1) * sizeof(wchar_t)));
            if (block == nullptr) return;
            m_text = block;
            MoveChars(block + oldLength, fromSelf ? block + offset : text, addedLength);
        }
    } else {
        // A heap text shortened by SetAt moves back inline; the argument is read before
        // the block is freed.
        if (!IsInline()) MoveChars(m_inlineBuffer, m_text, oldLength);
        MoveChars(m_inlineBuffer + oldLength, text, addedLength);
        if (!IsInline()) free(m_text);
        m_text = m_inlineBuffer;
    }
    m_text[newLength] = L'\0';
}

void CSkinString::Empty() {
    ReleaseHeapBlock();
    m_inlineBuffer[0] = L'\0';
}

CSkinString& CSkinString::operator=(const CSkinString& other) {
    Assign(other.m_text);
    return *this;
}

CSkinString& CSkinString::operator=(const wchar_t* text) {
    if (text == nullptr) {
        Empty();
    } else {
        Assign(text);
    }
    return *this;
}

CSkinString& CSkinString::operator=(wchar_t ch) {
    Empty();
    m_inlineBuffer[0] = ch;
    m_inlineBuffer[1] = L'\0';
    return *this;
}

CSkinString& CSkinString::operator=(const char* text) {
    if (text == nullptr) {
        Empty();
    } else {
        WithWideFromAnsi(text, [this](const wchar_t* wide) { Assign(wide); });
    }
    return *this;
}

CSkinString& CSkinString::operator+=(const CSkinString& other) {
    Append(other.m_text);
    return *this;
}

CSkinString& CSkinString::operator+=(const wchar_t* text) {
    Append(text);
    return *this;
}

CSkinString& CSkinString::operator+=(wchar_t ch) {
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
    return *this;
}

CSkinString& CSkinString::operator+=(const char* text) {
    if (text != nullptr) WithWideFromAnsi(text, [this](const wchar_t* wide) { Append(wide); });
    return *this;
}

CSkinString CSkinString::operator+(const CSkinString& other) const {
    CSkinString result(*this);
    result.Append(other.m_text);
    return result;
}

CSkinString CSkinString::operator+(const wchar_t* text) const {
    CSkinString result(*this);
    result.Append(text);
    return result;
}

int CSkinString::GetLength() const {
    return static_cast<int>(wcslen(m_text));
}

wchar_t CSkinString::GetAt(int index) const {
    // The bounded scan stops at the index, so a check costs no more than reaching it.
    if (index < 0 || wcsnlen(m_text, index) < static_cast<size_t>(index)) return L'\0';
    return m_text[index];
}

void CSkinString::SetAt(int index, wchar_t ch) {
    if (index < 0 || wcsnlen(m_text, index) < static_cast<size_t>(index)) return;
    // Writing past a terminator at the index would read stale characters back in.
    if (m_text[index] == L'\0' && ch != L'\0') return;
    m_text[index] = ch;
}

int CSkinString::Compare(const wchar_t* text) const {
    return wcscmp(m_text, text != nullptr ? text : L"");
}

int CSkinString::CompareNoCase(const wchar_t* text) const {
    if (text == nullptr) text = L"";
    for (const wchar_t* own = m_text;; ++own, ++text) {
        const wchar_t left = FoldAsciiUpper(*own);
        const wchar_t right = FoldAsciiUpper(*text);
        if (left != right) return static_cast<int>(left) - static_cast<int>(right);
        if (left == L'\0') return 0;
    }
}

int CSkinString::Find(const wchar_t* text, int start) const {
    if (text == nullptr) return -1;
    if (start != 0 && (start < 0 || start > GetLength())) return -1;
    // Some runtimes' wcsstr miss the empty needle at the very end of the text.
    if (text[0] == L'\0') return start;
    const wchar_t* found = wcsstr(m_text + start, text);
    return found != nullptr ? static_cast<int>(found - m_text) : -1;
}

int CSkinString::Find(wchar_t ch, int start) const {
    if (start != 0 && (start < 0 || start >= GetLength())) return -1;
    const wchar_t* found = wcschr(m_text + start, ch);
    return found != nullptr ? static_cast<int>(found - m_text) : -1;
}

int CSkinString::ReverseFind(wchar_t ch) const {
    const wchar_t* found = wcsrchr(m_text, ch);
    return found != nullptr ? static_cast<int>(found - m_text) : -1;
}

CSkinString CSkinString::Left(int count) const {
    const int length = GetLength();
    if (count < 0) count = 0;
    if (count > length) count = length;
    return CSkinString(m_text, count);
}

CSkinString CSkinString::Mid(int start, int count) const {
    const int length = GetLength();
    if (start < 0) start = 0;
    if (start > length) start = length;
    if (count < 0 || count > length - start) count = length - start;
    if (count <= 0) return CSkinString();
    return CSkinString(m_text + start, count);
}

CSkinString CSkinString::Right(int count) const {
    const int length = GetLength();
    if (count < 0) return CSkinString();
    if (count > length) count = length;
    return CSkinString(m_text + length - count, count);
}

int CSkinString::Replace(const wchar_t* from, const wchar_t* to) {
    if (from == nullptr || from[0] == L'\0') return 0;
    if (to == nullptr) to = L"";
    const size_t fromLength = wcslen(from);
    const size_t toLength = wcslen(to);
    // Matches are taken left to right and never overlap; the search resumes after each
    // match, so replacement text is never searched again. One pass counts, one builds.
    int count = 0;
    for (const wchar_t* found = wcsstr(m_text, from); found != nullptr;
         found = wcsstr(found + fromLength, from)) {
        ++count;
    }
    if (count == 0) return 0;
    const size_t resultLength = wcslen(m_text) - count * fromLength + count * toLength;
    wchar_t* result = AllocateChars(resultLength + 1);
    if (result == nullptr) return 0;
    wchar_t* out = result;
    const wchar_t* rest = m_text;
    for (const wchar_t* found = wcsstr(rest, from); found != nullptr; found = wcsstr(rest, from)) {
        MoveChars(out, rest, found - rest);
        out += found - rest;
        MoveChars(out, to, toLength);
        out += toLength;
        rest = found + fromLength;
    }
    wcscpy(out, rest);
    Assign(result, static_cast<int>(resultLength));
    free(result);
    return count;
}

void CSkinString::MakeUpper() {
    for (wchar_t* p = m_text; *p != L'\0'; ++p) {
        if (*p >= L'a' && *p <= L'z') *p = static_cast<wchar_t>(*p - L'a' + L'A');
    }
}

void CSkinString::MakeLower() {
    for (wchar_t* p = m_text; *p != L'\0'; ++p)
        *p = FoldAsciiUpper(*p);
}

int CSkinString::Format(const wchar_t* format, ...) {
    // The runtime's own formatters: %s takes a wide string, %S a narrow one.
    int needed = -1;
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        needed = _vscwprintf(format, args);
        va_end(args);
    }
    wchar_t* buffer =
        needed >= 0 ? static_cast<wchar_t*>(calloc(needed + 1, sizeof(wchar_t))) : nullptr;
    int produced = -1;
    if (buffer != nullptr) {
        va_list args;
        va_start(args, format);
        produced = _vsnwprintf(buffer, needed + 1, format, args);
        va_end(args);
    }
    if (produced < 0) {
        Empty();
    } else {
        Assign(buffer, produced);
    }
    free(buffer);
    return produced;
}

int CSkinString::SmallFormat(const wchar_t* format, ...) {
    // The format may be our own text, which the result replaces.
    const CSkinString formatCopy(format);
    wchar_t buffer[kInlineBufferSize] = {};
    va_list args;
    va_start(args, format);
    // Bounded: longer output is cut and the last slot always keeps the terminator.
    wvnsprintfW(buffer, kInlineBufferSize, formatCopy.m_text, args);
    va_end(args);
    buffer[kInlineBufferSize - 1] = L'\0';
    Assign(buffer);
    return GetLength();
}

namespace {
std::atomic<SkinTraceHandler> g_traceHandler{nullptr};
} // namespace

void SKIN__Trace(const wchar_t* format, ...) {
    if (format == nullptr) return;
    wchar_t line[512];
    va_list args;
    va_start(args, format);
    // Counted: a longer line is cut, and the last slot always keeps the terminator.
    const int written = _vsnwprintf(line, 511, format, args);
    va_end(args);
    line[written >= 0 && written < 511 ? written : 511] = L'\0';
    if (SkinTraceHandler handler = g_traceHandler.load()) {
        handler(line);
        return;
    }
    OutputDebugStringW(line);
    OutputDebugStringW(L"\n");
}

SkinTraceHandler SKIN__SetTraceHandler(SkinTraceHandler handler) {
    return g_traceHandler.exchange(handler);
}

const wchar_t* SKIN__TraceMsg(UINT message) {
    struct MessageName {
        UINT number;
        const wchar_t* name;
    };
    static const MessageName kNames[] = {
        {WM_SETCURSOR, L"WM_SETCURSOR"},
        {WM_NCHITTEST, L"WM_NCHITTEST"},
        {WM_NCPAINT, L"WM_NCPAINT"},
        {WM_PAINT, L"WM_PAINT"},
        {WM_ERASEBKGND, L"WM_ERASEBKGND"},
        {WM_NCMOUSEMOVE, L"WM_NCMOUSEMOVE"},
        {WM_MOUSEMOVE, L"WM_MOUSEMOVE"},
        {WM_MOUSELEAVE, L"WM_MOUSELEAVE"},
        {WM_MOUSEHOVER, L"WM_MOUSEHOVER"},
        {WM_NOTIFY, L"WM_NOTIFY"},
        {WM_COMMAND, L"WM_COMMAND"},
        {WM_MEASUREITEM, L"WM_MEASUREITEM"},
        {WM_DRAWITEM, L"WM_DRAWITEM"},
        {WM_LBUTTONDOWN, L"WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, L"WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, L"WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, L"WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, L"WM_RBUTTONUP"},
        {WM_RBUTTONDBLCLK, L"WM_RBUTTONDBLCLK"},
        {WM_SETFOCUS, L"WM_SETFOCUS"},
        {WM_KILLFOCUS, L"WM_KILLFOCUS"},
        {WM_MOVE, L"WM_MOVE"},
        {WM_SIZE, L"WM_SIZE"},
        {WM_SIZING, L"WM_SIZING"},
        {WM_MOVING, L"WM_MOVING"},
        {WM_GETMINMAXINFO, L"WM_GETMINMAXINFO"},
        {WM_CAPTURECHANGED, L"WM_CAPTURECHANGED"},
        {WM_WINDOWPOSCHANGED, L"WM_WINDOWPOSCHANGED"},
        {WM_WINDOWPOSCHANGING, L"WM_WINDOWPOSCHANGING"},
        {WM_NCCALCSIZE, L"WM_NCCALCSIZE"},
        {WM_NCCREATE, L"WM_NCCREATE"},
        {WM_NCDESTROY, L"WM_NCDESTROY"},
        {WM_TIMER, L"WM_TIMER"},
        {WM_KEYDOWN, L"WM_KEYDOWN"},
        {WM_KEYUP, L"WM_KEYUP"},
        {WM_CHAR, L"WM_CHAR"},
        {WM_SYSKEYDOWN, L"WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, L"WM_SYSKEYUP"},
        {WM_SYSCOMMAND, L"WM_SYSCOMMAND"},
        {WM_SYSCHAR, L"WM_SYSCHAR"},
        {WM_VSCROLL, L"WM_VSCROLL"},
        {WM_HSCROLL, L"WM_HSCROLL"},
        {WM_SHOWWINDOW, L"WM_SHOWWINDOW"},
        {WM_PARENTNOTIFY, L"WM_PARENTNOTIFY"},
        {WM_CREATE, L"WM_CREATE"},
        {WM_NCACTIVATE, L"WM_NCACTIVATE"},
        {WM_ACTIVATE, L"WM_ACTIVATE"},
        {WM_ACTIVATEAPP, L"WM_ACTIVATEAPP"},
        {WM_CLOSE, L"WM_CLOSE"},
        {WM_DESTROY, L"WM_DESTROY"},
        {WM_GETICON, L"WM_GETICON"},
        {WM_GETTEXT, L"WM_GETTEXT"},
        {WM_GETTEXTLENGTH, L"WM_GETTEXTLENGTH"},
    };
    for (const MessageName& entry : kNames) {
        if (entry.number == message) return entry.name;
    }
    // "0x" + up to eight hexadecimal digits + terminator: room for any UINT.
    static wchar_t unknown[16];
    wsprintfW(unknown, L"0x%04X", message);
    return unknown;
}

} // namespace SkinUI
