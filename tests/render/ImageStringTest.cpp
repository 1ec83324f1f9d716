// The image attribute language: items and their values, what ends a string, images that a
// string finishes before its end, the modifier string, and drawing through an image lookup.

#include "render/RenderEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "support/BoundedCost.h"

using SkinUI::CRenderEngine;
using SkinUI::TImageAttributes;
using SkinUI::TImageInfo;
using namespace RenderTest;

namespace {

const RECT kItem = {100, 50, 200, 150};

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Images a string finished before its end, in order.
struct Pending {
    std::vector<TImageAttributes> images;
    static void Record(void* context, const TImageAttributes& image) {
        static_cast<Pending*>(context)->images.push_back(image);
    }
};

// The settings after parsing `text` over kItem, starting as a drawing does.
TImageAttributes Parse(const wchar_t* text, Pending* pending = nullptr) {
    TImageAttributes attributes(text, kItem);
    CRenderEngine::ParseImageString(text, kItem, attributes,
                                    pending != nullptr ? Pending::Record : nullptr, pending);
    return attributes;
}

std::wstring Name(const TImageAttributes& attributes) {
    return attributes.name.GetData();
}

} // namespace

// ---------------------------------------------------------------------------
// Items

TEST(ImageString, ABareNameIsTheImageName) {
    const TImageAttributes bare = Parse(L"kefubtn.png");
    EXPECT_EQ(Name(bare), L"kefubtn.png");
    EXPECT_TRUE(bare.dest == kItem);
    const TImageAttributes item = Parse(L"file='kefubtn.png'");
    EXPECT_EQ(Name(item), L"kefubtn.png");
    EXPECT_TRUE(item.dest == kItem);
}

TEST(ImageString, ReadsEveryKey) {
    const TImageAttributes a =
        Parse(L"file='bg.png' restype='PNG' source='1,2,3,4' corner='5,6,7,8' mask='#ffff00ff' "
              L"fade='128' hole='true' xtiled='true' ytiled='true'");
    EXPECT_EQ(Name(a), L"bg.png");
    EXPECT_STREQ(a.resourceType, L"PNG");
    EXPECT_TRUE(a.source == (RECT{1, 2, 3, 4}));
    EXPECT_TRUE(a.corner == (RECT{5, 6, 7, 8}));
    EXPECT_EQ(a.mask, 0xFFFF00FFu);
    EXPECT_EQ(a.fade, 128);
    EXPECT_TRUE(a.hole);
    EXPECT_TRUE(a.xTiled);
    EXPECT_TRUE(a.yTiled);

    const TImageAttributes defaults = Parse(L"file='bg.png'");
    EXPECT_TRUE(defaults.resourceType.IsEmpty());
    EXPECT_TRUE(defaults.source == (RECT{0, 0, 0, 0}));
    EXPECT_EQ(defaults.mask, 0u);
    EXPECT_EQ(defaults.fade, 255);
    EXPECT_FALSE(defaults.hole || defaults.xTiled || defaults.yTiled);
}

TEST(ImageString, DestinationIsRelativeToTheItemAndCutAtItsFarEdges) {
    EXPECT_TRUE(Parse(L"dest='10,20,30,40'").dest == (RECT{110, 70, 130, 90}));
    EXPECT_TRUE(Parse(L"dest='0,0,500,500'").dest == (RECT{100, 50, 200, 150}));
    EXPECT_TRUE(Parse(L"dest='-10,-10,50,50'").dest == (RECT{90, 40, 150, 100}));
    // Huge offsets neither wrap around nor pass the item's edges.
    EXPECT_TRUE(Parse(L"dest='2147483647,0,2147483647,5'").dest == (RECT{INT_MAX, 50, 200, 55}));
}

TEST(ImageString, MaskFadeAndFlagForms) {
    EXPECT_EQ(Parse(L"mask='#FFFF00FF'").mask, 0xFFFF00FFu);
    EXPECT_EQ(Parse(L"mask='0xffff00ff'").mask, 0xFFFF00FFu);
    EXPECT_EQ(Parse(L"mask='ff00ff'").mask, 0x00FF00FFu);
    EXPECT_EQ(Parse(L"fade='300'").fade, 300 & 0xFF); // truncated to 8 bits
    EXPECT_EQ(Parse(L"fade='0'").fade, 0);
    EXPECT_FALSE(Parse(L"hole='True'").hole); // only the exact "true"
    EXPECT_FALSE(Parse(L"xtiled='1'").xTiled);
}

