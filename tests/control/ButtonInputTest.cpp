// Buttons, options and text links driven by real window messages through a paint manager.
#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"
#include "control/OptionUI.h"
#include "control/TextUI.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;
using skintest::PointParam;

namespace {

// A text whose links are set by the test, as the HTML text renderer would record them.
class LinkedText : public CTextUI {
public:
    void SetLinks(std::vector<RECT> rects) {
        m_nLinks = 0;
        for (const RECT& rc : rects) {
            m_rcLinks[m_nLinks] = rc;
            m_sLinks[m_nLinks] = (L"target" + std::to_wstring(m_nLinks)).c_str();
            ++m_nLinks;
        }
    }
    int HoverLink() const { return m_nHoverLink; }
};

class TextControlInput : public ::testing::Test {
protected:
    void SetUp() override {
        root = new skintest::TestContainer(L"root");
        root->Add(button, 10, 10, 80, 30);
        optionA->SetGroup(L"g");
        optionB->SetGroup(L"g");
        root->Add(optionA, 10, 50, 80, 30);
        root->Add(optionB, 100, 50, 80, 30);
        root->Add(box, 10, 90, 80, 30);
        root->Add(text, 100, 90, 150, 60);
        host = new skintest::HostWindow(root);
        ASSERT_NE(host->Open(300, 200), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        host->onNotify = [this](TNotifyUI& msg) { lastWParam = msg.wParam; };
        host->notifications.clear();
        host->senders.clear();
    }
    void TearDown() override {
        ::DestroyWindow(host->GetHWND());
        delete host;
    }
    void Send(UINT message, WPARAM wParam, LPARAM lParam) {
        ::SendMessageW(host->GetHWND(), message, wParam, lParam);
    }
    void Down(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y)); }
    void Move(int x, int y) { Send(WM_MOUSEMOVE, 0, PointParam(x, y)); }
    void Up(int x, int y) { Send(WM_LBUTTONUP, 0, PointParam(x, y)); }
    void Click(int x, int y) {
        Down(x, y);
        Up(x, y);
    }
    void Key(WPARAM key) { Send(WM_KEYDOWN, key, 0); }
    // Senders of one notification type, in order.
    std::vector<CControlUI*> Senders(const wchar_t* type) const {
        std::vector<CControlUI*> senders;
        for (size_t i = 0; i < host->notifications.size(); ++i)
            if (host->notifications[i] == type) senders.push_back(host->senders[i]);
        return senders;
    }
    size_t GroupSize(const wchar_t* group) {
        CStdPtrArray* members = host->manager.GetOptionGroup(group);
        return members != nullptr ? static_cast<size_t>(members->GetSize()) : 0;
    }

    skintest::TestContainer* root = nullptr;
    CButtonUI* button = new CButtonUI;
    COptionUI* optionA = new COptionUI;
    COptionUI* optionB = new COptionUI;
    CCheckBoxUI* box = new CCheckBoxUI;
    LinkedText* text = new LinkedText;
    skintest::HostWindow* host = nullptr;
    WPARAM lastWParam = 0;
};

} // namespace

TEST_F(TextControlInput, ButtonClicksWhenReleasedInside) {
    Click(20, 20);
    EXPECT_EQ(Senders(L"click"), std::vector<CControlUI*>({button}));

    Down(20, 20);
    EXPECT_EQ(button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED),
              UISTATE_PUSHED | UISTATE_CAPTURED);
    Move(200, 180);
    EXPECT_EQ(button->GetButtonState() & UISTATE_PUSHED, 0u) << "dragged out";
    Up(200, 180);
    EXPECT_EQ(Senders(L"click").size(), 1u) << "released outside: no click";
    EXPECT_EQ(button->GetButtonState() & UISTATE_CAPTURED, 0u);

    Down(20, 20);
    Move(200, 180);
    Move(30, 30);
    Up(30, 30);
    EXPECT_EQ(Senders(L"click").size(), 2u) << "dragged back in before release";
}

TEST_F(TextControlInput, ButtonTracksHotAndClicksOnSpaceAndReturn) {
    Move(20, 20);
    EXPECT_NE(button->GetButtonState() & UISTATE_HOT, 0u);
    Move(290, 190);
    EXPECT_EQ(button->GetButtonState() & UISTATE_HOT, 0u);

    button->SetFocus();
    ASSERT_TRUE(button->IsFocused());
    Key(VK_SPACE);
    Key(VK_RETURN);
    Key('A');
    EXPECT_EQ(Senders(L"click").size(), 2u);
    button->SetKeyboardEnabled(false);
    Key(VK_SPACE);
    EXPECT_EQ(Senders(L"click").size(), 2u) << "keyboard disabled";

    button->SetKeyboardEnabled(true);
    button->SetEnabled(false);
    Click(20, 20);
    Key(VK_SPACE);
    EXPECT_EQ(Senders(L"click").size(), 2u) << "disabled";
    EXPECT_EQ(button->GetButtonState(), 0u);
}

