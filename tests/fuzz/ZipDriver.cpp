// The zip reader over archives in memory: every entry the central directory names is
// found and unpacked, whole and into buffers too small for it, and read again through the
// skin-file lookup that skins and images use.

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "FuzzEngine.h"
#include "core/SkinFile.h"
#include "core/ZipArchive.h"
#include "window/PaintManagerUI.h"

namespace {

using SkinUI::CPaintManagerUI;
using SkinUI::CZipArchive;
using SkinUI::ZipEntry;

// The driver looks up at most this many names: each lookup walks the directory.
constexpr std::size_t kMaxNames = 24;
// Largest entry unpacked whole; bigger ones are read into a buffer of this size.
constexpr unsigned long kMaxUnpack = 4 << 20;

std::size_t g_sink = 0;

// Entry names as the central directory records of the input spell them (or would, were
// the archive whole), converted as the framework converts names.
std::vector<std::wstring> EntryNames(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> names;
    for (std::size_t at = 0; at + 46 <= size && names.size() < kMaxNames; ++at) {
        if (data[at] != 'P' || data[at + 1] != 'K' || data[at + 2] != 1 || data[at + 3] != 2)
            continue;
        const std::size_t length = std::min<std::size_t>(
            data[at + 28] | (data[at + 29] << 8), std::min<std::size_t>(size - at - 46, 300));
        if (length == 0) continue;
        wchar_t name[301];
        const int converted =
            MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data + at + 46),
                                static_cast<int>(length), name, 300);
        if (converted <= 0) continue;
        // Each name once: the reader finds the first entry of a name anyway.
        std::wstring entry(name, static_cast<std::size_t>(converted));
        if (std::find(names.begin(), names.end(), entry) == names.end())
            names.push_back(std::move(entry));
    }
    names.push_back(L"login.xml");
    names.push_back(L"\\");
    return names;
}

void Unpack(CZipArchive& archive, const std::wstring& name, bool ignoreCase) {
    ZipEntry entry{};
    if (!archive.FindEntry(name.c_str(), ignoreCase, entry)) return;
    const unsigned long length = static_cast<unsigned long>(
        std::min<unsigned long long>(entry.uncompressedSize, kMaxUnpack));
    std::vector<unsigned char> buffer(std::max(length, 1ul));
    g_sink += static_cast<std::size_t>(archive.Unpack(entry, buffer.data(), length) + 2);
    g_sink += static_cast<std::size_t>(archive.Unpack(entry, buffer.data(), 1) + 2);
    g_sink += static_cast<std::size_t>(archive.Unpack(entry, buffer.data(), 0) + 2);
}

void Run(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::wstring> names = EntryNames(data, size);
    if (CZipArchive* archive = CZipArchive::OpenMemory(data, size)) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i % 3 == 1) archive->SetNameCodePage(CP_UTF8);
            if (i % 3 == 2) archive->SetNameCodePage(936);
            Unpack(*archive, names[i], i % 2 == 0);
        }
        delete archive;
    }
    // As skins read their files: through the selected memory archive, under the limits
    // the markup and the image loader set.
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourceZip(data, static_cast<unsigned int>(size));
    for (std::size_t i = 0; i < names.size() && i < 4; ++i) {
        SkinUI::CSkinFileBytes bytes;
        SkinUI::ReadSkinFile(names[i].c_str(), nullptr, i % 2 == 0 ? 4u << 20 : 33u << 20, bytes);
        g_sink += bytes.GetSize();
    }
    CPaintManagerUI::SetResourceZip(L"", false);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "zip";
    target.extensions = {".zip"};
    target.tokens = {std::string("PK\x03\x04", 4),       std::string("PK\x01\x02", 4),
                     std::string("PK\x05\x06", 4),       std::string("PK\x06\x06", 4),
                     std::string("PK\x06\x07", 4),       std::string("\x08\x00", 2),
                     std::string("\xFF\xFF\xFF\xFF", 4), std::string("\x01\x00\x10\x00", 4)};
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
