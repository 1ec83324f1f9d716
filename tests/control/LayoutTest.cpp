// Layouts: stacking, tiles, tab pages, the draggable separator and child layouts.
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "control/ChildLayoutUI.h"
#include "control/HorizontalLayoutUI.h"
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

struct StackChild {
    int size; // along the stacking axis; 0 shares the free space
    RECT padding;
    int minimum;
    int maximum;
};

struct StackCase {
    const char* what;
    bool vertical;
    int extent; // of the layout along its axis; 100 across
    int childPadding;
    std::vector<StackChild> children;
    std::vector<std::vector<LONG>> expected; // each child's rectangle
};

} // namespace

TEST(StackLayouts, PlaceChildrenExactly) {
    const RECT none{};
    const StackCase cases[] = {
        {"fixed, then adjustable with child padding",
         true,
         300,
         10,
         {{50, none, 0, 9999}, {0, none, 0, 9999}},
         {{0, 0, 100, 50}, {0, 60, 100, 290}}},
        {"three adjustables, the last takes the remainder",
         true,
         100,
         0,
         {{0, none, 0, 9999}, {0, none, 0, 9999}, {0, none, 0, 9999}},
         {{0, 0, 100, 33}, {0, 33, 100, 66}, {0, 66, 100, 100}}},
        {"maximum caps an adjustable child", true, 100, 0, {{0, none, 0, 20}}, {{0, 0, 100, 20}}},
        {"minimum raises a fixed child",
         true,
         100,
         0,
         {{10, none, 30, 9999}, {0, none, 0, 9999}},
         {{0, 0, 100, 30}, {0, 30, 100, 100}}},
        {"vertical padding: the bottom one lies inside",
         true,
         100,
         0,
         {{20, RECT{5, 5, 5, 5}, 0, 9999}},
         {{5, 5, 95, 30}}},
        {"horizontal padding: the right one lies inside",
         false,
         100,
         0,
         {{20, RECT{0, 0, 5, 0}, 0, 9999}, {20, RECT{0, 5, 0, 5}, 0, 9999}},
         {{0, 0, 25, 100}, {25, 5, 45, 95}}},
        {"horizontal fixed, then adjustable with child padding",
         false,
         300,
         10,
         {{50, none, 0, 9999}, {0, none, 0, 9999}},
         {{0, 0, 50, 100}, {60, 0, 290, 100}}},
    };
    for (const StackCase& test : cases) {
        CVerticalLayoutUI vertical;
        CHorizontalLayoutUI horizontal;
        CContainerUI& layout = test.vertical ? static_cast<CContainerUI&>(vertical) : horizontal;
        layout.SetChildPadding(test.childPadding);
        std::vector<CControlUI*> children;
        for (const StackChild& wanted : test.children) {
            CControlUI* child = test.vertical ? Sized(0, wanted.size) : Sized(wanted.size, 0);
            child->SetPadding(wanted.padding);
            if (test.vertical) {
                child->SetMinHeight(wanted.minimum);
                child->SetMaxHeight(wanted.maximum);
            } else {
                child->SetMinWidth(wanted.minimum);
                child->SetMaxWidth(wanted.maximum);
            }
            layout.Add(child);
            children.push_back(child);
        }
        layout.SetPos(test.vertical ? RECT{0, 0, 100, test.extent} : RECT{0, 0, test.extent, 100});
        for (size_t i = 0; i < children.size(); ++i)
            EXPECT_EQ(Edges(children[i]->GetPos()), test.expected[i])
                << test.what << ", child " << i;
    }
}

TEST(StackLayouts, HugeSizesNeverWrapAround) {
    CVerticalLayoutUI layout;
    std::vector<CControlUI*> children;
    for (int i = 0; i < 3; ++i) {
        CControlUI* child = Sized(0, 2000000000);
        child->SetMaxHeight(INT_MAX);
        child->SetPadding(RECT{0, 0, 0, 2000000000});
        layout.Add(child);
        children.push_back(child);
    }
    layout.SetChildPadding(INT_MAX);
    layout.SetPos(RECT{0, 0, 100, 100});
    for (size_t i = 1; i < children.size(); ++i)
        EXPECT_GE(children[i]->GetPos().top, children[i - 1]->GetPos().top) << i;
    EXPECT_GE(children[0]->GetPos().bottom, children[0]->GetPos().top);
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

TEST_F(AttachedLayout, SeparatorDragResizesTheLayout) {
    auto* root = new CVerticalLayoutUI;
    auto* top = new CVerticalLayoutUI;
    top->SetAttribute(L"sepheight", L"4");
    top->SetAttribute(L"sepimm", L"true");
    top->SetFixedHeight(100);
    top->SetMaxHeight(150);
    CControlUI* below = Sized(0, 0);
    root->Add(top);
    root->Add(below);
    Host(root);
    EXPECT_EQ(top->GetControlFlags(), UIFLAG_SETCURSOR);
    EXPECT_EQ(Edges(top->GetThumbRect(false)), Edges(RECT{0, 96, 300, 100}));

    TEventUI cursor;
    cursor.type = UIEVENT_SETCURSOR;
    cursor.mousePos = POINT{50, 98};
    top->DoEvent(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));

    Send(WM_LBUTTONDOWN, 50, 98);
    Send(WM_MOUSEMOVE, 50, 108);
    EXPECT_EQ(top->GetPos().bottom, 110) << "immediate mode follows the mouse";
    Send(WM_LBUTTONUP, 50, 108);
    EXPECT_EQ(top->GetFixedHeight(), 110);
    Layout();
    EXPECT_EQ(below->GetPos().top, 110) << "the parent keeps the dragged height";

    Send(WM_LBUTTONDOWN, 50, 108);
    Send(WM_MOUSEMOVE, 50, 200);
    Send(WM_LBUTTONUP, 50, 200);
    EXPECT_EQ(top->GetFixedHeight(), 150) << "the maximum stops the drag";
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
