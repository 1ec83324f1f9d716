#include "reference/SkinReference.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <sstream>

namespace skinref {

namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) return std::wstring();
    const size_t last = text.find_last_not_of(L" \t\r");
    return text.substr(first, last - first + 1);
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

// The cells of a table row "| a | b |", trimmed.
std::vector<std::wstring> Cells(const std::wstring& line) {
    std::vector<std::wstring> cells;
    std::wstring rest = Trim(line);
    if (rest.size() < 2 || rest.front() != L'|' || rest.back() != L'|') return cells;
    rest = rest.substr(1, rest.size() - 2);
    size_t start = 0;
    for (;;) {
        const size_t bar = rest.find(L'|', start);
        cells.push_back(Trim(rest.substr(start, bar == std::wstring::npos ? bar : bar - start)));
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    return cells;
}

// The first code span of a cell; `found` says whether there was one.
std::wstring Code(const std::wstring& cell, bool* found = nullptr) {
    const size_t open = cell.find(L'`');
    const size_t close = open == std::wstring::npos ? open : cell.find(L'`', open + 1);
    if (found != nullptr) *found = close != std::wstring::npos;
    if (close == std::wstring::npos) return std::wstring();
    return cell.substr(open + 1, close - open - 1);
}

// "### Label (`CLabelUI`, inherits Control)" or "### Window (document element)".
bool ReadHeading(const std::wstring& line, Section& section) {
    if (!StartsWith(line, L"### ")) return false;
    const std::wstring text = Trim(line.substr(4));
    const size_t paren = text.find(L" (");
    if (paren == std::wstring::npos || text.back() != L')') return false;
    section = Section();
    section.name = text.substr(0, paren);
    const std::wstring inside = text.substr(paren + 2, text.size() - paren - 3);
    section.className = Code(inside);
    const size_t inherits = inside.find(L"inherits ");
    if (inherits != std::wstring::npos) section.base = Trim(inside.substr(inherits + 9));
    return true;
}

} // namespace

const Section* Reference::Find(const std::wstring& name) const {
    for (const Section& section : sections)
        if (section.name == name) return &section;
    return nullptr;
}

std::vector<const Section*> Reference::Chain(const std::wstring& name) const {
    std::vector<const Section*> chain;
    std::set<std::wstring> seen;
    for (const Section* section = Find(name);
         section != nullptr && seen.insert(section->name).second;
         section = section->base.empty() ? nullptr : Find(section->base))
        chain.push_back(section);
    return chain;
}

Reference ParseReference(const std::string& markdown) {
    enum class Table { None, Elements, Attributes };
    Reference reference;
    std::istringstream lines(markdown);
    std::string raw;
    Table table = Table::None;
    Section* section = nullptr;
    std::wstring sectionName;
    bool inXml = false;
    std::wstring xml;
    while (std::getline(lines, raw)) {
        const std::wstring line = Widen(raw);
        if (inXml) {
            if (StartsWith(Trim(line), L"```")) {
                reference.examples.push_back({sectionName, xml});
                inXml = false;
            } else {
                xml += line + L"\n";
            }
            continue;
        }
        if (StartsWith(line, L"```xml")) {
            inXml = true;
            xml.clear();
            continue;
        }
        if (StartsWith(line, L"#")) {
            table = Table::None;
            section = nullptr;
            sectionName = Trim(line.substr(line.find(L' ') + 1));
            Section heading;
            if (ReadHeading(line, heading)) {
                reference.sections.push_back(heading);
                section = &reference.sections.back();
                sectionName = section->name;
            }
            continue;
        }
        const std::vector<std::wstring> cells = Cells(line);
        if (cells.empty()) {
            table = Table::None;
            continue;
        }
        if (cells.size() == 3 && cells[0] == L"Element" && cells[1] == L"Class") {
            table = Table::Elements;
            continue;
        }
        if (cells.size() == 5 && cells[0] == L"Attribute" && cells[3] == L"Example") {
            table = section != nullptr ? Table::Attributes : Table::None;
            continue;
        }
        if (StartsWith(cells[0], L"---")) continue;
        if (table == Table::Elements) {
            reference.elements.push_back({Code(cells[0]), Code(cells[1]), Code(cells[2])});
        } else if (table == Table::Attributes) {
            if (cells.size() != 5) {
                reference.error =
                    L"attribute row of " + section->name + L" without 5 cells: " + line;
                continue;
            }
            AttributeRow row;
            row.name = Code(cells[0]);
            row.value = cells[1];
            row.defaultValue = Code(cells[2], &row.hasDefault);
            // A default written as code starts its cell; code later in the cell is a name.
            if (!StartsWith(cells[2], L"`")) row.hasDefault = false;
            row.example = Code(cells[3]);
            section->rows.push_back(row);
        }
    }
    return reference;
}

const Reference& TheReference() {
    static const Reference reference = [] {
        wchar_t path[MAX_PATH];
        const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring file(path, length);
        file = file.substr(0, file.rfind(L'\\') + 1) + L"reference\\skin-xml.md";
        FILE* in = _wfopen(file.c_str(), L"rb");
        if (in == nullptr) {
            Reference missing;
            missing.error = L"cannot read " + file;
            return missing;
        }
        std::string text;
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof(buffer), in)) > 0;)
            text.append(buffer, got);
        fclose(in);
        return ParseReference(text);
    }();
    return reference;
}

} // namespace skinref
