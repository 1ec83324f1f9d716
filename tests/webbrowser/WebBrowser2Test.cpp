// The simpler browser control with its event sink and host UI handler, around the
// stand-in browser: "HTML_COMPLETE" for each finished page, the page adjustments the
// border and scroll bar flags ask for, and the handler's fixed answers.
#include "BrowserTestKit.h"

#include <exdispid.h>

#include "activex/DocHostUIHandler.h"
#include "activex/WebBrowser2UI.h"
#include "activex/WebBrowserEventSinker.h"

using browsertest::StandInLog;
using SkinUI::CWebBrowser2UI;

namespace {

const GUID kDocHostCommandGroup = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

class WebBrowser2Hosting : public ::testing::Test {
protected:
    void Open(const wchar_t* flags) {
        web = new CWebBrowser2UI;
        web->ApplyAttributeList(flags);
        web->SetAttribute(L"modulename", L"ignored.dll");
        EXPECT_EQ(web->GetModuleName(), L"");
        web->SetModuleName(browsertest::StandInPath().c_str());
        host = new skintest::HostWindow(web);
        host->onNotify = [this](SkinUI::TNotifyUI& msg) {
            if (msg.type == L"HTML_COMPLETE")
                completed.push_back(reinterpret_cast<const char*>(msg.wParam) + std::string(" ") +
                                    std::to_string(msg.lParam));
        };
        ASSERT_NE(host->Open(400, 300), nullptr);
    }
    void TearDown() override {
        if (host == nullptr) return;
        ::DestroyWindow(host->GetHWND());
        delete host;
        skintest::PumpMessages();
    }

    StandInLog log;
    CWebBrowser2UI* web = nullptr;
    skintest::HostWindow* host = nullptr;
    std::vector<std::string> completed;
};

} // namespace

TEST_F(WebBrowser2Hosting, ReportsFinishedPagesAndStripsBorderAndScrollBars) {
    Open(L"url=\"http://www.varnel.example/start\"");
    ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/start"), 0);
    skintest::PumpMessages();
    EXPECT_EQ(log.Find("Navigate2 http://www.varnel.example/start"),
              log.Find("Navigate2 about:blank") + 1);
    EXPECT_EQ(log.Find("HostInfo 0x0020000c"), log.Find("SetUIHandler set") + 1);
    EXPECT_TRUE(log.Has("Style border none"));
    EXPECT_TRUE(log.Has("BodyScroll no"));
    EXPECT_TRUE(log.Has("Style overflow hidden"));
    // "about:blank" is not reported; a page after a navigation error says so.
    web->Navigate2(L"http://nowhere.invalid/");
    ASSERT_GE(log.WaitFor("DocumentComplete http://nowhere.invalid/"), 0);
    web->Navigate2(nullptr); // the stored address again
    ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/start", 20), 0);
    skintest::PumpMessages();
    EXPECT_EQ(completed, (std::vector<std::string>{"http://www.varnel.example/start 0",
                                                   "http://nowhere.invalid/ 1",
                                                   "http://www.varnel.example/start 0"}));
    const int closeFrom = static_cast<int>(log.Lines().size());
    TearDown();
    host = nullptr;
    EXPECT_GE(log.Find("Unadvise 1", closeFrom), 0);
    EXPECT_TRUE(browsertest::StandInIsIdle());
}

TEST_F(WebBrowser2Hosting, FlagsKeepBorderAndScrollBarsAndTurnOffNavigation) {
    Open(L"boder=\"true\" scrollbar=\"true\" autonavi=\"false\" url=\"http://a.example/\"");
    ASSERT_TRUE(skintest::PumpUntil([this] { return web->GetWebBrowser() != nullptr; }));
    EXPECT_FALSE(log.Has("Navigate2 about:blank"));
    web->Navigate2(L"");
    web->Navigate2(L"http://www.varnel.example/kept");
    ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/kept"), 0);
    EXPECT_EQ(log.Count("Navigate2"), 1);
    EXPECT_TRUE(log.Has("HostInfo 0x00200000"));
    EXPECT_EQ(log.Count("Style") + log.Count("BodyScroll"), 0);
}

TEST(WebBrowser2Parts, SinkerChecksItsEventsAndTheHandlerAnswersFixed) {
    auto* sinker = new SkinUI::WebBrowserEventSinker(nullptr, false, false);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(sinker->Invoke(DISPID_DOCUMENTCOMPLETE, IID_IDispatch, 0, 0, &none, nullptr, nullptr,
                             nullptr),
              E_INVALIDARG);
    EXPECT_EQ(
        sinker->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, 0, &none, nullptr, nullptr, nullptr),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(sinker->Connect(nullptr), E_POINTER);
    sinker->Release();

    auto* handler = new SkinUI::CDocHostUIHandler(true, false);
    DOCHOSTUIINFO info{};
    EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags,
              static_cast<DWORD>(DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_SCROLL_NO));
    EXPECT_EQ(handler->ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(handler->QueryStatus(nullptr, 0, nullptr, nullptr), E_NOTIMPL);
    VARIANT input;
    VariantInit(&input);
    V_VT(&input) = VT_UNKNOWN;
    V_UNKNOWN(&input) = static_cast<IDocHostUIHandler2*>(handler);
    VARIANT output;
    VariantInit(&output);
    EXPECT_EQ(handler->Exec(&kDocHostCommandGroup, OLECMDID_SHOWSCRIPTERROR, 0, &input, &output),
              S_OK);
    EXPECT_EQ(V_BOOL(&output), VARIANT_TRUE);
    IOleCommandTarget* target = nullptr;
    ASSERT_EQ(handler->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)),
              S_OK);
    target->Release();
    handler->Release();
}