TEST(ImageString, NumberListsStopAtTheEndOfTheValue) {
    EXPECT_TRUE(Parse(L"source='1,2'").source == (RECT{1, 2, 0, 0}));
    EXPECT_TRUE(Parse(L"source='7'").source == (RECT{7, 0, 0, 0}));
    EXPECT_TRUE(Parse(L"source='1,2,' corner='3,4,5,6'").source == (RECT{1, 2, 0, 0}));
    EXPECT_TRUE(Parse(L"source='1,2,' corner='3,4,5,6'").corner == (RECT{3, 4, 5, 6}));
    EXPECT_TRUE(Parse(L"corner='1;2 3x4'").corner == (RECT{1, 2, 3, 4})); // any separator
}

// ---------------------------------------------------------------------------
// What ends a string

TEST(ImageString, ItemsAreSeparatedBySpacesOnly) {
    // Two spaces between items are fine; a tab after the closing quote ends the string.
    EXPECT_EQ(Parse(L"file='loginBg.png'  mask='0xffff00ff'").mask, 0xFFFF00FFu);
    EXPECT_EQ(Parse(L"file='loginBg.png'\t mask='0xffff00ff'").mask, 0u);
    EXPECT_EQ(Parse(L"file='a.png',mask='0xffff00ff'").mask, 0u);
    // White space around the equals sign and before the first key.
    const TImageAttributes spaced = Parse(L" \t file = 'a.png' mask\t=\t'ff'");
    EXPECT_EQ(Name(spaced), L"a.png");
    EXPECT_EQ(spaced.mask, 0xFFu);
}

TEST(ImageString, AMalformedItemEndsTheStringAndKeepsWhatCameBefore) {
    for (const wchar_t* text :
         {L"fade='9' file 'b.png' mask='ff'", L"fade='9' file=b.png mask='ff'",
          L"fade='9' file=\"b.png\" mask='ff'", L"fade='9' file='b.png"}) {
        const TImageAttributes a = Parse(text);
        EXPECT_EQ(a.fade, 9) << Narrow(text);
        EXPECT_EQ(a.mask, 0u) << Narrow(text);
        EXPECT_EQ(Name(a), text) << Narrow(text); // the name stays the whole string
    }
    // A stray apostrophe closes the value early; what follows is no space, so that ends it.
    const TImageAttributes early = Parse(L"file='b.png mask='ff'");
    EXPECT_EQ(Name(early), L"b.png mask=");
    EXPECT_EQ(early.mask, 0u);
}

TEST(ImageString, EmptyValuesAndUnknownKeysAreSkipped) {
    const TImageAttributes a = Parse(L"file='' FILE='x.png' colour='red' fade='7'");
    EXPECT_EQ(Name(a), L"file='' FILE='x.png' colour='red' fade='7'");
    EXPECT_EQ(a.fade, 7);
}

TEST(ImageString, NeverReadsPastTheEndOfTheString) {
    // Each text ends right before an inaccessible page.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    BYTE* block = static_cast<BYTE*>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old = 0;
    VirtualProtect(block + page, page, PAGE_NOACCESS, &old);
    for (const wchar_t* text : {L"file='a.png' source='1,2", L"source='1,2,3,'", L"file", L"file ",
                                L"file= ", L"file='", L"dest='1,'", L"x='y' "}) {
        const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        wchar_t* guarded = reinterpret_cast<wchar_t*>(block + page - bytes);
        std::memcpy(guarded, text, bytes);
        Parse(guarded);
    }
    VirtualFree(block, 0, MEM_RELEASE);
}

// ---------------------------------------------------------------------------
// Several images in one string

TEST(ImageString, ANewFileFinishesThePendingImageWhichPassesItsSettingsOn) {
    Pending pending;
    const TImageAttributes last =
        Parse(L"file='a.png' dest='0,0,10,10' fade='100' file='b.png'", &pending);
    ASSERT_EQ(pending.images.size(), 1u);
    EXPECT_EQ(Name(pending.images[0]), L"a.png");
    EXPECT_TRUE(pending.images[0].dest == (RECT{100, 50, 110, 60}));
    EXPECT_EQ(pending.images[0].fade, 100);
    EXPECT_EQ(Name(last), L"b.png");
    EXPECT_TRUE(last.dest == (RECT{100, 50, 110, 60}));
    EXPECT_EQ(last.fade, 100);
}

TEST(ImageString, ResFinishesAPendingFileButStartsNoCount) {
    Pending pending;
    EXPECT_EQ(Name(Parse(L"res='101' restype='PNG' res='102'", &pending)), L"102");
    EXPECT_TRUE(pending.images.empty());
    EXPECT_EQ(Name(Parse(L"file='a.png' res='102' restype='PNG'", &pending)), L"102");
    ASSERT_EQ(pending.images.size(), 1u);
    EXPECT_EQ(Name(pending.images[0]), L"a.png");
    EXPECT_TRUE(pending.images[0].resourceType.IsEmpty());
}

// ---------------------------------------------------------------------------
// Drawing through a lookup

