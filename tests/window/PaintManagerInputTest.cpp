// Native mouse and keyboard messages, sent as the system sends them, reach the right
// controls of a window built by hand.
#include "window/ManagerFixture.h"

#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

using namespace SkinUI;

using MouseInput = ManagerFixture;

TEST_F(MouseInput, ClickGoesToTheControlUnderThePointerWhichTakesCapture) {
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON | MK_SHIFT);
    ASSERT_EQ(a->Count(UIEVENT_BUTTONDOWN), 1);
    const skintest::SeenEvent* down = a->Last(UIEVENT_BUTTONDOWN);
    EXPECT_EQ(down->sender, a);
    EXPECT_EQ(down->mousePos.x, 20);
    EXPECT_EQ(down->mousePos.y, 20);
    EXPECT_EQ(down->keyState, MK_LBUTTON | MK_SHIFT) << "the native mouse-key mask";
    EXPECT_EQ(down->wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(::GetCapture(), window);
    EXPECT_TRUE(manager->IsCaptured());
    EXPECT_EQ(manager->GetFocus(), a) << "button-down focuses the control";
    EXPECT_EQ(b->events.size(), 0u);

    SendAt(WM_LBUTTONUP, 21, 22);
    EXPECT_EQ(a->Count(UIEVENT_BUTTONUP), 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(manager->IsCaptured());
    EXPECT_EQ(manager->GetMousePos().x, 21);

    // Inside the panel, the innermost control is hit.
    SendAt(WM_LBUTTONDOWN, 30, 120, MK_LBUTTON);
    ASSERT_EQ(c->Count(UIEVENT_BUTTONDOWN), 1);
    // Unhandled events climb to the parent's DoEvent, still naming the control.
    ASSERT_EQ(panel->Count(UIEVENT_BUTTONDOWN), 1);
    EXPECT_EQ(panel->Last(UIEVENT_BUTTONDOWN)->sender, c);
    SendAt(WM_LBUTTONUP, 30, 120);
}

TEST_F(MouseInput, AClickMovesTheFocusThenTakesTheCaptureThenTellsTheControl) {
    manager->SetFocus(e);
    std::vector<std::string> steps;
    const auto state = [this](CControlUI* control) {
        std::string text;
        if (manager->IsCaptured() && ::GetCapture() == window) text += " captured";
        if (manager->GetFocus() == control) text += " focused";
        return text;
    };
    host->onNotify = [&](TNotifyUI& msg) {
        steps.push_back(msg.type == L"setfocus"    ? "setfocus"
                        : msg.type == L"killfocus" ? "killfocus"
                                                   : "other");
    };
    e->onEvent = [&](TEventUI& event) {
        if (event.type == UIEVENT_KILLFOCUS) steps.push_back("e loses focus");
    };
    a->onEvent = [&](TEventUI& event) {
        if (event.type == UIEVENT_SETFOCUS) steps.push_back("a gains focus" + state(a));
        if (event.type == UIEVENT_BUTTONDOWN) steps.push_back("a pressed" + state(a));
        if (event.type == UIEVENT_BUTTONUP) steps.push_back("a released" + state(a));
    };
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    SendAt(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(steps, std::vector<std::string>(
                         {"e loses focus", "killfocus", "a gains focus focused", "setfocus",
                          "a pressed captured focused", "a released focused"}));
}

TEST_F(MouseInput, ButtonEventsCarryTheFieldsOfTheirMessage) {
    const LPARAM at = skintest::PointParam(20, 20);
    const LPARAM screen = skintest::ScreenPointParam(window, 20, 20);
    const WPARAM withControl = MK_LBUTTON | MK_CONTROL;
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int type;
        WORD keyState;
        WPARAM eventWParam;
        LPARAM eventLParam;
    } cases[] = {
        {WM_LBUTTONDOWN, withControl, at, UIEVENT_BUTTONDOWN, withControl, withControl, at},
        {WM_LBUTTONUP, MK_CONTROL, at, UIEVENT_BUTTONUP, MK_CONTROL, MK_CONTROL, at},
        {WM_LBUTTONDBLCLK, withControl, at, UIEVENT_DBLCLICK, withControl, 0, 0},
        {WM_LBUTTONUP, 0, at, UIEVENT_BUTTONUP, 0, 0, at},
        {WM_RBUTTONDOWN, MK_RBUTTON, at, UIEVENT_RBUTTONDOWN, MK_RBUTTON, MK_RBUTTON, at},
        {WM_CONTEXTMENU, 0x20003, screen, UIEVENT_CONTEXTMENU, 3, 0x20003,
         reinterpret_cast<LPARAM>(a)},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), screen, UIEVENT_SCROLLWHEEL, 0, SB_LINEUP,
         screen},
    };
    for (const auto& test : cases) {
        ClearEvents();
        Send(test.message, test.wParam, test.lParam);
        const skintest::SeenEvent* seen = a->Last(test.type);
        ASSERT_NE(seen, nullptr) << test.message;
        EXPECT_EQ(seen->sender, a) << test.message;
        EXPECT_EQ(seen->mousePos.x, 20) << test.message;
        EXPECT_EQ(seen->mousePos.y, 20) << test.message;
        EXPECT_EQ(seen->keyState, test.keyState) << test.message;
        EXPECT_EQ(seen->wParam, test.eventWParam) << test.message;
        EXPECT_EQ(seen->lParam, test.eventLParam) << test.message;
        EXPECT_EQ(seen->key, 0) << test.message;
    }
}

