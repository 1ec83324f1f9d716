// Nine-grid image drawing: fixed corners and stretched edges, hole, partial repaints,
// tiling, fading and per-pixel alpha, through the system's AlphaBlend and the built-in one.

#include "render/RenderEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "RenderTestSupport.h"
#include "support/BoundedCost.h"

using SkinUI::CRenderEngine;
using namespace RenderTest;

namespace {

constexpr DWORD kBackground = 0xFF202020;
const RECT kNoCorners = {0, 0, 0, 0};

// Colours of the nine cells of a 30 × 30 grid bitmap with 10-pixel borders, row by row.
const DWORD kCellColors[9] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, //
                              0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, //
                              0xFF800000, 0xFF008000, 0xFF000080};

std::vector<DWORD> GridPixels() {
    std::vector<DWORD> pixels;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            pixels.push_back(kCellColors[(y / 10) * 3 + x / 10]);
    return pixels;
}

// How an image gets drawn: opaque copies (onto a surface without alpha: on one with alpha
// opaque images are blended too), or blended by the system or by the built-in blend.
enum class Path { Opaque, SystemBlend, SoftwareBlend };

class DrawImagePaths : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override { CRenderEngine::SetSystemBlending(GetParam() != Path::SoftwareBlend); }
    void TearDown() override { CRenderEngine::SetSystemBlending(true); }
    bool Blended() const { return GetParam() != Path::Opaque; }
    int Bits() const { return GetParam() == Path::Opaque ? 24 : 32; }
};

// The nine cells of `dest` with `corners` of 10 hold their grid colours.
void ExpectGrid(const Surface& surface, const RECT& d, bool hole = false) {
    const int xs[4] = {d.left, d.left + 10, d.right - 10, d.right};
    const int ys[4] = {d.top, d.top + 10, d.bottom - 10, d.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const RECT cell = {xs[column], ys[row], xs[column + 1], ys[row + 1]};
            const DWORD expected =
                hole && row == 1 && column == 1 ? kBackground : kCellColors[row * 3 + column];
            EXPECT_EQ(surface.CountOther(cell, expected), 0) << "cell " << row << "," << column;
        }
    }
}

} // namespace

INSTANTIATE_TEST_SUITE_P(All, DrawImagePaths,
                         ::testing::Values(Path::Opaque, Path::SystemBlend, Path::SoftwareBlend));

TEST_P(DrawImagePaths, CornersKeepTheirSizeWhileEdgesAndMiddleStretch) {
    Bitmap grid(30, 30, GridPixels());
    Surface surface(120, 80, kBackground, Bits());
    const RECT dest = {5, 5, 105, 65};
    const RECT corners = {10, 10, 10, 10};
    CRenderEngine::DrawImage(surface.dc(), grid.get(), dest, surface.rect(), RECT{0, 0, 30, 30},
                             corners, Blended());
    ExpectGrid(surface, dest);
    // Nothing outside the destination.
    EXPECT_EQ(surface.Pixel(4, 4), kBackground);
    EXPECT_EQ(surface.Pixel(105, 65), kBackground);
}

TEST_P(DrawImagePaths, HoleLeavesTheMiddleUnpainted) {
    Bitmap grid(30, 30, GridPixels());
    Surface surface(100, 60, kBackground, Bits());
    CRenderEngine::DrawImage(surface.dc(), grid.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 30, 30}, RECT{10, 10, 10, 10}, Blended(), 255, true);
    ExpectGrid(surface, surface.rect(), true);
}

TEST_P(DrawImagePaths, OnlyCellsMeetingThePaintRectangleAreDrawnAndThenWhole) {
    Bitmap grid(30, 30, GridPixels());
    Surface surface(100, 60, kBackground, Bits());
    const RECT paint = {0, 0, 5, 5};
    CRenderEngine::DrawImage(surface.dc(), grid.get(), surface.rect(), paint, RECT{0, 0, 30, 30},
                             RECT{10, 10, 10, 10}, Blended());
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 10, 10}, kCellColors[0]), 0);
    EXPECT_EQ(surface.CountOther(RECT{10, 0, 100, 60}, kBackground), 0);
    EXPECT_EQ(surface.CountOther(RECT{0, 10, 10, 60}, kBackground), 0);
}