namespace {

// Test images by name; records every lookup.
class ImageShelf {
public:
    void Put(const std::wstring& name, int width, int height, const std::vector<DWORD>& pixels,
             bool alphaChannel = false) {
        m_bitmaps.emplace_back(new Bitmap(width, height, pixels));
        TImageInfo& info = m_images[name];
        info.bitmap = m_bitmaps.back()->get();
        info.width = width;
        info.height = height;
        info.alphaChannel = alphaChannel;
    }
    static const TImageInfo* Find(void* context, const wchar_t* name, const wchar_t* type,
                                  DWORD mask) {
        ImageShelf& shelf = *static_cast<ImageShelf*>(context);
        shelf.lookups.push_back(std::wstring(name) + L"|" + (type != nullptr ? type : L"-") + L"|" +
                                std::to_wstring(mask));
        auto found = shelf.m_images.find(name);
        return found != shelf.m_images.end() ? &found->second : nullptr;
    }
    bool Draw(const Surface& surface, const RECT& item, const wchar_t* image,
              const wchar_t* modifier = nullptr, const RECT* paint = nullptr) {
        return CRenderEngine::DrawImageStrings(surface.dc(), item, paint ? *paint : item, image,
                                               modifier, Find, this);
    }

    std::vector<std::wstring> lookups;

private:
    std::vector<std::unique_ptr<Bitmap>> m_bitmaps;
    std::map<std::wstring, TImageInfo> m_images;
};

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kWhite = 0xFFFFFFFF;

// 54 × 27: left half red, right half green, like a two-state button strip.
void PutButtonStrip(ImageShelf& shelf) {
    std::vector<DWORD> pixels;
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 54; ++x)
            pixels.push_back(x < 27 ? kRed : kGreen);
    shelf.Put(L"kefubtn.png", 54, 27, pixels);
}

} // namespace

TEST(ImageStringDrawing, ABareNameAndAFileItemDrawTheSameImageOverTheItem) {
    ImageShelf shelf;
    shelf.Put(L"blue.png", 2, 2, Solid(2, 2, kBlue));
    for (const wchar_t* text : {L"blue.png", L"file='blue.png'"}) {
        Surface surface(20, 20, kWhite);
        EXPECT_TRUE(shelf.Draw(surface, RECT{2, 2, 12, 12}, text));
        EXPECT_EQ(surface.CountOther(RECT{2, 2, 12, 12}, kBlue), 0);
        EXPECT_EQ(surface.Pixel(12, 12), kWhite);
        EXPECT_EQ(surface.Pixel(1, 1), kWhite);
    }
    EXPECT_EQ(shelf.lookups, (std::vector<std::wstring>{L"blue.png|-|0", L"blue.png|-|0"}));
}

TEST(ImageStringDrawing, SourcePicksAStripCellCutAtTheBitmapEdge) {
    ImageShelf shelf;
    PutButtonStrip(shelf);
    Surface surface(10, 10, kWhite);
    shelf.Draw(surface, surface.rect(), L"file='kefubtn.png' source='27,0,54,27'");
    EXPECT_EQ(surface.CountOther(surface.rect(), kGreen), 0);
    surface.Fill(kWhite);
    shelf.Draw(surface, surface.rect(), L"file='kefubtn.png' source='27,0,500,500'");
    EXPECT_EQ(surface.CountOther(surface.rect(), kGreen), 0);
    surface.Fill(kWhite);
    shelf.Draw(surface, surface.rect(), L"file='kefubtn.png' source='0,0,27,27'");
    EXPECT_EQ(surface.CountOther(surface.rect(), kRed), 0);
}

TEST(ImageStringDrawing, DestinationPlacesTheImageInsideTheItemOnly) {
    ImageShelf shelf;
    shelf.Put(L"blue.png", 1, 1, Solid(1, 1, kBlue));
    Surface surface(40, 40, kWhite);
    const RECT item = {10, 10, 30, 30};
    shelf.Draw(surface, item, L"file='blue.png' dest='5,5,100,100'");
    EXPECT_EQ(surface.CountOther(RECT{15, 15, 30, 30}, kBlue), 0);
    EXPECT_EQ(surface.Pixel(14, 20), kWhite);
    EXPECT_EQ(surface.Pixel(30, 20), kWhite); // cut at the item's right edge
    EXPECT_EQ(surface.Pixel(20, 30), kWhite);
    // A destination wholly outside the item draws nothing.
    surface.Fill(kWhite);
    shelf.Draw(surface, item, L"file='blue.png' dest='-10,-10,-1,-1'");
    EXPECT_EQ(surface.CountOther(surface.rect(), kWhite), 0);
    // So does one outside the repainted part.
    const RECT paint = {0, 0, 12, 12};
    shelf.Draw(surface, item, L"file='blue.png' dest='5,5,10,10'", nullptr, &paint);
    EXPECT_EQ(surface.CountOther(surface.rect(), kWhite), 0);
}

