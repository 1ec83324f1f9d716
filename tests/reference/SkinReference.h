// The skin XML reference (docs/skin-xml.md) as the tests read it: the element table, one
// section per document element and per control with its attribute table, and the XML
// examples. The build copies the page beside the test executable.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace skinref {

/// One row of the element table.
struct ElementRow {
    std::wstring element;   ///< "Label"
    std::wstring className; ///< "CLabelUI"
    std::wstring parent;    ///< the element it must stand in ("TreeView"), or empty
};

/// One row of an attribute table; code spans are taken without their backticks.
struct AttributeRow {
    std::wstring name;
    std::wstring value;        ///< the value kind ("colour", "rectangle"...)
    std::wstring defaultValue; ///< the default when written as code, else empty
    bool hasDefault = false;   ///< the default is written as code (machine-checkable)
    std::wstring example;
};

/// A "### Name (...)" section: a control ("`CLabelUI`, inherits Control") or a document
/// element ("document element").
struct Section {
    std::wstring name;
    std::wstring className; ///< empty for a document element
    std::wstring base;      ///< the section inherited from, or empty
    std::vector<AttributeRow> rows;
};

/// One fenced XML example, with the section it stands in.
struct XmlExample {
    std::wstring section;
    std::wstring text;
};

struct Reference {
    std::vector<ElementRow> elements;
    std::vector<Section> sections;
    std::vector<XmlExample> examples;
    std::wstring error; ///< why reading failed; empty when it did not

    const Section* Find(const std::wstring& name) const;
    /// The section and its bases, nearest first; stops at a missing or repeated name.
    std::vector<const Section*> Chain(const std::wstring& name) const;
};

/// Reads the reference from its text (UTF-8 markdown).
Reference ParseReference(const std::string& markdown);
/// The reference beside the running executable, read once.
const Reference& TheReference();

} // namespace skinref
