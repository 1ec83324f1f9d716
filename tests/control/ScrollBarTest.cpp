// Scroll bars on their own: the geometry of buttons, track and thumb along either axis,
// the clamping of range and position, the attributes, and what they paint.
#include "Along.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "control/ButtonUI.h"
#include "control/ScrollBarUI.h"
#include "render/RenderTestSupport.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;
using RenderTest::Surface;

namespace {

std::vector<LONG> Edges(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

using ScrollBarAlong = Along<::testing::Test>;

INSTANTIATE_TEST_SUITE_P(BothAxes, ScrollBarAlong, ::testing::Bool(), AxisName);

} // namespace

TEST_P(ScrollBarAlong, ButtonsTrackAndThumbFollowLengthRangeAndPosition) {
    struct GeometryCase {
        const char* what;
        int length;
        int range;
        int pos;
        bool button1;
        bool button2;
        // Along the bar; a part 16 thick across it unless it is empty or missing.
        LONG button1Near, button1Far, button2Near, button2Far, thumbNear, thumbFar;
    };
    const GeometryCase cases[] = {
        // Track 184; thumb 184 * 216 / 316 = 125, moving over 59.
        {"middle", 216, 100, 50, true, true, 0, 16, 200, 216, 45, 170},
        {"start", 216, 100, 0, true, true, 0, 16, 200, 216, 16, 141},
        {"end", 216, 100, 100, true, true, 0, 16, 200, 216, 75, 200},
        {"range 0 fills the track", 216, 0, 0, true, true, 0, 16, 200, 216, 16, 200},
        // Thumb 200 * 216 / 316 = 136, moving over 64.
        {"no button 1", 216, 100, 100, false, true, 0, 0, 200, 216, 64, 200},
        {"no button 2", 216, 100, 100, true, false, 0, 16, 216, 216, 80, 216},
        // The thumb keeps the bar's thickness; 32-bit products would wrap here.
        {"range 200,000,000", 216, 200000000, 100000000, true, true, 0, 16, 200, 216, 100, 116},
        {"range and position at the limit", 216, INT_MAX, INT_MAX, true, true, 0, 16, 200, 216, 184,
         200},
        {"no room for a thumb", 20, 100, 50, true, true, 0, 10, 10, 20, 0, 0},
        {"no room, no buttons", 10, 100, 50, false, false, 0, 0, 10, 10, 0, 0},
    };
    for (const GeometryCase& test : cases) {
        CScrollBarUI bar;
        bar.SetHorizontal(!Vertical());
        bar.SetShowButton1(test.button1);
        bar.SetShowButton2(test.button2);
        bar.SetScrollRange(test.range);
        bar.SetScrollPos(test.pos);
        bar.SetPos(Turn(0, 0, test.length, 16));
        // A missing button is an empty rectangle at its end.
        const auto part = [&](LONG nearEdge, LONG farEdge) {
            return Turn(nearEdge, 0, farEdge, nearEdge == farEdge ? 0 : 16);
        };
        EXPECT_EQ(Edges(bar.GetButton1Rect()), Edges(part(test.button1Near, test.button1Far)))
            << test.what;
        EXPECT_EQ(Edges(bar.GetButton2Rect()), Edges(part(test.button2Near, test.button2Far)))
            << test.what;
        const RECT thumb = test.thumbFar == 0 ? RECT{} : Turn(test.thumbNear, 0, test.thumbFar, 16);
        EXPECT_EQ(Edges(bar.GetThumbRect()), Edges(thumb)) << test.what;
    }
}

TEST(ScrollBar, RangeAndPositionStayInBounds) {
    CScrollBarUI bar;
    bar.SetPos(RECT{0, 0, 16, 216});
    bar.SetScrollPos(150);
    EXPECT_EQ(bar.GetScrollPos(), 100) << "above the range";
    bar.SetScrollRange(40);
    EXPECT_EQ(bar.GetScrollPos(), 40) << "a shrinking range pulls the position in";
    EXPECT_EQ(bar.GetThumbRect().bottom, 200) << "and the thumb to the end";
    bar.SetScrollPos(-3);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollRange(-5);
    EXPECT_EQ(bar.GetScrollRange(), 0);
    EXPECT_EQ(Edges(bar.GetThumbRect()), Edges(RECT{0, 16, 16, 200}));

    bar.SetHorizontal(true);
    EXPECT_EQ(bar.GetFixedHeight(), 16) << "a horizontal bar is 16 high";
    EXPECT_EQ(bar.GetFixedWidth(), 0);
    bar.SetHorizontal(false);
    EXPECT_EQ(bar.GetFixedWidth(), 16);
}

TEST(ScrollBar, EveryImageAttributeAndTheSettings) {
    CScrollBarUI bar;
    const wchar_t* parts[] = {L"bk", L"button1", L"button2", L"thumb", L"rail"};
    const wchar_t* states[] = {L"normal", L"hot", L"pushed", L"disabled"};
    for (int p = 0; p < CScrollBarUI::kPartCount; ++p) {
        for (int s = 0; s < CScrollBarUI::kImageStateCount; ++s) {
            const std::wstring name = std::wstring(parts[p]) + states[s] + L"image";
            bar.SetAttribute(name.c_str(), (name + L".png").c_str());
        }
    }
    for (int p = 0; p < CScrollBarUI::kPartCount; ++p) {
        for (int s = 0; s < CScrollBarUI::kImageStateCount; ++s) {
            const std::wstring name = std::wstring(parts[p]) + states[s] + L"image.png";
            EXPECT_EQ(std::wstring(bar.GetPartImage(static_cast<CScrollBarUI::Part>(p),
                                                    static_cast<CScrollBarUI::ImageState>(s))),
                      name);
        }
    }
    EXPECT_EQ(std::wstring(bar.GetBkNormalImage()), L"bknormalimage.png");
    EXPECT_EQ(std::wstring(bar.GetButton2PushedImage()), L"button2pushedimage.png");
    EXPECT_EQ(std::wstring(bar.GetRailDisabledImage()), L"raildisabledimage.png");

    bar.ApplyAttributeList(L"hor=\"true\" linesize=\"3\" range=\"50\" value=\"20\" "
                           L"showbutton1=\"false\" showbutton2=\"false\" thumbimage=\"x\"");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetLineSize(), 3);
    EXPECT_EQ(bar.GetScrollRange(), 50);
    EXPECT_EQ(bar.GetScrollPos(), 20);
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_FALSE(bar.GetShowButton2());
    EXPECT_EQ(std::wstring(bar.GetClass()), L"ScrollBarUI");
    EXPECT_EQ(bar.GetInterface(L"ScrollBar"), &bar);
    EXPECT_EQ(bar.GetInterface(L"Control"), &bar);
}

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kYellow = 0xFFFFFF00;
constexpr DWORD kMagenta = 0xFFFF00FF;
constexpr DWORD kCyan = 0xFF00FFFF;
constexpr DWORD kGrey = 0xFF808080;
constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kFallback = 0xFF85E4FF;

