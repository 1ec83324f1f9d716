#pragma once

// In-place XML reader for skin files and the configuration resource.
//
// The document lives in one wide-character buffer that parsing cuts up in
// place (terminators after names and values, entities decoded where they
// stand), plus one flat table of element records that refer into the buffer
// by offset. Nodes are small value handles onto that table.

#include <cstddef>
#include <cstdint>

namespace SkinUI {

/// Byte encodings that `CMarkup::LoadFromMem` decodes.
enum {
    MARKUP_ENCODING_UTF8 = 0,  ///< UTF-8, with or without byte-order mark.
    MARKUP_ENCODING_UTF16 = 1, ///< UTF-16 with a byte-order mark (either byte order).
    MARKUP_ENCODING_ANSI = 2,  ///< The system ANSI code page.
};

/// What the last load of a `CMarkup` came to. Every failure has its own value, and
/// `GetLastErrorMessage` gives the text shown beside each value here.
enum MarkupStatus {
    MARKUP_OK = 0,                       ///< Loaded (the message is empty).
    MARKUP_NO_TEXT,                      ///< "No XML text": `Load` was given null.
    MARKUP_NO_DATA,                      ///< "No XML data": `LoadFromMem` was given null.
    MARKUP_TOO_LARGE,                    ///< "Document too large"
    MARKUP_OUT_OF_MEMORY,                ///< "Out of memory"
    MARKUP_NO_BYTE_ORDER_MARK,           ///< "UTF-16 data without byte-order mark"
    MARKUP_UNDECODABLE,                  ///< "Could not decode the XML data"
    MARKUP_FILE_NOT_FOUND,               ///< "Error opening file"
    MARKUP_FILE_EMPTY,                   ///< "File is empty"
    MARKUP_FILE_TOO_LARGE,               ///< "File too large"
    MARKUP_FILE_READ_FAILED,             ///< "Could not read file"
    MARKUP_ZIP_OPEN_FAILED,              ///< "Error opening zip file"
    MARKUP_ZIP_ENTRY_NOT_FOUND,          ///< "Could not find ziped file"
    MARKUP_UNZIP_FAILED,                 ///< "Could not unzip file"
    MARKUP_EXPECTED_START_TAG,           ///< "Expected start tag"
    MARKUP_BAD_ELEMENT_NAME,             ///< "Error parsing element name"
    MARKUP_BAD_START_TAG_CLOSING,        ///< "Expected start-tag closing"
    MARKUP_EXPECTED_END_TAG,             ///< "Expected end-tag start"
    MARKUP_END_TAG_MISMATCH,             ///< "Unmatched closing tag"
    MARKUP_BAD_ATTRIBUTE,                ///< "Error while parsing attributes"
    MARKUP_EXPECTED_ATTRIBUTE_VALUE,     ///< "Expected attribute value"
    MARKUP_UNTERMINATED_ATTRIBUTE_VALUE, ///< "Error while parsing attribute string"
    MARKUP_NESTED_TOO_DEEPLY,            ///< "Elements nested too deeply"
    MARKUP_UNTERMINATED_COMMENT,         ///< "Unterminated comment"
    MARKUP_UNTERMINATED_INSTRUCTION,     ///< "Unterminated processing instruction"
    MARKUP_UNTERMINATED_DECLARATION,     ///< "Unterminated declaration"
    MARKUP_UNTERMINATED_CDATA,           ///< "Unterminated CDATA section"
    MARKUP_MISPLACED_CDATA,              ///< "CDATA section outside element text"
};

class CMarkup;

/// Read-only handle on one element of a loaded `CMarkup` document.
class CMarkupNode {
    friend class CMarkup;

public:
    /// At most this many attributes of an element are visible through a node.
    static constexpr int kMaxAttributes = 64;

    /// True when the node refers to an element.
    bool IsValid() const { return m_owner != nullptr; }

    /// The parent element; invalid at the top level.
    CMarkupNode GetParent() const;
    /// The next sibling element; invalid for the last one.
    CMarkupNode GetSibling() const;
    /// The first child element; invalid without children.
    CMarkupNode GetChild() const;
    /// The first child element with this name (case-sensitive); invalid if none.
    CMarkupNode GetChild(const wchar_t* name) const;
    /// True when a next sibling exists.
    bool HasSiblings() const;
    /// True when the element has a child element.
    bool HasChildren() const;
    /// The element name.
    const wchar_t* GetName() const;
    /// The element text before its first child, entities decoded and CDATA sections
    /// taken as they stand; empty for `<x/>`.
    const wchar_t* GetValue() const;

