// Image loading: the four skin sources and the plain-path fallback, decoding into
// premultiplied top-down DIBs, mask colours, broken files, and icons.

#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "support/BoundedCost.h"

using SkinUI::CPaintManagerUI;
using SkinUI::CRenderEngine;
using SkinUI::STRINGorID;
using SkinUI::TImageInfo;
using namespace RenderTest;

namespace {

// Colours of the "source.png" of each source (see the image generator).
constexpr DWORD kSkinFolderColor = 0xFF102030;
constexpr DWORD kZipFileColor = 0xFF405060;
constexpr DWORD kZipResourceColor = 0xFFA0B0C0;
constexpr DWORD kResourceColor = 0xFF708090;
constexpr DWORD kFallbackColor = 0xFFD0E0F0;

// Owns a loaded image.
struct Loaded {
    explicit Loaded(TImageInfo* image) : info(image) {}
    ~Loaded() { CRenderEngine::FreeImage(info); }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    TImageInfo* operator->() const { return info; }
    explicit operator bool() const { return info != nullptr; }
    std::vector<DWORD> Pixels() const { return ReadPixels(info->bitmap); }
    TImageInfo* info;
};

// Every test starts and ends with the defaults: no modules, plain files from an empty skin
// path, and the current directory it found.
class ImageLoading : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedDirectory = CPaintManagerUI::GetCurrentPath();
        Reset();
    }
    void TearDown() override {
        Reset();
        CPaintManagerUI::SetCurrentPath(m_savedDirectory);
    }
    static void Reset() {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetResourceDll(nullptr);
        CPaintManagerUI::SetInstance(nullptr);
    }
    static DWORD SinglePixel(const wchar_t* name, const wchar_t* type = nullptr) {
        Loaded image(CRenderEngine::LoadImageW(name, type));
        if (!image) return 0;
        return image.Pixels().at(0);
    }

    SkinUI::CSkinString m_savedDirectory;
};

} // namespace

// ---------------------------------------------------------------------------
// Sources

TEST_F(ImageLoading, ReadsFromTheSkinFolder) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    Loaded image(CRenderEngine::LoadImageW(L"source.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1);
    EXPECT_EQ(image->height, 1);
    EXPECT_FALSE(image->alphaChannel);
    EXPECT_TRUE(image->resourceType.IsEmpty());
    EXPECT_EQ(image->mask, 0u);
    EXPECT_EQ(image.Pixels(), std::vector<DWORD>{kSkinFolderColor});

    DIBSECTION section;
    ASSERT_EQ(GetObjectW(image->bitmap, sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
}

TEST_F(ImageLoading, ReadsFromAZipFileOpenedPerImageOrCached) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"images.zip", false);
    EXPECT_EQ(SinglePixel(L"source.png"), kZipFileColor);
    EXPECT_EQ(SinglePixel(L"sub\\inner.png"), 0xFF445566u); // case and separator as stored
    CPaintManagerUI::SetResourceZip(L"images.zip", true);
    EXPECT_EQ(SinglePixel(L"source.png"), kZipFileColor);
    EXPECT_EQ(SinglePixel(L"missing.png"), 0u);
}

TEST_F(ImageLoading, ReadsFromResourcesByIdOrName) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    Loaded byId(CRenderEngine::LoadImageW(STRINGorID(301u), L"PNG"));
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId.Pixels(), std::vector<DWORD>{kResourceColor});
    Loaded byName(CRenderEngine::LoadImageW(L"NAMED", L"PNG"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->width, 2);
    EXPECT_TRUE(byName->alphaChannel);
}

TEST_F(ImageLoading, ReadsFromAZipResource) {
    HMODULE exe = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(302), L"ZIPRES");
    ASSERT_NE(found, nullptr);
    const void* archive = LockResource(LoadResource(exe, found));
    CPaintManagerUI::SetResourceZip(archive, SizeofResource(exe, found));
    EXPECT_EQ(SinglePixel(L"source.png"), kZipResourceColor);
}

TEST_F(ImageLoading, FallsBackToTheNameAsAPath) {
    const std::wstring absolute = ImageDirectory() + L"plain\\fallback.png";
    // Not a resource of the module: the name is then a path.
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_EQ(SinglePixel(absolute.c_str(), L"PNG"), kFallbackColor);
    // Not an entry of the archive.
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"images.zip", false);
    EXPECT_EQ(SinglePixel(absolute.c_str()), kFallbackColor);
    // Not in the skin folder: relative to the current directory.
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetCurrentPath((ImageDirectory() + L"plain").c_str());
    EXPECT_EQ(SinglePixel(L"fallback.png"), kFallbackColor);
    // The skin folder still comes first.
    CPaintManagerUI::SetCurrentPath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourcePath((ImageDirectory() + L"zip_content").c_str());
    EXPECT_EQ(SinglePixel(L"source.png"), kZipFileColor);
}

