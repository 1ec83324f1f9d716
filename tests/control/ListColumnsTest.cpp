// Lists with a header: columns from the header items, resized by dragging a separator
// and followed by the items; sorting on a header click; cell texts stored or from a
// callback, with links; item backgrounds by state; and lists built from skin markup.
#include "ListFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "control/ButtonUI.h"
#include "control/ListContainerElementUI.h"
#include "control/ListHeaderItemUI.h"
#include "control/ScrollBarUI.h"
#include "core/DialogBuilder.h"
#include "render/RenderTestSupport.h"

using namespace SkinUI;

namespace {

class ListColumns : public ListFixture {
protected:
    // A header of `widths.size()` columns 30 high over `rows` text items 20 high, whose
    // cell (r, c) reads "r.c".
    void HostTable(std::vector<int> widths, int rows, const wchar_t* attributes = L"") {
        list = new CListUI;
        list->ApplyAttributeList(attributes);
        for (int width : widths) {
            auto* column = new CListHeaderItemUI;
            column->SetFixedWidth(width);
            column->SetFixedHeight(30);
            list->Add(column);
        }
        for (int r = 0; r < rows; ++r) {
            auto* item = new CListTextElementUI;
            item->SetFixedHeight(20);
            list->Add(item);
            for (int c = 0; c < static_cast<int>(widths.size()); ++c)
                item->SetText(c, (std::to_wstring(r) + L"." + std::to_wstring(c)).c_str());
        }
        HostList();
    }
    CListHeaderItemUI* Column(int i) const {
        return static_cast<CListHeaderItemUI*>(list->GetHeader()->GetItemAt(i));
    }
    CListTextElementUI* Row(int i) const { return static_cast<CListTextElementUI*>(Item(i)); }
    const RECT& ColumnRect(int i) const { return list->GetListInfo()->columns[i]; }
    // Mouse messages; moves are made with the button held, as in a drag.
    void Mouse(UINT message, int x, int y) {
        ::SendMessageW(host->GetHWND(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                       skintest::PointParam(x, y));
    }
};

// Orders text items by a column's text, descending when the data says so.
int CompareByColumn(UINT_PTR first, UINT_PTR second, UINT_PTR data) {
    const auto* a = reinterpret_cast<CListTextElementUI*>(first);
    const auto* b = reinterpret_cast<CListTextElementUI*>(second);
    const int result = wcscmp(a->GetText(0), b->GetText(0));
    return data != 0 ? -result : result;
}

// Cell texts made up from the row and column asked for, each request recorded.
struct CellTexts : IListCallbackUI {
    const wchar_t* GetItemText(CControlUI* item, int itemIndex, int column) override {
        asked.push_back({itemIndex, column});
        items.push_back(item);
        text = L"cell " + std::to_wstring(itemIndex) + L"," + std::to_wstring(column);
        return text.c_str();
    }
    std::vector<std::pair<int, int>> asked;
    std::vector<CControlUI*> items;
    std::wstring text;
};

} // namespace

TEST_F(ListColumns, ColumnsComeFromTheHeaderUpToThirtyTwo) {
    HostTable({100, 50, 80}, 3);
    EXPECT_EQ(list->GetListInfo()->columnCount, 3);
    EXPECT_EQ(ColumnRect(0).left, 0);
    EXPECT_EQ(ColumnRect(1).left, 100);
    EXPECT_EQ(ColumnRect(2).right, 230);
    EXPECT_EQ(Item(0)->GetPos().top, 30) << "rows start under the header";
    EXPECT_EQ(Item(0)->GetWidth(), 300) << "rows narrower than the body fill it";
    EXPECT_EQ(list->GetItemIndex(Column(1)), 1);
    Column(1)->SetFixedWidth(70);
    Layout();
    EXPECT_EQ(ColumnRect(2).left, 170) << "a column set from code moves the later ones";
    list->AddAt(new CListHeaderItemUI, 0);
    Layout();
    EXPECT_EQ(ColumnRect(1).left, ColumnRect(0).right) << "a column inserted in front";
    list->Remove(Column(0));

    for (int i = 3; i < 40; ++i)
        list->Add(new CListHeaderItemUI);
    EXPECT_EQ(list->GetListInfo()->columnCount, 32);
    Layout();
    EXPECT_EQ(list->GetListInfo()->columnCount, 32);

    // A hidden header still places the columns, on a row of no height.
    list->SetAttribute(L"header", L"hidden");
    Layout();
    EXPECT_EQ(Item(0)->GetPos().top, 0);
    EXPECT_EQ(ColumnRect(1).left, 100);
    EXPECT_EQ(ColumnRect(1).right, 170);
    EXPECT_FALSE(Column(1)->IsVisible());
}

TEST_F(ListColumns, DraggingASeparatorResizesTheColumnAndTheRowsFollow) {
    HostTable({100, 50, 80}, 3);
    // The separator of column 0 is its right 4 pixels, grabbed 4 more inside.
    Mouse(WM_MOUSEMOVE, 94, 10);
    EXPECT_NE(Column(0)->GetControlFlags() & UIFLAG_SETCURSOR, 0u);
    Mouse(WM_LBUTTONDOWN, 94, 10);
    Mouse(WM_MOUSEMOVE, 144, 10);
    Mouse(WM_MOUSEMOVE, 194, 10);
    EXPECT_EQ(Column(0)->GetFixedWidth(), 200) << "moves add up before any layout";
    Layout();
    EXPECT_EQ(ColumnRect(0).right, 200);
    EXPECT_EQ(ColumnRect(1).left, 200);
    EXPECT_EQ(ColumnRect(2).right, 330);
    EXPECT_EQ(Item(1)->GetWidth(), 330);

    // Narrower than the minimum (16): the last width above it stays.
    Mouse(WM_MOUSEMOVE, 20, 10);
    EXPECT_EQ(Column(0)->GetFixedWidth(), 26);
    Mouse(WM_MOUSEMOVE, 0, 10);
    EXPECT_EQ(Column(0)->GetFixedWidth(), 26);
    Mouse(WM_LBUTTONUP, 0, 10);
    Layout();
    EXPECT_EQ(ColumnRect(1).left, 26);
    EXPECT_TRUE(Heard(L"headerclick").empty()) << "a drag is no click";

    // A separator on the left edge moves that edge.
    Column(2)->SetSepWidth(-4);
    const int left = ColumnRect(2).left;
    Mouse(WM_LBUTTONDOWN, left + 2, 10);
    Mouse(WM_MOUSEMOVE, left - 8, 10);
    EXPECT_EQ(Column(2)->GetFixedWidth(), 90);
    Mouse(WM_LBUTTONUP, left - 8, 10);
}

TEST_F(ListColumns, AHeaderClickSortsTheRows) {
    HostTable({100, 100}, 5);
    const wchar_t* texts[] = {L"pear", L"apple", L"fig", L"kiwi", L"date"};
    for (int i = 0; i < 5; ++i)
        Row(i)->SetText(0, texts[i]);
    list->SelectItem(2);
    bool descending = false;
    host->onNotify = [&](TNotifyUI& msg) {
        heard.push_back(HeardNotify{msg.type.GetData(), msg.sender, msg.wParam, msg.lParam});
        if (msg.type == L"headerclick" && msg.sender == Column(0)) {
            list->SortItems(&CompareByColumn, descending ? 1 : 0);
            descending = !descending;
        }
    };
    Mouse(WM_LBUTTONDOWN, 40, 10);
    EXPECT_NE(Column(0)->GetButtonState() & UISTATE_PUSHED, 0u);
    Mouse(WM_LBUTTONUP, 40, 10);
    EXPECT_EQ(Column(0)->GetButtonState() & UISTATE_PUSHED, 0u);
    ASSERT_EQ(Heard(L"headerclick").size(), 1u);
    std::vector<std::wstring> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(Row(i)->GetText(0));
        EXPECT_EQ(Row(i)->GetIndex(), i);
        EXPECT_FALSE(Row(i)->IsSelected());
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"apple", L"date", L"fig", L"kiwi", L"pear"}));
    EXPECT_EQ(list->GetCurSel(), -1) << "sorting clears the selection";
    Layout();
    EXPECT_EQ(Row(0)->GetPos().top, 30) << "laid out in the new order";

    Mouse(WM_LBUTTONDOWN, 40, 10);
    Mouse(WM_LBUTTONUP, 40, 10);
    EXPECT_STREQ(Row(0)->GetText(0), L"pear");
    EXPECT_FALSE(list->SortItems(nullptr, 0));
    // Pressing the last row after sorting selects that row by its new index.
    Layout();
    Press(50, 30 + 4 * 20 + 5);
    EXPECT_EQ(list->GetCurSel(), 4);
    EXPECT_STREQ(Row(4)->GetText(0), L"apple");
}