TEST_F(TextControlInput, ButtonContextMenuNotifiesOnlyWhenUsed) {
    const auto rightClick = [this] {
        Send(WM_RBUTTONDOWN, MK_RBUTTON, PointParam(20, 20));
        Send(WM_CONTEXTMENU, 0, skintest::ScreenPointParam(host->GetHWND(), 20, 20));
    };
    rightClick();
    EXPECT_TRUE(Senders(L"menu").empty());
    button->SetAttribute(L"menu", L"true");
    rightClick();
    EXPECT_EQ(Senders(L"menu"), std::vector<CControlUI*>({button}));
}

TEST_F(TextControlInput, GroupedOptionsSelectOneAndLoneOnesToggle) {
    Click(20, 60);
    Click(110, 60);
    EXPECT_EQ(Senders(L"selectchanged"), std::vector<CControlUI*>({optionA, optionB}))
        << "the deselected option sends nothing";
    EXPECT_FALSE(optionA->IsSelected());
    EXPECT_TRUE(optionB->IsSelected());
    Click(110, 60);
    EXPECT_TRUE(optionB->IsSelected()) << "a grouped option does not toggle off";
    EXPECT_EQ(Senders(L"selectchanged").size(), 2u);
    EXPECT_EQ(Senders(L"click").size(), 3u);

    Click(20, 100);
    EXPECT_TRUE(box->GetCheck());
    Click(20, 100);
    EXPECT_FALSE(box->GetCheck());
    EXPECT_EQ(Senders(L"selectchanged").size(), 4u);
}

TEST_F(TextControlInput, DeletedOrMovedOptionsLeaveTheirGroup) {
    EXPECT_EQ(GroupSize(L"g"), 2u);
    ASSERT_TRUE(root->Remove(optionA));
    delete optionA;
    EXPECT_EQ(GroupSize(L"g"), 1u);

    auto* optionC = new COptionUI;
    optionC->SetGroup(L"g");
    root->Add(optionC, 10, 50, 80, 30);
    EXPECT_EQ(GroupSize(L"g"), 2u);
    optionB->Selected(true);
    EXPECT_TRUE(optionC->Activate());
    EXPECT_TRUE(optionC->IsSelected());
    EXPECT_FALSE(optionB->IsSelected());
    optionC->SetGroup(L"other");
    EXPECT_EQ(GroupSize(L"g"), 1u);
    EXPECT_EQ(GroupSize(L"other"), 1u);

    // The skin builder attaches without init, reads "group", then detaches: deleting the
    // option afterwards must leave nothing behind.
    auto* built = new COptionUI;
    built->SetManager(&host->manager, nullptr, false);
    built->SetAttribute(L"group", L"built");
    EXPECT_EQ(GroupSize(L"built"), 1u);
    built->SetManager(nullptr, nullptr, false);
    EXPECT_EQ(GroupSize(L"built"), 0u);
    delete built;

    // Moving to another manager moves the membership.
    CPaintManagerUI other;
    optionB->SetManager(&other, nullptr, false);
    EXPECT_EQ(GroupSize(L"g"), 0u);
    ASSERT_NE(other.GetOptionGroup(L"g"), nullptr);
    ASSERT_TRUE(root->Remove(optionB));
    delete optionB;
    EXPECT_EQ(other.GetOptionGroup(L"g"), nullptr);
}

TEST_F(TextControlInput, TextLinksAreHitTestedInOrder) {
    EXPECT_EQ(text->GetControlFlags(), 0u);
    Click(150, 100);
    EXPECT_TRUE(Senders(L"link").empty());

    text->SetLinks({RECT{100, 90, 140, 110}, RECT{130, 90, 200, 110}});
    EXPECT_EQ(text->GetControlFlags(), UIFLAG_SETCURSOR);
    EXPECT_STREQ(text->GetLinkContent(1)->GetData(), L"target1");
    EXPECT_EQ(text->GetLinkContent(2), nullptr);
    EXPECT_EQ(text->GetLinkContent(-1), nullptr);

    Click(135, 100);
    EXPECT_EQ(lastWParam, 0u) << "overlapping links: the first wins";
    Click(150, 100);
    EXPECT_EQ(lastWParam, 1u);
    Click(150, 140);
    EXPECT_EQ(Senders(L"link"), std::vector<CControlUI*>({text, text}));

    Move(150, 100);
    EXPECT_EQ(text->HoverLink(), 1);
    Move(290, 190);
    EXPECT_EQ(text->HoverLink(), -1);

    text->SetEnabled(false);
    EXPECT_EQ(text->GetControlFlags(), 0u);
    Click(150, 100);
    EXPECT_EQ(Senders(L"link").size(), 2u);
}