    /// True when the element has at least one attribute.
    bool HasAttributes();
    /// True when an attribute of this name exists (case-sensitive).
    bool HasAttribute(const wchar_t* name);
    /// Number of visible attributes (at most kMaxAttributes).
    int GetAttributeCount();
    /// Name of attribute `index`; empty when out of range.
    const wchar_t* GetAttributeName(int index);
    /// Value of attribute `index`; empty when out of range.
    const wchar_t* GetAttributeValue(int index);
    /// Value of the first attribute called `name`; empty when absent.
    const wchar_t* GetAttributeValue(const wchar_t* name);
    /// Copies the value of attribute `index` into `buffer`, always terminated
    /// within `count` characters; false (buffer untouched) when out of range.
    bool GetAttributeValue(int index, wchar_t* buffer, unsigned long count);
    /// Copies the value of attribute `name` into `buffer`, always terminated
    /// within `count` characters; false (buffer untouched) when absent.
    bool GetAttributeValue(const wchar_t* name, wchar_t* buffer, unsigned long count);

private:
    CMarkupNode();
    CMarkupNode(CMarkup* owner, int elementIndex);

    /// Finds the attribute offsets of the element (first call only).
    void _MapAttributes();
    /// Attribute index of `name`, or -1.
    int _FindAttribute(const wchar_t* name);

    struct XMLATTRIBUTE {
        unsigned long nameStart;  ///< Offset of the attribute name in the owner's text.
        unsigned long valueStart; ///< Offset of the attribute value in the owner's text.
    };

    int m_elementIndex;   ///< Record index in the owner's element table.
    int m_attributeCount; ///< Mapped attributes; 0 also means "not mapped yet".
    XMLATTRIBUTE m_attributes[kMaxAttributes]; ///< Cached attribute offsets.
    CMarkup* m_owner;                          ///< Document, or null for an invalid node.
};

/// One XML document, parsed in place.
class CMarkup {
    friend class CMarkupNode;

public:
    /// Elements nested deeper than this are refused ("Elements nested too deeply"):
    /// parsing recurses once per level and must not exhaust the stack.
    static constexpr int kMaxNestingDepth = 1000;
    /// Largest skin file `LoadFromFile` reads, in bytes.
    static constexpr unsigned long kMaxSkinFileSize = 4 * 1024 * 1024;

    /// Empty parser that keeps whitespace; loads `xml` when it is not null.
    explicit CMarkup(const wchar_t* xml = nullptr);
    ~CMarkup();
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;

    /// Replaces the document with a copy of `xml` and parses it.
    bool Load(const wchar_t* xml);
    /// Replaces the document with `size` bytes of `data` in `encoding`
    /// (a MARKUP_ENCODING_* code) and parses it. The data is only read, never
    /// past `size`. UTF-16 data must start with a byte-order mark, else the
    /// load fails with "UTF-16 data without byte-order mark"; bytes that the
    /// code page cannot decode fail with "Could not decode the XML data".
    bool LoadFromMem(const unsigned char* data, unsigned long size, int encoding);
    /// Reads the skin file `name` from the skin folder, or from the selected zip archive,
    /// and parses it as LoadFromMem does. Files and entries of 0 bytes or of more than
    /// kMaxSkinFileSize bytes are refused. Errors: "Error opening file", "File is empty",
    /// "File too large", "Could not read file", "Error opening zip file",
    /// "Could not find ziped file", "Could not unzip file".
    bool LoadFromFile(const wchar_t* name, int encoding = MARKUP_ENCODING_UTF8);
    /// Frees the document.
    void Release();
    /// True while a document is loaded.
    bool IsValid() const { return m_elementCount > 0; }

