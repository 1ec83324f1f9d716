#include "core/Markup.h"

#include <windows.h>

#include "core/Sse2.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "core/SkinFile.h"
#include "core/Utf8Decoder.h"

namespace SkinUI {

namespace {

const wchar_t kEmptyText[] = L"";

// Longest document: offsets are 32-bit and the code-page conversions count in int.
const unsigned long kMaxDocumentUnits = INT_MAX - 1;

// Copies at most count - 1 characters and always terminates; count 0 writes nothing.
void CopyTerminated(wchar_t* buffer, unsigned long count, const wchar_t* source) {
    if (buffer == nullptr || count == 0) return;
    unsigned long length = 0;
    if (source != nullptr) {
        while (length + 1 < count && source[length] != 0) {
            buffer[length] = source[length];
            ++length;
        }
    }
    buffer[length] = 0;
}

// Units after a text buffer's terminator that the block scans below may read.
const size_t kScanPadding = 8;

// Decodes `size` bytes of a code page into `text`, which has room for `room` units;
// the units written, or 0 when the bytes do not fit or cannot be decoded.
int DecodeCodePage(UINT codePage, const unsigned char* data, int size, wchar_t* text, int room) {
    // The conversion refuses an empty input; an empty document is still a document.
    if (size == 0) return 0;
    const int written =
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data), size, text, room);
    return written > 0 && written <= room ? written : 0;
}

// Units that `size` bytes of a code page decode to; 0 when they cannot be decoded.
int MeasureCodePage(UINT codePage, const unsigned char* data, int size) {
    const int length =
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data), size, nullptr, 0);
    return length > 0 ? length : 0;
}

// Copies `units` UTF-16 units, swapping bytes for big-endian data. The caller's bytes
// stay as they are: they may be a read-only resource.
void CopyUtf16(const unsigned char* bytes, size_t units, bool bigEndian, wchar_t* text) {
    if (bigEndian) {
        for (size_t i = 0; i < units; ++i, bytes += 2) {
            text[i] = static_cast<wchar_t>((bytes[0] << 8) | bytes[1]);
        }
    } else if (units != 0) {
        std::memcpy(text, bytes, units * sizeof(wchar_t));
    }
}

inline bool IsBlank(wchar_t c) {
    return c != 0 && c <= L' ';
}

// The message of each status, in the order of MarkupStatus.
const wchar_t* const kStatusMessages[] = {
    L"",
    L"No XML text",
    L"No XML data",
    L"Document too large",
    L"Out of memory",
    L"UTF-16 data without byte-order mark",
    L"Could not decode the XML data",
    L"Error opening file",
    L"File is empty",
    L"File too large",
    L"Could not read file",
    L"Error opening zip file",
    L"Could not find ziped file",
    L"Could not unzip file",
    L"Expected start tag",
    L"Error parsing element name",
    L"Expected start-tag closing",
    L"Expected end-tag start",
    L"Unmatched closing tag",
    L"Error while parsing attributes",
    L"Expected attribute value",
    L"Error while parsing attribute string",
    L"Elements nested too deeply",
    L"Unterminated comment",
    L"Unterminated processing instruction",
    L"Unterminated declaration",
    L"Unterminated CDATA section",
    L"CDATA section outside element text",
};
static_assert(sizeof(kStatusMessages) / sizeof(kStatusMessages[0]) == MARKUP_MISPLACED_CDATA + 1,
              "one message per status");

// True when `text` starts with `prefix`.
inline bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

// The first unit at or after `text` that is `a`, `b`, `c` or a terminator. Whole blocks
// of eight units are read at a time: text buffers have kScanPadding units after their
// terminator, and no block starts past it.
inline wchar_t* FindAny(wchar_t* text, wchar_t a, wchar_t b, wchar_t c) {
#ifdef SKINUI_SSE2
    static_assert(sizeof(wchar_t) == 2, "UTF-16 units");
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    const __m128i zero = _mm_setzero_si128();
    for (;; text += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
        const __m128i found =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, va), _mm_cmpeq_epi16(units, vb)),
                         _mm_or_si128(_mm_cmpeq_epi16(units, vc), _mm_cmpeq_epi16(units, zero)));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(found));
        if (mask != 0) return text + LowestBit(mask) / 2;
    }
