// The system web browser hosted in place. Under Wine the browser object exists and
// activates in a window of its own even with no engine to render pages; the client's
// browser windows rely on exactly that: a created control with a host window over its
// rectangle and an IWebBrowser2 to navigate with.
#include "ActiveXFixture.h"

#include "activex/WebBrowserUI.h"

namespace {

const wchar_t kWebBrowserClass[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

std::wstring WindowClass(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

} // namespace

TEST_F(ActiveXTest, TheSystemWebBrowserIsHostedInItsOwnWindowAndGoesCleanly) {
    Host();
    ProbedActiveX* browser = Add(new ProbedActiveX);
    browser->SetDelayCreate(false);
    ASSERT_TRUE(browser->CreateControl(kWebBrowserClass));
    const HWND window = browser->GetHostWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowClass(window), L"ActiveXWnd");
    EXPECT_EQ(::GetParent(window), host->GetHWND());
    ASSERT_NE(browser->Site(), nullptr);
    EXPECT_FALSE(browser->Site()->IsWindowless());
    EXPECT_TRUE(browser->Site()->IsInPlaceActive());
    IWebBrowser2* web = nullptr;
    ASSERT_EQ(browser->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&web)), S_OK);
    web->Release();

    browser->SetPos(RECT{10, 10, 250, 150});
    RECT placed{};
    ::GetWindowRect(window, &placed);
    ::MapWindowPoints(nullptr, host->GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.bottom, 150);

    browser->Release();
    EXPECT_EQ(browser->GetHostWindow(), nullptr);
    EXPECT_EQ(browser->Site(), nullptr);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(ActiveXTest, TheBrowserControlComesUpOverTheSystemWebBrowser) {
    Host();
    auto* web = new SkinUI::CWebBrowserUI;
    root->Add(web, kPlace.left, kPlace.top, 200, 100);
    web->SetHomePage(L"about:blank");
    web->SetAutoNavigation(true);
    web->SetDelayCreate(false);
    ASSERT_TRUE(web->CreateControl(CLSID_WebBrowser)); // the events are connected too
    ASSERT_NE(web->GetWebBrowser2(), nullptr);
    const HWND window = web->GetHostWindow();
    EXPECT_EQ(WindowClass(window), L"ActiveXWnd");
    skintest::PumpUntil([] { return false; }, 300); // let it run a little
    web->Refresh();
    skintest::PumpMessages();
    root->Remove(web);
    delete web;
    EXPECT_FALSE(::IsWindow(window));
}
