// Keyboard focus, tab order, shortcuts and the process-wide pre-translation.
#include "window/ManagerFixture.h"

#include <vector>

using namespace SkinUI;

namespace {

// Holds Shift down in this thread's keyboard state while it lives.
class ShiftDown {
public:
    ShiftDown() {
        ::GetKeyboardState(m_saved);
        BYTE keys[256];
        ::memcpy(keys, m_saved, sizeof(keys));
        keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~ShiftDown() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

} // namespace

using Focus = ManagerFixture;

TEST_F(Focus, MovesWithEventsAndNotifications) {
    manager->SetFocus(a);
    EXPECT_EQ(manager->GetFocus(), a);
    EXPECT_TRUE(a->IsFocused());
    EXPECT_EQ(a->Types(), std::vector<int>({UIEVENT_SETFOCUS}));
    EXPECT_EQ(a->Last(UIEVENT_SETFOCUS)->sender, a);

    manager->SetFocus(c);
    EXPECT_EQ(a->Last(UIEVENT_KILLFOCUS)->sender, c) << "the kill-focus names the new control";
    EXPECT_FALSE(a->IsFocused());
    EXPECT_EQ(host->notifications,
              std::vector<std::wstring>({L"setfocus", L"killfocus", L"setfocus"}));
    EXPECT_EQ(host->senders, std::vector<CControlUI*>({a, a, c}));

    manager->SetFocus(c); // already there: nothing
    EXPECT_EQ(c->Count(UIEVENT_SETFOCUS), 1);

    manager->SetFocus(nullptr);
    EXPECT_EQ(c->Last(UIEVENT_KILLFOCUS)->sender, nullptr);
    EXPECT_EQ(manager->GetFocus(), nullptr);
}

TEST_F(Focus, RefusesControlsThatCannotTakeIt) {
    b->SetEnabled(false);
    manager->SetFocus(b);
    EXPECT_EQ(manager->GetFocus(), nullptr);
    e->SetVisible(false);
    manager->SetFocus(e);
    EXPECT_EQ(manager->GetFocus(), nullptr);
    CPaintManagerUI other;
    RecordingControl stranger;
    stranger.SetManager(&other, nullptr, false);
    manager->SetFocus(&stranger);
    EXPECT_EQ(manager->GetFocus(), nullptr);
    EXPECT_EQ(stranger.events.size(), 0u);
}

TEST_F(Focus, HidingTheFocusedControlClearsTheFocus) {
    manager->SetFocus(d);
    d->SetVisible(false);
    EXPECT_EQ(manager->GetFocus(), nullptr);
    manager->SetFocus(c);
    panel->SetInternVisible(false); // the panel itself is not focused: nothing happens
    EXPECT_EQ(manager->GetFocus(), c);
    c->SetInternVisible(false);
    EXPECT_EQ(manager->GetFocus(), nullptr);
}

TEST_F(Focus, TabWalksTheTabStopsAcrossNestedContainersAndWraps) {
    std::vector<CControlUI*> order;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB)) << "the manager consumes Tab";
        order.push_back(manager->GetFocus());
    }
    EXPECT_EQ(order, std::vector<CControlUI*>({a, c, d, e, a}))
        << "from no focus to the first tab stop, then on, wrapping at the end";

    order.clear();
    {
        ShiftDown shift;
        for (int i = 0; i < 5; ++i) {
            Key(WM_KEYDOWN, VK_TAB);
            order.push_back(manager->GetFocus());
        }
    }
    EXPECT_EQ(order, std::vector<CControlUI*>({e, d, c, a, e}))
        << "Shift+Tab on the first tab stop wraps to the last";

    // Disabled and invisible tab stops are passed over.
    d->SetEnabled(false);
    manager->SetFocus(c);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(manager->GetFocus(), e);
}

TEST_F(Focus, TabWaitsForAPendingLayout) {
    manager->SetFocus(a);
    root->NeedUpdate();
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(manager->GetFocus(), a) << "the move waits for the layout pass";
    ASSERT_TRUE(skintest::PumpUntil([this] { return manager->GetFocus() == c; }));
}

TEST_F(Focus, DeferredFocusLandsAfterTheNextLayoutPass) {
    manager->SetFocus(a);
    ClearEvents();
    manager->SetFocusNeeded(d);
    EXPECT_EQ(a->Types(), std::vector<int>({UIEVENT_KILLFOCUS}));
    EXPECT_EQ(manager->GetFocus(), c) << "parked on the tab stop before, without events";
    EXPECT_EQ(c->events.size(), 0u);
    ASSERT_TRUE(skintest::PumpUntil([this] { return manager->GetFocus() == d; }));
    EXPECT_EQ(d->Count(UIEVENT_SETFOCUS), 1);

    // The first tab stop has nothing before it.
    manager->SetFocusNeeded(a);
    EXPECT_EQ(manager->GetFocus(), nullptr);
    ASSERT_TRUE(skintest::PumpUntil([this] { return manager->GetFocus() == a; }));
}