TEST_F(MouseInput, EachEventIsAFreshRecordWhateverAHandlerDidToTheLastOne) {
    // A handler may scribble over the record it is given.
    const auto scribble = [](TEventUI& event) {
        event.sender = nullptr;
        event.mousePos = POINT{-5, -5};
        event.keyState = 0x77;
        event.wParam = 99;
        event.lParam = 98;
    };
    a->onEvent = scribble;
    SendAt(WM_MOUSEMOVE, 20, 20);
    SendAt(WM_MOUSEMOVE, 160, 20); // a leaves, b is entered and moved over
    ASSERT_EQ(a->Count(UIEVENT_MOUSELEAVE), 1);
    for (int type : {UIEVENT_MOUSEENTER, UIEVENT_MOUSEMOVE}) {
        const skintest::SeenEvent* seen = b->Last(type);
        ASSERT_NE(seen, nullptr) << type;
        EXPECT_EQ(seen->sender, b) << type;
        EXPECT_EQ(seen->mousePos.x, 160) << type;
        EXPECT_EQ(seen->keyState, 0) << type;
        EXPECT_EQ(seen->wParam, 0u) << type;
        EXPECT_EQ(seen->lParam, 0) << type;
    }

    // Closing: the hovered control's leave, then the pressed control's button-up.
    b->onEvent = scribble;
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    SendAt(WM_MOUSEMOVE, 160, 20, MK_LBUTTON); // hover on b, a keeps the mouse
    ClearEvents();
    LRESULT result = 0;
    manager->MessageHandler(WM_CLOSE, 0, 0, result);
    ASSERT_EQ(b->Count(UIEVENT_MOUSELEAVE), 1);
    const skintest::SeenEvent* up = a->Last(UIEVENT_BUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->sender, a);
    EXPECT_EQ(up->mousePos.x, 160) << "the last mouse position";
    EXPECT_EQ(up->wParam, 0u);
}

TEST_F(MouseInput, DragKeepsMouseEventsWithThePressedControl) {
    SendAt(WM_MOUSEMOVE, 20, 20);
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ClearEvents();
    SendAt(WM_MOUSEMOVE, 160, 20, MK_LBUTTON);
    SendAt(WM_MOUSEMOVE, 170, 25, MK_LBUTTON);
    SendAt(WM_LBUTTONUP, 170, 25);
    EXPECT_EQ(a->Types(), std::vector<int>({UIEVENT_MOUSELEAVE, UIEVENT_MOUSEMOVE,
                                            UIEVENT_MOUSEMOVE, UIEVENT_BUTTONUP}));
    EXPECT_EQ(b->Types(), std::vector<int>({UIEVENT_MOUSEENTER}));
    EXPECT_EQ(a->Last(UIEVENT_BUTTONUP)->mousePos.x, 170);
}

