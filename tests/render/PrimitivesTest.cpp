// Colour fills, gradients, lines and rectangles, read back from 32-bit surfaces (where
// opaque drawing must stay opaque, as layered windows need) and 24-bit ones; the global
// colour adjustment; the built-in alpha blend against the system's.

#include "render/RenderEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <vector>

#include "RenderTestSupport.h"

using SkinUI::CRenderEngine;
using namespace RenderTest;

namespace {

// Restores the system blending after tests that switch it off.
class WithoutSystemBlending {
public:
    WithoutSystemBlending() { CRenderEngine::SetSystemBlending(false); }
    ~WithoutSystemBlending() { CRenderEngine::SetSystemBlending(true); }
};

} // namespace

// ---------------------------------------------------------------------------
// Colour fills

// The first row in memory is the bottom one for a positive height, the top one for a
// negative height; sizes that make nothing make nothing.
TEST(CreateDib32, RowsFollowTheSignOfTheHeightAndEmptyOrHugeSizesGiveNothing) {
    for (const int height : {2, -2}) {
        void* bits = nullptr;
        SkinUI::CBitmapDC surface;
        ASSERT_TRUE(surface.Create(nullptr, CRenderEngine::CreateDib32(nullptr, 3, height, &bits)));
        ASSERT_NE(bits, nullptr);
        const auto* pixels = static_cast<const DWORD*>(bits);
        EXPECT_EQ(pixels[0], 0u) << "a new surface is transparent black";
        ::SetPixelV(surface.GetDC(), 0, 0, RGB(255, 255, 255));
        ::GdiFlush();
        const DWORD firstInMemory = pixels[0] & 0x00FFFFFF;
        const DWORD lastRowFirst = pixels[3] & 0x00FFFFFF;
        EXPECT_EQ(height < 0 ? firstInMemory : lastRowFirst, 0x00FFFFFFu) << height;
    }
    for (const SIZE size : {SIZE{0, 5}, SIZE{5, 0}, SIZE{-1, 5}, SIZE{70000, 70000}}) {
        int sentinel = 0;
        void* bits = &sentinel;
        EXPECT_FALSE(CRenderEngine::CreateDib32(nullptr, size.cx, size.cy, &bits));
        EXPECT_EQ(bits, nullptr);
    }
}

TEST(DrawColor, AlphaZeroDrawsNothing) {
    Surface surface(4, 4, 0x12345678);
    CRenderEngine::DrawColor(surface.dc(), surface.rect(), 0x00FF0000);
    CRenderEngine::DrawColor(surface.dc(), surface.rect(), 0);
    EXPECT_EQ(surface.CountOther(surface.rect(), 0x12345678), 0);
}

