// The web browser control around the stand-in browser, built from skin XML in a real
// window: creation at the first layout, navigation, the event sink, the document
// adjustments, accelerators and the order of teardown.
#include "BrowserTestKit.h"

#include "activex/WebBrowserUI.h"
#include "core/DialogBuilder.h"

using browsertest::RecordingHandler;
using browsertest::StandInLog;
using SkinUI::CWebBrowserUI;

namespace {

const char kHome[] = "http://www.varnel.example/home";

class WebBrowserHosting : public ::testing::Test {
protected:
    // Builds the skin's browser, sets its handler and opens it in a window.
    void Open() {
        const std::wstring xml =
            L"<Window><WebBrowser name=\"gameWeb\" autonavi=\"true\" delaycreate=\"true\" "
            L"homepage=\"http://www.varnel.example/home\" modulename=\"" +
            browsertest::StandInPath() + L"\"/></Window>";
        SkinUI::CDialogBuilder builder;
        web = static_cast<CWebBrowserUI*>(builder.Create(xml.c_str()));
        ASSERT_NE(web, nullptr);
        EXPECT_EQ(web->GetWebBrowser2(), nullptr); // delayed until the first layout
        web->SetWebBrowserEventHandler(&handler);
        host = new skintest::HostWindow(web);
        ASSERT_NE(host->Open(400, 300), nullptr);
        ASSERT_GE(log.WaitFor(std::string("DocumentComplete ") + kHome), 0);
    }
    void Close() {
        if (host == nullptr) return;
        ::DestroyWindow(host->GetHWND());
        delete host; // its manager deletes the control
        host = nullptr;
        skintest::PumpMessages();
    }
    void TearDown() override { Close(); }

    StandInLog log;
    RecordingHandler handler;
    CWebBrowserUI* web = nullptr;
    skintest::HostWindow* host = nullptr;
};

} // namespace

TEST_F(WebBrowserHosting, CreationNavigatesBlankThenHomeAndAdjustsEachDocument) {
    Open();
    ASSERT_NE(web->GetWebBrowser2(), nullptr);
    const int blank = log.Find("Navigate2 about:blank");
    ASSERT_GE(blank, 0);
    EXPECT_EQ(log.Find(std::string("Navigate2 ") + kHome), blank + 1);
    EXPECT_TRUE(log.Has("Advise 1"));
    // Each new document takes the control as its host UI handler, whose host information
    // turns off 3D border and scroll bars.
    const int complete = log.Find(std::string("NavigateComplete2 ") + kHome);
    const int handlerSet = log.Find("SetUIHandler set", complete);
    ASSERT_GT(handlerSet, complete);
    EXPECT_EQ(log.Find("HostInfo 0x0000000c", handlerSet), handlerSet + 1);
    const int done = log.Find(std::string("DocumentComplete ") + kHome);
    EXPECT_GT(log.Find("BodyScroll no", done), done);
    EXPECT_GT(log.Find("Style overflow hidden", done), done);
    EXPECT_GT(log.Find("Style border none", done), done);
    EXPECT_GT(log.Find("Style borderStyle none", done), done);
    EXPECT_EQ(handler.completed,
              (std::vector<std::wstring>{L"about:blank gameWeb",
                                         L"http://www.varnel.example/home gameWeb"}));
}

TEST_F(WebBrowserHosting, HandlerCancelsNavigationsAndOperationsReachTheBrowser) {
    Open();
    handler.cancelPart = L"blocked";
    web->Navigate2(L"http://www.varnel.example/blocked");
    ASSERT_GE(log.WaitFor("BeforeNavigate2 http://www.varnel.example/blocked cancelled"), 0);
    EXPECT_FALSE(log.Has("NavigateComplete2 http://www.varnel.example/blocked"));
    web->Refresh2(3);
    EXPECT_TRUE(log.Has("Refresh2 3"));
    web->SetHomePage(L"http://www.varnel.example/other");
    web->NavigateHomePage();
    EXPECT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/other"), 0);
    EXPECT_TRUE(log.Has("Navigate http://www.varnel.example/other"));
    web->GoBack();
    EXPECT_TRUE(log.Has("GoBack"));
}

TEST_F(WebBrowserHosting, KeysGoToTheBrowserOnlyWhileTheFocusIsInside) {
    Open();
    ASSERT_NE(web->GetHostWindow(), nullptr);
    ::SetFocus(host->GetHWND());
    MSG key{host->GetHWND(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_EQ(web->TranslateAccelerator(&key), S_FALSE);
    EXPECT_FALSE(log.Has("TranslateAccelerator 0x0100 0x74"));
    // Through the message loop: the control is one of its manager's translators.
    ::SetFocus(web->GetHostWindow()); // the host may hand the focus on to the browser's window
    const HWND focus = ::GetFocus();
    ASSERT_TRUE(focus == web->GetHostWindow() || ::IsChild(web->GetHostWindow(), focus));
    ::PostMessageW(focus, WM_KEYDOWN, VK_F5, 0);
    skintest::PumpMessages();
    EXPECT_TRUE(log.Has("TranslateAccelerator 0x0100 0x74"));
    MSG click{web->GetHostWindow(), WM_LBUTTONDOWN, 0, 0, 0, {}};
    EXPECT_EQ(web->TranslateAccelerator(&click), S_FALSE);
    EXPECT_EQ(log.Count("TranslateAccelerator"), 1);
}

TEST_F(WebBrowserHosting, TeardownLetsGoOfTheDocumentAndSinkBeforeTheBrowserCloses) {
    Open();
    // A second creation first releases the first browser.
    const int start = static_cast<int>(log.Lines().size());
    web->CreateControl(CLSID_WebBrowser);
    web->SetPos(web->GetPos());
    const int cleared = log.Find("SetUIHandler cleared", start);
    const int unadvised = log.Find("Unadvise 1", start);
    const int closed = log.Find("Close", start);
    ASSERT_GE(cleared, 0);
    EXPECT_LT(cleared, unadvised);
    EXPECT_LT(unadvised, closed);
    const int second = log.Find("Create", closed);
    EXPECT_GT(log.Find("Advise 1", second), second);
    ASSERT_GT(log.WaitFor(std::string("DocumentComplete ") + kHome, second), second);
    Close();
    EXPECT_GT(log.Find("SetUIHandler cleared", second), second);
    EXPECT_GT(log.Find("Unadvise 1", second), second);
    EXPECT_TRUE(browsertest::StandInIsIdle()); // neither browser leaked
}
