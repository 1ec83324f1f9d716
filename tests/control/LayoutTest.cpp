// Layouts: stacking, tiles, tab pages, the draggable separator and child layouts.
#include "Along.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "control/ChildLayoutUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/ScrollBarUI.h"
#include "control/TabLayoutUI.h"
#include "control/TileLayoutUI.h"
#include "control/VerticalLayoutUI.h"

using namespace SkinUI;

namespace {

std::vector<LONG> Edges(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

CControlUI* Sized(int cx, int cy) {
    auto* control = new CControlUI;
    control->SetFixedWidth(cx);
    control->SetFixedHeight(cy);
    return control;
}

} // namespace

using StackAlong = Along<::testing::Test>;
INSTANTIATE_TEST_SUITE_P(BothAxes, StackAlong, ::testing::Bool(), AxisName);

TEST_P(StackAlong, PlacesChildrenExactly) {
    struct Child {
        int size;       // along the axis; 0 shares the free space
        RECT padding{}; // near along, near across, far along, far across
        int minimum = 0;
        int maximum = 9999;
        int across = 0;
        int acrossMinimum = 0;
        int acrossMaximum = 9999;
        bool hidden = false;
    };
    struct Case {
        const char* what;
        int length; // of the layout along its axis; 100 across
        int childPadding;
        std::vector<Child> children;
        std::vector<RECT> expected; // along and across, as the padding
    };
    const RECT none{};
    const Case cases[] = {
        {"a sized child, then one sharing the rest, with child padding",
         300,
         10,
         {{50}, {0}},
         {{0, 0, 50, 100}, {60, 0, 290, 100}}},
        {"three sharing: the last takes the remainder",
         100,
         0,
         {{0}, {0}, {0}},
         {{0, 0, 33, 100}, {33, 0, 66, 100}, {66, 0, 100, 100}}},
        {"the maximum caps a sharing child", 100, 0, {{0, none, 0, 20}}, {{0, 0, 20, 100}}},
        {"the maximum caps a sized child; the sharing one gets the rest",
         100,
         0,
         {{70, none, 0, 40}, {0}},
         {{0, 0, 40, 100}, {40, 0, 100, 100}}},
        {"the minimum raises a sized child",
         100,
         0,
         {{10, none, 30}, {0}},
         {{0, 0, 30, 100}, {30, 0, 100, 100}}},
        {"the minimum raises a sharing child; the last one gets what is left",
         100,
         0,
         {{0, none, 80}, {0}},
         {{0, 0, 80, 100}, {80, 0, 100, 100}}},
        {"the maximum wins over a larger minimum", 100, 0, {{0, none, 50, 20}}, {{0, 0, 20, 100}}},
        {"paddings: the far one along lies inside the rectangle",
         100,
         0,
         {{20, RECT{5, 6, 7, 8}}, {20, RECT{0, 0, 5, 0}}},
         {{5, 6, 32, 92}, {32, 0, 57, 100}}},
        {"the last sharing child gives up the paddings and gaps before it",
         300,
         10,
         {{50, RECT{10, 0, 0, 0}}, {0}},
         {{10, 0, 60, 100}, {70, 0, 280, 100}}},
        {"across: a fixed size, a maximum and a minimum",
         100,
         0,
         {{20, none, 0, 9999, 40}, {20, none, 0, 9999, 0, 0, 30}, {20, none, 0, 9999, 0, 150}},
         {{0, 0, 20, 40}, {20, 0, 40, 30}, {40, 0, 60, 150}}},
        {"across: paddings wider than the layout leave nothing, then the minimum",
         100,
         0,
         {{20, RECT{0, 60, 0, 60}}, {20, RECT{0, 60, 0, 60}, 0, 9999, 0, 10}},
         {{0, 60, 20, 60}, {20, 60, 40, 70}}},
        {"hidden children take no part",
         100,
         10,
         {{30}, {30, none, 0, 9999, 0, 0, 9999, true}, {0}},
         {{0, 0, 30, 100}, {0, 0, 0, 0}, {40, 0, 90, 100}}},
    };
    for (const Case& test : cases) {
        std::unique_ptr<CContainerUI> layout(NewLayout());
        layout->SetChildPadding(test.childPadding);
        std::vector<CControlUI*> children;
        for (const Child& wanted : test.children) {
            auto* child = new CControlUI;
            SetSizes(*child, wanted.size, wanted.minimum, wanted.maximum, wanted.across,
                     wanted.acrossMinimum, wanted.acrossMaximum);
            child->SetPadding(Turn(wanted.padding));
            child->SetVisible(!wanted.hidden);
            layout->Add(child);
            children.push_back(child);
        }
        layout->SetPos(Turn(0, 0, test.length, 100));
        for (size_t i = 0; i < children.size(); ++i) {
            EXPECT_EQ(Edges(children[i]->GetPos()), Edges(Turn(test.expected[i])))
                << test.what << ", child " << i;
        }
    }
}

TEST_P(StackAlong, HugeSizesNeverWrapAround) {
    std::unique_ptr<CContainerUI> layout(NewLayout());
    std::vector<CControlUI*> children;
    for (int i = 0; i < 3; ++i) {
        auto* child = new CControlUI;
        SetSizes(*child, 2000000000, 0, INT_MAX);
        child->SetPadding(Turn(0, 0, 2000000000, 0));
        layout->Add(child);
        children.push_back(child);
    }
    layout->SetChildPadding(INT_MAX);
    layout->SetPos(Turn(0, 0, 100, 100));
    for (size_t i = 1; i < children.size(); ++i)
        EXPECT_GE(NearAlong(children[i]->GetPos()), NearAlong(children[i - 1]->GetPos())) << i;
    EXPECT_GE(FarAlong(children[0]->GetPos()), NearAlong(children[0]->GetPos()));
}

TEST_P(StackAlong, TheBarAlongTheAxisFollowsTheContent) {
    std::unique_ptr<CContainerUI> layout(NewLayout());
    layout->EnableScrollBar(Vertical(), !Vertical());
    CScrollBarUI* bar =
        Vertical() ? layout->GetVerticalScrollBar() : layout->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    auto* first = new CControlUI;
    auto* second = new CControlUI;
    SetSizes(*first, 250);
    SetSizes(*second, 250);
    layout->Add(first);
    layout->Add(second);
    const RECT item = Turn(0, 0, 300, 200);

    layout->SetPos(item);
    ASSERT_TRUE(bar->IsVisible()) << "500 needed in 300 shows the bar";
    EXPECT_EQ(AlongOf(layout->GetScrollRange()), 200);
    EXPECT_EQ(Edges(bar->GetPos()), Edges(Turn(0, 184, 300, 200))) << "inside, at the far side";
    EXPECT_EQ(Edges(first->GetPos()), Edges(Turn(0, 0, 250, 184)))
        << "the bar narrows the children";
    EXPECT_EQ(Edges(second->GetPos()), Edges(Turn(250, 0, 500, 184)));

    layout->SetScrollPos(Turn(1000, 0));
    EXPECT_EQ(AlongOf(layout->GetScrollPos()), 200) << "the position stays within the range";
    EXPECT_EQ(Edges(first->GetPos()), Edges(Turn(-200, 0, 50, 184)));
    layout->SetPos(item);
    EXPECT_EQ(Edges(first->GetPos()), Edges(Turn(-200, 0, 50, 184))) << "a layout pass keeps it";

    SetSizes(*second, 100);
    layout->SetPos(item);
    EXPECT_EQ(AlongOf(layout->GetScrollRange()), 50);
    EXPECT_EQ(AlongOf(layout->GetScrollPos()), 50) << "a shrinking range pulls the position in";
    EXPECT_EQ(Edges(first->GetPos()), Edges(Turn(-50, 0, 200, 184))) << "and the children follow";

    SetSizes(*second, 40);
    layout->SetPos(item);
    EXPECT_FALSE(bar->IsVisible()) << "content that fits hides the bar";
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(Edges(first->GetPos()), Edges(Turn(0, 0, 250, 200)));

    SetSizes(*second, 250);
    layout->SetPos(item);
    EXPECT_TRUE(bar->IsVisible()) << "growing content shows it again";
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(Edges(second->GetPos()), Edges(Turn(250, 0, 500, 184)));
}

TEST(StackLayouts, EmptyLayoutsKeepTheirBarsInside) {
    CVerticalLayoutUI vertical;
    CHorizontalLayoutUI horizontal;
    CTileLayoutUI tiles;
    for (CContainerUI* layout :
         {static_cast<CContainerUI*>(&vertical), static_cast<CContainerUI*>(&horizontal),
          static_cast<CContainerUI*>(&tiles)}) {
        layout->EnableScrollBar(true, true);
        layout->SetInset(RECT{1, 2, 3, 4});
        layout->SetPos(RECT{0, 0, 100, 100});
        CScrollBarUI* bar = layout->GetHorizontalScrollBar();
        EXPECT_TRUE(bar->IsVisible()) << layout->GetClass();
        EXPECT_EQ(Edges(bar->GetPos()), Edges(RECT{1, 80, 97, 96}))
            << layout->GetClass() << ": the bar lies inside the layout, above the inset";
        EXPECT_FALSE(layout->GetVerticalScrollBar()->IsVisible())
            << layout->GetClass() << ": nothing to scroll down to";
    }
}

TEST(StackLayouts, VerticalChildrenSpanWhatTheHorizontalBarScrolls) {
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(false, true);
    layout.GetHorizontalScrollBar()->SetScrollRange(50);
    auto* child = new CControlUI;
    child->SetFixedHeight(20);
    layout.Add(child);
    layout.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Edges(child->GetPos()), Edges(RECT{0, 0, 150, 20}));
    layout.SetScrollPos(SIZE{30, 0});
    layout.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Edges(child->GetPos()), Edges(RECT{-30, 0, 120, 20}));
}

