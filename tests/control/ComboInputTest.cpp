// Combos in a real window driven by real messages: the pop-up opened by a click, items
// chosen by click, keyboard and wheel, the pop-up closed by focus loss, and combos (or
// their windows) destroyed while the pop-up is open.
#include "Guarded.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ButtonUI.h"
#include "control/ComboUI.h"
#include "control/ComboWnd.h"
#include "control/ContainerUI.h"
#include "control/ListLabelElementUI.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

using namespace SkinUI;

namespace {

using Item = Guarded<CListLabelElementUI>;
using Combo = Guarded<CComboUI>;

const RECT kComboPlace{10, 10, 130, 34};

class ComboInput : public ::testing::Test {
protected:
    // A 300 x 200 window at (100, y) whose combo at kComboPlace holds `count` items named
    // "item 0", "item 1"...
    void Host(int count = 3, int windowY = 100) {
        root = new CContainerUI;
        combo = new Combo;
        combo->destroyed = &combosDestroyed;
        combo->SetFloat(true);
        combo->SetFixedXY(SIZE{kComboPlace.left, kComboPlace.top});
        combo->SetFixedWidth(kComboPlace.right - kComboPlace.left);
        combo->SetFixedHeight(kComboPlace.bottom - kComboPlace.top);
        for (int i = 0; i < count; ++i) {
            auto* item = new Item;
            item->destroyed = &itemsDestroyed;
            item->SetText((L"item " + std::to_wstring(i)).c_str());
            combo->Add(item);
            items.push_back(item);
        }
        root->Add(combo);
        host = new skintest::HostWindow(root);
        ASSERT_NE(host->Open(300, 200, nullptr, WS_POPUP, 100, windowY), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        host->notifications.clear();
        host->senders.clear();
    }
    void TearDown() override {
        if (host != nullptr) {
            ::DestroyWindow(host->GetHWND());
            delete host;
        }
        skintest::PumpMessages();
    }

    void Send(HWND window, UINT message, int x, int y, WPARAM wParam = 0) {
        ::SendMessageW(window, message, wParam, skintest::PointParam(x, y));
    }
    void ClickCombo() {
        Send(host->GetHWND(), WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        Send(host->GetHWND(), WM_LBUTTONUP, 20, 20);
    }
    HWND Popup() const {
        CComboWnd* window = combo->GetDropDownWindow();
        return window != nullptr ? window->GetHWND() : nullptr;
    }
    // Opens the list and waits until it has laid its items out.
    void Open() {
        ClickCombo();
        ASSERT_NE(Popup(), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !::IsRectEmpty(&items[0]->GetPos()); }));
    }
    bool WaitClosed() {
        return skintest::PumpUntil([this] { return combo->GetDropDownWindow() == nullptr; });
    }
    void Key(HWND window, WPARAM key) { ::SendMessageW(window, WM_KEYDOWN, key, 0); }
    int Count(const wchar_t* type) const {
        int count = 0;
        for (const std::wstring& seen : host->notifications)
            count += seen == type ? 1 : 0;
        return count;
    }
    // The items are the combo's again, attached to the window's manager and unplaced.
    void ExpectItemsBack() {
        for (CControlUI* item : items) {
            EXPECT_EQ(item->GetManager(), &host->manager);
            EXPECT_EQ(item->GetParent(), combo);
            EXPECT_TRUE(::IsRectEmpty(&item->GetPos()));
        }
    }
    RECT ScreenRect(HWND window) const {
        RECT rc{};
        ::GetWindowRect(window, &rc);
        return rc;
    }

    skintest::HostWindow* host = nullptr;
    CContainerUI* root = nullptr;
    Combo* combo = nullptr;
    std::vector<Item*> items;
    int combosDestroyed = 0;
    int itemsDestroyed = 0;
};

} // namespace

