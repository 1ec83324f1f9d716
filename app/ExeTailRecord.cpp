#include "ExeTailRecord.h"

#include <windows.h>
#include <string>

namespace {

// Where the overlay starts: the end of the raw data furthest into the file. The
// section table follows the optional header, whose size the file header gives.
LONGLONG OverlayOffset() {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    LONGLONG end = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        const LONGLONG sectionEnd = LONGLONG(section->PointerToRawData) + section->SizeOfRawData;
        if (section->SizeOfRawData != 0 && sectionEnd > end) end = sectionEnd;
    }
    return end;
}

} // namespace

SkinUI::CSkinString GetModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return SkinUI::CSkinString(path);
}

std::string ReadExeTailRecord(const wchar_t* path) {
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SkinUI::CSkinString text(L"资源文件不存在，打开错误");
        text += path;
        MessageBoxW(nullptr, text, L"提示", MB_OK);
        return std::string();
    }
    // One spare byte keeps a record without a NUL within the limit terminated.
    char buffer[kTailRecordLimit + 1] = {};
    LARGE_INTEGER offset;
    offset.QuadPart = OverlayOffset();
    DWORD read = 0;
    if (SetFilePointerEx(file, offset, nullptr, FILE_BEGIN))
        ReadFile(file, buffer, kTailRecordLimit, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer);
}

std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> fields;
    if (delimiter.empty()) return fields;
    std::string::size_type start = 0;
    for (auto at = text.find(delimiter); at != std::string::npos;
         at = text.find(delimiter, start)) {
        if (at > start) fields.push_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    if (start < text.size()) fields.push_back(text.substr(start));
    return fields;
}

SkinUI::CSkinString ReadTailRecordField(size_t index, const wchar_t* path) {
    const SkinUI::CSkinString modulePath =
        path != nullptr ? SkinUI::CSkinString(path) : GetModulePath();
    const std::string record = ReadExeTailRecord(modulePath);
    if (record.find('|') == std::string::npos) return SkinUI::CSkinString();
    const std::vector<std::string> fields = SplitString(record, "|");
    if (index >= fields.size()) return SkinUI::CSkinString();
    const std::string& field = fields[index];
    const int length = MultiByteToWideChar(CP_ACP, 0, field.c_str(), -1, nullptr, 0);
    if (length <= 1) return SkinUI::CSkinString();
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, field.c_str(), -1, &text[0], length);
    return SkinUI::CSkinString(text.c_str());
}