TEST(TileLayout, ColumnsRowsAndCentring) {
    struct TileCase {
        const char* what;
        const wchar_t* itemSize;
        int columns;
        int childPadding;
        std::vector<SIZE> children;
        std::vector<std::vector<LONG>> expected;
    };
    const TileCase cases[] = {
        {"item width decides three columns",
         L"100,0",
         1,
         0,
         {{50, 20}, {50, 20}, {50, 20}, {50, 20}},
         {{25, 0, 75, 20}, {125, 0, 175, 20}, {225, 0, 275, 20}, {25, 20, 75, 40}}},
        {"four columns of 75",
         L"0,0",
         4,
         0,
         {{0, 10}, {0, 10}},
         {{0, 0, 75, 10}, {75, 0, 150, 10}}},
        {"the tallest child sets the row; others are centred",
         L"0,0",
         3,
         0,
         {{100, 20}, {100, 40}, {100, 30}},
         {{0, 10, 100, 30}, {100, 0, 200, 40}, {200, 5, 300, 35}}},
        {"child padding between tiles, halved at the row's ends",
         L"0,0",
         3,
         10,
         {{0, 20}, {0, 20}, {0, 20}, {0, 20}},
         {{0, 0, 95, 20}, {105, 0, 195, 20}, {205, 0, 300, 20}, {0, 30, 95, 50}}},
    };
    for (const TileCase& test : cases) {
        CTileLayoutUI tiles;
        tiles.SetAttribute(L"itemsize", test.itemSize);
        tiles.SetAttribute(L"columns", std::to_wstring(test.columns).c_str());
        tiles.SetChildPadding(test.childPadding);
        for (const SIZE& size : test.children)
            tiles.Add(Sized(size.cx, size.cy));
        tiles.SetPos(RECT{0, 0, 300, 300});
        for (size_t i = 0; i < test.children.size(); ++i)
            EXPECT_EQ(Edges(tiles.GetItemAt(static_cast<int>(i))->GetPos()), test.expected[i])
                << test.what << ", child " << i;
    }
    CTileLayoutUI tiles;
    tiles.SetColumns(0);
    EXPECT_EQ(tiles.GetColumns(), 1);
}

