// The image loader on any bytes (PNG, JPEG, BMP, GIF, TGA, PSD, HDR... whatever the decoder
// recognises), read as skins read images: an entry of the selected archive. Whatever
// decodes is drawn through image strings into a small surface, including destinations far
// larger than the surface and tiny sources stretched over them.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "FuzzEngine.h"
#include "core/Handles.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace {

using SkinUI::CPaintManagerUI;
using SkinUI::CRenderEngine;
using SkinUI::TImageInfo;

constexpr int kSurface = 64;

SkinUI::CBitmapDC g_surface;
std::vector<std::uint8_t> g_archive;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A stored (uncompressed) archive holding the input as its one entry "i".
void MakeArchive(const std::uint8_t* data, std::size_t size) {
    const std::uint32_t crc = Crc32(data, size);
    const std::uint32_t length = static_cast<std::uint32_t>(size);
    g_archive.clear();
    Put32(g_archive, 0x04034B50);
    for (std::uint32_t field : {20u, 0u, 0u, 0u, 0u})
        Put16(g_archive, field);
    Put32(g_archive, crc);
    Put32(g_archive, length);
    Put32(g_archive, length);
    Put16(g_archive, 1);
    Put16(g_archive, 0);
    g_archive.push_back('i');
    g_archive.insert(g_archive.end(), data, data + size);
    const std::uint32_t directory = static_cast<std::uint32_t>(g_archive.size());
    Put32(g_archive, 0x02014B50);
    for (std::uint32_t field : {20u, 20u, 0u, 0u, 0u, 0u})
        Put16(g_archive, field);
    Put32(g_archive, crc);
    Put32(g_archive, length);
    Put32(g_archive, length);
    for (std::uint32_t field : {1u, 0u, 0u, 0u, 0u})
        Put16(g_archive, field);
    Put32(g_archive, 0);
    Put32(g_archive, 0);
    g_archive.push_back('i');
    const std::uint32_t directorySize = static_cast<std::uint32_t>(g_archive.size()) - directory;
    Put32(g_archive, 0x06054B50);
    for (std::uint32_t field : {0u, 0u, 1u, 1u})
        Put16(g_archive, field);
    Put32(g_archive, directorySize);
    Put32(g_archive, directory);
    Put16(g_archive, 0);
}

const TImageInfo* g_image = nullptr;
const TImageInfo* Lookup(void*, const wchar_t*, const wchar_t*, DWORD) {
    return g_image;
}

// Image strings as skins write them, some of them hostile.
const wchar_t* const kImageStrings[] = {
    L"file='i'",
    L"file='i' dest='8,8,40,40' source='1,1,9,9' corner='2,2,2,2'",
    L"file='i' dest='-100000,-100000,100000000,100000000'",
    L"file='i' dest='0,0,2147483647,2147483647' corner='1,1,1,1'",
    L"file='i' corner='1,1,1,1' xtiled='true' ytiled='true' dest='0,0,3000,3000'",
    L"file='i' fade='128' hole='true' corner='3,3,3,3'",
    L"file='i' source='0,0,100000,100000' dest='0,0,1,1'",
    L"file='i' source='-5,-5,3,3' corner='-4,-4,-4,-4' fade='0'",
    L"file='i' dest='-2147483648,-2147483648,2147483647,2147483647' xtiled='true'",
    L"file='i' mask='#FF000000' dest='60,60,4,4'",
};

void SetUp() {
    void* bits = nullptr;
    g_surface.Create(nullptr,
                     SkinUI::CRenderEngine::CreateDib32(nullptr, kSurface, kSurface, &bits));
    SkinUI::SKIN__SetTraceHandler([](const wchar_t*) {});
}

void Run(const std::uint8_t* data, std::size_t size) {
    MakeArchive(data, size);
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourceZip(g_archive.data(), static_cast<unsigned int>(g_archive.size()));
    const std::uint64_t hash = fuzz::Hash(data, size);
    const DWORD mask = (hash & 3) == 0 ? 0xFF000000 : 0;
    TImageInfo* image = CRenderEngine::LoadImageW(L"i", nullptr, mask);
    CPaintManagerUI::SetResourceZip(L"", false);
    if (image == nullptr) return;
    g_image = image;
    const RECT item{0, 0, kSurface, kSurface};
    const std::size_t strings = sizeof(kImageStrings) / sizeof(kImageStrings[0]);
    // Two strings per input, so that every one meets every image now and then.
    for (std::size_t i = 0; i < 2; ++i) {
        const wchar_t* text = kImageStrings[(hash >> (8 * i)) % strings];
        CRenderEngine::DrawImageStrings(g_surface.GetDC(), item, item, text, L"", &Lookup, nullptr);
    }
    CRenderEngine::DrawImageStrings(g_surface.GetDC(), item, item, L"file='i'",
                                    L"dest='0,0,1000000,1000000'", &Lookup, nullptr);
    ::GdiFlush();
    g_image = nullptr;
    CRenderEngine::FreeImage(image);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "image";
    target.extensions = {".png", ".jpg", ".jpeg", ".bmp", ".gif", ".tga", ".psd",
                         ".hdr", ".pnm", ".ppm",  ".pgm", ".pic", ".bin"};
    target.tokens = {std::string("\x89PNG\r\n\x1A\n", 8),
                     "IHDR",
                     "IDAT",
                     "IEND",
                     "PLTE",
                     "tRNS",
                     "CgBI",
                     std::string("\xFF\xD8\xFF", 3),
                     std::string("\xFF\xC0", 2),
                     std::string("\xFF\xC2", 2),
                     std::string("\xFF\xDA", 2),
                     "BM",
                     "GIF89a",
                     "8BPS",
                     "#?RADIANCE\n",
                     "P6\n",
                     std::string("\x00\x00\x02\x00", 4)};
    target.setUp = &SetUp;
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
