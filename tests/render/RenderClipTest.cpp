// Clip guards: rectangles and rounded rectangles, restoring on scope exit, nesting, painting
// outside for a while, and device contexts with a moved origin.

#include "render/RenderClip.h"
#include "render/RenderEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "RenderTestSupport.h"

using SkinUI::CRenderClip;
using SkinUI::CRenderEngine;
using namespace RenderTest;

namespace {

constexpr DWORD kBackground = 0xFF000000;
constexpr DWORD kPaint = 0xFFFFFFFF;

// Paints the whole surface through whatever clip is in force.
void PaintAll(Surface& surface) {
    RECT everything = {-1000, -1000, 1000, 1000};
    CRenderEngine::DrawColor(surface.dc(), everything, kPaint);
}

// The painted pixels are exactly those inside `area`.
::testing::AssertionResult PaintedExactly(const Surface& surface, const RECT& area) {
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const POINT point = {x, y};
            const DWORD expected = PtInRect(&area, point) ? kPaint : kBackground;
            if (surface.Pixel(x, y) != expected) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << Hex(surface.Pixel(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

bool HasClipRegion(HDC hDC) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetClipRgn(hDC, region) == 1;
    DeleteObject(region);
    return has;
}

} // namespace

TEST(RenderClip, ClipsToTheRectangleWhileTheGuardLives) {
    Surface surface(20, 20, kBackground);
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(surface.dc(), RECT{3, 4, 10, 12}, clip);
        EXPECT_EQ(clip.GetItemRect().left, 3);
        PaintAll(surface);
        EXPECT_TRUE(PaintedExactly(surface, RECT{3, 4, 10, 12}));
    }
    // Gone with the guard: no clip region is left behind.
    EXPECT_FALSE(HasClipRegion(surface.dc()));
    PaintAll(surface);
    EXPECT_TRUE(PaintedExactly(surface, surface.rect()));
}

TEST(RenderClip, NestedGuardsIntersectAndRestoreTheExactOuterClip) {
    Surface surface(40, 40, kBackground);
    CRenderClip outer;
    CRenderClip::GenerateRoundClip(surface.dc(), surface.rect(), surface.rect(), 20, 20, outer);
    {
        CRenderClip inner;
        CRenderClip::GenerateClip(surface.dc(), RECT{10, 10, 50, 20}, inner);
        PaintAll(surface);
        // Only inside both.
        EXPECT_EQ(surface.CountOther(RECT{10, 10, 40, 20}, kPaint), 0);
        EXPECT_EQ(surface.Pixel(9, 15), kBackground);
        EXPECT_EQ(surface.Pixel(15, 20), kBackground);
    }
    surface.Fill(kBackground);
    PaintAll(surface);
    // The rounded corners are still clipped after the inner guard has ended.
    EXPECT_EQ(surface.Pixel(0, 0), kBackground);
    EXPECT_EQ(surface.Pixel(39, 39), kBackground);
    EXPECT_EQ(surface.Pixel(20, 20), kPaint);
    EXPECT_EQ(surface.Pixel(0, 20), kPaint);
}

TEST(RenderClip, RoundClipCornersAndTheOnePixelWiderItem) {
    Surface surface(30, 30, kBackground);
    {
        // With no rounding: the rectangle ∩ the item. (The rounded region is made one pixel
        // larger at the right and bottom because such regions leave out their last pixel.)
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(surface.dc(), RECT{0, 0, 30, 30}, RECT{5, 5, 20, 20}, 0, 0,
                                       clip);
        PaintAll(surface);
        EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 20, 20}));
    }
    surface.Fill(kBackground);
    {
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(surface.dc(), RECT{0, 0, 12, 30}, RECT{5, 5, 20, 20}, 0, 0,
                                       clip);
        PaintAll(surface);
        EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 12, 20}));
    }
    surface.Fill(kBackground);
    {
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(surface.dc(), surface.rect(), surface.rect(), 12, 12, clip);
        PaintAll(surface);
        EXPECT_EQ(surface.Pixel(0, 0), kBackground);
        EXPECT_EQ(surface.Pixel(29, 0), kBackground);
        EXPECT_EQ(surface.Pixel(0, 29), kBackground);
        EXPECT_EQ(surface.Pixel(15, 0), kPaint);
        EXPECT_EQ(surface.Pixel(15, 15), kPaint);
    }
}

TEST(RenderClip, OldClipCanBeUsedForAWhile) {
    Surface surface(20, 20, kBackground);
    CRenderClip outer;
    CRenderClip::GenerateClip(surface.dc(), RECT{0, 0, 15, 15}, outer);
    CRenderClip inner;
    CRenderClip::GenerateClip(surface.dc(), RECT{5, 5, 10, 10}, inner);
    CRenderClip::UseOldClipBegin(surface.dc(), inner);
    PaintAll(surface);
    EXPECT_TRUE(PaintedExactly(surface, RECT{0, 0, 15, 15})); // the outer clip, not none
    CRenderClip::UseOldClipEnd(surface.dc(), inner);
    surface.Fill(kBackground);
    PaintAll(surface);
    EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 10, 10}));
}

TEST(RenderClip, GeneratingAgainGivesTheEarlierClipBackFirst) {
    Surface surface(20, 20, kBackground);
    CRenderClip clip;
    CRenderClip::GenerateClip(surface.dc(), RECT{0, 0, 10, 10}, clip);
    CRenderClip::GenerateClip(surface.dc(), RECT{5, 5, 20, 20}, clip);
    PaintAll(surface);
    EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 20, 20}));
}

TEST(RenderClip, WorksInLogicalCoordinatesOfAMovedOrigin) {
    Surface surface(20, 20, kBackground);
    SetWindowOrgEx(surface.dc(), -5, -5, nullptr); // logical (0,0) is pixel (5,5)
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(surface.dc(), RECT{0, 0, 4, 4}, clip);
        PaintAll(surface);
        EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 9, 9}));
    }
    surface.Fill(kBackground);
    {
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(surface.dc(), RECT{0, 0, 20, 20}, RECT{0, 0, 4, 4}, 0, 0,
                                       clip);
        PaintAll(surface);
        EXPECT_TRUE(PaintedExactly(surface, RECT{5, 5, 9, 9}));
    }
}