TEST(TabLayout, SelectionFollowsAddsAndRemovals) {
    CTabLayoutUI tabs;
    CControlUI* pages[3] = {Sized(0, 0), Sized(0, 0), Sized(0, 0)};
    for (CControlUI* page : pages)
        tabs.Add(page);
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_TRUE(pages[0]->IsVisible());
    EXPECT_FALSE(pages[1]->IsVisible());
    EXPECT_FALSE(pages[2]->IsVisible());

    EXPECT_TRUE(tabs.SelectItem(1));
    EXPECT_FALSE(tabs.SelectItem(3));
    EXPECT_FALSE(tabs.SelectItem(-1));
    EXPECT_EQ(tabs.GetCurSel(), 1);
    pages[1]->SetPadding(RECT{5, 5, 5, 5});
    tabs.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Edges(pages[1]->GetPos()), Edges(RECT{5, 5, 95, 95}));

    CControlUI* inserted = Sized(0, 0);
    EXPECT_TRUE(tabs.AddAt(inserted, 0));
    EXPECT_EQ(tabs.GetCurSel(), 2) << "the selected page stays selected";
    EXPECT_FALSE(inserted->IsVisible());
    EXPECT_TRUE(tabs.Remove(inserted));
    EXPECT_EQ(tabs.GetCurSel(), 1);

    EXPECT_TRUE(tabs.Remove(pages[1]));
    EXPECT_EQ(tabs.GetCurSel(), 0) << "removing the selection selects page 0";
    EXPECT_TRUE(pages[0]->IsVisible());
    tabs.SelectItem(1);
    EXPECT_TRUE(tabs.Remove(pages[0]));
    EXPECT_EQ(tabs.GetCurSel(), 0) << "the selected page moved down";
    tabs.RemoveAll();
    EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST(ChildLayout, AnswersOnlyItsOwnInterfaceAndStaysEmptyWithoutContent) {
    CChildLayoutUI child;
    child.SetAttribute(L"xmlfile", L"missing.xml");
    EXPECT_EQ(child.GetChildLayoutXML(), L"missing.xml");
    EXPECT_EQ(child.GetInterface(L"ChildLayout"), &child);
    EXPECT_EQ(child.GetInterface(L"Container"), nullptr);
    EXPECT_EQ(child.GetInterface(L"IContainer"), nullptr);
    child.Add(Sized(1, 1));
    CControlUI parent;
    child.SetManager(nullptr, &parent, true);
    EXPECT_EQ(child.GetCount(), 0) << "a file that cannot be built leaves no children";
}