TEST(ImageStringDrawing, TwoFilesWithADestinationBetweenThemShareIt) {
    ImageShelf shelf;
    shelf.Put(L"red.png", 1, 1, Solid(1, 1, kRed));
    shelf.Put(L"half.png", 2, 1, {0x80000080, 0}, true); // half blue, transparent
    Surface surface(20, 20, kWhite);
    shelf.Draw(surface, surface.rect(), L"file='red.png' dest='0,0,10,10' file='half.png'");
    EXPECT_EQ(shelf.lookups, (std::vector<std::wstring>{L"red.png|-|0", L"half.png|-|0"}));
    EXPECT_TRUE(PixelNear(surface.Pixel(2, 2), 0xFF7F007F)); // red under half blue
    EXPECT_EQ(surface.Pixel(7, 2), kRed);                    // under the transparent half
    EXPECT_EQ(surface.Pixel(12, 12), kWhite);
}

TEST(ImageStringDrawing, TheModifierOverridesSettingsAndItsFileReplacesThePendingImage) {
    ImageShelf shelf;
    PutButtonStrip(shelf);
    shelf.Put(L"blue.png", 1, 1, Solid(1, 1, kBlue));
    Surface surface(20, 20, kWhite);
    shelf.Draw(surface, surface.rect(), L"file='kefubtn.png' source='0,0,27,27'",
               L"source='27,0,54,27' dest='0,0,10,10'");
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 10, 10}, kGreen), 0);
    EXPECT_EQ(surface.Pixel(10, 10), kWhite);

    shelf.lookups.clear();
    shelf.Draw(surface, surface.rect(), L"file='kefubtn.png'", L"file='blue.png'");
    EXPECT_EQ(shelf.lookups, std::vector<std::wstring>{L"blue.png|-|0"});
}

TEST(ImageStringDrawing, TypeAndMaskGoToTheLookupAndMissingImagesDrawNothing) {
    ImageShelf shelf;
    Surface surface(4, 4, kWhite);
    EXPECT_TRUE(shelf.Draw(surface, surface.rect(), L"res='12' restype='PNG' mask='ff00ff'"));
    EXPECT_EQ(shelf.lookups, std::vector<std::wstring>{L"12|PNG|16711935"});
    EXPECT_EQ(surface.CountOther(surface.rect(), kWhite), 0);
    // Nothing is looked up for an empty name; a null device context is refused.
    shelf.lookups.clear();
    EXPECT_TRUE(shelf.Draw(surface, surface.rect(), L""));
    EXPECT_TRUE(shelf.Draw(surface, surface.rect(), nullptr));
    EXPECT_TRUE(shelf.lookups.empty());
    EXPECT_FALSE(CRenderEngine::DrawImageStrings(nullptr, surface.rect(), surface.rect(), L"a",
                                                 nullptr, ImageShelf::Find, &shelf));
}

TEST(ImageStringDrawing, AbsurdImageCountsAreRefusedWholeWithATraceLine) {
    ImageShelf shelf;
    shelf.Put(L"tile.png", 3, 2, Solid(3, 2, 0x80000080), true);
    const int bound = CRenderEngine::kMaxImagesPerString;
    // The bound itself still draws every image.
    std::wstring atBound;
    for (int i = 0; i < bound; ++i)
        atBound += L"file='tile.png' ";
    Surface surface(400, 300, kWhite);
    skintest::TraceLines traces;
    EXPECT_TRUE(shelf.Draw(surface, surface.rect(), atBound.c_str(), L"res='tile.png'"));
    EXPECT_EQ(shelf.lookups.size(), size_t(bound));
    EXPECT_EQ(traces.Count(L"image string refused"), 0);

    // One more, counted the way the images are drawn ("res" after a file draws too), and
    // thousands of them: nothing is looked up or drawn, in bounded time.
    const std::wstring oneMore = atBound + L"res='tile.png' ";
    std::wstring thousands;
    for (int i = 0; i < 16000; ++i)
        thousands += L"file='tile.png' ";
    for (const std::wstring& text : {oneMore, thousands}) {
        shelf.lookups.clear();
        surface.Fill(kWhite);
        bool drawn = true;
        skintest::FinishesWithin(2, "an image string of thousands of images", [&] {
            drawn = shelf.Draw(surface, surface.rect(), text.c_str(), L"res='tile.png'");
        });
        EXPECT_FALSE(drawn);
        EXPECT_TRUE(shelf.lookups.empty());
        EXPECT_EQ(surface.CountOther(surface.rect(), kWhite), 0);
        EXPECT_EQ(traces.Count(L"image string refused"), 1);
    }
}