TEST_F(MouseInput, DoubleClickLeavesTheFocusAlone) {
    manager->SetFocus(e);
    SendAt(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
    EXPECT_EQ(a->Count(UIEVENT_DBLCLICK), 1);
    EXPECT_EQ(a->Last(UIEVENT_DBLCLICK)->keyState, MK_LBUTTON);
    EXPECT_EQ(manager->GetFocus(), e);
    EXPECT_EQ(::GetCapture(), window);
    SendAt(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(a->Count(UIEVENT_BUTTONUP), 1) << "the double-clicked control gets the button-up";
}

TEST_F(MouseInput, RightClickEndsInAContextMenuEventForThePressedControl) {
    b->SetAttribute(L"menu", L"true");
    SendAt(WM_RBUTTONDOWN, 160, 20, MK_RBUTTON);
    EXPECT_EQ(b->Count(UIEVENT_RBUTTONDOWN), 1);
    EXPECT_EQ(manager->GetFocus(), b);
    // The default window procedure turns the button-up into WM_CONTEXTMENU.
    SendAt(WM_RBUTTONUP, 160, 20);
    ASSERT_EQ(b->Count(UIEVENT_CONTEXTMENU), 1);
    const skintest::SeenEvent* menu = b->Last(UIEVENT_CONTEXTMENU);
    EXPECT_EQ(menu->lParam, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(menu->mousePos.x, 160);
    EXPECT_EQ(menu->mousePos.y, 20);
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_FALSE(host->notifications.empty());
    EXPECT_EQ(host->notifications.back(), L"menu");
    EXPECT_EQ(host->senders.back(), b);

    // Without the menu attribute the event goes up to the parent.
    host->notifications.clear();
    SendAt(WM_RBUTTONDOWN, 30, 120, MK_RBUTTON);
    SendAt(WM_RBUTTONUP, 30, 120);
    EXPECT_EQ(c->Count(UIEVENT_CONTEXTMENU), 1);
    EXPECT_EQ(panel->Count(UIEVENT_CONTEXTMENU), 1);
    for (const std::wstring& type : host->notifications)
        EXPECT_NE(type, L"menu");
}

TEST_F(MouseInput, HoverEntersAndLeavesAndLeavingTheWindowEndsIt) {
    SendAt(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(a->Types(), std::vector<int>({UIEVENT_MOUSEENTER, UIEVENT_MOUSEMOVE}));
    SendAt(WM_MOUSEMOVE, 160, 20);
    EXPECT_EQ(a->Types(),
              std::vector<int>({UIEVENT_MOUSEENTER, UIEVENT_MOUSEMOVE, UIEVENT_MOUSELEAVE}));
    EXPECT_EQ(b->Types(), std::vector<int>({UIEVENT_MOUSEENTER, UIEVENT_MOUSEMOVE}));

    // The pointer leaves the window: the hovered control hears of it without another move.
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(b->Count(UIEVENT_MOUSELEAVE), 1);
    EXPECT_EQ(b->Count(UIEVENT_MOUSEMOVE), 1);
    EXPECT_EQ(manager->GetMousePos().x, -1);
}

TEST_F(MouseInput, LeavingRightAfterAHoverStillEndsTheHover) {
    SendAt(WM_MOUSEMOVE, 160, 20);
    Send(WM_MOUSEHOVER, 0, skintest::PointParam(160, 20));
    EXPECT_EQ(b->Count(UIEVENT_MOUSEHOVER), 1);
    // Hover tracking ends with WM_MOUSEHOVER, leave tracking does not: a pointer that
    // jumps out of the window next must still end the hover.
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(b->Count(UIEVENT_MOUSELEAVE), 1);
}

TEST_F(MouseInput, ToolTipIsMadeOnceAndShownAtTheHoveredControl) {
    SendAt(WM_MOUSEMOVE, 160, 20);
    Send(WM_MOUSEHOVER, 0, skintest::PointParam(160, 20));
    EXPECT_EQ(manager->GetTooltipWindow(), nullptr) << "no tip text, no tool tip";

    a->SetToolTip(L"first<n>line");
    b->SetToolTip(L"second");
    b->SetToolTipWidth(120);
    SendAt(WM_MOUSEMOVE, 20, 20);
    Send(WM_MOUSEHOVER, 0, skintest::PointParam(20, 20));
    const HWND tip = manager->GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    wchar_t text[80] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(window);
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, L"first\r\nline");
    EXPECT_EQ(info.rect.left, 10);
    EXPECT_EQ(info.rect.right, 110);

    SendAt(WM_MOUSEMOVE, 160, 20);
    Send(WM_MOUSEHOVER, 0, skintest::PointParam(160, 20));
    EXPECT_EQ(manager->GetTooltipWindow(), tip) << "made only once";
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 120);
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, L"second");
    EXPECT_EQ(info.rect.left, 150);
}

TEST_F(MouseInput, WheelTellsTheDirectionAndMovesTheHover) {
    SendAt(WM_MOUSEMOVE, 20, 20);
    ClearEvents();
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
         skintest::ScreenPointParam(window, 160, 20));
    ASSERT_EQ(b->Count(UIEVENT_SCROLLWHEEL), 1);
    EXPECT_EQ(b->Last(UIEVENT_SCROLLWHEEL)->wParam, static_cast<WPARAM>(SB_LINEDOWN));
    EXPECT_EQ(b->Last(UIEVENT_SCROLLWHEEL)->mousePos.x, 160);
    // The synthetic move after the wheel brings the hover along.
    EXPECT_EQ(a->Count(UIEVENT_MOUSELEAVE), 1);
    EXPECT_EQ(b->Count(UIEVENT_MOUSEENTER), 1);

    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), skintest::ScreenPointParam(window, 160, 20));
    EXPECT_EQ(b->Last(UIEVENT_SCROLLWHEEL)->wParam, static_cast<WPARAM>(SB_LINEUP));
}