using AttachedLayout = HostedTree;

TEST_F(AttachedLayout, TabSelectionIsNotified) {
    auto* tabs = new CTabLayoutUI;
    for (int i = 0; i < 3; ++i)
        tabs->Add(Sized(0, 0));
    Host(tabs);
    std::vector<std::pair<WPARAM, LPARAM>> selections;
    host->onNotify = [&selections](TNotifyUI& msg) {
        if (msg.type == L"tabselect") selections.emplace_back(msg.wParam, msg.lParam);
    };
    tabs->SetAttribute(L"selectedid", L"2");
    tabs->SelectItem(2);
    tabs->SelectItem(1);
    EXPECT_EQ(selections, (std::vector<std::pair<WPARAM, LPARAM>>{{2, 0}, {1, 2}}));
}

using SeparatorAlong = Along<HostedTree>;

INSTANTIATE_TEST_SUITE_P(BothAxes, SeparatorAlong, ::testing::Bool(), AxisName);

TEST_P(SeparatorAlong, DragResizesTheLayoutWithinItsLimits) {
    CContainerUI* root = NewLayout();
    CContainerUI* side = NewLayout();
    side->SetAttribute(Vertical() ? L"sepheight" : L"sepwidth", L"4");
    side->SetAttribute(L"sepimm", L"true");
    SetSizes(*side, 100, 60, 150);
    auto* rest = new CControlUI;
    root->Add(side);
    root->Add(rest);
    Host(root);
    const auto thumb = [this, side] {
        return Vertical() ? static_cast<CVerticalLayoutUI*>(side)->GetThumbRect(false)
                          : static_cast<CHorizontalLayoutUI*>(side)->GetThumbRect(false);
    };
    const auto send = [this](UINT message, int along) {
        const POINT at = At(along, 50);
        Send(message, at.x, at.y);
    };
    const auto drag = [&](int from, int to) {
        send(WM_LBUTTONDOWN, from);
        send(WM_MOUSEMOVE, to);
        send(WM_LBUTTONUP, to);
        Layout();
    };
    EXPECT_EQ(side->GetControlFlags(), UIFLAG_SETCURSOR);
    EXPECT_EQ(Edges(thumb()), Edges(Turn(96, 0, 100, 300))) << "the strip at the far edge";

    TEventUI cursor;
    cursor.type = UIEVENT_SETCURSOR;
    cursor.mousePos = At(98, 50);
    side->DoEvent(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, Vertical() ? IDC_SIZENS : IDC_SIZEWE));

    send(WM_LBUTTONDOWN, 98);
    send(WM_MOUSEMOVE, 108);
    EXPECT_EQ(FarAlong(side->GetPos()), 110) << "immediate mode follows the mouse";
    send(WM_LBUTTONUP, 108);
    Layout();
    EXPECT_EQ(AlongOf(SIZE{side->GetFixedWidth(), side->GetFixedHeight()}), 110);
    EXPECT_EQ(NearAlong(rest->GetPos()), 110) << "the parent keeps the dragged size";

    drag(108, 290);
    EXPECT_EQ(FarAlong(side->GetPos()), 150) << "the maximum stops the drag";
    drag(148, 10);
    EXPECT_EQ(FarAlong(side->GetPos()), 60) << "the minimum stops it the other way";
    EXPECT_EQ(NearAlong(rest->GetPos()), 60);
}

