// Moving through a list with the keyboard and the wheel, over items that are hidden or
// disabled; scrolling to the selection; and long lists, where scrolling and painting
// must touch only the rows in view while every row still lies where it should.
#include "ListFixture.h"

#include <gtest/gtest.h>

#include <set>

#include "control/ScrollBarUI.h"
#include "render/RenderTestSupport.h"

using namespace SkinUI;

namespace {

class ListNavigation : public ListFixture {
protected:
    // Items 0..9; 0, 4 and 9 disabled, 2 and 6 hidden.
    void HostObstacles() {
        HostLabels(10);
        for (int i : {0, 4, 9})
            Item(i)->SetEnabled(false);
        for (int i : {2, 6})
            Item(i)->SetVisible(false);
        Layout();
        list->SetFocus();
    }
};

// A label item that counts its paints.
class CountingLabel : public CListLabelElementUI {
public:
    explicit CountingLabel(std::set<int>* painted) : m_painted(painted) { SetFixedHeight(20); }
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        RECT common{};
        if (::IntersectRect(&common, &paintRect, &GetPos())) m_painted->insert(GetIndex());
        CListLabelElementUI::DoPaint(hDC, paintRect);
    }

private:
    std::set<int>* m_painted;
};

} // namespace

TEST_F(ListNavigation, ArrowsStepOverHiddenAndDisabledItems) {
    HostObstacles();
    Key(VK_HOME);
    EXPECT_EQ(list->GetCurSel(), 1) << "Home with item 0 disabled: the first enabled item";
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        Key(VK_DOWN);
        visited.push_back(list->GetCurSel());
    }
    EXPECT_EQ(visited, (std::vector<int>{3, 5, 7, 8}));
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(host->manager.GetFocus(), Item(3)) << "the focus follows the selection";
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(list->GetCurSel(), 1) << "item 0 is disabled: nothing before 1";

    // Past the last selectable item there is none to go to: the selection goes.
    Key(VK_END);
    EXPECT_EQ(list->GetCurSel(), -1) << "End with the last item disabled clears";
    EXPECT_TRUE(SelectedItems().empty());
    Key(VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), 1) << "from no selection, Down finds the first";
    list->SelectItem(8);
    Key(VK_DOWN);
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListNavigation, WheelScrollsOrMovesTheSelection) {
    HostLabels(40, L"vscrollbar=\"true\"");
    ASSERT_NE(list->GetVerticalScrollBar(), nullptr);
    EXPECT_GT(list->GetScrollRange().cy, 0);
    Wheel(true);
    EXPECT_GT(list->GetScrollPos().cy, 0) << "the wheel scrolls";
    Wheel(false);
    EXPECT_EQ(list->GetScrollPos().cy, 0);

    list->SetScrollSelect(true);
    list->SelectItem(3);
    Wheel(true);
    EXPECT_EQ(list->GetCurSel(), 4);
    Wheel(false);
    Wheel(false);
    EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(ListNavigation, PagesScrollAndSelectionScrollsIntoView) {
    HostLabels(40, L"vscrollbar=\"true\"");
    list->SelectItem(0, true);
    Key(VK_NEXT);
    EXPECT_EQ(list->GetScrollPos().cy, 300) << "a page is the body's height";
    EXPECT_EQ(list->GetCurSel(), 0) << "paging does not move the selection";
    Key(VK_PRIOR);
    EXPECT_EQ(list->GetScrollPos().cy, 0);

    list->SelectItem(20);
    // Item 20 lies at 400..420: it scrolls up to the bottom edge.
    EXPECT_EQ(list->GetScrollPos().cy, 120);
    EXPECT_EQ(Item(20)->GetPos().bottom, 300);
    list->SelectItem(2);
    EXPECT_EQ(list->GetScrollPos().cy, 40) << "to the top edge";
    EXPECT_EQ(Item(2)->GetPos().top, 0);
}

TEST_F(ListNavigation, LongListsPaintAndMoveOnlyTheRowsInView) {
    std::set<int> painted;
    list = new CListUI;
    list->SetAttribute(L"header", L"hidden");
    list->SetAttribute(L"vscrollbar", L"true");
    const int count = 10000;
    for (int i = 0; i < count; ++i) {
        auto* item = new CountingLabel(&painted);
        item->SetText(std::to_wstring(i).c_str());
        list->Add(item);
    }
    HostList();
    EXPECT_EQ(list->GetScrollRange().cy, count * 20 - 300);

    RenderTest::Surface surface(300, 300, 0xFFFFFFFF, 24);
    const auto paintAll = [&] {
        painted.clear();
        list->DoPaint(surface.dc(), RECT{0, 0, 300, 300});
    };
    paintAll();
    EXPECT_EQ(painted, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));

    // Far down, by the wheel's way, by the bar, and back up a little.
    list->SetScrollPos(SIZE{0, 100000});
    list->LineDown();
    const int lined = list->GetScrollPos().cy;
    EXPECT_GT(lined, 100000);
    list->SetScrollPos(SIZE{0, lined - 30});
    const int top = list->GetScrollPos().cy;
    ASSERT_EQ(top, lined - 30);
    paintAll();
    const int first = top / 20;
    EXPECT_EQ(*painted.begin(), first);
    EXPECT_EQ(*painted.rbegin(), (top + 300 - 1) / 20);
    for (int i = first; i <= *painted.rbegin(); ++i)
        EXPECT_EQ(Item(i)->GetPos().top, i * 20 - top) << "row " << i;

    // A press lands on the row under it, however far the list scrolled.
    Press(50, 45);
    EXPECT_EQ(list->GetCurSel(), (top + 45) / 20);
    // Keys walk on past the bottom edge, and End and Home jump the whole list.
    list->SetFocus();
    Key(VK_END);
    EXPECT_EQ(list->GetCurSel(), count - 1);
    EXPECT_EQ(Item(count - 1)->GetPos().bottom, 300);
    paintAll();
    EXPECT_EQ(*painted.rbegin(), count - 1);
    Key(VK_HOME);
    EXPECT_EQ(Item(0)->GetPos().top, 0);
    paintAll();
    EXPECT_EQ(*painted.begin(), 0);
    EXPECT_EQ(painted.size(), 15u);

    // Hiding a row lays the list out again: the rows below move up by one.
    Item(1)->SetVisible(false);
    Layout();
    EXPECT_EQ(Item(2)->GetPos().top, 20);
    paintAll();
    EXPECT_EQ(painted.count(1), 0u);
    EXPECT_EQ(painted.count(15), 1u);
}