TEST_F(ImageLoading, NumericIdsAreNeverTakenForPaths) {
    // A missing resource id must not be dereferenced as a file name.
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_EQ(CRenderEngine::LoadImageW(STRINGorID(999u), L"PNG"), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(STRINGorID(999u)), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(STRINGorID(0u), L"PNG"), nullptr);
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    CPaintManagerUI::SetResourceZip(L"images.zip", true);
    EXPECT_EQ(CRenderEngine::LoadImageW(STRINGorID(301u)), nullptr);
}

// ---------------------------------------------------------------------------
// Decoding

TEST_F(ImageLoading, DecodesPngBmpAndJpeg) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    const std::vector<DWORD> opaque = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                       0xFFFF00FF, 0xFF000000, 0xFF808080, 0xFFFFFF00};
    for (const wchar_t* name : {L"opaque.png", L"opaque.bmp"}) {
        Loaded image(CRenderEngine::LoadImageW(name));
        ASSERT_TRUE(image) << Narrow(name);
        EXPECT_EQ(image->width, 4);
        EXPECT_EQ(image->height, 2);
        EXPECT_FALSE(image->alphaChannel);
        EXPECT_EQ(image.Pixels(), opaque);
    }
    Loaded jpeg(CRenderEngine::LoadImageW(L"opaque.jpg"));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width, 8);
    EXPECT_FALSE(jpeg->alphaChannel);
    EXPECT_TRUE(PixelNear(jpeg.Pixels().at(27), 0xFF808080, 2));
    // The costliest PNG layout at a size: 16 bits a channel, interlaced.
    Loaded interlaced(CRenderEngine::LoadImageW(L"interlaced16.png"));
    ASSERT_TRUE(interlaced);
    EXPECT_EQ(interlaced->width, 1024);
    EXPECT_EQ(interlaced->height, 1024);
    EXPECT_EQ(interlaced.Pixels().at(1024 * 1024 - 1), 0xFF12569Au);
}

TEST_F(ImageLoading, OtherFormatsAreRefusedWhateverTheirName) {
    // A valid TGA; a Radiance HDR file cut short, which the decoder once read forever; and
    // a TGA and a PSD whose few bytes claim 400 million pixels.
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    EXPECT_EQ(CRenderEngine::LoadImageW(L"alpha.tga"), nullptr);
    CPaintManagerUI::SetResourcePath(skintest::HostileDirectory().c_str());
    for (const wchar_t* name : {L"endless.hdr", L"huge.tga", L"huge.psd"}) {
        TImageInfo* image = reinterpret_cast<TImageInfo*>(1);
        skintest::FinishesWithin(2, "loading an image of another format",
                                 [&] { image = CRenderEngine::LoadImageW(name); });
        EXPECT_EQ(image, nullptr) << Narrow(name);
    }
}

TEST_F(ImageLoading, AbsurdSizesAreRefusedFromTheHeaderWithATraceLine) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    skintest::TraceLines traces;
    // The largest sizes taken: 16,384 a side, 8 Mi pixels in all.
    for (const wchar_t* name : {L"largest.bmp", L"widest.bmp"}) {
        Loaded image(CRenderEngine::LoadImageW(name));
        ASSERT_TRUE(image) << Narrow(name);
        EXPECT_EQ(static_cast<long long>(image->width) * image->height,
                  image->height == 1 ? 16384 : 8 << 20);
    }
    EXPECT_TRUE(traces.Lines().empty());
    // One pixel more, and 268 million pixels in 136 bytes: refused before anything is
    // allocated, in no time, each with a line that names it.
    for (const wchar_t* name : {L"beyond.bmp", L"wider.bmp"}) {
        EXPECT_EQ(CRenderEngine::LoadImageW(name), nullptr) << Narrow(name);
        EXPECT_EQ(traces.Count(name), 1) << Narrow(name);
    }
    CPaintManagerUI::SetResourcePath(skintest::HostileDirectory().c_str());
    TImageInfo* huge = reinterpret_cast<TImageInfo*>(1);
    skintest::FinishesWithin(2, "loading a BMP that claims 16384 x 16384 pixels",
                             [&] { huge = CRenderEngine::LoadImageW(L"huge.bmp"); });
    EXPECT_EQ(huge, nullptr);
    const std::vector<std::wstring> lines = traces.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"huge.bmp refused: 16384 x 16384 pixels"), std::wstring::npos);
}

TEST_F(ImageLoading, DataInflatingBeyondItsImageIsRefused) {
    // One pixel whose compressed data inflates to 8 MiB: the decoder would take it all in.
    CPaintManagerUI::SetResourcePath(skintest::HostileDirectory().c_str());
    EXPECT_EQ(CRenderEngine::LoadImageW(L"inflating.png"), nullptr);
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    Loaded fine(CRenderEngine::LoadImageW(L"source.png"));
    EXPECT_TRUE(fine);
}