// A manager without a window whose image cache holds one opaque 4 x 4 bitmap per colour,
// and a 20 x 220 surface (turned for horizontal bars) to paint a bar on.
class ScrollBarPaint : public Along<::testing::Test> {
protected:
    void SetUp() override {
        const struct {
            const wchar_t* name;
            DWORD color;
        } images[] = {{L"blue", kBlue},     {L"green", kGreen},     {L"red", kRed},
                      {L"yellow", kYellow}, {L"magenta", kMagenta}, {L"cyan", kCyan},
                      {L"grey", kGrey},     {L"black", kBlack}};
        for (const auto& image : images) {
            RenderTest::Bitmap solid(4, 4, RenderTest::Solid(4, 4, image.color));
            HBITMAP copy = static_cast<HBITMAP>(
                ::CopyImage(solid.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            ASSERT_NE(manager.AddImage(image.name, copy, 4, 4, false), nullptr);
        }
        const SIZE size = Turn(220, 20);
        surface = std::make_unique<Surface>(size.cx, size.cy, kWhite, 24);
    }
    // A 216-long bar with range 100 at position 50 (thumb 45..170, rail 99..115) placed at
    // (2, 2) on the surface.
    void Place(CScrollBarUI& bar, const wchar_t* attributes) {
        bar.SetHorizontal(!Vertical());
        bar.ApplyAttributeList(attributes);
        bar.SetManager(&manager, nullptr, false);
        bar.SetScrollPos(50);
        bar.SetPos(Turn(2, 2, 218, 18));
    }
    void Paint(CScrollBarUI& bar) {
        surface->Fill(kWhite);
        bar.DoPaint(surface->dc(), surface->rect());
    }
    // A pixel at a place along the bar (relative to it) and across it.
    DWORD At(LONG along, LONG across = 8) const {
        const POINT point = Along::At(2 + along, 2 + across);
        return surface->Pixel(point.x, point.y);
    }
    void Event(CScrollBarUI& bar, int type, LONG along) {
        TEventUI event;
        event.type = type;
        event.mousePos = Along::At(2 + along, 10);
        bar.Event(event);
    }

    CPaintManagerUI manager;
    std::unique_ptr<Surface> surface;
};

INSTANTIATE_TEST_SUITE_P(BothAxes, ScrollBarPaint, ::testing::Bool(), AxisName);

const wchar_t* const kAllImages =
    L"bknormalimage=\"grey\" bkhotimage=\"black\" bkdisabledimage=\"black\" "
    L"button1normalimage=\"blue\" button1hotimage=\"cyan\" button1disabledimage=\"black\" "
    L"button2normalimage=\"green\" button2hotimage=\"cyan\" button2disabledimage=\"black\" "
    L"thumbnormalimage=\"red\" thumbhotimage=\"magenta\" thumbpushedimage=\"cyan\" "
    L"thumbdisabledimage=\"black\" railnormalimage=\"yellow\" raildisabledimage=\"black\"";

} // namespace

TEST_P(ScrollBarPaint, EachPartShowsItsImageWhereTheGeometrySaysInEveryState) {
    CScrollBarUI bar;
    Place(bar, kAllImages);
    Paint(bar);
    const struct {
        LONG along;
        DWORD color;
        const char* what;
    } normal[] = {{0, kBlue, "button 1"},    {15, kBlue, "button 1"},  {16, kGrey, "track"},
                  {44, kGrey, "track"},      {45, kRed, "thumb"},      {98, kRed, "thumb"},
                  {99, kYellow, "rail"},     {114, kYellow, "rail"},   {115, kRed, "thumb"},
                  {169, kRed, "thumb"},      {170, kGrey, "track"},    {199, kGrey, "track"},
                  {200, kGreen, "button 2"}, {215, kGreen, "button 2"}};
    for (const auto& point : normal)
        EXPECT_EQ(At(point.along), point.color) << point.what << " at " << point.along;
    EXPECT_EQ(At(216), kWhite) << "nothing past the bar";
    EXPECT_EQ(At(50, 16), kWhite) << "nothing beside the bar";

    // Over the thumb: both buttons, the thumb and the background are hot.
    Event(bar, UIEVENT_MOUSEENTER, 60);
    Paint(bar);
    EXPECT_EQ(At(8), kCyan);
    EXPECT_EQ(At(208), kCyan);
    EXPECT_EQ(At(60), kMagenta);
    EXPECT_EQ(At(30), kBlack) << "the background follows the thumb's state";
    EXPECT_EQ(At(107), kYellow) << "a rail without a hot image falls back to its normal one";

    // Pressed on the thumb: a pushed background has no image, so the normal one shows.
    Event(bar, UIEVENT_BUTTONDOWN, 60);
    Paint(bar);
    EXPECT_EQ(At(60), kCyan);
    EXPECT_EQ(At(30), kGrey);
    Event(bar, UIEVENT_BUTTONUP, 60);
    Event(bar, UIEVENT_MOUSELEAVE, 300);
    Paint(bar);
    EXPECT_EQ(At(8), kBlue);
    EXPECT_EQ(At(60), kRed);

    bar.SetEnabled(false);
    Paint(bar);
    for (LONG along : {8, 30, 60, 107, 208})
        EXPECT_EQ(At(along), kBlack) << "disabled at " << along;
    EXPECT_EQ(bar.GetThumbState() & ~UISTATE_DISABLED, 0u);
}

TEST_P(ScrollBarPaint, PartsWithoutImagesAreOutlinedAndMissingPartsAreNotPainted) {
    CScrollBarUI bar;
    Place(bar, L"");
    Paint(bar);
    // Outlines 2 wide inside each button and the thumb; nothing inside them or elsewhere.
    for (LONG along : {0, 1, 14, 15, 200, 215, 45, 46, 168, 169})
        EXPECT_EQ(At(along, 8), kFallback) << along;
    for (LONG across : {0, 1, 14, 15})
        EXPECT_EQ(At(8, across), kFallback) << across;
    for (LONG along : {8, 30, 100, 185, 208})
        EXPECT_EQ(At(along, 8), kWhite) << along;

    // Hidden buttons and a bar too short for its thumb paint no outline there.
    CScrollBarUI bare;
    Place(bare, L"showbutton1=\"false\" thumbnormalimage=\"red\" railnormalimage=\"yellow\"");
    Paint(bare);
    EXPECT_EQ(At(0, 0), kWhite) << "no outline where button 1 would be";
    EXPECT_EQ(At(32), kRed) << "the thumb, 136 long, moves over 64 from the bar's start";
    EXPECT_EQ(At(31), kWhite);
    EXPECT_EQ(At(215, 0), kFallback) << "button 2 is still there";
    CScrollBarUI shortBar;
    Place(shortBar, L"thumbnormalimage=\"red\" railnormalimage=\"yellow\"");
    shortBar.SetPos(Turn(2, 2, 22, 18));
    Paint(shortBar);
    EXPECT_EQ(At(0, 0), kFallback);
    EXPECT_EQ(At(10, 0), kFallback) << "button 2 takes the second half";
    int thumbOrRail = 0;
    for (DWORD pixel : surface->Pixels())
        thumbOrRail += pixel == kRed || pixel == kYellow ? 1 : 0;
    EXPECT_EQ(thumbOrRail, 0) << "neither thumb nor rail";
}