TEST_P(DrawImagePaths, SourceRectangleSelectsPartOfTheBitmap) {
    Bitmap grid(30, 30, GridPixels());
    Surface surface(40, 40, kBackground, Bits());
    // The right column of the grid, stretched without corners.
    CRenderEngine::DrawImage(surface.dc(), grid.get(), RECT{0, 0, 40, 30}, surface.rect(),
                             RECT{20, 0, 30, 30}, kNoCorners, Blended());
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 40, 10}, kCellColors[2]), 0);
    EXPECT_EQ(surface.CountOther(RECT{0, 10, 40, 20}, kCellColors[5]), 0);
    EXPECT_EQ(surface.CountOther(RECT{0, 20, 40, 30}, kCellColors[8]), 0);
    EXPECT_EQ(surface.CountOther(RECT{0, 30, 40, 40}, kBackground), 0);
}

TEST_P(DrawImagePaths, TilesRepeatTheMiddleCutAtTheFarEdge) {
    // 35 × 1: five red columns, a 25-column ramp, five blue columns.
    std::vector<DWORD> strip;
    for (int x = 0; x < 35; ++x) {
        strip.push_back(x < 5 ? 0xFFFF0000 : x >= 30 ? 0xFF0000FF : 0xFF000000 | ((x - 5) * 10));
    }
    Bitmap image(35, 1, strip);
    Surface surface(70, 4, kBackground, Bits());
    // A 60-pixel middle: tiles of 25, 25 and 10 pixels, the last from the first 10 columns.
    CRenderEngine::DrawImage(surface.dc(), image.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 35, 1}, RECT{5, 0, 5, 0}, Blended(), 255, false, true);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 70; ++x) {
            const DWORD expected = x < 5     ? 0xFFFF0000
                                   : x >= 65 ? 0xFF0000FF
                                             : 0xFF000000 | (((x - 5) % 25) * 10);
            ASSERT_EQ(surface.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_P(DrawImagePaths, TilesRepeatVerticallyAndInBothDirections) {
    std::vector<DWORD> column;
    for (int y = 0; y < 4; ++y)
        column.push_back(0xFF000000 | (y * 40) << 8);
    Bitmap tall(1, 4, column);
    Surface surface(6, 10, kBackground, Bits());
    CRenderEngine::DrawImage(surface.dc(), tall.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 1, 4}, kNoCorners, Blended(), 255, false, false, true);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(surface.CountOther(RECT{0, y, 6, y + 1}, column[y % 4]), 0) << y;
    }

    const std::vector<DWORD> tile = {0xFF000001, 0xFF000002, 0xFF000003,
                                     0xFF000004, 0xFF000005, 0xFF000006};
    Bitmap small(3, 2, tile);
    Surface both(8, 5, kBackground, Bits());
    CRenderEngine::DrawImage(both.dc(), small.get(), both.rect(), both.rect(), RECT{0, 0, 3, 2},
                             kNoCorners, Blended(), 255, false, true, true);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(both.Pixel(x, y), tile[(y % 2) * 3 + x % 3]);
}