#else
    while (*text != a && *text != b && *text != c && *text != 0)
        ++text;
    return text;
#endif
}

// The next `pattern` at or after `text`, or null.
wchar_t* Find(wchar_t* text, const wchar_t* pattern) {
    const size_t length = std::wcslen(pattern);
    for (;; ++text) {
        text = FindAny(text, pattern[0], pattern[0], pattern[0]);
        if (*text == 0) return nullptr;
        if (std::wcsncmp(text, pattern, length) == 0) return text;
    }
}

// Moves `text` just past the next `end`; false (text at the terminator) when there is none.
bool SkipPast(wchar_t*& text, const wchar_t* end) {
    if (wchar_t* found = Find(text, end)) {
        text = found + std::wcslen(end);
        return true;
    }
    text += std::wcslen(text);
    return false;
}

// ASCII letters, digits, '_' and ':'.
struct AsciiIdentifierTable {
    bool identifier[0x80];
    constexpr AsciiIdentifierTable() : identifier() {
        for (int c = 0; c < 0x80; ++c) {
            identifier[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '_' || c == ':';
        }
    }
};
constexpr AsciiIdentifierTable kAscii;

// Names may hold letters and digits of any script, '_' and ':'.
inline bool IsIdentifierChar(wchar_t c) {
    if (c < 0x80) return kAscii.identifier[c];
    return std::iswalnum(c) != 0;
}

} // namespace

// ---------------------------------------------------------------------------
// CMarkupNode

CMarkupNode::CMarkupNode() : m_elementIndex(0), m_attributeCount(0), m_owner(nullptr) {}

CMarkupNode::CMarkupNode(CMarkup* owner, int elementIndex)
    : m_elementIndex(elementIndex), m_attributeCount(0), m_owner(owner) {}

CMarkupNode CMarkupNode::GetParent() const {
    if (m_owner == nullptr) return CMarkupNode();
    const std::uint32_t index = m_owner->m_elements[m_elementIndex].parent;
    return index == 0 ? CMarkupNode() : CMarkupNode(m_owner, static_cast<int>(index));
}

CMarkupNode CMarkupNode::GetSibling() const {
    if (m_owner == nullptr) return CMarkupNode();
    const std::uint32_t index = m_owner->m_elements[m_elementIndex].nextSibling;
    return index == 0 ? CMarkupNode() : CMarkupNode(m_owner, static_cast<int>(index));
}