TEST_F(Focus, ShortcutsFocusAndActivate) {
    auto* own = Add(root, new RecordingControl(L"own"), 10, 260, 50, 20);
    own->SetShortcut(L'O');
    auto* edit = Add(root, new RecordingControl(L"edit"), 100, 260, 50, 20);
    auto* label = Add(root, new RecordingControl(L"label", 0, L"LabelUI"), 200, 260, 50, 20);
    label->SetShortcut(L'n');
    auto* hidden = Add(root, new RecordingControl(L"hidden"), 300, 260, 50, 20);
    hidden->SetShortcut(L'H');
    hidden->SetVisible(false);

    EXPECT_TRUE(Key(WM_SYSCHAR, L'o')) << "compared upper-cased";
    EXPECT_EQ(manager->GetFocus(), own);
    EXPECT_EQ(own->activations, 1);

    // Searched topmost first: after the label comes the control added before it.
    EXPECT_TRUE(Key(WM_SYSCHAR, L'N'));
    EXPECT_EQ(manager->GetFocus(), edit);
    EXPECT_EQ(edit->activations, 1);
    EXPECT_EQ(label->activations, 0);

    EXPECT_FALSE(Key(WM_SYSCHAR, L'h')) << "invisible controls never match";
    EXPECT_EQ(hidden->activations, 0);
    EXPECT_FALSE(Key(WM_SYSCHAR, L'z'));
}

TEST_F(Focus, TabWithoutAFocusedControlStartsAtTheFirstTabStop) {
    ASSERT_EQ(manager->GetFocus(), nullptr);
    LRESULT result = 0;
    EXPECT_TRUE(manager->PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result));
    EXPECT_EQ(manager->GetFocus(), a);
    EXPECT_FALSE(manager->PreMessageHandler(WM_KEYDOWN, VK_RETURN, 0, result));
}

TEST_F(Focus, TranslatorsAndPreMessageFiltersComeFirst) {
    struct Translator : ITranslateAccelerator {
        LRESULT TranslateAccelerator(MSG* msg) override {
            ++calls;
            return msg->wParam == VK_TAB && consumeTab ? 0 : 1;
        }
        bool consumeTab = true;
        int calls = 0;
    } translator;
    manager->AddTranslateAccelerator(&translator);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(manager->GetFocus(), nullptr) << "the translator took the Tab";
    translator.consumeTab = false;
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(manager->GetFocus(), a);
    EXPECT_TRUE(manager->RemoveTranslateAccelerator(&translator));

    struct Filter : IMessageFilterUI {
        LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override {
            handled = message == WM_KEYDOWN;
            return 0;
        }
    } filter;
    manager->AddPreMessageFilter(&filter);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(manager->GetFocus(), a) << "the pre-message filter took the Tab";
    EXPECT_TRUE(manager->RemovePreMessageFilter(&filter));
}

TEST_F(Focus, ChildWindowManagerIsAskedOncePerMessage) {
    // frame > middle > child host: the child's manager sits two ancestor levels deep.
    const HWND frame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP | WS_VISIBLE, 100, 450,
                                         300, 200, nullptr, nullptr, nullptr, nullptr);
    const HWND middle = ::CreateWindowExW(0, L"STATIC", L"middle", WS_CHILD | WS_VISIBLE, 0, 0, 300,
                                          200, frame, nullptr, nullptr, nullptr);
    auto* childRoot = new skintest::TestContainer(L"childRoot");
    auto* first = new RecordingControl(L"first", UIFLAG_TABSTOP);
    auto* second = new RecordingControl(L"second", UIFLAG_TABSTOP);
    auto* third = new RecordingControl(L"third", UIFLAG_TABSTOP);
    childRoot->Add(first, 0, 0, 50, 20);
    childRoot->Add(second, 60, 0, 50, 20);
    childRoot->Add(third, 120, 0, 50, 20);
    skintest::HostWindow child(childRoot);
    ASSERT_NE(child.Open(200, 100, middle, WS_CHILD | WS_VISIBLE, 0, 0), nullptr);
    ASSERT_TRUE(skintest::PumpUntil([&child] { return !child.notifications.empty(); }));
    child.manager.SetFocus(first);

    EXPECT_FALSE(Key(WM_KEYDOWN, VK_TAB, child)) << "a child window's Tab is still dispatched";
    EXPECT_EQ(child.manager.GetFocus(), second) << "one Tab moves the focus once";
    EXPECT_EQ(second->Count(UIEVENT_KEYDOWN), 1);
    EXPECT_EQ(manager->GetFocus(), nullptr) << "an unrelated manager is not asked";

    ::DestroyWindow(child);
    ::DestroyWindow(frame);
}
