// Selecting list items: single and multiple selection from code, from presses and from
// the items themselves, kept right while items come, go, move and hide; and the
// notifications each change sends.
#include "ListFixture.h"

#include <gtest/gtest.h>

#include "control/ListContainerElementUI.h"

using namespace SkinUI;

namespace {

class ListSelection : public ListFixture {};

} // namespace

TEST_F(ListSelection, SelectingMovesTheOnlySelectionAndSaysWhereFrom) {
    HostLabels(5);
    ASSERT_TRUE(list->SelectItem(2));
    ASSERT_TRUE(list->SelectItem(4));
    EXPECT_EQ(list->GetCurSel(), 4);
    EXPECT_EQ(SelectedItems(), std::vector<int>{4});
    const auto selects = Heard(L"itemselect");
    ASSERT_EQ(selects.size(), 2u);
    EXPECT_EQ(selects[1].sender, list);
    EXPECT_EQ(selects[1].wParam, 4u);
    EXPECT_EQ(selects[1].lParam, 2);

    heard.clear();
    EXPECT_TRUE(list->SelectItem(4)) << "the current item again";
    EXPECT_TRUE(Heard(L"itemselect").empty());
    EXPECT_FALSE(list->SelectItem(-1));
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_TRUE(SelectedItems().empty());
}

