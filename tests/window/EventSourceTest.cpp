#include "window/Delegate.h"
#include "window/EventSource.h"
#include "window/EventUI.h"

#include <gtest/gtest.h>

#include <vector>

using SkinUI::CDelegate;
using SkinUI::CDelegateStatic;
using SkinUI::CEventSource;
using SkinUI::MakeDelegate;

namespace {

std::vector<int> g_calls;

bool FirstSaysNo(void*) {
    g_calls.push_back(1);
    return false;
}

bool SecondSaysYes(void*) {
    g_calls.push_back(2);
    return true;
}

class Listener {
public:
    virtual ~Listener() = default;
    bool OnA(void* param) {
        seen.push_back(param);
        return true;
    }
    bool OnB(void*) { return true; }
    virtual bool OnVirtual(void*) { return false; }

    std::vector<void*> seen;
};

class DerivedListener : public Listener {
public:
    bool OnVirtual(void*) override { return true; }
};

} // namespace

TEST(EventSource, StopsAtTheFirstDelegateThatSaysFalse) {
    g_calls.clear();
    CEventSource source;
    source += FirstSaysNo;
    source += SecondSaysYes;
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(g_calls, std::vector<int>({1}));

    CEventSource empty;
    EXPECT_FALSE(static_cast<bool>(empty));
    EXPECT_TRUE(empty(nullptr)) << "nobody objects";
}

TEST(EventSource, KeepsOneCopyOfAnEqualDelegate) {
    g_calls.clear();
    CEventSource source;
    source += SecondSaysYes;
    source += SecondSaysYes;
    source += MakeDelegate(SecondSaysYes);
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(g_calls, std::vector<int>({2}));
    source -= SecondSaysYes;
    EXPECT_FALSE(static_cast<bool>(source));
    source -= SecondSaysYes; // absent: ignored
    EXPECT_FALSE(static_cast<bool>(source));
}

TEST(EventSource, MemberDelegatesCompareByObjectAndFunction) {
    Listener first;
    Listener second;
    EXPECT_TRUE(MakeDelegate(&first, &Listener::OnA).Equals(MakeDelegate(&first, &Listener::OnA)));
    EXPECT_FALSE(MakeDelegate(&first, &Listener::OnA).Equals(MakeDelegate(&first, &Listener::OnB)));
    EXPECT_FALSE(
        MakeDelegate(&first, &Listener::OnA).Equals(MakeDelegate(&second, &Listener::OnA)));
    EXPECT_FALSE(MakeDelegate(&first, &Listener::OnA).Equals(CDelegateStatic(SecondSaysYes)));

    CEventSource source;
    source += MakeDelegate(&first, &Listener::OnA);
    source += MakeDelegate(&first, &Listener::OnB);
    source += MakeDelegate(&second, &Listener::OnA);
    int payload = 0;
    EXPECT_TRUE(source(&payload));
    EXPECT_EQ(first.seen, std::vector<void*>({&payload}));
    EXPECT_EQ(second.seen, std::vector<void*>({&payload}));

    source -= CDelegate<Listener, Listener>(&first, &Listener::OnA);
    source -= CDelegate<Listener, Listener>(&first, &Listener::OnB);
    source -= CDelegate<Listener, Listener>(&second, &Listener::OnA);
    EXPECT_FALSE(static_cast<bool>(source));
}

TEST(EventSource, VirtualMemberCallsTheOverride) {
    DerivedListener derived;
    CEventSource source;
    source += MakeDelegate(static_cast<Listener*>(&derived), &Listener::OnVirtual);
    EXPECT_TRUE(source(nullptr));
}

TEST(EventTypes, MouseEventsAreExactlyNineToEighteen) {
    EXPECT_FALSE(SkinUI::IsMouseEvent(8));
    EXPECT_TRUE(SkinUI::IsMouseEvent(SkinUI::UIEVENT_MOUSEMOVE));
    EXPECT_TRUE(SkinUI::IsMouseEvent(SkinUI::UIEVENT_SCROLLWHEEL));
    EXPECT_FALSE(SkinUI::IsMouseEvent(19));
    EXPECT_FALSE(SkinUI::IsMouseEvent(SkinUI::UIEVENT_KILLFOCUS));
    EXPECT_TRUE(SkinUI::IsKeyEvent(SkinUI::UIEVENT_KEYDOWN));
    EXPECT_TRUE(SkinUI::IsKeyEvent(SkinUI::UIEVENT_SYSKEY));
    EXPECT_FALSE(SkinUI::IsKeyEvent(7));
}

TEST(EventTypes, LiveKeyStatePutsTheLeftButtonAtTwo) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE keys[256] = {};
    keys[VK_LBUTTON] = 0x80;
    keys[VK_SHIFT] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_EQ(SkinUI::MapKeyState(), SkinUI::UIKEYSTATE_LBUTTON | SkinUI::UIKEYSTATE_SHIFT);
    EXPECT_EQ(SkinUI::UIKEYSTATE_LBUTTON, 0x02);
    keys[VK_LBUTTON] = 0;
    keys[VK_SHIFT] = 0;
    keys[VK_RBUTTON] = 0x80;
    keys[VK_CONTROL] = 0x80;
    keys[VK_MENU] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_EQ(SkinUI::MapKeyState(), 0x01 | 0x08 | 0x20);
    SetKeyboardState(saved);
}