TEST_F(ImageLoading, DecodedImagesAliveAtOnceAreBoundedWithATraceLine) {
    // Each 32 MiB from a 54-byte file: a skin naming such files (or one of them under other
    // names) would otherwise add up without end.
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    skintest::TraceLines traces;
    std::vector<TImageInfo*> held;
    for (int i = 0; i < 4; ++i)
        held.push_back(CRenderEngine::LoadImageW(L"largest.bmp"));
    ASSERT_NE(held[0], nullptr);
    EXPECT_EQ(held[3], nullptr); // 128 MiB would be held
    EXPECT_GE(traces.Count(L"beyond 64 MiB"), 1);
    // Freed images give their share back.
    for (TImageInfo* image : held)
        CRenderEngine::FreeImage(image);
    Loaded again(CRenderEngine::LoadImageW(L"largest.bmp"));
    EXPECT_TRUE(again);
    Loaded other(CRenderEngine::LoadImageW(L"largest.bmp"));
    EXPECT_TRUE(other);
}

TEST_F(ImageLoading, PremultipliesTranslucentPixels) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    Loaded image(CRenderEngine::LoadImageW(L"alpha.png"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->alphaChannel);
    // Red 255 at alpha 128 is stored as 128; transparent is all zero.
    const std::vector<DWORD> expected = {0x80800000, 0x00000000, 0xFF00FF00, 0x40404040};
    EXPECT_EQ(image.Pixels(), expected);
}

TEST_F(ImageLoading, MaskKeysOutMatchingPixels) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    Loaded masked(CRenderEngine::LoadImageW(L"opaque.png", nullptr, 0xFFFF00FF));
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->alphaChannel);
    const std::vector<DWORD> pixels = masked.Pixels();
    EXPECT_EQ(pixels.at(4), 0u); // was opaque magenta
    EXPECT_EQ(pixels.at(0), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(7), 0xFFFFFF00u);

    // A mask that matches nothing leaves an opaque image opaque.
    Loaded unmatched(CRenderEngine::LoadImageW(L"opaque.png", nullptr, 0xFF123456));
    ASSERT_TRUE(unmatched);
    EXPECT_FALSE(unmatched->alphaChannel);

    // The mask is compared with the premultiplied value.
    Loaded translucent(CRenderEngine::LoadImageW(L"alpha.png", nullptr, 0x80800000));
    ASSERT_TRUE(translucent);
    EXPECT_EQ(translucent.Pixels().at(0), 0u);
    Loaded unpremultiplied(CRenderEngine::LoadImageW(L"alpha.png", nullptr, 0x80FF0000));
    ASSERT_TRUE(unpremultiplied);
    EXPECT_EQ(unpremultiplied.Pixels().at(0), 0x80800000u);
}

TEST_F(ImageLoading, RejectsMissingEmptyBrokenAndAbsurdFiles) {
    CPaintManagerUI::SetResourcePath(SkinDirectory().c_str());
    for (const wchar_t* name : {L"missing.png", L"empty.png", L"corrupt.png", L"truncated.png",
                                L"huge.bmp", L"huge.tga"}) {
        TImageInfo* image = CRenderEngine::LoadImageW(name);
        EXPECT_EQ(image, nullptr) << Narrow(name);
        CRenderEngine::FreeImage(image);
    }
    EXPECT_EQ(CRenderEngine::LoadImageW(static_cast<const wchar_t*>(nullptr)), nullptr);
    CRenderEngine::FreeImage(nullptr);
}

// ---------------------------------------------------------------------------
// Icons

namespace {

// A 2×2 icon with per-pixel alpha: opaque red, transparent, half green, opaque white.
HICON MakeIcon() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const DWORD pixels[4] = {0xFFFF0000, 0x00000000, 0x8000FF00, 0xFFFFFFFF};
    std::memcpy(bits, pixels, sizeof(pixels));
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, nullptr);
    ICONINFO icon = {TRUE, 0, 0, mask, color};
    HICON handle = CreateIconIndirect(&icon);
    DeleteObject(color);
    DeleteObject(mask);
    return handle;
}

} // namespace

TEST_F(ImageLoading, ConvertsIconsOnBlackWithoutAnyoneStartingGdiPlus) {
    EXPECT_EQ(CRenderEngine::LoadImageFromHICON(nullptr), nullptr);
    HICON icon = MakeIcon();
    ASSERT_NE(icon, nullptr);
    // Twice: GDI+ is started and stopped around each conversion.
    for (int round = 0; round < 2; ++round) {
        Loaded image(CRenderEngine::LoadImageFromHICON(icon));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_FALSE(image->alphaChannel);
        // Drawn opaque: whatever the bitmap's layout, red stays red and transparent is black.
        Surface surface(2, 2, 0xFF0000FF);
        const RECT all = {0, 0, 2, 2};
        const RECT noCorners = {0, 0, 0, 0};
        CRenderEngine::DrawImage(surface.dc(), image->bitmap, all, all, all, noCorners, false);
        EXPECT_EQ(surface.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(surface.Pixel(1, 0) & 0xFFFFFF, 0x000000u);
        EXPECT_EQ(surface.Pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    }
    DestroyIcon(icon);
}