CMarkupNode CMarkupNode::GetChild() const {
    if (m_owner == nullptr) return CMarkupNode();
    const std::uint32_t index = m_owner->m_elements[m_elementIndex].firstChild;
    return index == 0 ? CMarkupNode() : CMarkupNode(m_owner, static_cast<int>(index));
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* name) const {
    if (m_owner == nullptr || name == nullptr) return CMarkupNode();
    std::uint32_t index = m_owner->m_elements[m_elementIndex].firstChild;
    while (index != 0) {
        const CMarkup::tagXMLELEMENT& child = m_owner->m_elements[index];
        if (std::wcscmp(m_owner->m_xml + child.nameStart, name) == 0) {
            return CMarkupNode(m_owner, static_cast<int>(index));
        }
        index = child.nextSibling;
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const {
    return m_owner != nullptr && m_owner->m_elements[m_elementIndex].nextSibling != 0;
}

bool CMarkupNode::HasChildren() const {
    return m_owner != nullptr && m_owner->m_elements[m_elementIndex].firstChild != 0;
}

const wchar_t* CMarkupNode::GetName() const {
    if (m_owner == nullptr) return nullptr;
    return m_owner->m_xml + m_owner->m_elements[m_elementIndex].nameStart;
}

const wchar_t* CMarkupNode::GetValue() const {
    if (m_owner == nullptr) return nullptr;
    return m_owner->m_xml + m_owner->m_elements[m_elementIndex].dataStart;
}

bool CMarkupNode::HasAttributes() {
    if (m_owner == nullptr) return false;
    if (m_attributeCount == 0) _MapAttributes();
    return m_attributeCount > 0;
}

bool CMarkupNode::HasAttribute(const wchar_t* name) {
    return _FindAttribute(name) >= 0;
}

int CMarkupNode::GetAttributeCount() {
    if (m_owner == nullptr) return 0;
    if (m_attributeCount == 0) _MapAttributes();
    return m_attributeCount;
}

const wchar_t* CMarkupNode::GetAttributeName(int index) {
    if (m_owner == nullptr) return nullptr;
    if (m_attributeCount == 0) _MapAttributes();
    if (index < 0 || index >= m_attributeCount) return kEmptyText;
    return m_owner->m_xml + m_attributes[index].nameStart;
}

const wchar_t* CMarkupNode::GetAttributeValue(int index) {
    if (m_owner == nullptr) return nullptr;
    if (m_attributeCount == 0) _MapAttributes();
    if (index < 0 || index >= m_attributeCount) return kEmptyText;
    return m_owner->m_xml + m_attributes[index].valueStart;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* name) {
    if (m_owner == nullptr) return nullptr;
    const int index = _FindAttribute(name);
    return index < 0 ? kEmptyText : m_owner->m_xml + m_attributes[index].valueStart;
}

bool CMarkupNode::GetAttributeValue(int index, wchar_t* buffer, unsigned long count) {
    if (m_owner == nullptr) return false;
    if (m_attributeCount == 0) _MapAttributes();
    if (index < 0 || index >= m_attributeCount) return false;
    CopyTerminated(buffer, count, m_owner->m_xml + m_attributes[index].valueStart);
    return true;
}

bool CMarkupNode::GetAttributeValue(const wchar_t* name, wchar_t* buffer, unsigned long count) {
    const int index = _FindAttribute(name);
    if (index < 0) return false;
    CopyTerminated(buffer, count, m_owner->m_xml + m_attributes[index].valueStart);
    return true;
}

int CMarkupNode::_FindAttribute(const wchar_t* name) {
    if (m_owner == nullptr || name == nullptr) return -1;
    if (m_attributeCount == 0) _MapAttributes();
    for (int i = 0; i < m_attributeCount; ++i) {
        if (std::wcscmp(m_owner->m_xml + m_attributes[i].nameStart, name) == 0) return i;
    }
    return -1;
}

// Parsing left each attribute as: name, terminator, blanks (one replaced the
// '='), opening quote, value, terminator, blanks. The walk stops at the
// element's data, or at the '>' or '/' that closes the start tag.
void CMarkupNode::_MapAttributes() {
    m_attributeCount = 0;
    wchar_t* const xml = m_owner->m_xml;
    const CMarkup::tagXMLELEMENT& element = m_owner->m_elements[m_elementIndex];
    const wchar_t* const dataStart = xml + element.dataStart;
    wchar_t* position = xml + element.nameStart;
    position += std::wcslen(position) + 1;
    while (position < dataStart) {
        CMarkup::_SkipWhitespace(position);
        if (position >= dataStart || *position == L'>' || *position == L'/') return;
        const unsigned long nameStart = static_cast<unsigned long>(position - xml);
        position += std::wcslen(position) + 1;
        CMarkup::_SkipWhitespace(position);
        if (*position != L'"') return;
        ++position;
        m_attributes[m_attributeCount].nameStart = nameStart;
        m_attributes[m_attributeCount].valueStart = static_cast<unsigned long>(position - xml);
        if (++m_attributeCount == kMaxAttributes) return;
        position += std::wcslen(position) + 1;
    }
}

// ---------------------------------------------------------------------------
// CMarkup

CMarkup::CMarkup(const wchar_t* xml)
    : m_xml(nullptr), m_capacity(0), m_elements(nullptr), m_elementCount(0), m_reservedCount(0),
      m_status(MARKUP_OK), m_errorOffset(0), m_preserveWhitespace(true), m_depth(0) {
    m_errorMessage[0] = 0;
    m_errorLocation[0] = 0;
    if (xml != nullptr) Load(xml);
}

CMarkup::~CMarkup() {
    Release();
}

bool CMarkup::Load(const wchar_t* xml) {
    m_elementCount = 0;
    if (xml == nullptr) return _Abandon(MARKUP_NO_TEXT);
    const size_t length = std::wcslen(xml);
    if (length > kMaxDocumentUnits) return _Abandon(MARKUP_TOO_LARGE);
    if (!_ReserveText(length)) return _Abandon(MARKUP_OUT_OF_MEMORY);
    std::memcpy(m_xml, xml, length * sizeof(wchar_t));
    return _ParseText(length);
}

bool CMarkup::LoadFromMem(const unsigned char* data, unsigned long size, int encoding) {
    // The old document goes; its buffers are kept for this one when they are large enough.
    m_elementCount = 0;
    if (data == nullptr && size != 0) return _Abandon(MARKUP_NO_DATA);
    if (size > kMaxDocumentUnits) return _Abandon(MARKUP_TOO_LARGE);
    size_t length = 0;
    if (encoding == MARKUP_ENCODING_UTF8) {
        if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
            data += 3;
            size -= 3;
        }
        if (!_ReserveText(CUtf8Decoder::MaxUnits(size))) return _Abandon(MARKUP_OUT_OF_MEMORY);
        length = size == 0 ? 0 : CUtf8Decoder::Decode(data, size, m_xml);
    } else if (encoding == MARKUP_ENCODING_ANSI) {
        // Text rarely decodes to more characters than it has bytes: convert once into
        // that much room, and measure only when it was short.
        const int bytes = static_cast<int>(size);
        if (!_ReserveText(size)) return _Abandon(MARKUP_OUT_OF_MEMORY);
        length = static_cast<size_t>(DecodeCodePage(CP_ACP, data, bytes, m_xml, bytes));
        if (length == 0 && size != 0) {
            const int measured = MeasureCodePage(CP_ACP, data, bytes);
            if (measured == 0) return _Abandon(MARKUP_UNDECODABLE);
            if (!_ReserveText(static_cast<size_t>(measured))) {
                return _Abandon(MARKUP_OUT_OF_MEMORY);
            }
            length = static_cast<size_t>(DecodeCodePage(CP_ACP, data, bytes, m_xml, measured));
            if (length == 0) return _Abandon(MARKUP_UNDECODABLE);
        }
    } else {
        const bool littleEndian = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
        const bool bigEndian = size >= 2 && data[0] == 0xFE && data[1] == 0xFF;
        // Without a mark the byte order is a guess; refuse rather than show garbage.
        if (!littleEndian && !bigEndian) return _Abandon(MARKUP_NO_BYTE_ORDER_MARK);
        length = (size - 2) / 2; // an odd trailing byte is dropped
        if (!_ReserveText(length)) return _Abandon(MARKUP_OUT_OF_MEMORY);
        CopyUtf16(data + 2, length, bigEndian, m_xml);
    }
    return _ParseText(length);
}

bool CMarkup::LoadFromFile(const wchar_t* name, int encoding) {
    m_elementCount = 0;
    CSkinFileBytes bytes;
    switch (ReadSkinFile(name, nullptr, kMaxSkinFileSize, bytes)) {
    case SKINFILE_OK:
        return LoadFromMem(bytes.GetData(), bytes.GetSize(), encoding);
    case SKINFILE_EMPTY:
        return _Abandon(MARKUP_FILE_EMPTY);
    case SKINFILE_TOO_LARGE:
        return _Abandon(MARKUP_FILE_TOO_LARGE);
    case SKINFILE_READ_FAILED:
        return _Abandon(MARKUP_FILE_READ_FAILED);
    case SKINFILE_ZIP_OPEN_FAILED:
        return _Abandon(MARKUP_ZIP_OPEN_FAILED);
    case SKINFILE_ZIP_ENTRY_NOT_FOUND:
        return _Abandon(MARKUP_ZIP_ENTRY_NOT_FOUND);
    case SKINFILE_UNZIP_FAILED:
        return _Abandon(MARKUP_UNZIP_FAILED);
    case SKINFILE_RESOURCE_NOT_FOUND:
    case SKINFILE_OPEN_FAILED:
        break;
    }
    return _Abandon(MARKUP_FILE_NOT_FOUND);
}

void CMarkup::Release() {
    std::free(m_xml);
    std::free(m_elements);
    m_xml = nullptr;
    m_capacity = 0;
    m_elements = nullptr;
    m_elementCount = 0;
    m_reservedCount = 0;
}

bool CMarkup::_ReserveText(size_t units) {
    if (m_xml != nullptr && units <= m_capacity) return true;
    std::free(m_xml);
    m_capacity = 0;
    m_xml = static_cast<wchar_t*>(std::malloc((units + 1 + kScanPadding) * sizeof(wchar_t)));
    if (m_xml == nullptr) return false;
    m_capacity = units;
    return true;
}

bool CMarkup::_Abandon(MarkupStatus status) {
    Release();
    return _Failed(status);
}

void CMarkup::GetLastErrorMessage(wchar_t* buffer, unsigned long count) const {
    CopyTerminated(buffer, count, m_errorMessage);
}

void CMarkup::GetLastErrorLocation(wchar_t* buffer, unsigned long count) const {
    CopyTerminated(buffer, count, m_errorLocation);
}

CMarkupNode CMarkup::GetRoot() {
    if (m_elementCount < 2) return CMarkupNode();
    return CMarkupNode(this, 1);
}

bool CMarkup::_ParseText(size_t length) {
    // The terminator, and what the block scans may read after it.
    for (size_t i = 0; i <= kScanPadding; ++i)
        m_xml[length + i] = 0;
    if (_Parse(length)) return true;
    Release();
    return false;
}

bool CMarkup::_Parse(size_t length) {
    m_errorMessage[0] = 0;
    m_errorLocation[0] = 0;
    m_status = MARKUP_OK;
    m_errorOffset = 0;
    // A skin element takes more than a hundred characters as a rule: reserving for that
    // spares most of the table's regrowth, and records never used are never touched.
    const size_t estimate = length / 128 + 16;
    if (static_cast<size_t>(m_reservedCount) < estimate) {
        const int records =
            static_cast<int>(estimate < size_t(INT_MAX / 2) ? estimate : INT_MAX / 2);
        if (!_ReserveElements(records)) return _Failed(MARKUP_OUT_OF_MEMORY);
    }
    // Record 0 is never an element, so index 0 can mean "none".
    tagXMLELEMENT* reserved = _ReserveElement();
    if (reserved == nullptr) return _Failed(MARKUP_OUT_OF_MEMORY);
    std::memset(reserved, 0, sizeof(*reserved));
    m_depth = 1;
    wchar_t* text = m_xml;
    return _Parse(text, 0);
}

bool CMarkup::_Parse(wchar_t*& text, unsigned long parent) {
    unsigned long previous = 0; // last element of this sibling list
    for (;;) {
        _SkipWhitespace(text);
        if (*text == 0 && parent <= 1) return true;
        if (*text != L'<') return _Failed(MARKUP_EXPECTED_START_TAG, text);
        if (text[1] == L'/') return true; // the caller's end tag
        *text++ = 0;
        _SkipWhitespace(text);

        // Declarations, processing instructions and comments are skipped unread.
        if (*text == L'?' || *text == L'!') {
            if (!_SkipMarkupDeclaration(text)) return false;
            continue;
        }

        _SkipWhitespace(text);
        if (_ReserveElement() == nullptr) return _Failed(MARKUP_OUT_OF_MEMORY);
        const unsigned long index = static_cast<unsigned long>(m_elementCount - 1);
        tagXMLELEMENT& element = m_elements[index];
        element.nameStart = _Offset(text);
        element.firstChild = 0;
        element.nextSibling = 0;
        element.parent = static_cast<std::uint32_t>(parent);
        element.dataStart = 0;
        if (previous != 0) {
            m_elements[previous].nextSibling = static_cast<std::uint32_t>(index);
        } else if (parent != 0) {
            m_elements[parent].firstChild = static_cast<std::uint32_t>(index);
        }

        wchar_t* const name = text;
        _SkipIdentifier(text);
        wchar_t* const nameEnd = text;
        if (*text == 0) return _Failed(MARKUP_BAD_ELEMENT_NAME, text);
        if (!_ParseAttributes(text)) return false;

        _SkipWhitespace(text);
        if (text[0] == L'/' && text[1] == L'>') {
            m_elements[index].dataStart = _Offset(text);
            *text = 0;
            text += 2;
            *nameEnd = 0;
        } else {
            if (*text != L'>') return _Failed(MARKUP_BAD_START_TAG_CLOSING, text);
            ++text;
            // The name ends at a terminator, the '>' just passed or the element
            // text: terminate it now so it holds even if the document ends here.
            *nameEnd = 0;
            m_elements[index].dataStart = _Offset(text);
            wchar_t* dest = text;
            if (!_ParseData(text, dest, '<')) return false;
            if (dest != text) *dest = 0; // else the '<' there becomes the terminator
            if (*text == 0 && parent <= 1) return true;
            if (*text != L'<') return _Failed(MARKUP_EXPECTED_END_TAG, text);
            if (text[1] != L'/') {
                if (m_depth >= kMaxNestingDepth) {
                    return _Failed(MARKUP_NESTED_TOO_DEEPLY, text);
                }
                ++m_depth;
                const bool parsed = _Parse(text, index);
                --m_depth;
                if (!parsed) return false;
            }
            if (text[0] == L'<' && text[1] == L'/') {
                *text = 0;
                text += 2;
                _SkipWhitespace(text);
                const size_t nameLength = static_cast<size_t>(nameEnd - name);
                if (std::wcsncmp(text, name, nameLength) != 0) {
                    return _Failed(MARKUP_END_TAG_MISMATCH, text);
                }
                text += nameLength;
                _SkipWhitespace(text);
                if (*text != L'>') return _Failed(MARKUP_END_TAG_MISMATCH, text);
                ++text;
            }
        }
        previous = index;
    }
}

CMarkup::tagXMLELEMENT* CMarkup::_ReserveElement() {
    if (m_elementCount >= m_reservedCount) {
        if (m_reservedCount > (INT_MAX - 500) / 3 * 2) return nullptr;
        if (!_ReserveElements(m_reservedCount + m_reservedCount / 2 + 500)) return nullptr;
    }
    return &m_elements[m_elementCount++];
}

bool CMarkup::_ReserveElements(int records) {
    void* table = std::realloc(m_elements, static_cast<size_t>(records) * sizeof(tagXMLELEMENT));
    if (table == nullptr) return false;
    m_elements = static_cast<tagXMLELEMENT*>(table);
    m_reservedCount = records;
    return true;
}

void CMarkup::_SkipWhitespace(wchar_t*& text) {
    while (IsBlank(*text))
        ++text;
}

void CMarkup::_SkipIdentifier(wchar_t*& text) {
    while (IsIdentifierChar(*text))
        ++text;
}

bool CMarkup::_ParseAttributes(wchar_t*& text) {
    if (*text == L'>') return true;
    if (text[0] == L'/' && text[1] == L'>') return true;
    *text++ = 0; // ends the element name
    for (;;) {
        _SkipWhitespace(text);
        if (*text == 0 || *text == L'>' || *text == L'/') return true;
        _SkipIdentifier(text);
        wchar_t* const nameEnd = text;
        _SkipWhitespace(text);
        if (*text != L'=') return _Failed(MARKUP_BAD_ATTRIBUTE, text);
        *text++ = L' ';
        *nameEnd = 0;
        _SkipWhitespace(text);
        if (*text != L'"') return _Failed(MARKUP_EXPECTED_ATTRIBUTE_VALUE, text);
        ++text;
        wchar_t* dest = text;
        _ParseData(text, dest, '"');
        if (*text == 0) return _Failed(MARKUP_UNTERMINATED_ATTRIBUTE_VALUE, text);
        *dest = 0;
        // A shortened value leaves blanks up to its quote, so the walk in
        // CMarkupNode::_MapAttributes passes over them.
        if (dest != text) *text = L' ';
        ++text;
    }
}

bool CMarkup::_ParseData(wchar_t*& text, wchar_t*& dest, char end) {
    const wchar_t endChar = static_cast<wchar_t>(end);
    // The characters that need a look: the end, an entity and, where runs of blanks
    // collapse, a space. Everything between moves as a block, or stays where it is until
    // an entity has shortened the text.
    const wchar_t space = m_preserveWhitespace ? L'&' : L' ';
    bool terminated = true;
    for (;;) {
        wchar_t* const stop = FindAny(text, endChar, L'&', space);
        if (dest != text)
            std::memmove(dest, text, static_cast<size_t>(stop - text) * sizeof(wchar_t));
        dest += stop - text;
        text = stop;
        if (*text == endChar) {
            if (end != '<' || !StartsWith(text, L"<![CDATA[")) break;
            // Element text: the section's characters count as they stand. Its end is
            // found first, so an error shows the section before compaction moves it.
            wchar_t* const close = Find(text + 9, L"]]>");
            if (close == nullptr) {
                terminated = _Failed(MARKUP_UNTERMINATED_CDATA, text);
                break;
            }
            text += 9;
            std::memmove(dest, text, static_cast<size_t>(close - text) * sizeof(wchar_t));
            dest += close - text;
            text = close + 3;
            continue;
        }
        if (*text == 0) break;
        if (*text == L'&') {
            ++text;
            _ParseMetaChar(text, dest);
        } else {
            *dest++ = *text++;
            _SkipWhitespace(text);
        }
    }
    // Blank the gap that decoding left, so the text stays walkable.
    for (wchar_t* gap = dest + 1; gap < text; ++gap)
        *gap = L' ';
    return terminated;
}

bool CMarkup::_SkipMarkupDeclaration(wchar_t*& text) {
    wchar_t* const start = text;
    if (*text == L'?') {
        return SkipPast(text, L"?>") || _Failed(MARKUP_UNTERMINATED_INSTRUCTION, start);
    }
    if (StartsWith(text, L"!--")) {
        text += 3;
        return SkipPast(text, L"-->") || _Failed(MARKUP_UNTERMINATED_COMMENT, start);
    }
    // Character data belongs in element text, and there it is taken in as text.
    if (StartsWith(text, L"![CDATA[")) return _Failed(MARKUP_MISPLACED_CDATA, start);
    // A declaration such as <!DOCTYPE ...> ends at the first '>' outside quoted strings
    // and outside its internal subset [...], whose own declarations, comments and
    // instructions may hold '>' too.
    ++text;
    int subsetDepth = 0;
    while (*text != 0) {
        if (*text == L'"' || *text == L'\'') {
            const wchar_t* close = std::wcschr(text + 1, *text);
            if (close == nullptr) break;
            text += (close - text) + 1;
        } else if (StartsWith(text, L"<!--")) {
            text += 4;
            if (!SkipPast(text, L"-->")) break;
        } else if (StartsWith(text, L"<?")) {
            text += 2;
            if (!SkipPast(text, L"?>")) break;
        } else {
            const wchar_t c = *text++;
            if (c == L'[') {
                ++subsetDepth;
            } else if (c == L']' && subsetDepth > 0) {
                --subsetDepth;
            } else if (c == L'>' && subsetDepth == 0) {
                return true;
            }
        }
    }
    return _Failed(MARKUP_UNTERMINATED_DECLARATION, start);
}

void CMarkup::_ParseMetaChar(wchar_t*& text, wchar_t*& dest) {
    struct Entity {
        const wchar_t* name;
        size_t length;
        wchar_t character;
    };
    static const Entity kEntities[] = {
        {L"amp;", 4, L'&'},  {L"lt;", 3, L'<'},    {L"gt;", 3, L'>'},
        {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
    };
    for (const Entity& entity : kEntities) {
        if (std::wcsncmp(text, entity.name, entity.length) == 0) {
            *dest++ = entity.character;
            text += entity.length;
            return;
        }
    }
    *dest++ = L'&'; // not an entity: the text after it is copied as it is
}

bool CMarkup::_Failed(MarkupStatus status, const wchar_t* location) {
    m_status = status;
    m_errorOffset = (location != nullptr && m_xml != nullptr) ? _Offset(location) : 0;
    CopyTerminated(m_errorMessage, kErrorMessageSize, kStatusMessages[status]);
    CopyTerminated(m_errorLocation, kErrorLocationSize,
                   location != nullptr ? location : kEmptyText);
    return false;
}

} // namespace SkinUI