TEST_P(DrawImagePaths, TilesFarBeyondTheSurfaceCostOnlyTheirVisiblePartWithTheSamePixels) {
    // Each destination reaches far off the 40 × 30 surface (a billion pixels, or a square
    // 200,000 pixels wide); its reference starts just off the surface in the same tile
    // phase, so every visible pixel must come out the same.
    const std::vector<DWORD> tile = {0xFF000001, 0xFF000002, 0xFF000003,
                                     0xFF000004, 0xFF000005, 0xFF000006};
    Bitmap small(3, 2, tile);
    const struct {
        RECT distant;
        RECT close;
        bool xTiled;
        bool yTiled;
    } cases[] = {
        {{-999999999, 0, 40, 2}, {-3, 0, 40, 2}, true, false},
        {{-1000000001, 0, 37, 2}, {-2, 0, 37, 2}, true, false},
        {{5, -1000000000, 8, 29}, {5, -2, 8, 29}, false, true},
        {{-200001, -200000, 40, 30}, {-3, -2, 40, 30}, true, true},
        {{-199999, -200001, 200000, 200000}, {-1, -1, 41, 31}, true, true},
    };
    for (const auto& c : cases) {
        Surface distant(40, 30, kBackground, Bits());
        Surface close(40, 30, kBackground, Bits());
        skintest::FinishesWithin(2, "tiles far beyond the surface", [&] {
            CRenderEngine::DrawImage(distant.dc(), small.get(), c.distant, distant.rect(),
                                     RECT{0, 0, 3, 2}, kNoCorners, Blended(), 255, false, c.xTiled,
                                     c.yTiled);
        });
        CRenderEngine::DrawImage(close.dc(), small.get(), c.close, close.rect(), RECT{0, 0, 3, 2},
                                 kNoCorners, Blended(), 255, false, c.xTiled, c.yTiled);
        EXPECT_EQ(distant.Pixels(), close.Pixels()) << c.distant.left << "," << c.distant.top;
        EXPECT_NE(close.CountOther(close.rect(), kBackground), 0);
    }
}

TEST_P(DrawImagePaths, StretchedFarBeyondTheSurfaceCostsOnlyItsVisiblePart) {
    // Three source pixels of a billion destination pixels each, a billion pixels wide
    // over three pixels, and a stretch down a billion rows: only what falls on the 40 x 30
    // surface is drawn, and it is what the whole stretch would put there.
    const DWORD a = 0xFF0000A0, b = 0xFF00B000, c = 0xFFC00000;
    Bitmap three(3, 1, {a, b, c});
    Bitmap tile(3, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006});
    // One source pixel for every destination pixel along 20,000: the visible part is cut
    // out exactly.
    std::vector<DWORD> ramp(20000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = 0xFF000000 | static_cast<DWORD>(i);
    Bitmap wide(20000, 1, ramp);

    const auto draw = [&](Surface& surface, const Bitmap& bitmap, RECT dest, RECT source) {
        skintest::FinishesWithin(2, "a stretch far beyond the surface", [&] {
            CRenderEngine::DrawImage(surface.dc(), bitmap.get(), dest, surface.rect(), source,
                                     kNoCorners, Blended());
        });
    };
    Surface middle(40, 30, kBackground, Bits());
    draw(middle, three, RECT{-1000000000, 0, 2000000000, 10}, RECT{0, 0, 3, 1});
    EXPECT_EQ(middle.CountOther(RECT{0, 0, 40, 10}, b), 0);
    EXPECT_EQ(middle.CountOther(RECT{0, 10, 40, 30}, kBackground), 0);

    Surface last(40, 30, kBackground, Bits());
    draw(last, three, RECT{-999999990, 0, 10, 30}, RECT{0, 0, 3, 1});
    EXPECT_EQ(last.CountOther(RECT{0, 0, 10, 30}, c), 0);
    EXPECT_EQ(last.CountOther(RECT{10, 0, 40, 30}, kBackground), 0);

    Surface rows(40, 30, kBackground, Bits());
    draw(rows, tile, RECT{0, -1000000000, 3, 1000000000}, RECT{0, 0, 3, 2});
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(rows.CountOther(RECT{x, 0, x + 1, 30}, 0xFF000004u + x), 0) << x;

    Surface ramps(40, 30, kBackground, Bits());
    draw(ramps, wide, RECT{-19960, 0, 40, 1}, RECT{0, 0, 20000, 1});
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(ramps.Pixel(x, 0), 0xFF000000u | static_cast<DWORD>(19960 + x)) << x;
}

