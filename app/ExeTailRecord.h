// The address record appended after the executable's sections:
// "login address|service-center address", a NUL, then padding.
#pragma once

#include <string>
#include <vector>

#include "core/SkinString.h"

// Bytes of record (terminator included) that the reader looks at.
constexpr unsigned kTailRecordLimit = 256;

// The running executable's full path.
SkinUI::CSkinString GetModulePath();

// The record at the end of the executable at path, read through the section table
// of the running image; empty when there is none. Tells the player with a message
// box when the file cannot be opened.
std::string ReadExeTailRecord(const wchar_t* path);

// Splits text at each delimiter; empty fields are dropped, so field numbers
// count only non-empty fields. An empty delimiter gives no fields.
std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter);

// Field `index` of the record of the executable at path (the running one by default) as
// text, or empty when the record has no "|" or fewer non-empty fields. The bytes are
// measured and converted in the same (ANSI) code page.
SkinUI::CSkinString ReadTailRecordField(size_t index, const wchar_t* path = nullptr);