TEST_F(ListColumns, CellTextsAreStoredPerColumnOrComeFromTheCallback) {
    HostTable({100, 100}, 40);
    EXPECT_STREQ(Row(3)->GetText(1), L"3.1");
    EXPECT_EQ(Row(3)->GetText(2), nullptr) << "no such column";
    Row(3)->SetText(5, L"x");
    EXPECT_EQ(Row(3)->GetText(5), nullptr) << "only columns of the header take texts";
    CListTextElementUI loose;
    loose.SetText(0, L"no owner");
    EXPECT_EQ(loose.GetText(0), nullptr);

    CellTexts cells;
    list->SetTextCallback(&cells);
    EXPECT_EQ(list->GetTextCallback(), &cells);
    RenderTest::Surface surface(300, 300, 0xFFFFFFFF, 24);
    list->DoPaint(surface.dc(), RECT{0, 0, 300, 300});
    // Rows 0..13 show under the 30-pixel header; each asks for both its columns.
    ASSERT_EQ(cells.asked.size(), 28u);
    EXPECT_EQ(cells.asked[0], (std::pair<int, int>{0, 0}));
    EXPECT_EQ(cells.asked[27], (std::pair<int, int>{13, 1}));
    EXPECT_EQ(cells.items[27], Item(13));
    // The callback's text is what shows: something dark inside the first cell.
    EXPECT_GT(surface.CountOther(RECT{0, 30, 100, 50}, 0xFFFFFFFF), 0);
    list->SetTextCallback(nullptr);
}