TEST_F(MouseInput, MouseDisabledControlsAreNotHitAndForeignControlsAreIgnored) {
    a->SetMouseEnabled(false);
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(a->Count(UIEVENT_BUTTONDOWN), 0);
    EXPECT_EQ(root->Count(UIEVENT_BUTTONDOWN), 1) << "the container behind it is hit";
    SendAt(WM_LBUTTONUP, 20, 20);

    // A control of a nested manager is left to that manager.
    CPaintManagerUI nested;
    b->SetManager(&nested, root, false);
    SendAt(WM_MOUSEMOVE, 160, 20);
    SendAt(WM_LBUTTONDOWN, 160, 20, MK_LBUTTON);
    EXPECT_EQ(b->events.size(), 0u);
    b->SetManager(manager, root, false);
}

TEST_F(MouseInput, CursorIsAskedOnlyOfControlsThatSetTheirOwn) {
    auto* cursorControl =
        Add(root, new RecordingControl(L"cursor", UIFLAG_SETCURSOR), 10, 260, 100, 30);
    skintest::PumpMessages(); // lays the new control out
    ASSERT_EQ(cursorControl->GetPos().top, 260);
    POINT over{20, 270};
    ::ClientToScreen(window, &over);
    ::SetCursorPos(over.x, over.y);
    EXPECT_EQ(
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        TRUE);
    ASSERT_EQ(cursorControl->Count(UIEVENT_SETCURSOR), 1);
    EXPECT_EQ(cursorControl->Last(UIEVENT_SETCURSOR)->sender, nullptr);

    POINT overA{20, 20};
    ::ClientToScreen(window, &overA);
    ::SetCursorPos(overA.x, overA.y);
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(a->Count(UIEVENT_SETCURSOR), 0);

    // While the mouse is captured the cursor stays as it is.
    ::SetCursorPos(over.x, over.y);
    manager->SetCapture();
    EXPECT_EQ(
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        TRUE);
    EXPECT_EQ(cursorControl->Count(UIEVENT_SETCURSOR), 1);
    manager->ReleaseCapture();
}

