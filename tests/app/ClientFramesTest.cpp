// The client's windows run in this process from the client's own resources: the login
// frame with its web window, the entry rules of the web window and the tray record.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "MicroClientConfig.h"
#include "MicroClientLogin.h"
#include "MircroClientPlayFrame.h"
#include "MircroClientWebFrame.h"
#include "TrayIcon.h"
#include "control/ControlUI.h"
#include "support/DialogWatcher.h"
#include "support/GdiObjectCount.h"
#include "window/PaintManagerUI.h"

using SkinUI::CPaintManagerUI;
using SkinUI::CSkinString;

namespace {

constexpr DWORD kLoginWindowStyle = 0x96C80000;

void UseClientResources() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceDll(GetModuleHandleW(nullptr));
    ASSERT_TRUE(LoadClientConfig());
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

HWND FindWebWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[32] = {};
            GetWindowTextW(window, text, 32);
            if (GetWindow(window, GW_OWNER) == s->owner && wcscmp(text, L"KestoWindow") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The whole life of the one login frame a process may have.
TEST(LoginFrameTest, CarriesItsWebWindowAndEndsTheLoop) {
    UseClientResources();
    CMicroClientLogin* login = GetLoginFrame();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(GetLoginFrame(), login);
    ASSERT_NE(login->Create(nullptr, L"Varnel", kLoginWindowStyle, 0, 0, 0, 0, 0), nullptr);
    const HWND frame = *login;
    login->CenterWindow();
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    PumpMessages();

    RECT client{};
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 1112);
    EXPECT_EQ(client.bottom, 645);
    wchar_t className[16] = {};
    GetClassNameW(frame, className, 16);
    EXPECT_STREQ(className, L"Varnel");

    const HWND web = FindWebWindow(frame);
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(GetWindowLongW(web, GWL_EXSTYLE) & WS_EX_LAYERED, WS_EX_LAYERED);
    COLORREF key = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(web, &key, nullptr, &flags));
    EXPECT_EQ(key, RGB(0, 255, 0));
    EXPECT_EQ(flags, DWORD(LWA_COLORKEY));