TEST_F(ListColumns, LinksInCellsAreCountedUpToEightAndClickable) {
    HostTable({150, 150}, 3, L"itemshowhtml=\"true\"");
    std::wstring five;
    for (int i = 0; i < 5; ++i)
        five += L"<a t" + std::to_wstring(i) + L">L</a> ";
    Row(0)->SetText(0, five.c_str());
    Row(0)->SetText(1, five.c_str());
    Row(1)->SetText(0, L"<a only>link</a>");
    RenderTest::Surface surface(300, 300, 0xFFFFFFFF, 24);
    list->DoPaint(surface.dc(), RECT{0, 0, 300, 300});
    EXPECT_EQ(Row(0)->GetLinkCount(), 8) << "ten links, eight kept";
    EXPECT_STREQ(Row(0)->GetLinkContent(5), L"t0") << "the second column's first link";
    EXPECT_EQ(Row(0)->GetLinkContent(8), nullptr);
    EXPECT_EQ(Row(2)->GetLinkCount(), 0);
    EXPECT_EQ(Row(2)->GetControlFlags() & UIFLAG_SETCURSOR, 0u);
    EXPECT_NE(Row(1)->GetControlFlags() & UIFLAG_SETCURSOR, 0u);

    // Releasing over the link says which; elsewhere in the row it only selects.
    Press(4, 60);
    ASSERT_EQ(Heard(L"link").size(), 1u);
    EXPECT_EQ(Heard(L"link")[0].wParam, 0u);
    EXPECT_EQ(Heard(L"link")[0].sender, Item(1));
    EXPECT_EQ(list->GetCurSel(), 1);
    heard.clear();
    Press(280, 60);
    EXPECT_TRUE(Heard(L"link").empty());
}

