// Scroll bars driven by real mouse messages through a paint manager, along either axis:
// clicks, page steps, thumb drags, held buttons and track, the owner container scrolled
// and "scroll" from a bar without owner.
#include "Along.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "control/ButtonUI.h"
#include "control/ContainerUI.h"
#include "control/ScrollBarUI.h"

using namespace SkinUI;

namespace {

// Runs the message loop for a while.
void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        skintest::PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    skintest::PumpMessages();
}

class ScrollBarInput : public Along<HostedTree> {
protected:
    // A bar without owner, 216 long and 16 thick at (10, 10) along and across, with a
    // range of 1000: buttons 16 long, a track of 184 and a thumb of 32 that moves over 152.
    CScrollBarUI* HostStandalone(const wchar_t* attributes = L"range=\"1000\"") {
        auto* root = new skintest::TestContainer(L"root");
        auto* bar = new CScrollBarUI;
        bar->SetHorizontal(!Vertical());
        bar->ApplyAttributeList(attributes);
        const SIZE size = Turn(216, 16);
        root->Add(bar, 10, 10, size.cx, size.cy);
        Host(root);
        return bar;
    }
    // Mouse messages at a place along a standalone bar (relative to it), in its middle.
    void Down(LONG along, LONG across = 18) { Message(WM_LBUTTONDOWN, along, across); }
    void Move(LONG along, LONG across = 18) { Message(WM_MOUSEMOVE, along, across); }
    void Up(LONG along, LONG across = 18) { Message(WM_LBUTTONUP, along, across); }
    void Click(LONG along) {
        Down(along);
        Up(along);
    }
    void Message(UINT message, LONG along, LONG across) {
        const POINT point = At(10 + along, across);
        Send(message, point.x, point.y);
    }
    int Notifications(const wchar_t* type) const {
        int count = 0;
        for (const std::wstring& seen : host->notifications)
            count += seen == type ? 1 : 0;
        return count;
    }
    LONG ThumbNear(const CScrollBarUI& bar) const { return NearAlong(bar.GetThumbRect()) - 10; }
};

INSTANTIATE_TEST_SUITE_P(BothAxes, ScrollBarInput, ::testing::Bool(), AxisName);

} // namespace

TEST_P(ScrollBarInput, ButtonsAndTrackStepABarWithoutOwnerThatSaysScroll) {
    CScrollBarUI* bar = HostStandalone();
    ASSERT_EQ(ThumbNear(*bar), 16);
    Down(208);
    EXPECT_EQ(bar->GetScrollPos(), 8) << "one line forward";
    EXPECT_NE(bar->GetButton2State() & UISTATE_PUSHED, 0u);
    Up(208);
    EXPECT_EQ(bar->GetButton2State() & UISTATE_PUSHED, 0u);
    Click(8);
    EXPECT_EQ(bar->GetScrollPos(), 0) << "one line back";
    Click(150);
    EXPECT_EQ(bar->GetScrollPos(), 216) << "a page forward is the bar's length";
    EXPECT_EQ(ThumbNear(*bar), 16 + 216 * 152 / 1000);
    Click(150);
    EXPECT_EQ(bar->GetScrollPos(), 432);
    Click(30);
    EXPECT_EQ(bar->GetScrollPos(), 216) << "a click before the thumb pages back";
    EXPECT_EQ(Notifications(L"scroll"), 5);
    for (size_t i = 0; i < host->notifications.size(); ++i)
        if (host->notifications[i] == L"scroll") {
            EXPECT_EQ(host->senders[i], bar);
        }

    bar->SetEnabled(false);
    Click(208);
    EXPECT_EQ(bar->GetScrollPos(), 216) << "a disabled bar ignores presses";
    EXPECT_EQ(Notifications(L"scroll"), 5);
}

TEST_P(ScrollBarInput, TheThumbDragsToBothEnds) {
    CScrollBarUI* bar = HostStandalone();
    // Released before the repeat timer has applied the move: the drag still lands.
    Down(30);
    EXPECT_EQ(bar->GetThumbState() & (UISTATE_PUSHED | UISTATE_CAPTURED),
              UISTATE_PUSHED | UISTATE_CAPTURED);
    Move(500);
    Up(500);
    EXPECT_EQ(bar->GetScrollPos(), 1000);
    EXPECT_EQ(ThumbNear(*bar), 168) << "the thumb ends at button 2";
    EXPECT_EQ(bar->GetThumbState() & (UISTATE_PUSHED | UISTATE_CAPTURED), 0u);
    Down(180);
    Move(-300);
    Up(-300);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(ThumbNear(*bar), 16);

    // Held: the timer applies the drag while the button is down.
    Down(30);
    Move(30 + 76);
    EXPECT_TRUE(skintest::PumpUntil([bar] { return bar->GetScrollPos() != 0; }));
    EXPECT_EQ(bar->GetScrollPos(), 500) << "half the thumb's travel";
    Move(30 + 38);
    EXPECT_TRUE(skintest::PumpUntil([bar] { return bar->GetScrollPos() != 500; }));
    EXPECT_EQ(bar->GetScrollPos(), 250) << "measured from where the drag started";
    Up(30 + 38);
    EXPECT_EQ(bar->GetScrollPos(), 250);
    EXPECT_EQ(Notifications(L"scroll"), 3 + 2 + 2) << "a press each, and one per change";
}