TEST(DrawColor, OpaqueColoursFillOpaqueOnEverySurface) {
    // On a layered window's transparent bitmap, both row orders.
    for (const bool bottomUp : {false, true}) {
        Surface layered(8, 6, 0x00000000, 32, bottomUp);
        CRenderEngine::DrawColor(layered.dc(), RECT{1, 1, 5, 3}, 0xFFFF0000);
        EXPECT_EQ(layered.CountOther(RECT{1, 1, 5, 3}, 0xFFFF0000), 0);
        EXPECT_EQ(layered.Pixel(0, 0), 0u);
        EXPECT_EQ(layered.Pixel(5, 3), 0u);
    }
    Surface plain(8, 6, 0xFFFFFF, 24);
    CRenderEngine::DrawColor(plain.dc(), RECT{1, 1, 5, 3}, 0xFF00FF00);
    EXPECT_EQ(plain.CountOther(RECT{1, 1, 5, 3}, 0xFF00FF00), 0);
    EXPECT_EQ(plain.Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(DrawColor, TranslucentColoursBlendOverAnyBackground) {
    Surface black(4, 4, 0xFF000000);
    CRenderEngine::DrawColor(black.dc(), black.rect(), 0x80FF0000);
    EXPECT_TRUE(PixelNear(black.Pixel(2, 2), 0xFF800000)); // half red, not full red
    Surface white(4, 4, 0xFFFFFFFF);
    CRenderEngine::DrawColor(white.dc(), white.rect(), 0x80FF0000);
    EXPECT_TRUE(PixelNear(white.Pixel(2, 2), 0xFFFF7F7F));
    Surface clear(4, 4, 0x00000000);
    CRenderEngine::DrawColor(clear.dc(), clear.rect(), 0x80FF0000);
    EXPECT_TRUE(PixelNear(clear.Pixel(2, 2), 0x80800000));
    Surface plain(4, 4, 0x0000FF, 24);
    CRenderEngine::DrawColor(plain.dc(), RECT{0, 0, 2, 4}, 0x80FF0000);
    EXPECT_TRUE(PixelNear(plain.Pixel(1, 1), 0xFF80007F, 1));
    EXPECT_EQ(plain.Pixel(2, 1), 0xFF0000FFu);
}

// ---------------------------------------------------------------------------
// Gradients

namespace {

// Distinct colours down column x (vertical) or along row y (horizontal), in order.
std::vector<DWORD> Bands(const Surface& surface, bool vertical) {
    std::vector<DWORD> bands;
    const int count = vertical ? surface.height() : surface.width();
    for (int i = 0; i < count; ++i) {
        const DWORD pixel = vertical ? surface.Pixel(0, i) : surface.Pixel(i, 0);
        if (bands.empty() || bands.back() != pixel) bands.push_back(pixel);
    }
    return bands;
}

} // namespace

TEST(DrawGradient, RunsFromTheFirstColourToTheSecondAndStaysOpaque) {
    for (const int bits : {32, 24}) {
        for (const bool vertical : {true, false}) {
            Surface surface(64, 64, 0x00000000, bits);
            CRenderEngine::DrawGradient(surface.dc(), surface.rect(), 0xFF000000, 0xFFFFFFFF,
                                        vertical, 64);
            const DWORD start = surface.Pixel(0, 0);
            const DWORD end = vertical ? surface.Pixel(0, 63) : surface.Pixel(63, 0);
            const DWORD middle = vertical ? surface.Pixel(0, 32) : surface.Pixel(32, 0);
            EXPECT_TRUE(PixelNear(start, 0xFF000000, 8));
            EXPECT_TRUE(PixelNear(end, 0xFFFFFFFF, 8));
            EXPECT_TRUE(PixelNear(middle, 0xFF808080, 8));
            // Across the run the colour does not change.
            EXPECT_EQ(vertical ? surface.Pixel(63, 32) : surface.Pixel(32, 63), middle);
        }
    }
}

TEST(DrawGradient, BlendsByTheMeanAlpha) {
    // Opaque black to transparent black: mean alpha 127.
    Surface white(4, 4, 0xFFFFFFFF);
    CRenderEngine::DrawGradient(white.dc(), white.rect(), 0xFF000000, 0x00000000, true, 8);
    EXPECT_TRUE(PixelNear(white.Pixel(1, 0), 0xFF808080, 1));
    EXPECT_TRUE(PixelNear(white.Pixel(1, 3), 0xFF808080, 1));
    // Alphas 0 and 1: mean 0, nothing drawn.
    Surface untouched(4, 4, 0xFFFFFFFF);
    CRenderEngine::DrawGradient(untouched.dc(), untouched.rect(), 0x00FF0000, 0x01FF0000, true, 8);
    EXPECT_EQ(untouched.CountOther(untouched.rect(), 0xFFFFFFFF), 0);
}

TEST(DrawGradient, WithoutSystemGradientsStepsChooseTheBands) {
    WithoutSystemBlending software;
    struct Case {
        int steps;
        size_t bands;
    } cases[] = {{8, 8}, {7, 4}, {1, 2}, {64, 64}, {1000, 64}};
    for (const Case& c : cases) {
        Surface surface(1, 64, 0);
        CRenderEngine::DrawGradient(surface.dc(), surface.rect(), 0xFF000000, 0xFFFF0000, true,
                                    c.steps);
        const std::vector<DWORD> bands = Bands(surface, true);
        EXPECT_EQ(bands.size(), c.bands) << c.steps << " steps";
        // The second colour lies at the bottom edge; everything is opaque.
        EXPECT_EQ(bands.back(), 0xFFFF0000u);
        for (DWORD band : bands)
            EXPECT_EQ(band >> 24, 0xFFu);
    }
    Surface across(32, 1, 0);
    CRenderEngine::DrawGradient(across.dc(), across.rect(), 0xFF0000FF, 0xFF00FF00, false, 4);
    const std::vector<DWORD> bands = Bands(across, false);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[3], 0xFF00FF00u); // band 0 at the right edge: the second colour
    EXPECT_EQ(bands[0], 0xFF003FBFu); // (second + 3 × first) / 4
    EXPECT_EQ(across.Pixel(7, 0), bands[0]);
    EXPECT_EQ(across.Pixel(8, 0), bands[1]);
}

// ---------------------------------------------------------------------------
// Lines and rectangles

TEST(DrawLine, HorizontalVerticalAndDashedLinesAreOpaqueOnAlphaSurfaces) {
    for (const bool bottomUp : {false, true}) {
        // A half-transparent background must stay exactly as it was off the line.
        Surface surface(20, 20, 0x40102030, 32, bottomUp);
        CRenderEngine::DrawLine(surface.dc(), RECT{2, 5, 18, 5}, 1, 0xFF000000);
        EXPECT_EQ(surface.CountOther(RECT{2, 5, 18, 6}, 0xFF000000), 0);
        EXPECT_EQ(surface.CountOther(RECT{0, 0, 20, 5}, 0x40102030), 0);
        EXPECT_EQ(surface.CountOther(RECT{0, 6, 20, 20}, 0x40102030), 0);
        // Right equal to left: a vertical line.
        CRenderEngine::DrawLine(surface.dc(), RECT{10, 8, 10, 16}, 1, 0x00FF0000);
        EXPECT_EQ(surface.CountOther(RECT{10, 8, 11, 16}, 0xFFFF0000), 0);
        EXPECT_EQ(surface.Pixel(9, 10), 0x40102030u);
        EXPECT_EQ(surface.Pixel(11, 10), 0x40102030u);
    }
    // Black over transparent black: the case where nothing seems to change.
    Surface clear(10, 3, 0);
    CRenderEngine::DrawLine(clear.dc(), RECT{0, 1, 10, 1}, 1, 0xFF000000);
    EXPECT_EQ(clear.CountOther(RECT{0, 1, 10, 2}, 0xFF000000), 0);
    EXPECT_EQ(clear.Pixel(0, 0), 0u);

    Surface dashed(60, 3, 0);
    SetBkMode(dashed.dc(), TRANSPARENT);
    CRenderEngine::DrawLine(dashed.dc(), RECT{0, 1, 60, 1}, 1, 0xFF0000FF, PS_DASH);
    const std::vector<DWORD> pixels = dashed.Pixels();
    const std::set<DWORD> seen(pixels.begin() + 60, pixels.begin() + 120);
    EXPECT_EQ(seen, (std::set<DWORD>{0, 0xFF0000FF}));
}

TEST(DrawLine, PensAMillionPixelsWideCoverWhatTheyReach) {
    // A skin's border of a million pixels: the platform's wide lines overran their memory.
    for (const int bits : {24, 32}) {
        Surface surface(40, 30, 0xFF000000, bits);
        CRenderEngine::DrawLine(surface.dc(), RECT{0, 0, 0, 30}, 1000000, 0xFF00FF00);
        EXPECT_EQ(surface.CountOther(surface.rect(), 0xFF00FF00), 0) << bits;
        Surface framed(40, 30, 0xFF000000, bits);
        CRenderEngine::DrawRect(framed.dc(), RECT{0, 0, 40, 30}, 1000000, 0xFF0000FF);
        EXPECT_EQ(framed.CountOther(framed.rect(), 0xFF0000FF), 0) << bits;
    }
}

TEST(DrawRect, TheBorderLiesInsideTheRectangleAndIsOpaque) {
    Surface surface(20, 20, 0);
    const RECT rc = {2, 2, 18, 18};
    CRenderEngine::DrawRect(surface.dc(), rc, 3, 0xFF00FF00);
    // The sides (a wide pen rounds the outermost corner pixels).
    EXPECT_EQ(surface.CountOther(RECT{5, 2, 15, 5}, 0xFF00FF00), 0);
    EXPECT_EQ(surface.CountOther(RECT{5, 15, 15, 18}, 0xFF00FF00), 0);
    EXPECT_EQ(surface.CountOther(RECT{2, 5, 5, 15}, 0xFF00FF00), 0);
    EXPECT_EQ(surface.CountOther(RECT{15, 5, 18, 15}, 0xFF00FF00), 0);
    EXPECT_EQ(surface.CountOther(RECT{5, 5, 15, 15}, 0), 0); // not filled
    EXPECT_EQ(surface.Pixel(1, 10), 0u);
    EXPECT_EQ(surface.Pixel(18, 10), 0u);

    Surface plain(20, 20, 0xFFFFFF, 24);
    CRenderEngine::DrawRect(plain.dc(), rc, 1, 0xFFFF0000);
    EXPECT_EQ(plain.Pixel(2, 10), 0xFFFF0000u);
    EXPECT_EQ(plain.Pixel(10, 10), 0xFFFFFFFFu);
}

TEST(DrawRoundRect, CornersAreRoundedAndEdgesOpaque) {
    Surface surface(40, 40, 0);
    CRenderEngine::DrawRoundRect(surface.dc(), RECT{0, 0, 40, 40}, 1, 16, 16, 0xFFFF0000);
    EXPECT_EQ(surface.Pixel(0, 0), 0u);
    EXPECT_EQ(surface.Pixel(0, 20), 0xFFFF0000u);
    EXPECT_EQ(surface.Pixel(20, 0), 0xFFFF0000u);
    EXPECT_EQ(surface.Pixel(20, 20), 0u);
    // Small shapes with large corners and wide pens: every pixel drawn is opaque.
    for (const int size : {1, 4}) {
        Surface small(16, 16, 0);
        CRenderEngine::DrawRoundRect(small.dc(), RECT{2, 2, 12, 12}, size, 30, 20, 0xFFFF0000);
        const std::vector<DWORD> pixels = small.Pixels();
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0x00FF0000u), 0);
        EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xFFFF0000u), 20);
    }
}