TEST_F(ListColumns, WideColumnsScrollSidewaysWithTheRows) {
    HostTable({200, 200, 200}, 5, L"hscrollbar=\"true\"");
    ::SetWindowPos(host->GetHWND(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    skintest::PumpMessages();
    Layout();
    CScrollBarUI* bar = list->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    RECT client{};
    ::GetClientRect(host->GetHWND(), &client);
    ASSERT_EQ(client.right, 400);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 200);
    EXPECT_EQ(Item(2)->GetWidth(), 600);

    list->SetScrollPos(SIZE{50, 0});
    EXPECT_EQ(Item(2)->GetPos().left, -50);
    EXPECT_EQ(ColumnRect(1).left, 150) << "the columns follow the rows";
    EXPECT_EQ(Column(1)->GetPos().left, 150);
    Layout();
    EXPECT_EQ(ColumnRect(1).left, 150) << "and keep following after a layout";
    list->SetScrollPos(SIZE{0, 0});
    EXPECT_EQ(ColumnRect(1).left, 200);
}

TEST_F(ListColumns, BackgroundsByStateAndAlternateRows) {
    HostLabels(6, L"itembkcolor=\"#FF0000FF\" itemaltbk=\"true\" itemhotbkcolor=\"#FF00FF00\" "
                  L"itemselectedbkcolor=\"#FFFF0000\" itemlinecolor=\"#FF000000\"");
    list->SelectItem(2);
    ::SendMessageW(host->GetHWND(), WM_MOUSEMOVE, 0, skintest::PointParam(200, 90)); // item 4
    RenderTest::Surface surface(300, 300, 0xFFFFFFFF, 24);
    list->DoPaint(surface.dc(), RECT{0, 0, 300, 300});
    const auto at = [&](int row) { return surface.Pixel(280, row * 20 + 3); };
    EXPECT_EQ(at(0), 0xFF0000FFu);
    EXPECT_EQ(at(1), 0xFFFFFFFFu) << "odd rows have no background colour";
    EXPECT_EQ(at(2), 0xFFFF0000u) << "selected";
    EXPECT_EQ(at(3), 0xFFFFFFFFu);
    EXPECT_EQ(at(4), 0xFF00FF00u) << "hot";
    EXPECT_EQ(at(5), 0xFFFFFFFFu);
    EXPECT_EQ(surface.Pixel(280, 19), 0xFF000000u) << "the line under each row";
    Item(0)->SetEnabled(false);
    list->DoPaint(surface.dc(), RECT{0, 0, 300, 300});
    EXPECT_EQ(at(0), 0xFFFFFFFFu) << "disabled background";
}

TEST_F(ListColumns, SkinMarkupBuildsEveryListElement) {
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><List name=\"l\" itemfont=\"-1\" header=\"hidden\" itemalign=\"right\">"
        L"<ListHeader><ListHeaderItem text=\"A\" width=\"80\"/>"
        L"<ListHeaderItem text=\"B\" width=\"80\" sepwidth=\"-2\" dragable=\"false\"/>"
        L"</ListHeader>"
        L"<ListTextElement/><ListLabelElement text=\"x\"/><ListElement/>"
        L"<ListContainerElement><Button/></ListContainerElement>"
        L"<ListHeaderItem text=\"C\"/>"
        L"</List></Window>");
    ASSERT_NE(root, nullptr);
    list = static_cast<CListUI*>(root->GetInterface(L"List"));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->GetHeader()->IsVisible());
    EXPECT_EQ(list->GetHeader()->GetCount(), 3);
    EXPECT_EQ(list->GetListInfo()->columnCount, 3);
    EXPECT_EQ(list->GetItemTextStyle() & (DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_RIGHT));
    auto* second = static_cast<CListHeaderItemUI*>(list->GetHeader()->GetItemAt(1));
    EXPECT_EQ(second->GetSepWidth(), -2);
    EXPECT_FALSE(second->IsDragable());
    ASSERT_EQ(list->GetCount(), 4);
    const wchar_t* classes[] = {L"ListTextElementUI", L"ListLabelElementUI", L"ListElementUI",
                                L"ListContainerElementUI"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(list->GetItemAt(i)->GetClass(), classes[i]);
        auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface(L"ListItem"));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetIndex(), i);
        EXPECT_EQ(item->GetOwner(), static_cast<IListOwnerUI*>(list));
    }
    EXPECT_EQ(static_cast<CContainerUI*>(list->GetItemAt(3))->GetCount(), 1);
    delete root;
    list = nullptr;
}

TEST_F(ListColumns, TheHeaderCanBeReplacedButNeverGoes) {
    HostTable({100, 100}, 2);
    CListHeaderUI* first = list->GetHeader();
    auto* other = new CListHeaderUI;
    list->Add(other);
    EXPECT_EQ(list->GetHeader(), first) << "a header with columns stays";
    list->Remove(other);

    ASSERT_TRUE(list->Remove(first));
    ASSERT_NE(list->GetHeader(), nullptr) << "an empty header takes the place";
    EXPECT_EQ(list->GetHeader()->GetCount(), 0);
    EXPECT_EQ(list->GetListInfo()->columnCount, 0);
    auto* replacement = new CListHeaderUI;
    replacement->Add(new CListHeaderItemUI);
    list->Add(replacement);
    EXPECT_EQ(list->GetHeader(), replacement) << "an empty header gives way";
    EXPECT_EQ(list->GetListInfo()->columnCount, 1);
    Layout();
    EXPECT_EQ(list->GetItemIndex(replacement), 0);

    // The items of this family never expand.
    EXPECT_FALSE(list->ExpandItem(0));
    EXPECT_EQ(list->GetExpandedItem(), -1);
    EXPECT_FALSE(ListItem(0)->IsExpanded());
}
