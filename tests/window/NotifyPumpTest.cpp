#include "window/NotifyPump.h"

#include "control/ControlUI.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CNotifyPump;
using SkinUI::TNotifyUI;

namespace {

std::vector<std::string> g_log;

class BasePump : public CNotifyPump {
public:
    void OnAnyClick(TNotifyUI&) { g_log.push_back("base:any-click"); }
    void OnBaseOnly(TNotifyUI&) { g_log.push_back("base:only"); }
    virtual void OnOverridable(TNotifyUI&) { g_log.push_back("base:overridable"); }

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(BasePump, CNotifyPump)
SKIN_ON_NOTIFY(L"click", BasePump, OnAnyClick)
SKIN_ON_NOTIFY(L"baseonly", BasePump, OnBaseOnly)
SKIN_ON_NOTIFY(L"overridable", BasePump, OnOverridable)
SKIN_END_MESSAGE_MAP()

class DerivedPump : public BasePump {
public:
    void OnClick(TNotifyUI&) { g_log.push_back("derived:any-click"); }
    void OnOkClick(TNotifyUI&) { g_log.push_back("derived:ok-click"); }
    LRESULT OnValue(WPARAM wParam, LPARAM lParam) {
        g_log.push_back("derived:value " + std::to_string(wParam) + "," + std::to_string(lParam));
        return 0;
    }
    void OnOverridable(TNotifyUI&) override { g_log.push_back("derived:overridable"); }

    SKIN_DECLARE_MESSAGE_MAP()
};

// The named entry comes after the type-only one and still wins for its control.
SKIN_BEGIN_MESSAGE_MAP(DerivedPump, BasePump)
SKIN_ON_NOTIFY(L"click", DerivedPump, OnClick)
SKIN_ON_NOTIFY_CTRLNAME(L"click", L"ok", DerivedPump, OnOkClick)
SKIN_ON_NOTIFY_PARAMS(L"valuechanged", DerivedPump, OnValue)
SKIN_END_MESSAGE_MAP()

class PanelPump : public CNotifyPump {
public:
    void OnClick(TNotifyUI&) { g_log.push_back("panel:click"); }

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(PanelPump, CNotifyPump)
SKIN_ON_NOTIFY(L"click", PanelPump, OnClick)
SKIN_END_MESSAGE_MAP()

TNotifyUI Message(const wchar_t* type, CControlUI* sender = nullptr) {
    TNotifyUI msg;
    msg.type = type;
    msg.sender = sender;
    return msg;
}

} // namespace

class NotifyPumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        ok.SetName(L"ok");
        cancel.SetName(L"cancel");
    }
    CControlUI ok;
    CControlUI cancel;
    DerivedPump pump;
};

TEST_F(NotifyPumpTest, NamedEntryWinsOverTypeOnlyEntryOfTheSameMap) {
    TNotifyUI fromOk = Message(L"click", &ok);
    TNotifyUI fromCancel = Message(L"click", &cancel);
    TNotifyUI fromNobody = Message(L"click");
    EXPECT_TRUE(pump.LoopDispatch(fromOk));
    EXPECT_TRUE(pump.LoopDispatch(fromCancel));
    EXPECT_TRUE(pump.LoopDispatch(fromNobody));
    EXPECT_EQ(g_log, std::vector<std::string>(
                         {"derived:ok-click", "derived:any-click", "derived:any-click"}));
}

TEST_F(NotifyPumpTest, ResolvesThroughTheBaseChainMostDerivedFirst) {
    TNotifyUI baseOnly = Message(L"baseonly", &ok);
    TNotifyUI overridable = Message(L"overridable");
    TNotifyUI value = Message(L"valuechanged", &ok);
    value.wParam = 7;
    value.lParam = -3;
    EXPECT_TRUE(pump.LoopDispatch(baseOnly));
    EXPECT_TRUE(pump.LoopDispatch(overridable));
    EXPECT_TRUE(pump.LoopDispatch(value));
    EXPECT_EQ(g_log,
              std::vector<std::string>({"base:only", "derived:overridable", "derived:value 7,-3"}));
}

TEST_F(NotifyPumpTest, UnknownOrDifferentlyCasedTypesCallNothing) {
    TNotifyUI unknown = Message(L"dropdown", &ok);
    TNotifyUI shouting = Message(L"Click", &ok);
    EXPECT_FALSE(pump.LoopDispatch(unknown));
    EXPECT_FALSE(pump.LoopDispatch(shouting));
    EXPECT_TRUE(g_log.empty());
    CNotifyPump plain;
    TNotifyUI click = Message(L"click", &ok);
    EXPECT_FALSE(plain.LoopDispatch(click));
}

TEST_F(NotifyPumpTest, VirtualWindowNamesMatchIgnoringCase) {
    PanelPump panel;
    EXPECT_TRUE(pump.AddVirtualWnd(L"Panel", &panel));
    EXPECT_FALSE(pump.AddVirtualWnd(L"Panel", &panel)) << "a name is registered once";

    TNotifyUI click = Message(L"click", &ok);
    click.virtualWnd = L"pAnEl";
    pump.NotifyPump(click);
    // The virtual pump has no entry for this type: the owning pump handles it.
    TNotifyUI baseOnly = Message(L"baseonly", &ok);
    baseOnly.virtualWnd = L"panel";
    pump.NotifyPump(baseOnly);
    // No virtual window: the owner.
    TNotifyUI own = Message(L"click", &cancel);
    pump.NotifyPump(own);
    EXPECT_EQ(g_log, std::vector<std::string>({"panel:click", "base:only", "derived:any-click"}));

    // A copy shares the registrations.
    g_log.clear();
    DerivedPump copy(pump);
    copy.NotifyPump(click);
    EXPECT_EQ(g_log, std::vector<std::string>({"panel:click"}));

    EXPECT_TRUE(pump.RemoveVirtualWnd(L"Panel"));
    EXPECT_FALSE(pump.RemoveVirtualWnd(L"Panel"));
    EXPECT_TRUE(copy.RemoveVirtualWnd(L"Panel"));
}

TEST_F(NotifyPumpTest, ControlsNamingAVirtualWindowReachItsPump) {
    auto* root = new skintest::TestContainer(L"root");
    auto* inner = new skintest::TestContainer(L"inner");
    auto* button = new CControlUI;
    button->SetName(L"button");
    root->Add(inner);
    inner->Add(button);

    skintest::HostWindow host(root);
    ASSERT_NE(host.Open(), nullptr);
    // Naming a virtual window tells the manager to stamp notifications with it.
    inner->SetAttribute(L"virtualwnd", L"panel");
    PanelPump panel;
    pump.AddVirtualWnd(L"panel", &panel);
    host.onNotify = [this](TNotifyUI& msg) {
        if (msg.type == L"click") pump.NotifyPump(msg);
    };
    host.manager.SendNotify(button, L"click");
    host.manager.SendNotify(button, L"click", 0, 0, true);
    host.manager.SendNotify(root, L"click");
    ::SendMessageW(host, WM_NULL, 0, 0); // delivers the queued one
    EXPECT_EQ(g_log,
              std::vector<std::string>({"panel:click", "derived:any-click", "derived:any-click"}))
        << "queued notifications reach the window's own map";
    ::DestroyWindow(host);
}