TEST_F(ListSelection, HiddenOrDisabledItemsCannotBeSelectedFromEitherSide) {
    HostLabels(5);
    list->SelectItem(1);
    Item(2)->SetVisible(false);
    Item(3)->SetEnabled(false);
    EXPECT_FALSE(list->SelectItem(2));
    EXPECT_EQ(list->GetCurSel(), -1) << "a refused selection leaves none";
    EXPECT_FALSE(list->SelectItem(3));
    EXPECT_FALSE(list->SelectItem(9));
    EXPECT_TRUE(SelectedItems().empty());

    // An item asked directly agrees with its list: a hidden one does not stay selected.
    EXPECT_FALSE(ListItem(2)->Select(true));
    EXPECT_FALSE(Selected(2));
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(ListItem(3)->Select(true)) << "disabled";

    // Selecting an item itself tells the list; hiding it lets the selection go.
    EXPECT_TRUE(ListItem(4)->Select(true));
    EXPECT_EQ(list->GetCurSel(), 4);
    Item(4)->SetVisible(false);
    EXPECT_FALSE(Selected(4));
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListSelection, RemovingTheSelectedItemSelectsTheOneTakingItsPlace) {
    HostLabels(5);
    CControlUI* fourth = Item(4);
    list->SelectItem(3);
    heard.clear();
    ASSERT_TRUE(list->RemoveAt(3));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(Item(3), fourth);
    EXPECT_TRUE(Selected(3));
    ASSERT_EQ(Heard(L"itemselect").size(), 1u);
    EXPECT_EQ(Heard(L"itemselect")[0].wParam, 3u);
    for (int i = 0; i < list->GetCount(); ++i)
        EXPECT_EQ(ListItem(i)->GetIndex(), i);

    // The selected last item: the new last one.
    ASSERT_TRUE(list->Remove(Item(3)));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_TRUE(Selected(2));

    // An item before the selection: the selection follows its item.
    CControlUI* selected = Item(2);
    ASSERT_TRUE(list->RemoveAt(0));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(Item(1), selected);
    EXPECT_FALSE(list->RemoveAt(7));
    list->RemoveAll();
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(ListSelection, InsertingAndMovingKeepIndexesAndSelectionOnTheirItems) {
    HostLabels(5);
    list->SelectItem(2);
    CControlUI* selected = Item(2);
    ASSERT_TRUE(list->AddAt(Label(9), 1));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(Item(3), selected);
    for (int i = 0; i < list->GetCount(); ++i)
        EXPECT_EQ(ListItem(i)->GetIndex(), i);
    EXPECT_EQ(ListItem(1)->GetOwner(), static_cast<IListOwnerUI*>(list));

    ASSERT_TRUE(list->SetItemIndex(selected, 5));
    EXPECT_EQ(list->GetCurSel(), 5);
    EXPECT_EQ(Item(5), selected);
    ASSERT_TRUE(list->SetItemIndex(Item(0), 5));
    EXPECT_EQ(list->GetCurSel(), 4) << "an item moved from before it past it";
    EXPECT_EQ(Item(4), selected);
    for (int i = 0; i < list->GetCount(); ++i)
        EXPECT_EQ(ListItem(i)->GetIndex(), i);
    EXPECT_FALSE(list->SetItemIndex(selected, 40));
    EXPECT_EQ(Item(4), selected) << "a refused move keeps the item";
}

TEST_F(ListSelection, PressesClickThenSelectAndDoubleClickOrEnterActivates) {
    HostLabels(5);
    Press(50, 30); // item 1
    ASSERT_EQ(Heard(L"itemclick").size(), 1u);
    EXPECT_EQ(Heard(L"itemclick")[0].sender, Item(1));
    EXPECT_EQ(Heard(L"itemselect").size(), 1u);
    EXPECT_LT(Order(L"itemclick"), Order(L"itemselect"));
    EXPECT_EQ(list->GetCurSel(), 1);

    heard.clear();
    ::SendMessageW(host->GetHWND(), WM_LBUTTONDBLCLK, MK_LBUTTON, skintest::PointParam(50, 30));
    ASSERT_EQ(Heard(L"itemactivate").size(), 1u);
    EXPECT_EQ(Heard(L"itemactivate")[0].sender, Item(1));
    heard.clear();
    Key(VK_RETURN);
    EXPECT_EQ(Heard(L"itemactivate").size(), 1u) << "Enter on the focused item";

    // A disabled item neither clicks nor selects.
    Item(3)->SetEnabled(false);
    heard.clear();
    Press(50, 70);
    EXPECT_TRUE(Heard(L"itemclick").empty());
    EXPECT_TRUE(Heard(L"itemselect").empty());
    EXPECT_EQ(list->GetCurSel(), 1);
}

TEST_F(ListSelection, ContainerElementsSelectAndHoldTheirChildren) {
    list = new CListUI;
    list->SetAttribute(L"header", L"hidden");
    for (int i = 0; i < 3; ++i) {
        auto* row = new CListContainerElementUI;
        row->SetFixedHeight(30);
        row->Add(new CControlUI);
        list->Add(row);
    }
    HostList();
    Press(50, 45);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(Heard(L"itemclick").size(), 1u);
    EXPECT_EQ(static_cast<CContainerUI*>(Item(1))->GetItemAt(0)->GetPos().top, 30);
}

TEST_F(ListSelection, TheSelectedAttributeSelectsOnlyForTrue) {
    HostLabels(3);
    Item(1)->SetAttribute(L"selected", L"true");
    EXPECT_EQ(list->GetCurSel(), 1);
    Item(1)->SetAttribute(L"selected", L"false");
    EXPECT_FALSE(Selected(1));
    Item(2)->SetAttribute(L"selected", L"false");
    EXPECT_FALSE(Selected(2));
}

TEST_F(ListSelection, SeveralItemsWithCtrlAndShift) {
    HostLabels(8, L"multiselect=\"true\"");
    Item(4)->SetEnabled(false);
    Press(50, 30);             // 1 alone
    Press(50, 70, MK_CONTROL); // + 3
    EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 3}));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(list->GetSelectedCount(), 2);

    Press(50, 130, MK_SHIFT); // run 3..6, the disabled 4 left out
    EXPECT_EQ(SelectedItems(), (std::vector<int>{3, 5, 6}));
    EXPECT_EQ(list->GetCurSel(), 6);
    Press(50, 10, MK_SHIFT); // the run turns round the same anchor
    EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(list->GetNextSelected(1), 2);

    heard.clear();
    Press(50, 10, MK_CONTROL); // toggle the current item off
    EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list->GetCurSel(), 1) << "the first selected item left becomes current";
    ASSERT_EQ(Heard(L"itemselect").size(), 1u);
    EXPECT_EQ(Heard(L"itemselect")[0].lParam, 0);

    // Shift with keys stretches from the anchor (the toggled item).
    list->SelectItem(5, true);
    ShiftKey(VK_DOWN);
    ShiftKey(VK_DOWN);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{5, 6, 7}));
    Key(VK_UP);
    EXPECT_EQ(SelectedItems(), std::vector<int>{6}) << "a plain key selects one";

    list->AddToSelection(2);
    list->SelectItem(2);
    EXPECT_EQ(SelectedItems(), std::vector<int>{2}) << "SelectItem leaves one, even the current";
    list->AddToSelection(0);
    list->SetMultiSelect(false);
    EXPECT_EQ(SelectedItems(), std::vector<int>{0});
    Press(50, 70, MK_CONTROL);
    EXPECT_EQ(SelectedItems(), std::vector<int>{3}) << "one at a time again";
}

TEST_F(ListSelection, SeveralSelectedItemsFollowInsertionsAndRemovals) {
    HostLabels(6, L"multiselect=\"true\"");
    list->SelectRange(1, 3);
    ASSERT_EQ(SelectedItems(), (std::vector<int>{1, 2, 3}));
    list->AddAt(Label(9), 0);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(list->GetSelectedCount(), 3);
    list->RemoveAt(3);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{2, 3}));
    EXPECT_EQ(list->GetSelectedCount(), 2);
    list->ClearSelection();
    EXPECT_TRUE(SelectedItems().empty());
    EXPECT_EQ(list->GetCurSel(), -1);
}