TEST_P(DrawImagePaths, ThousandsOfSmallTilesComeOutTileForTile) {
    // Small tiles by the thousand are repeated into a larger pattern first: every pixel
    // must still be the tile's, in the phase of the destination, as far as the tiles reach.
    const std::vector<DWORD> tile = {0xFF000001, 0xFF000002, 0xFF000003,
                                     0xFF000004, 0xFF000005, 0xFF000006};
    Bitmap small(3, 2, tile);
    Surface surface(300, 200, kBackground, Bits());
    const RECT dest = {-1, -1, 290, 195};
    const RECT paint = {0, 0, 280, 200};
    CRenderEngine::DrawImage(surface.dc(), small.get(), dest, paint, RECT{0, 0, 3, 2}, kNoCorners,
                             Blended(), 255, false, true, true);
    // Tiles meeting the paint rectangle are drawn whole: the one from 278 reaches 281.
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            const bool inside = x < 281 && y < 195;
            const DWORD expected = inside ? tile[((y + 1) % 2) * 3 + (x + 1) % 3] : kBackground;
            ASSERT_EQ(surface.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_P(DrawImagePaths, TilesOutsideTheClipRegionAreSkippedWithTheSamePixelsInside) {
    const std::vector<DWORD> tile = {0xFF000001, 0xFF000002, 0xFF000003,
                                     0xFF000004, 0xFF000005, 0xFF000006};
    Bitmap small(3, 2, tile);
    // The paint rectangle is the whole huge destination; only the clip holds it in.
    const RECT dest = {-300000, -200000, 300000, 200000};
    Surface clipped(40, 30, kBackground, Bits());
    IntersectClipRect(clipped.dc(), 7, 4, 31, 23);
    skintest::FinishesWithin(2, "tiles over a clipped surface", [&] {
        CRenderEngine::DrawImage(clipped.dc(), small.get(), dest, dest, RECT{0, 0, 3, 2},
                                 kNoCorners, Blended(), 255, false, true, true);
    });
    SelectClipRgn(clipped.dc(), nullptr);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 7 && x < 31 && y >= 4 && y < 23;
            // -300000 and -200000 are whole tiles away from 0.
            const DWORD expected = inside ? tile[(y % 2) * 3 + x % 3] : kBackground;
            ASSERT_EQ(clipped.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_P(DrawImagePaths, AMiddleWithoutAreaIsSkippedNotDividedByOrMirrored) {
    Bitmap grid(30, 30, GridPixels());
    for (const int border : {15, 20}) { // middle 0 and −10 pixels wide and high
        Surface surface(100, 60, kBackground, Bits());
        const RECT corners = {border, border, border, border};
        for (const bool tiled : {false, true}) {
            CRenderEngine::DrawImage(surface.dc(), grid.get(), surface.rect(), surface.rect(),
                                     RECT{0, 0, 30, 30}, corners, Blended(), 255, false, tiled,
                                     tiled);
            EXPECT_EQ(
                surface.CountOther(RECT{border, border, 100 - border, 60 - border}, kBackground),
                0);
            EXPECT_EQ(surface.Pixel(0, 0), kCellColors[0]);
            EXPECT_EQ(surface.Pixel(99, 59), kCellColors[8]);
        }
    }
}

TEST(DrawImage, AnUnscaledOpaqueImageCopiesOnlyTheRepaintedPart) {
    std::vector<DWORD> pixels;
    for (int i = 0; i < 16; ++i)
        pixels.push_back(0xFF000000 | i);
    Bitmap image(4, 4, pixels);
    Surface surface(12, 12, kBackground);
    const RECT dest = {5, 5, 9, 9};
    const RECT paint = {6, 6, 8, 20};
    CRenderEngine::DrawImage(surface.dc(), image.get(), dest, paint, RECT{0, 0, 4, 4}, kNoCorners,
                             false);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool copied = x >= 6 && x < 8 && y >= 6 && y < 9;
            const DWORD expected = copied ? pixels[(y - 5) * 4 + (x - 5)] : kBackground;
            EXPECT_EQ(surface.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(DrawImage, OpaqueImagesStayOpaqueOnSurfacesWithAlpha) {
    // A layered window's bitmap starts out transparent; stretched cells must not punch
    // holes into it.
    Bitmap grid(30, 30, GridPixels());
    for (const bool bottomUp : {false, true}) {
        Surface surface(100, 60, 0, 32, bottomUp);
        CRenderEngine::DrawImage(surface.dc(), grid.get(), surface.rect(), surface.rect(),
                                 RECT{0, 0, 30, 30}, RECT{10, 10, 10, 10}, false);
        ExpectGrid(surface, surface.rect());
    }
}

TEST(DrawImage, NothingForANullBitmapOrDeviceContext) {
    Surface surface(4, 4, kBackground);
    CRenderEngine::DrawImage(surface.dc(), nullptr, surface.rect(), surface.rect(), surface.rect(),
                             kNoCorners, true);
    Bitmap image(1, 1, {0xFFFFFFFF});
    CRenderEngine::DrawImage(nullptr, image.get(), surface.rect(), surface.rect(), surface.rect(),
                             kNoCorners, true);
    EXPECT_EQ(surface.CountOther(surface.rect(), kBackground), 0);
}

// ---------------------------------------------------------------------------
// Fading and per-pixel alpha, with either blend

class DrawImageBlends : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { CRenderEngine::SetSystemBlending(GetParam()); }
    void TearDown() override { CRenderEngine::SetSystemBlending(true); }
};

INSTANTIATE_TEST_SUITE_P(SystemAndSoftware, DrawImageBlends, ::testing::Bool());

TEST_P(DrawImageBlends, FadeBlendsAnOpaqueImage) {
    Bitmap red(2, 2, Solid(2, 2, 0xFFFF0000));
    Surface surface(4, 4, 0xFF000000);
    CRenderEngine::DrawImage(surface.dc(), red.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 2, 2}, kNoCorners, false, 128);
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 1), 0xFF800000));
    Surface white(4, 4, 0xFFFFFFFF);
    CRenderEngine::DrawImage(white.dc(), red.get(), white.rect(), white.rect(), RECT{0, 0, 2, 2},
                             kNoCorners, false, 128);
    EXPECT_TRUE(PixelNear(white.Pixel(1, 1), 0xFFFF7F7F));
    // Fade 0 leaves the target as it was.
    CRenderEngine::DrawImage(surface.dc(), red.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 2, 2}, kNoCorners, false, 0);
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 1), 0xFF800000));
}