TEST_F(ComboInput, AClickOpensTheListBelowTheComboAndAClickOnAnItemChoosesIt) {
    Host();
    ClickCombo();
    const HWND popup = Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Count(L"dropdown"), 1);
    EXPECT_NE(combo->GetButtonState() & UISTATE_PUSHED, 0u);
    EXPECT_EQ(::GetFocus(), popup);
    EXPECT_NE(::GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

    // As wide as the combo, right below it, as high as the items and 4.
    POINT below{kComboPlace.left, kComboPlace.bottom};
    ::ClientToScreen(host->GetHWND(), &below);
    const RECT placed = ScreenRect(popup);
    int height = 4;
    for (CControlUI* item : items)
        height += item->EstimateSize(SIZE{120, 150}).cy;
    EXPECT_EQ(placed.left, below.x);
    EXPECT_EQ(placed.top, below.y);
    EXPECT_EQ(placed.right - placed.left, 120);
    EXPECT_EQ(placed.bottom - placed.top, height);

    // The items moved into the list's own manager and layout.
    ASSERT_TRUE(skintest::PumpUntil([this] { return !::IsRectEmpty(&items[2]->GetPos()); }));
    CComboWnd* window = combo->GetDropDownWindow();
    for (CControlUI* item : items) {
        EXPECT_EQ(item->GetManager(), &window->GetManager());
        EXPECT_EQ(item->GetParent(), window->GetLayout());
    }

    const RECT second = items[1]->GetPos();
    const int x = (second.left + second.right) / 2;
    const int y = (second.top + second.bottom) / 2;
    Send(popup, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Send(popup, WM_LBUTTONUP, x, y);
    ASSERT_TRUE(WaitClosed());
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_TRUE(items[1]->IsSelected());
    EXPECT_STREQ(combo->GetText().GetData(), L"item 1");
    ASSERT_EQ(Count(L"itemselect"), 1);
    EXPECT_EQ(combo->GetButtonState() & UISTATE_PUSHED, 0u);
    ExpectItemsBack();
    EXPECT_EQ(host->manager.GetFocus(), combo) << "the combo takes the focus back";
}

TEST_F(ComboInput, KeysChooseInTheOpenListAndEscapeRestoresTheFirstChoice) {
    Host(4);
    combo->SelectItem(1);
    Open();
    const HWND popup = Popup();
    Key(popup, VK_DOWN);
    EXPECT_EQ(combo->GetCurSel(), 2) << "the key reaches the combo";
    // Choosing closes the list; Escape before that closes it on the first choice.
    Key(popup, VK_ESCAPE);
    EXPECT_EQ(combo->GetCurSel(), 1);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 1);
    ExpectItemsBack();

    Open();
    Key(Popup(), VK_END);
    Key(Popup(), VK_RETURN);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 3);
}

TEST_F(ComboInput, KeysAndTheWheelChooseNeighboursOfAClosedComboPastDisabledItems) {
    Host(5);
    items[1]->SetEnabled(false);
    host->manager.SetFocus(combo);
    const HWND window = host->GetHWND();
    Key(window, VK_DOWN);
    EXPECT_EQ(combo->GetCurSel(), 0);
    Key(window, VK_DOWN);
    EXPECT_EQ(combo->GetCurSel(), 2) << "the disabled item is passed over";
    Key(window, VK_UP);
    EXPECT_EQ(combo->GetCurSel(), 0);
    Key(window, VK_END);
    EXPECT_EQ(combo->GetCurSel(), 4);
    Key(window, VK_HOME);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(combo->GetDropDownWindow(), nullptr) << "choosing does not open the list";

    host->notifications.clear();
    const LPARAM over = skintest::ScreenPointParam(window, 20, 20);
    ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), over);
    EXPECT_EQ(combo->GetCurSel(), 2) << "down the list";
    ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), over);
    EXPECT_EQ(combo->GetCurSel(), 0) << "up the list";
    EXPECT_EQ(Count(L"itemselect"), 2);

    Key(window, VK_F4);
    EXPECT_NE(Popup(), nullptr) << "F4 opens";
}

TEST_F(ComboInput, LosingTheFocusClosesTheListWithoutAChoice) {
    Host();
    combo->SelectItem(2);
    Open();
    const HWND popup = Popup();
    ASSERT_EQ(::GetFocus(), popup);
    ::SetFocus(host->GetHWND());
    ASSERT_TRUE(WaitClosed());
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetButtonState() & UISTATE_PUSHED, 0u);
    ExpectItemsBack();
    // It opens again, with the same items.
    Open();
    EXPECT_EQ(items[2]->GetManager(), &combo->GetDropDownWindow()->GetManager());
}