TEST_F(MouseInput, CloseEndsHoverAndClickAndFocus) {
    SendAt(WM_MOUSEMOVE, 20, 20);
    SendAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ASSERT_EQ(manager->GetFocus(), a);
    ClearEvents();
    // Straight to the manager: the window itself stays open.
    LRESULT result = 0;
    EXPECT_FALSE(manager->MessageHandler(WM_CLOSE, 0, 0, result));
    EXPECT_EQ(a->Types(),
              std::vector<int>({UIEVENT_MOUSELEAVE, UIEVENT_BUTTONUP, UIEVENT_KILLFOCUS}));
    EXPECT_EQ(manager->GetFocus(), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}

using KeyboardInput = ManagerFixture;

TEST_F(KeyboardInput, KeysGoToTheFocusedControlAndKeyUpToTheOneThatGotKeyDown) {
    SendAt(WM_MOUSEMOVE, 33, 44);
    ClearEvents();
    Send(WM_KEYDOWN, 'A');
    Send(WM_CHAR, 'a');
    EXPECT_EQ(a->events.size(), 0u) << "nothing focused, nobody hears";

    manager->SetFocus(a);
    ClearEvents();
    Send(WM_KEYDOWN, 'A');
    Send(WM_CHAR, 'a');
    ASSERT_EQ(a->Types(), std::vector<int>({UIEVENT_KEYDOWN, UIEVENT_CHAR}));
    EXPECT_EQ(a->events[0].key, L'A');
    EXPECT_EQ(a->events[0].sender, nullptr);
    EXPECT_EQ(a->events[0].mousePos.x, 33) << "the last mouse position";
    EXPECT_EQ(a->events[1].key, L'a');

    manager->SetFocus(c);
    Send(WM_KEYUP, 'A');
    EXPECT_EQ(a->Count(UIEVENT_KEYUP), 1);
    EXPECT_EQ(c->Count(UIEVENT_KEYUP), 0);
    Send(WM_KEYUP, 'A');
    EXPECT_EQ(a->Count(UIEVENT_KEYUP), 1) << "one key-up per key-down";

    Key(WM_SYSKEYDOWN, VK_F10);
    EXPECT_EQ(c->Count(UIEVENT_SYSKEY), 1);
}

TEST_F(KeyboardInput, WindowSizeReachesTheFocusAndLaysTheTreeOutAgain) {
    manager->SetFocus(d);
    ::SetWindowPos(window, nullptr, 0, 0, 500, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(d->Count(UIEVENT_WINDOWSIZE), 1);
    EXPECT_EQ(d->Last(UIEVENT_WINDOWSIZE)->sender, d);
    ASSERT_TRUE(skintest::PumpUntil([this] { return root->GetPos().right == 500; }));
    EXPECT_EQ(root->GetPos().bottom, 320);
}

using NativeMessages = ManagerFixture;

TEST_F(NativeMessages, EraseIsRefusedAndSizeLimitsApply) {
    LRESULT result = 0;
    EXPECT_TRUE(manager->MessageHandler(WM_ERASEBKGND, 0, 0, result));
    EXPECT_EQ(result, 1);

    manager->SetMinInfo(120, 0);
    manager->SetMaxInfo(0, 240);
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3000, 4000};
    EXPECT_FALSE(
        manager->MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), result));
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 2);
    EXPECT_EQ(info.ptMaxTrackSize.x, 3000);
    EXPECT_EQ(info.ptMaxTrackSize.y, 240);
}