TEST_F(AttachedLayout, PreviewDragRegistersForPostPaintOnceAndLeavesWhenDeleted) {
    auto* root = new CHorizontalLayoutUI;
    auto* side = new CHorizontalLayoutUI;
    side->SetAttribute(L"sepwidth", L"-4");
    side->SetFixedWidth(100);
    root->Add(Sized(0, 0));
    root->Add(side);
    Host(root);
    EXPECT_EQ(Edges(side->GetThumbRect(false)), Edges(RECT{200, 0, 204, 300}));

    Send(WM_LBUTTONDOWN, 201, 50);
    Send(WM_LBUTTONDOWN, 201, 50);
    EXPECT_EQ(host->manager.GetPostPaintCount(), 1) << "registered once however often pressed";
    Send(WM_MOUSEMOVE, 191, 50);
    EXPECT_EQ(side->GetPos().left, 200) << "preview mode waits for the release";
    Send(WM_LBUTTONUP, 191, 50);
    EXPECT_EQ(host->manager.GetPostPaintCount(), 0);
    Layout();
    EXPECT_EQ(Edges(side->GetPos()), Edges(RECT{190, 0, 300, 300}));

    Send(WM_LBUTTONDOWN, 191, 50);
    ASSERT_EQ(host->manager.GetPostPaintCount(), 1);
    root->SetDelayedDestroy(false);
    root->Remove(side);
    EXPECT_EQ(host->manager.GetPostPaintCount(), 0) << "a deleted layout is never painted";
    Layout();
}
