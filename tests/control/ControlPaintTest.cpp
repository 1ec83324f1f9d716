// The base paint steps of a control: background colour and gradients, and the border
// rules, read back from memory surfaces.
#include "control/ControlUI.h"
#include "render/RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using RenderTest::PixelNear;
using RenderTest::Surface;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;

// A control over (0,0,cx,cy) with the given attributes.
struct Placed : CControlUI {
    Placed(const wchar_t* attributes, int cx = 20, int cy = 20) {
        ApplyAttributeList(attributes);
        SetPos(RECT{0, 0, cx, cy});
    }
    void Focus() {
        TEventUI event;
        event.type = UIEVENT_SETFOCUS;
        Event(event);
    }
};

} // namespace

TEST(ControlPaint, OpaqueColourFillsThePaintRectTranslucentTheWholeItem) {
    Surface surface(20, 20, kWhite, 24);
    Placed opaque(L"bkcolor=\"#FF0000FF\"");
    opaque.DoPaint(surface.dc(), RECT{0, 0, 10, 20});
    EXPECT_EQ(surface.Pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(surface.Pixel(15, 5), kWhite);
    Placed translucent(L"bkcolor=\"#80000000\"");
    translucent.DoPaint(surface.dc(), RECT{0, 0, 10, 20});
    EXPECT_TRUE(PixelNear(surface.Pixel(15, 5), 0xFF7F7F7F));
}

TEST(ControlPaint, ThreeColourGradientMeetsTheSecondColourMidway) {
    Surface surface(4, 40, kWhite, 24);
    Placed three(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"", 4, 40);
    three.DoPaint(surface.dc(), surface.rect());
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 0), 0xFFFF0000, 16));
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 20), 0xFF00FF00, 16)) << "second colour mid-way";
    EXPECT_TRUE(PixelNear(surface.Pixel(1, 39), 0xFF0000FF, 16));
}

TEST(ControlPaint, BorderRules) {
    // Per-side lines win over the plain border of an unfocused control.
    Surface sides(20, 20, kWhite, 24);
    Placed perSide(L"bordercolor=\"#FFFF0000\" bordersize=\"1\" leftbordersize=\"2\"");
    perSide.DoPaint(sides.dc(), sides.rect());
    EXPECT_EQ(sides.Pixel(0, 10), 0xFFFF0000u);
    EXPECT_EQ(sides.Pixel(19, 10), kWhite);
    EXPECT_EQ(sides.Pixel(10, 0), kWhite);

    // Focused with a focus colour: the focus rectangle, per-side sizes or not.
    Surface focus(20, 20, kWhite, 24);
    perSide.SetFocusBorderColor(0xFF00FF00);
    perSide.Focus();
    perSide.DoPaint(focus.dc(), focus.rect());
    EXPECT_EQ(focus.Pixel(19, 10), 0xFF00FF00u);
    EXPECT_EQ(focus.Pixel(10, 0), 0xFF00FF00u);

    // A border whose colour is 0 is no border, even when a focus colour is set.
    Surface none(20, 20, kWhite, 24);
    Placed unfocused(L"focusbordercolor=\"#FF00FF00\" bordersize=\"1\"");
    unfocused.DoPaint(none.dc(), none.rect());
    EXPECT_EQ(none.CountOther(none.rect(), kWhite), 0);

    // A round border is drawn inside a round clip: the very corner stays untouched.
    Surface round(20, 20, kWhite, 24);
    Placed rounded(L"bordercolor=\"#FF0000FF\" bordersize=\"1\" borderround=\"10,10\"");
    rounded.DoPaint(round.dc(), round.rect());
    EXPECT_EQ(round.Pixel(0, 0), kWhite);
    EXPECT_EQ(round.Pixel(10, 0), 0xFF0000FFu);
}