namespace {

// A native child that records reflected messages.
struct ReflectSpy {
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= 0x2000 && message < 0x3000) {
            seen.push_back(message);
            return 42;
        }
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    static std::vector<UINT> seen;
};
std::vector<UINT> ReflectSpy::seen;

} // namespace

TEST_F(NativeMessages, NotificationsAndCommandsAreReflectedToTheNativeChild) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReflectSpy::Procedure;
    wc.lpszClassName = L"SkinTestReflect";
    ::RegisterClassW(&wc);
    const HWND child = ::CreateWindowExW(0, L"SkinTestReflect", L"", WS_CHILD, 0, 0, 10, 10, window,
                                         nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    ReflectSpy::seen.clear();

    NMHDR header{};
    header.hwndFrom = child;
    LRESULT result = 0;
    EXPECT_TRUE(manager->MessageHandler(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), result));
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(manager->MessageHandler(WM_NOTIFY, 0, 0, result)) << "consumed in either case";
    EXPECT_TRUE(manager->MessageHandler(WM_COMMAND, 1, reinterpret_cast<LPARAM>(child), result));
    EXPECT_FALSE(manager->MessageHandler(WM_COMMAND, 1, 0, result)) << "menus and accelerators";
    EXPECT_TRUE(
        manager->MessageHandler(WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(child), result));
    EXPECT_TRUE(
        manager->MessageHandler(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child), result));
    EXPECT_EQ(ReflectSpy::seen,
              std::vector<UINT>({WM_NOTIFY + 0x2000, WM_COMMAND + 0x2000, WM_CTLCOLOREDIT + 0x2000,
                                 WM_CTLCOLORSTATIC + 0x2000}));
    ::DestroyWindow(child);
}

TEST_F(NativeMessages, MessageFiltersSeeMessagesFirst) {
    struct Filter : IMessageFilterUI {
        LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override {
            seen.push_back(message);
            handledAtEntry.push_back(handled);
            if (message == WM_APP + 5 && consume) {
                handled = true;
                return 77;
            }
            return 0;
        }
        bool consume = false;
        std::vector<UINT> seen;
        std::vector<bool> handledAtEntry;
    } first, second;
    first.consume = true;
    second.consume = true;
    manager->AddMessageFilter(&first);
    manager->AddMessageFilter(&second);
    EXPECT_EQ(Send(WM_APP + 5), 77);
    EXPECT_EQ(second.seen.size(), 0u) << "the first filter that handles ends it";
    first.consume = false;
    Send(WM_APP + 5);
    EXPECT_EQ(second.handledAtEntry, std::vector<bool>({false}));
    EXPECT_TRUE(manager->RemoveMessageFilter(&first));
    EXPECT_TRUE(manager->RemoveMessageFilter(&second));
    EXPECT_FALSE(manager->RemoveMessageFilter(&second));
}

TEST_F(NativeMessages, TheManagerKnowsTheThreadOfItsWindow) {
    EXPECT_TRUE(manager->IsOnOwnThread());
    bool elsewhere = true;
    std::thread([&] { elsewhere = manager->IsOnOwnThread(); }).join();
    EXPECT_FALSE(elsewhere);

    CPaintManagerUI unbound;
    bool unboundElsewhere = false;
    std::thread([&] { unboundElsewhere = unbound.IsOnOwnThread(); }).join();
    EXPECT_TRUE(unboundElsewhere) << "no window yet, so no thread either";
}

TEST(PaintManagerWithoutWindow, IgnoresMessages) {
    CPaintManagerUI manager;
    LRESULT result = 5;
    EXPECT_FALSE(manager.MessageHandler(WM_ERASEBKGND, 0, 0, result));
    EXPECT_EQ(result, 5);
    EXPECT_EQ(manager.GetMousePos().x, -1);
    RECT rc{0, 0, 10, 10};
    manager.Invalidate(rc); // no window: nothing, and certainly not the whole desktop
}
