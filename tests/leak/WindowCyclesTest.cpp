// Every kind of window, over and over: the client's three frames, a skinned window from
// a skin folder, a layered window with its shadow, the combo's pop-up and the native
// windows that edits and date pickers open, and the rich edit's text services while it
// is being typed into. Each cycle creates, shows, paints, drives and destroys.
#include <gtest/gtest.h>
#include <windows.h>

#include "LeakCycles.h"
#include "LeakWindows.h"
#include "MicroClientConfig.h"
#include "MicroClientLogin.h"
#include "MircroClientPlayFrame.h"
#include "MircroClientWebFrame.h"
#include "control/ComboUI.h"
#include "support/SkinTestKit.h"
#include "window/PaintManagerUI.h"

using namespace leaktest;
using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

namespace {

// The client frames' styles, as the client makes them.
constexpr DWORD kLoginWindowStyle = 0x96C80000;
constexpr DWORD kPlayWindowStyle = 0x10CF0000;

void UseClientResources() {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceDll(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(LoadClientConfig());
}

// A login frame's destruction ends the message loop; the cycles go on.
void ForgetQuit() {
    MSG quit{};
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

int64_t ThreadWindows() {
    return CountThreadWindows();
}

// Tells the web window the browser is about to navigate to address.
void Navigate(CMircroClientWebFrame& web, const wchar_t* address) {
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(address);
    VARIANT* urlRef = &url;
    VARIANT* none = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT_BOOL* cancelRef = &cancel;
    web.BeforeNavigate2(nullptr, urlRef, none, none, none, none, cancelRef);
    ::VariantClear(&url);
}

TEST(ClientFrameCycles, LoginFrameWithItsWebWindow) {
    UseClientResources();
    int webWindows = 0;
    const CycleResult result = RunCycles("login frame", [&] {
        auto* login = new CMicroClientLogin;
        const HWND frame = login->Create(nullptr, L"Varnel", kLoginWindowStyle, 0, 0, 0, 0, 0);
        if (frame == nullptr) {
            delete login;
            return;
        }
        webWindows += login->GetWebWindow() != nullptr ? 1 : 0;
        login->CenterWindow();
        Paint(frame);
        DriveAt(frame, POINT{200, 300});
        ::SetWindowPos(frame, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Destroy(frame);
        ForgetQuit();
    });
    EXPECT_EQ(webWindows, kWarmUpCycles + result.cycles);
    ExpectNoGrowth(result);
}

TEST(ClientFrameCycles, WebWindowEnteringTheGame) {
    UseClientResources();
    int games = 0;
    const CycleResult result = RunCycles("web window and game", [&] {
        auto* web = new CMircroClientWebFrame;
        const HWND window = web->Create(nullptr, L"KestoWindow", kLoginWindowStyle, 0, 0, 0, 0, 0);
        if (window == nullptr) {
            delete web;
            return;
        }
        web->FollowOwner(100, 100, 800, 530);
        Paint(window);
        DriveAt(window, POINT{350, 215});
        Navigate(*web, L"http://www.varnel.example/game/play?client=pc&server=1");
        games += web->GetPlayFrame() != nullptr ? 1 : 0;
        skintest::PumpMessages();
        // The game window goes with the web window.
        Destroy(window);
    });
    EXPECT_EQ(games, kWarmUpCycles + result.cycles);
    ExpectNoGrowth(result);
}

TEST(ClientFrameCycles, GameWindowWithItsTrayIcon) {
    UseClientResources();
    const CycleResult result = RunCycles("game window", [&] {
        auto* play = new CMircroClientPlayFrame;
        play->SetGameAddress(L"http://www.varnel.example/game/play?client=pc&server=1");
        const HWND window = play->Create(nullptr, L"Varnel", kPlayWindowStyle, 0, 0, 0, 0, 0);
        if (window == nullptr) {
            delete play;
            return;
        }
        Paint(window);
        DriveAt(window, POINT{600, 400});
        // The tray's left click, and the maximise and restore buttons.
        ::SendMessageW(window, kTrayCallbackMessage, 0, WM_LBUTTONDOWN);
        CPaintManagerUI& manager = play->GetPaintManager();
        manager.SendNotify(manager.FindControl(L"maxbtn"), L"click");
        manager.SendNotify(manager.FindControl(L"restorebtn"), L"click");
        skintest::PumpMessages();
        Destroy(window);
    });
    ExpectNoGrowth(result);
}

TEST(SkinnedWindowCycles, EveryControlFromASkinFolder) {
    const CycleResult result = RunCycles("skin folder window", [&] {
        LeakWindow window(L"gallery.xml");
        const HWND hwnd = window.Open();
        if (hwnd == nullptr) return;
        for (const wchar_t* name : {L"pages", L"player", L"mode", L"volume", L"servers", L"tree"})
            if (CControlUI* control = window.Find(name)) DriveAt(hwnd, CentreOf(control));
        ::SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 500));
        Paint(hwnd);
        Destroy(hwnd);
    });
    ExpectNoGrowth(result);
}

TEST(SkinnedWindowCycles, LayeredWindowWithShadow) {
    int layered = 0;
    const CycleResult result = RunCycles("layered window, shadow", [&] {
        LeakWindow window(L"layered.xml");
        const HWND hwnd = window.Open();
        if (hwnd == nullptr) return;
        layered += (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 ? 1 : 0;
        DriveAt(hwnd, POINT{200, 150});
        // A new size makes a new layered bitmap.
        ::SetWindowPos(hwnd, nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Paint(hwnd);
        Destroy(hwnd);
    });
    EXPECT_EQ(layered, kWarmUpCycles + result.cycles);
    ExpectNoGrowth(result);
}

// A window with one of each control that opens a window of its own, and what follows.
constexpr wchar_t kHelperSkin[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?><Window size=\"360,300\">"
    L"<VerticalLayout bkcolor=\"#FFF0F0F0\">"
    L"<Button name=\"first\" height=\"24\" text=\"first\"/>"
    L"<Combo name=\"combo\" height=\"26\"><ListLabelElement text=\"one\" height=\"22\"/>"
    L"<ListLabelElement text=\"two\" height=\"22\"/><ListLabelElement text=\"three\" "
    L"height=\"22\"/></Combo>"
    L"<Edit name=\"edit\" text=\"edit me\" height=\"26\"/>"
    L"<DateTime name=\"date\" height=\"26\"/>"
    L"<RichEdit name=\"rich\" text=\"rich text\" multiline=\"true\" vscrollbar=\"true\" "
    L"height=\"80\"/>"
    L"</VerticalLayout></Window>";

// Opens the helper of the control named `name` with a click and hands the window and the
// helper to `drive`; even cycles close the helper first, odd ones destroy the window
// while it is open.
template <typename Drive>
CycleResult HelperCycles(const char* kind, const wchar_t* name, int& opened, Drive drive) {
    int cycle = 0;
    return RunCycles(kind, [&] {
        LeakWindow window(kHelperSkin);
        const HWND hwnd = window.Open();
        if (hwnd == nullptr) return;
        CControlUI* control = window.Find(name);
        const int64_t before = ThreadWindows();
        const POINT at = CentreOf(control);
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        skintest::PumpMessages();
        opened += ThreadWindows() > before ? 1 : 0;
        drive(window, hwnd, control, (++cycle % 2) == 0);
        Destroy(hwnd);
    });
}

TEST(HelperWindowCycles, ComboPopUp) {
    int opened = 0;
    const CycleResult result = HelperCycles(
        "combo pop-up", L"combo", opened, [](LeakWindow&, HWND, CControlUI* control, bool close) {
            auto* combo = static_cast<SkinUI::CComboUI*>(control);
            HWND popUp = nullptr;
            if (combo->GetCount() > 0 && combo->GetItemAt(0)->GetManager() != nullptr)
                popUp = combo->GetItemAt(0)->GetManager()->GetPaintWindow();
            if (popUp == nullptr) return;
            const POINT item = CentreOf(combo->GetItemAt(1));
            ::SendMessageW(popUp, WM_MOUSEMOVE, 0, MAKELPARAM(item.x, item.y));
            ::SendMessageW(popUp, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                           skintest::ScreenPointParam(popUp, item.x, item.y));
            Key(popUp, WM_KEYDOWN, VK_DOWN);
            Paint(popUp);
            if (close) {
                ::SendMessageW(popUp, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.x, item.y));
                ::SendMessageW(popUp, WM_LBUTTONUP, 0, MAKELPARAM(item.x, item.y));
            }
            skintest::PumpMessages();
        });
    EXPECT_EQ(opened, kWarmUpCycles + result.cycles) << "the pop-up opened in every cycle";
    ExpectNoGrowth(result);
}

// Types into the native window that has the focus and closes it with `closeKey`.
void TypeIntoNative(HWND hwnd, bool close, WPARAM closeKey) {
    HWND native = ::GetFocus();
    if (native == nullptr || !::IsChild(hwnd, native)) return;
    for (const WPARAM key : {WPARAM(VK_END), WPARAM(VK_LEFT), WPARAM(VK_UP)}) {
        Key(native, WM_KEYDOWN, key);
        Key(native, WM_KEYUP, key);
    }
    Key(native, WM_CHAR, L'x');
    Paint(hwnd);
    if (close) {
        Key(native, WM_KEYDOWN, closeKey);
        Key(native, WM_KEYUP, closeKey);
        skintest::PumpMessages();
        // Whatever the key left open goes with the focus.
        if (::IsWindow(native)) ::SetFocus(hwnd);
    }
    skintest::PumpMessages();
}

TEST(HelperWindowCycles, NativeEdit) {
    int opened = 0;
    const CycleResult result = HelperCycles("edit native window", L"edit", opened,
                                            [](LeakWindow&, HWND hwnd, CControlUI*, bool close) {
                                                TypeIntoNative(hwnd, close, VK_RETURN);
                                            });
    EXPECT_EQ(opened, kWarmUpCycles + result.cycles) << "the native edit opened in every cycle";
    ExpectNoGrowth(result);
}

TEST(HelperWindowCycles, DatePicker) {
    int opened = 0;
    const CycleResult result = HelperCycles("date-time native window", L"date", opened,
                                            [](LeakWindow&, HWND hwnd, CControlUI*, bool close) {
                                                TypeIntoNative(hwnd, close, VK_TAB);
                                            });
    EXPECT_EQ(opened, kWarmUpCycles + result.cycles) << "the date picker opened in every cycle";
    ExpectNoGrowth(result);
}

TEST(HelperWindowCycles, RichEditTextServices) {
    int opened = 0;
    const CycleResult result = RunCycles("rich edit text services", [&] {
        LeakWindow window(kHelperSkin);
        const HWND hwnd = window.Open();
        if (hwnd == nullptr) return;
        CControlUI* rich = window.Find(L"rich");
        const POINT at = CentreOf(rich);
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 20, at.y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 20, at.y));
        opened += window.GetPaintManager().GetFocus() == rich ? 1 : 0;
        for (const wchar_t c : {L'l', L'e', L'a', L'k', L'\r'})
            Key(hwnd, WM_CHAR, c);
        for (const WPARAM key : {WPARAM(VK_HOME), WPARAM(VK_DOWN), WPARAM(VK_DELETE)}) {
            Key(hwnd, WM_KEYDOWN, key);
            Key(hwnd, WM_KEYUP, key);
        }
        ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                       skintest::ScreenPointParam(hwnd, at.x, at.y));
        Paint(hwnd);
        Destroy(hwnd);
    });
    EXPECT_EQ(opened, kWarmUpCycles + result.cycles) << "the rich edit took the focus every time";
    ExpectNoGrowth(result);
}

} // namespace
