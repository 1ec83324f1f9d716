// Creating the browser controls over a stand-in browser that refuses their event sink:
// the creation is reported as failed and nothing stays hosted. And the simpler control's
// sink when memory runs out in the middle of a page load.
#include "BrowserTestKit.h"

#include "activex/WebBrowser2UI.h"
#include "activex/WebBrowserUI.h"
#include "support/FailingAllocation.h"

using browsertest::StandInLog;
using SkinUI::CWebBrowser2UI;
using SkinUI::CWebBrowserUI;

namespace {

const wchar_t kHome[] = L"http://www.varnel.example/home";

// The stand-in's events point refuses every sink while one lives.
class RefusedAdvise {
public:
    RefusedAdvise() { ::SetEnvironmentVariableW(StandIn::kRefuseVariable, StandIn::kRefuseAdvise); }
    ~RefusedAdvise() { ::SetEnvironmentVariableW(StandIn::kRefuseVariable, nullptr); }
    RefusedAdvise(const RefusedAdvise&) = delete;
    RefusedAdvise& operator=(const RefusedAdvise&) = delete;
};

// Runs a creation and answers its result, which a layout keeps to itself (an immediate
// CreateControl answers the same).
template <class Control> class Creatable : public Control {
public:
    bool Create() { return this->DoCreateControl(); }
};

class BrowserCreation : public ::testing::Test {
protected:
    void SetUp() override {
        root = new skintest::TestContainer;
        host = new skintest::HostWindow(root);
        ASSERT_NE(host->Open(400, 300), nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(host->GetHWND());
        delete host; // its manager deletes the controls
        skintest::PumpMessages();
        EXPECT_TRUE(browsertest::StandInIsIdle()); // no browser was leaked
    }
    // Puts the control into the window, with the browser taken from the stand-in, and
    // creates it before any layout does; the creation's result.
    template <class Control> bool Create(Creatable<Control>* control) {
        control->SetModuleName(browsertest::StandInPath().c_str());
        if (control->GetParent() == nullptr) root->Add(control, 0, 0, 400, 300);
        return control->Create();
    }
    bool Hosts(SkinUI::CActiveXUI* control) {
        void* object = nullptr;
        const HRESULT hr = control->GetControl(IID_IUnknown, &object);
        if (object != nullptr) static_cast<IUnknown*>(object)->Release();
        return hr != E_PENDING;
    }

    StandInLog log;
    skintest::TestContainer* root = nullptr;
    skintest::HostWindow* host = nullptr;
};

} // namespace

TEST_F(BrowserCreation, WebBrowserWhoseEventsAreRefusedFailsAndLetsTheBrowserGo) {
    auto* web = new Creatable<CWebBrowserUI>;
    web->SetHomePage(kHome);
    web->SetAutoNavigation(true);
    {
        RefusedAdvise refused;
        EXPECT_FALSE(Create(web));
    }
    EXPECT_TRUE(log.Has("Advise refused"));
    EXPECT_TRUE(log.Has("Close"));
    EXPECT_FALSE(Hosts(web));
    EXPECT_EQ(web->GetWebBrowser2(), nullptr);
    EXPECT_EQ(web->GetHostWindow(), nullptr);
    // Layouts do not try again, and the control behaves as one without a browser.
    web->SetPos(web->GetPos());
    EXPECT_EQ(log.Count("Create"), 1);
    MSG key{host->GetHWND(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_EQ(web->TranslateAccelerator(&key), E_NOTIMPL);
    web->NavigateHomePage();
    EXPECT_FALSE(log.Has("Navigate http://www.varnel.example/home"));
    skintest::PumpMessages();
    EXPECT_EQ(log.Count("DocumentComplete"), 0);

    // Once the sink is taken, the same control comes up whole.
    EXPECT_TRUE(Create(web));
    EXPECT_NE(web->GetWebBrowser2(), nullptr);
    EXPECT_TRUE(log.Has("Advise 1"));
    EXPECT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/home"), 0);
}

TEST_F(BrowserCreation, WebBrowser2FailsWhenTheSinkItAsksForIsRefused) {
    auto* web = new Creatable<CWebBrowser2UI>;
    web->SetAttribute(L"url", kHome);
    {
        RefusedAdvise refused;
        EXPECT_FALSE(Create(web));
    }
    EXPECT_TRUE(log.Has("Advise refused"));
    EXPECT_FALSE(Hosts(web));
    EXPECT_EQ(web->GetWebBrowser(), nullptr);
    web->SetPos(web->GetPos());
    EXPECT_EQ(log.Count("Create"), 1);
    skintest::PumpMessages();
    EXPECT_EQ(log.Count("DocumentComplete"), 0);

    // Without a sink asked for, a refusing browser is no failure.
    web->SetAttribute(L"autosink", L"false");
    RefusedAdvise refused;
    EXPECT_TRUE(Create(web));
    EXPECT_NE(web->GetWebBrowser(), nullptr);
    EXPECT_EQ(log.Count("Advise"), 1);
    EXPECT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/home"), 0);
}

TEST_F(BrowserCreation, WebBrowser2SinkWithoutMemorySkipsItsWorkAndRecovers) {
    auto* web = new Creatable<CWebBrowser2UI>;
    web->SetAttribute(L"url", kHome);
    std::vector<std::string> completed;
    host->onNotify = [&completed](SkinUI::TNotifyUI& msg) {
        if (msg.type == L"HTML_COMPLETE")
            completed.push_back(reinterpret_cast<const char*>(msg.wParam));
    };
    ASSERT_TRUE(Create(web));
    ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/home"), 0);
    skintest::PumpMessages();
    ASSERT_EQ(completed, std::vector<std::string>{"http://www.varnel.example/home"});

    // Neither the document's handler nor the address text can be made: the page keeps
    // its default handler and is not reported, and nothing breaks.
    const int from = static_cast<int>(log.Lines().size());
    {
        skintest::FailingAllocations failing;
        web->Navigate2(L"http://www.varnel.example/lean");
        ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/lean", from), 0);
        skintest::PumpMessages();
        EXPECT_GE(failing.Refused(), 2);
    }
    EXPECT_LT(log.Find("SetUIHandler set", from), 0);
    EXPECT_EQ(completed.size(), 1u);

    web->Navigate2(L"http://www.varnel.example/again");
    ASSERT_GE(log.WaitFor("DocumentComplete http://www.varnel.example/again", from), 0);
    skintest::PumpMessages();
    EXPECT_GE(log.Find("SetUIHandler set", from), 0);
    EXPECT_EQ(completed.back(), "http://www.varnel.example/again");
}
