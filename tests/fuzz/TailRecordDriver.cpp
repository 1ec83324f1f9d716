// The executable's address record, from both sides: the stamp tool's reading of a PE
// image (where its sections end, whether it may be stamped) and the client's reading of
// the record after its own sections, from a file whose tail is the input's.

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ExeTailRecord.h"
#include "FuzzEngine.h"
#include "StampCore.h"

namespace {

std::wstring g_file;          // the stamped file the client reads
std::size_t g_ownOverlay = 0; // where the running image's sections end
std::size_t g_sink = 0;

void RemoveFile() {
    ::DeleteFileW(g_file.c_str());
}

void SetUp() {
    wchar_t own[MAX_PATH];
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::vector<std::uint8_t> image;
    HANDLE file =
        ::CreateFileW(own, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        image.resize(::GetFileSize(file, nullptr));
        DWORD read = 0;
        ::ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
        ::CloseHandle(file);
    }
    std::string error;
    if (!Stamp::FindOverlayOffset(image, g_ownOverlay, error)) {
        std::fprintf(stderr, "cannot read the driver's own sections: %s\n", error.c_str());
        std::exit(2);
    }
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    g_file = std::wstring(folder) + L"skin-fuzz-tail-" + std::to_wstring(::GetCurrentProcessId()) +
             L".exe";
    std::atexit(&RemoveFile);
}

void Run(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> image(data, data + size);
    std::size_t overlay = 0;
    std::string error;
    const bool found = Stamp::FindOverlayOffset(image, overlay, error);
    std::vector<std::uint8_t> stamped = image;
    if (Stamp::StampImage(stamped, "http://a.example/Client/login",
                          "http://a.example/ServiceCenter", error))
        g_sink += stamped.size();

    // The input's overlay (or all of it, when it has no sections to end) where the client
    // looks: after the sections of the running image.
    const std::size_t from = found ? overlay : 0;
    HANDLE file = ::CreateFileW(g_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(g_ownOverlay);
    DWORD written = 0;
    ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    if (size > from)
        ::WriteFile(file, data + from, static_cast<DWORD>(size - from), &written, nullptr);
    ::SetEndOfFile(file);
    ::CloseHandle(file);
    for (std::size_t field : {0u, 1u, 2u})
        g_sink += static_cast<std::size_t>(ReadTailRecordField(field, g_file.c_str()).GetLength());
    const std::vector<std::string> fields = SplitString(
        std::string(reinterpret_cast<const char*>(data), size < 4096 ? size : 4096), "|");
    g_sink += fields.size();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "tailrecord";
    target.extensions = {".exe", ".bin"};
    target.tokens = {"MZ",
                     std::string("PE\0\0", 4),
                     std::string("\x0B\x02", 2),
                     std::string("\x0B\x01", 2),
                     "|",
                     "||",
                     "http://",
                     std::string("\0", 1),
                     std::string(300, 'A'),
                     ".text",
                     ".rsrc"};
    target.setUp = &SetUp;
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