TEST_F(ComboInput, ALongListScrollsAndItsScrollBarDoesNotCloseIt) {
    Host(20);
    combo->SetDropBoxSize(SIZE{200, 100});
    combo->SetAttribute(L"dropbox", L"bkcolor=\"#FF102030\" inset=\"2,2,2,2\"");
    Open();
    const HWND popup = Popup();
    CVerticalLayoutUI* layout = combo->GetDropDownWindow()->GetLayout();
    EXPECT_EQ(layout->GetBkColor(), 0xFF102030u) << "the drop box attributes";
    EXPECT_EQ(layout->GetInset().left, 2);
    EXPECT_EQ(layout->GetBorderSize(), 1);
    EXPECT_EQ(ScreenRect(popup).right - ScreenRect(popup).left, 200) << "the drop box width";
    EXPECT_EQ(ScreenRect(popup).bottom - ScreenRect(popup).top, 100) << "the drop box height";
    CScrollBarUI* bar = combo->GetDropDownWindow()->GetLayout()->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(skintest::PumpUntil([bar] { return bar->IsVisible(); }));
    const RECT rail = bar->GetPos();
    const int x = (rail.left + rail.right) / 2;
    Send(popup, WM_LBUTTONDOWN, x, rail.bottom - 30, MK_LBUTTON);
    Send(popup, WM_LBUTTONUP, x, rail.bottom - 30);
    skintest::PumpMessages();
    EXPECT_EQ(Popup(), popup) << "still open";
    EXPECT_GT(bar->GetScrollPos(), 0);

    // A key in the open list scrolls the choice into view.
    Key(popup, VK_END);
    EXPECT_EQ(combo->GetCurSel(), 19);
    const RECT last = items[19]->GetPos();
    EXPECT_LE(last.bottom, combo->GetDropDownWindow()->GetLayout()->GetPos().bottom);
    ASSERT_TRUE(WaitClosed());
}

TEST_F(ComboInput, NearTheBottomOfTheScreenTheListOpensAbove) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    Host(3, monitor.rcWork.bottom - 40);
    ClickCombo();
    ASSERT_NE(Popup(), nullptr);
    POINT top{kComboPlace.left, kComboPlace.top};
    ::ClientToScreen(host->GetHWND(), &top);
    const RECT placed = ScreenRect(Popup());
    EXPECT_EQ(placed.bottom, top.y);
    EXPECT_LT(placed.top, placed.bottom);
}

TEST_F(ComboInput, AComboRemovedWhileOpenClosesItsListAndTakesItsItemsWithIt) {
    Host();
    Open();
    const HWND popup = Popup();
    root->Remove(combo); // destroyed when the window's clean-up message comes
    ASSERT_TRUE(skintest::PumpUntil([this] { return combosDestroyed == 1; }));
    EXPECT_EQ(itemsDestroyed, 3);
    ASSERT_TRUE(skintest::PumpUntil([popup] { return !::IsWindow(popup); }));
    // Whatever the list still receives must not reach the freed combo or its items.
    Send(host->GetHWND(), WM_MOUSEMOVE, 20, 40);
    skintest::PumpMessages();
}

TEST_F(ComboInput, AComboDeletedAtOnceWhileOpenLeavesAListThatGoesQuietly) {
    Host();
    Open();
    const HWND popup = Popup();
    // Some input on the open list first, so that its manager knows the items.
    const RECT first = items[0]->GetPos();
    Send(popup, WM_MOUSEMOVE, first.left + 5, first.top + 5);
    root->SetDelayedDestroy(false);
    root->Remove(combo);
    EXPECT_EQ(combosDestroyed, 1);
    EXPECT_EQ(itemsDestroyed, 3);
    EXPECT_FALSE(::IsWindowVisible(popup));
    Send(popup, WM_MOUSEMOVE, first.left + 6, first.top + 6);
    Key(popup, VK_DOWN);
    ASSERT_TRUE(skintest::PumpUntil([popup] { return !::IsWindow(popup); }));
}

TEST_F(ComboInput, TheWindowDestroyedWhileTheListIsOpenTakesTheListAlong) {
    Host();
    Open();
    const HWND popup = Popup();
    ::DestroyWindow(host->GetHWND());
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(combo->GetDropDownWindow(), nullptr);
    ExpectItemsBack();
    delete host; // the tree goes with its manager
    host = nullptr;
    EXPECT_EQ(combosDestroyed, 1);
    EXPECT_EQ(itemsDestroyed, 3);
}

TEST_F(ComboInput, AnItemRemovedWhileTheListIsOpenLeavesTheList) {
    Host(4);
    combo->SelectItem(3);
    Open();
    CVerticalLayoutUI* layout = combo->GetDropDownWindow()->GetLayout();
    combo->RemoveAt(1);
    EXPECT_EQ(layout->GetItemIndex(items[1]), -1);
    EXPECT_EQ(layout->GetCount(), 3);
    EXPECT_EQ(combo->GetCurSel(), 2) << "the selection moved up with its item";
    ASSERT_TRUE(skintest::PumpUntil([this] { return itemsDestroyed == 1; }));
    Key(Popup(), VK_ESCAPE);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_STREQ(combo->GetText().GetData(), L"item 3");
}

TEST_F(ComboInput, ADisabledComboDoesNotOpen) {
    Host();
    combo->SetEnabled(false);
    ClickCombo();
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(combo->GetButtonState(), 0u);
}