// ---------------------------------------------------------------------------
// Global colour adjustment

TEST(AdjustColor, NeutralValuesKeepTheColourAndAlpha) {
    for (DWORD color : {0u, 0x12345678u, 0xFFFFFFFFu, 0x80FF0000u}) {
        EXPECT_EQ(CRenderEngine::AdjustColor(color, 180, 100, 100), color);
    }
}

TEST(AdjustColor, ShiftsHueAndScalesSaturationAndLightness) {
    // The lowest byte is the first channel: a third of a turn moves it to the second byte.
    EXPECT_EQ(CRenderEngine::AdjustColor(0x800000FF, 300, 100, 100), 0x8000FF00u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0x800000FF, 60, 100, 100), 0x80FF0000u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 180, 0, 100), 0xFF7F7F7Fu); // grey
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 180, 100, 200), 0xFFFFFFFFu);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 180, 100, 0), 0xFF000000u);
    // Greys have no hue to shift.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF808080, 250, 100, 100), 0xFF808080u);
}

// ---------------------------------------------------------------------------
// The built-in alpha blend

TEST(SoftwareAlphaBlend, MatchesTheSystemBlendForPremultipliedColourAndAlpha) {
    const std::vector<DWORD> sources = {0x80800000, 0x00000000, 0xFF00FF00,
                                        0x40404040, 0xC0102030, 0x01010101};
    const std::vector<DWORD> targets = {0xFFFFFFFF, 0x00000000, 0x80402010, 0xFF0000FF};
    Bitmap source(int(sources.size()), 1, sources);
    HDC sourceDC = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(sourceDC, source.get());
    for (const BYTE constant : {BYTE(255), BYTE(128), BYTE(1)}) {
        for (const BYTE format : {BYTE(AC_SRC_ALPHA), BYTE(0)}) {
            const BLENDFUNCTION blend = {AC_SRC_OVER, 0, constant, format};
            for (DWORD target : targets) {
                Surface system(int(sources.size()), 1, target);
                Surface software(int(sources.size()), 1, target);
                const int n = int(sources.size());
                ASSERT_TRUE(AlphaBlend(system.dc(), 0, 0, n, 1, sourceDC, 0, 0, n, 1, blend));
                ASSERT_TRUE(CRenderEngine::SoftwareAlphaBlend(software.dc(), 0, 0, n, 1, sourceDC,
                                                              0, 0, n, 1, blend));
                for (int x = 0; x < n; ++x) {
                    EXPECT_TRUE(PixelNear(software.Pixel(x, 0), system.Pixel(x, 0)))
                        << Hex(sources[x]) << " over " << Hex(target) << " constant "
                        << int(constant) << " format " << int(format);
                }
            }
        }
    }
    SelectObject(sourceDC, old);
    DeleteDC(sourceDC);
}

TEST(SoftwareAlphaBlend, StretchesAndRefusesEmptyAreas) {
    Bitmap source(2, 1, {0xFFFF0000, 0xFF0000FF});
    HDC sourceDC = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(sourceDC, source.get());
    Surface surface(8, 2, 0);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(
        CRenderEngine::SoftwareAlphaBlend(surface.dc(), 0, 0, 8, 2, sourceDC, 0, 0, 2, 1, blend));
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 4, 2}, 0xFFFF0000), 0);
    EXPECT_EQ(surface.CountOther(RECT{4, 0, 8, 2}, 0xFF0000FF), 0);
    EXPECT_FALSE(
        CRenderEngine::SoftwareAlphaBlend(surface.dc(), 0, 0, 0, 2, sourceDC, 0, 0, 2, 1, blend));
    EXPECT_FALSE(
        CRenderEngine::SoftwareAlphaBlend(surface.dc(), 0, 0, 8, 2, sourceDC, 0, 0, 2, -1, blend));
    EXPECT_FALSE(
        CRenderEngine::SoftwareAlphaBlend(nullptr, 0, 0, 8, 2, sourceDC, 0, 0, 2, 1, blend));
    SelectObject(sourceDC, old);
    DeleteDC(sourceDC);
}