    // The web window keeps its offset and size wherever the frame goes.
    auto expectWebOnItsRectangle = [&] {
        const RECT f = WindowRect(frame), w = WindowRect(web);
        EXPECT_EQ(w.left - f.left, 301);
        EXPECT_EQ(w.top - f.top, 139);
        EXPECT_EQ(w.right - w.left, 700);
        EXPECT_EQ(w.bottom - w.top, 430);
    };
    expectWebOnItsRectangle();
    SetWindowPos(frame, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectWebOnItsRectangle();
    SetWindowPos(frame, nullptr, 0, 0, 1200, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectWebOnItsRectangle();

    // Neither Escape nor Return closes it.
    SendMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(frame, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(frame));

    // A web window that goes on its own is forgotten, and moving on is still safe.
    DestroyWindow(web);
    EXPECT_EQ(login->GetWebWindow(), nullptr);
    SetWindowPos(frame, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    DestroyWindow(frame);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // Once gone, no second frame is made behind the program's back.
    EXPECT_EQ(GetLoginFrame(), nullptr);
}

// Tells the web window the browser is about to navigate to `address`, the way the
// browser's event passes it (by reference or as a plain string); the cancel flag it set.
VARIANT_BOOL Navigate(CMircroClientWebFrame& webFrame, const wchar_t* address,
                      bool byReference = false) {
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(address);
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &text;
    VARIANT* urlRef = byReference ? &reference : &text;
    VARIANT* none = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT_BOOL* cancelRef = &cancel;
    webFrame.BeforeNavigate2(nullptr, urlRef, none, none, none, none, cancelRef);
    VariantClear(&text);
    return cancel;
}

TEST(WebFrameTest, OnlyTheExactKeywordEntersTheGame) {
    UseClientResources();
    auto* webFrame = new CMircroClientWebFrame;
    EXPECT_EQ(Navigate(*webFrame, L"http://www.varnel.example/Client/login"), VARIANT_FALSE);
    EXPECT_EQ(Navigate(*webFrame, L"http://www.varnel.example/play?CLIENT=PC"), VARIANT_FALSE);
    EXPECT_EQ(Navigate(*webFrame, L"http://www.varnel.example/play?client=p", true), VARIANT_FALSE);
    EXPECT_EQ(webFrame->GetPlayFrame(), nullptr);
    delete webFrame;
}

// The navigation that carries the keyword is stopped and opens the game window, once,
// maximised, on the game's address; the web window takes it down when it goes.
TEST(WebFrameTest, TheKeywordOpensOneMaximisedGameWindow) {
    UseClientResources();
    auto* webFrame = new CMircroClientWebFrame;
    EXPECT_EQ(Navigate(*webFrame,
                       L"res://ieframe.dll/navcancl.htm#http://www.varnel.example/"
                       L"game/play?client=pc",
                       true),
              VARIANT_TRUE);
    CMircroClientPlayFrame* play = webFrame->GetPlayFrame();
    ASSERT_NE(play, nullptr);
    const HWND window = play->GetHWND();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(std::wstring(play->GetGameAddress()),
              L"http://www.varnel.example/game/play?client=pc");
    // Entering the game hides a login frame but never makes one.
    EXPECT_EQ(FindLoginFrame(), nullptr);

    // Later navigations with the keyword are stopped too and reuse the window.
    EXPECT_EQ(Navigate(*webFrame, L"http://www.varnel.example/game/again?client=pc"), VARIANT_TRUE);
    EXPECT_EQ(webFrame->GetPlayFrame(), play);
    PumpMessages();

    delete webFrame;
    EXPECT_FALSE(IsWindow(window));
    PumpMessages();
}

TEST(WebFrameTest, GameAddressStartsAtTheFirstPlainHttp) {
    auto address = [](const wchar_t* target) {
        return std::wstring(CMircroClientWebFrame::GameAddressFrom(CSkinString(target)));
    };
    EXPECT_EQ(address(L"http://g.example/?client=pc"), L"http://g.example/?client=pc");
    EXPECT_EQ(address(L"res://go?http://g.example/?client=pc"), L"http://g.example/?client=pc");
    EXPECT_EQ(address(L"https://g.example/?client=pc"), L"https://g.example/?client=pc");
    EXPECT_EQ(address(L"x:HTTP://g.example/?client=pc"), L"x:HTTP://g.example/?client=pc");
}

TEST(PlayFrameTest, ServiceCenterOpensOnlyWebAddresses) {
    EXPECT_TRUE(CMircroClientPlayFrame::IsWebAddress(L"http://www.varnel.example/ServiceCenter"));
    EXPECT_TRUE(CMircroClientPlayFrame::IsWebAddress(L"HTTPS://help.example/"));
    EXPECT_FALSE(CMircroClientPlayFrame::IsWebAddress(L"C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(CMircroClientPlayFrame::IsWebAddress(L"file:///C:/x.bat"));
    EXPECT_FALSE(CMircroClientPlayFrame::IsWebAddress(L"http:"));
    EXPECT_FALSE(CMircroClientPlayFrame::IsWebAddress(L""));
    EXPECT_FALSE(CMircroClientPlayFrame::IsWebAddress(nullptr));
}

// The game window's own buttons, tray callbacks and closing, short of quitting.
TEST(PlayFrameTest, ButtonsTrayAndTheQuitQuestion) {
    UseClientResources();
    auto* play = new CMircroClientPlayFrame;
    play->SetGameAddress(L"http://www.varnel.example/game/play?client=pc");
    const HWND window = play->Create(nullptr, L"Varnel", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    PumpMessages();
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(play->GetTrayIcon().GetWindow(), window);
    EXPECT_STREQ(play->GetTrayIcon().GetData().szTip, L"Varnel");

    SkinUI::CPaintManagerUI& manager = play->GetPaintManager();
    SkinUI::CControlUI* maxButton = manager.FindControl(L"maxbtn");
    SkinUI::CControlUI* restoreButton = manager.FindControl(L"restorebtn");
    ASSERT_NE(maxButton, nullptr);
    ASSERT_NE(restoreButton, nullptr);
    EXPECT_FALSE(maxButton->IsVisible());
    manager.SendNotify(restoreButton, L"click");
    EXPECT_TRUE(maxButton->IsVisible());
    EXPECT_FALSE(restoreButton->IsVisible());
    manager.SendNotify(maxButton, L"click");
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_TRUE(restoreButton->IsVisible());
    EXPECT_FALSE(maxButton->IsVisible());

    // A left click on the tray icon, reported with the message the tray record names,
    // brings a hidden window back, not a minimised one.
    const UINT trayMessage = play->GetTrayIcon().GetData().uCallbackMessage;
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(SendMessageW(window, trayMessage, 0, WM_LBUTTONDOWN), 1);
    EXPECT_TRUE(IsWindowVisible(window));
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    SendMessageW(window, trayMessage, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_SHOWNOACTIVATE);

    // Every way of closing asks; "no" keeps the game running.
    {
        DialogWatcher watcher(L"提示", IDNO);
        EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 1);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        SendMessageW(window, WM_COMMAND, kQuitGameCommand, 0);
        manager.SendNotify(manager.FindControl(L"closebtn"), L"click");
        const auto texts = watcher.Texts();
        ASSERT_EQ(texts.size(), 4u);
        for (const std::wstring& text : texts)
            EXPECT_EQ(text, L"正在游戏是否退出？");
    }
    EXPECT_TRUE(IsWindow(window));

    DestroyWindow(window);
}

// A login frame other than the process's one (made directly, as a host program or a
// second frame would) still learns that its web window went, and moving it stays safe.
TEST(LoginFrameTest, AnyFrameForgetsItsWebWindowWhenItGoes) {
    UseClientResources();
    auto* login = new CMicroClientLogin;
    const HWND frame = login->Create(nullptr, L"Varnel", kLoginWindowStyle, 0, 0, 0, 0, 0);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(login->GetWebWindow(), nullptr);
    const HWND web = FindWebWindow(frame);
    ASSERT_NE(web, nullptr);
    DestroyWindow(web);
    EXPECT_EQ(login->GetWebWindow(), nullptr);
    SetWindowPos(frame, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(frame, nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow(frame);
    MSG quit{};
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Records what the game window's tray held when its window ended.
class WatchedPlayFrame : public CMircroClientPlayFrame {
public:
    static HWND trayWindowAtEnd;

protected:
    void OnFinalMessage(HWND window) override {
        trayWindowAtEnd = GetTrayIcon().GetWindow();
        CMircroClientPlayFrame::OnFinalMessage(window);
    }
};
HWND WatchedPlayFrame::trayWindowAtEnd = nullptr;

HWND OpenAndCloseGameWindow() {
    auto* play = new WatchedPlayFrame;
    play->SetGameAddress(L"http://www.varnel.example/game/play?client=pc");
    const HWND window = play->Create(nullptr, L"Varnel", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
    if (window == nullptr) {
        delete play;
        return nullptr;
    }
    PumpMessages();
    DestroyWindow(window);
    PumpMessages();
    return window;
}

// The tray icon goes while its window still exists (the shell finds it by the window),
// and the icon the window loaded for it goes with the window.
TEST(PlayFrameTest, TrayIconAndItsIconGoWithTheWindow) {
    UseClientResources();
    WatchedPlayFrame::trayWindowAtEnd = reinterpret_cast<HWND>(1);
    ASSERT_NE(OpenAndCloseGameWindow(), nullptr); // the image caches fill once
    EXPECT_EQ(WatchedPlayFrame::trayWindowAtEnd, nullptr);

    const int before = skintest::CountGdiObjects();
    for (int i = 0; i < 5; ++i)
        OpenAndCloseGameWindow();
    EXPECT_EQ(skintest::CountGdiObjects(), before);
}

TEST(TrayIconTest, RecordFitsThisPlatformAndCutsLongTips) {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        TrayIcon tray;
        const HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
        EXPECT_TRUE(tray.Add(window, icon, L"Varnel"));
        const NOTIFYICONDATAW& data = tray.GetData();
        EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
        EXPECT_EQ(data.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        // The shell reports with a message of the application's own range.
        EXPECT_GE(data.uCallbackMessage, UINT(WM_USER));
        EXPECT_LT(data.uCallbackMessage, 0xC000u);
        EXPECT_STREQ(data.szTip, L"Varnel");
        EXPECT_EQ(tray.GetWindow(), window);

        const std::wstring longTip(300, L'x');
        tray.Add(window, icon, longTip.c_str());
        EXPECT_EQ(std::wstring(tray.GetData().szTip), longTip.substr(0, 127));
        tray.Add(window, icon, nullptr);
        EXPECT_EQ(tray.GetData().uFlags & NIF_TIP, 0u);

        tray.Remove();
        EXPECT_EQ(tray.GetWindow(), nullptr);
        tray.Remove();
    }
    DestroyWindow(window);
}

} // namespace