    /// Keep (true, the default) or collapse runs of blanks that start with a
    /// space in later parses.
    void SetPreserveWhitespace(bool preserve = true) { m_preserveWhitespace = preserve; }
    /// Copies the last error message into `buffer`, always terminated within `count`.
    void GetLastErrorMessage(wchar_t* buffer, unsigned long count) const;
    /// Copies the text at the last error's place into `buffer`, always terminated within `count`.
    void GetLastErrorLocation(wchar_t* buffer, unsigned long count) const;
    /// What the last load came to: MARKUP_OK after a successful one.
    MarkupStatus GetLastStatus() const { return m_status; }
    /// Where the last error was found, in characters from the start of the document
    /// text (after decoding and without a byte-order mark); 0 when the error has no place
    /// in the text (reading or decoding failed) and after a successful load.
    unsigned long GetLastErrorOffset() const { return m_errorOffset; }

    /// The root element, or an invalid node when the document holds none.
    CMarkupNode GetRoot();

private:
    /// One element; offsets count characters from the start of the text buffer.
    struct tagXMLELEMENT {
        std::uint32_t nameStart;   ///< Element name.
        std::uint32_t firstChild;  ///< First child record, 0 = none.
        std::uint32_t nextSibling; ///< Next sibling record, 0 = none.
        std::uint32_t parent;      ///< Parent record, 0 = top level.
        std::uint32_t dataStart;   ///< Element text (for `<x/>` the terminated slash).
    };

    /// Parses the whole text buffer, `length` units long.
    bool _Parse(size_t length);
    /// Parses a list of sibling elements under `parent`; stops at an end tag.
    bool _Parse(wchar_t*& text, unsigned long parent);
    /// Appends an element record, growing the table; null when out of memory.
    tagXMLELEMENT* _ReserveElement();
    /// Makes room for `records` element records; false when out of memory.
    bool _ReserveElements(int records);
    /// Steps over characters from 1 to 0x20.
    static void _SkipWhitespace(wchar_t*& text);
    /// Steps over letters, digits, '_' and ':'.
    static void _SkipIdentifier(wchar_t*& text);
    /// Cuts the attributes of a start tag in place.
    bool _ParseAttributes(wchar_t*& text);
    /// Compacts text up to `end` into `dest`, decoding entities; element text (`end`
    /// '<') also takes in CDATA sections. False after an unterminated section.
    bool _ParseData(wchar_t*& text, wchar_t*& dest, char end);
    /// Steps over a comment, processing instruction or declaration whose '<' is already
    /// passed; false (error recorded) when it is unterminated or is a CDATA section.
    bool _SkipMarkupDeclaration(wchar_t*& text);
    /// Decodes the entity after an '&' into `dest`, or writes the '&' itself.
    void _ParseMetaChar(wchar_t*& text, wchar_t*& dest);
    /// Records an error, its message and its place; always false.
    bool _Failed(MarkupStatus status, const wchar_t* location = nullptr);
    /// Makes the text buffer hold at least `units` characters plus a terminator and
    /// the units that block scans read past it, keeping the buffer it has when that
    /// is large enough; false when out of memory.
    bool _ReserveText(size_t units);
    /// Terminates the `length` characters decoded into the text buffer and parses them;
    /// frees the buffers when that fails.
    bool _ParseText(size_t length);
    /// Frees the buffers and records an error without a place; always false.
    bool _Abandon(MarkupStatus status);
    /// Offset of `position` in the text buffer.
    std::uint32_t _Offset(const wchar_t* position) const {
        return static_cast<std::uint32_t>(position - m_xml);
    }

    static constexpr int kErrorMessageSize = 100;
    static constexpr int kErrorLocationSize = 50;

    wchar_t* m_xml;                              ///< Document text, cut up in place; owned.
    size_t m_capacity;                           ///< Characters the text buffer has room for.
    tagXMLELEMENT* m_elements;                   ///< Element table, record 0 reserved; owned.
    int m_elementCount;                          ///< Records in use, record 0 included.
    int m_reservedCount;                         ///< Records allocated.
    wchar_t m_errorMessage[kErrorMessageSize];   ///< Last error message.
    wchar_t m_errorLocation[kErrorLocationSize]; ///< Text found where the last error occurred.
    MarkupStatus m_status;                       ///< What the last load came to.
    unsigned long m_errorOffset;                 ///< Offset of the last error in the text.
    bool m_preserveWhitespace;                   ///< Keep runs of blanks in text and values.
    int m_depth;                                 ///< Nesting level of the list being parsed.
};

} // namespace SkinUI