TEST_P(ScrollBarInput, TheThumbStaysUnderThePointerForHugeRangesAndWithoutButtons) {
    // A 16-long thumb over a travel of 168; position times travel passes 32 bits.
    CScrollBarUI* bar = HostStandalone(L"range=\"200000000\"");
    ASSERT_EQ(ThumbNear(*bar), 16);
    Down(24);
    Move(24 + 84);
    Up(24 + 84);
    EXPECT_EQ(bar->GetScrollPos(), 100000000);
    EXPECT_EQ(ThumbNear(*bar), 100);
    Down(108);
    Move(108 + 84);
    Up(108 + 84);
    EXPECT_EQ(bar->GetScrollPos(), 200000000);
    EXPECT_EQ(ThumbNear(*bar), 184);

    // Without buttons the thumb (147 long) travels over the whole rest of the bar, 69.
    bar->ApplyAttributeList(L"range=\"100\" value=\"0\" showbutton1=\"false\" "
                            L"showbutton2=\"false\"");
    ASSERT_EQ(ThumbNear(*bar), 0);
    Down(50);
    Move(50 + 23);
    Up(50 + 23);
    EXPECT_EQ(bar->GetScrollPos(), 23 * 100 / 69);
    EXPECT_GE(ThumbNear(*bar), 22) << "the thumb moved as far as the pointer";
    EXPECT_LE(ThumbNear(*bar), 23);
}

TEST_P(ScrollBarInput, AHeldButtonRepeatsFromTheSixthTickUntilReleased) {
    CScrollBarUI* bar = HostStandalone();
    Down(208);
    EXPECT_EQ(bar->GetScrollPos(), 8);
    PumpFor(150);
    EXPECT_EQ(bar->GetScrollPos(), 8) << "no repeat within the first five ticks";
    EXPECT_TRUE(skintest::PumpUntil([bar] { return bar->GetScrollPos() >= 32; }));
    Up(208);
    const int released = bar->GetScrollPos();
    PumpFor(300);
    EXPECT_EQ(bar->GetScrollPos(), released) << "the release stops the repeat";
    EXPECT_EQ(Notifications(L"scroll"), released / 8) << "one per step";

    // Disabling the bar while its button is held stops the repeat too.
    Down(8);
    bar->SetEnabled(false);
    const int disabled = bar->GetScrollPos();
    PumpFor(400);
    EXPECT_EQ(bar->GetScrollPos(), disabled);
    Up(8);
}

TEST_P(ScrollBarInput, AHeldTrackPagesUntilTheThumbReachesThePointer) {
    CScrollBarUI* bar = HostStandalone();
    // The held track follows the real pointer: put it where the press is.
    POINT point = At(10 + 170, 18);
    ::ClientToScreen(host->GetHWND(), &point);
    ::SetCursorPos(point.x, point.y);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (cursor.x != point.x || cursor.y != point.y) GTEST_SKIP() << "the pointer cannot be moved";

    Down(170);
    EXPECT_EQ(bar->GetScrollPos(), 216);
    // Pages of 216 move the thumb by 32: it covers 170 after the fourth.
    EXPECT_TRUE(skintest::PumpUntil([bar] { return bar->GetScrollPos() == 864; }));
    PumpFor(300);
    EXPECT_EQ(bar->GetScrollPos(), 864) << "no step while the pointer is on the thumb";
    EXPECT_LE(ThumbNear(*bar), 170);
    EXPECT_GT(ThumbNear(*bar) + 32, 170);
    Up(170);
}

TEST_P(ScrollBarInput, ABarScrollsItsContainer) {
    CContainerUI* root = NewLayout();
    root->EnableScrollBar(Vertical(), !Vertical());
    std::vector<CControlUI*> children;
    for (int i = 0; i < 5; ++i) {
        auto* child = new CControlUI;
        SetSizes(*child, 200);
        root->Add(child);
        children.push_back(child);
    }
    Host(root);
    CScrollBarUI* bar = Vertical() ? root->GetVerticalScrollBar() : root->GetHorizontalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    ASSERT_EQ(bar->GetScrollRange(), 700) << "1000 of content in 300";
    // The bar lies along the far edge: 284..300 across; its thumb is 268 * 300 / 1000 long.
    ASSERT_EQ(NearAlong(bar->GetThumbRect()), 16);
    ASSERT_EQ(FarAlong(bar->GetThumbRect()), 16 + 80);
    const auto press = [this](UINT message, LONG along) {
        const POINT point = At(along, 292);
        Send(message, point.x, point.y);
    };
    const auto click = [&](LONG along) {
        press(WM_LBUTTONDOWN, along);
        press(WM_LBUTTONUP, along);
    };
    const auto scrolled = [&] { return AlongOf(root->GetScrollPos()); };
    const TFontInfo* font = host->manager.GetDefaultFontInfo();
    const LONG line = Vertical() ? font->metrics.tmHeight + 8 : 8;

    click(292);
    EXPECT_EQ(scrolled(), line) << "button 2 is the owner's line step";
    EXPECT_EQ(NearAlong(children[0]->GetPos()), -line) << "and the children move";
    click(8);
    EXPECT_EQ(scrolled(), 0);
    click(200);
    EXPECT_EQ(scrolled(), 300) << "the track pages by the owner's client length";
    EXPECT_EQ(bar->GetScrollPos(), 300);

    const LONG thumb = NearAlong(bar->GetThumbRect()) + 10;
    press(WM_LBUTTONDOWN, thumb);
    press(WM_MOUSEMOVE, thumb + 500);
    press(WM_LBUTTONUP, thumb + 500);
    EXPECT_EQ(scrolled(), 700);
    EXPECT_EQ(NearAlong(children[0]->GetPos()), -700);
    EXPECT_EQ(FarAlong(children[4]->GetPos()), 300) << "the last child ends at the end";

    // The wheel over the bar is the owner's.
    POINT screen = At(150, 292);
    ::ClientToScreen(host->GetHWND(), &screen);
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(scrolled(), 700 - line);
    EXPECT_EQ(Notifications(L"scroll"), 0) << "an owned bar reports nothing";
}