TEST_P(DrawImageBlends, PerPixelAlphaIsPremultipliedSourceOver) {
    // Half red, transparent, opaque green, quarter white; premultiplied.
    Bitmap image(2, 2, {0x80800000, 0x00000000, 0xFF00FF00, 0x40404040});
    Surface surface(2, 2, 0xFFFFFFFF);
    CRenderEngine::DrawImage(surface.dc(), image.get(), surface.rect(), surface.rect(),
                             RECT{0, 0, 2, 2}, kNoCorners, true);
    EXPECT_TRUE(PixelNear(surface.Pixel(0, 0), 0xFFFF7F7F));
    EXPECT_EQ(surface.Pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(surface.Pixel(0, 1), 0xFF00FF00u);
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 1), 0xFFFFFFFF));

    // Onto a transparent layered surface the result stays valid premultiplied colour.
    Surface clear(2, 2, 0x00000000);
    CRenderEngine::DrawImage(clear.dc(), image.get(), clear.rect(), clear.rect(), RECT{0, 0, 2, 2},
                             kNoCorners, true, 128);
    EXPECT_TRUE(PixelNear(clear.Pixel(0, 0), 0x40400000));
    EXPECT_TRUE(PixelNear(clear.Pixel(0, 1), 0x80008000));
    EXPECT_EQ(clear.Pixel(1, 0), 0u);
}
