#include "window/Delegate.h"
#include "window/EventSource.h"
#include "window/EventUI.h"
#include "window/ListenerList.h"

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

namespace {

// A listener whose delegate can take itself, or another, out of the source while it runs.
class Member {
public:
    Member(std::vector<int>& log, int id) : m_log(log), m_id(id) {}
    bool OnEvent(void*) {
        m_log.push_back(m_id);
        if (removeFrom != nullptr) *removeFrom -= Delegate(removeWho);
        if (addTo != nullptr) *addTo += Delegate(addWho);
        if (raiseAgain != nullptr) {
            CEventSource* source = raiseAgain;
            raiseAgain = nullptr; // once
            (*source)(nullptr);
        }
        return true;
    }
    CDelegate<Member, Member> Delegate(Member* who) { return MakeDelegate(who, &Member::OnEvent); }

    CEventSource* removeFrom = nullptr;
    Member* removeWho = nullptr;
    CEventSource* addTo = nullptr;
    Member* addWho = nullptr;
    CEventSource* raiseAgain = nullptr;

private:
    std::vector<int>& m_log;
    int m_id;
};

} // namespace

TEST(EventSourceChangedDuringACall, EveryDelegatePresentFromTheStartAndStillThereRunsOnce) {
    std::vector<int> log;
    Member first(log, 1), second(log, 2), third(log, 3);
    CEventSource source;
    source += first.Delegate(&first);
    source += second.Delegate(&second);
    source += third.Delegate(&third);

    // The first removes itself: the second must not slip past.
    first.removeFrom = &source;
    first.removeWho = &first;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({1, 2, 3}));
    log.clear();
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({2, 3})) << "gone for the next call";

    // The second removes the third, which has not run yet: it does not run.
    log.clear();
    second.removeFrom = &source;
    second.removeWho = &third;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({2}));

    // One added during a call waits for the next call.
    log.clear();
    second.removeFrom = nullptr;
    second.addTo = &source;
    second.addWho = &first;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({2}));
    log.clear();
    second.addTo = nullptr;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({2, 1}));
}

TEST(EventSourceChangedDuringACall, ANestedCallSeesTheRemovalAndTheOuterCallFinishes) {
    std::vector<int> log;
    Member first(log, 1), second(log, 2), third(log, 3);
    CEventSource source;
    source += first.Delegate(&first);
    source += second.Delegate(&second);
    source += third.Delegate(&third);
    // The first raises the source again from inside; the inner call's second removes
    // itself, so the outer call must not reach it, but still reaches the third.
    first.raiseAgain = &source;
    second.removeFrom = &source;
    second.removeWho = &second;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({1, 1, 2, 3, 3}));

    log.clear();
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, std::vector<int>({1, 3}));
    source -= first.Delegate(&first);
    source -= third.Delegate(&third);
    EXPECT_FALSE(static_cast<bool>(source)) << "removed for good once the calls ended";
}

TEST(ListenerList, KeepsPlacesStillWhileWalkedAndClosesThemAfterwards) {
    int a = 0, b = 0, c = 0;
    SkinUI::CListenerList list;
    EXPECT_FALSE(list.Add(nullptr));
    ASSERT_TRUE(list.Add(&a));
    ASSERT_TRUE(list.Add(&b));
    ASSERT_TRUE(list.Add(&c));
    ASSERT_TRUE(list.Add(&a)) << "duplicates are kept";
    std::vector<void*> seen;
    list.Walk([&](void* listener) {
        seen.push_back(listener);
        if (listener == &a && seen.size() == 1) {
            EXPECT_TRUE(list.Remove(&a)); // the first occurrence
            EXPECT_FALSE(list.Move(&b, 0)) << "places must not shift under the walk";
            EXPECT_EQ(list.GetCount(), 3);
        }
        return true;
    });
    EXPECT_EQ(seen, std::vector<void*>({&a, &b, &c, &a}));
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(list.Move(&c, 0));
    seen.clear();
    // A walk stops where the visitor says so; emptying the list meanwhile ends it too.
    EXPECT_FALSE(list.Walk([&](void* listener) {
        seen.push_back(listener);
        return listener != &b;
    }));
    EXPECT_EQ(seen, std::vector<void*>({&c, &b}));
    seen.clear();
    EXPECT_TRUE(list.Walk([&](void* listener) {
        seen.push_back(listener);
        list.Empty();
        return true;
    }));
    EXPECT_EQ(seen, std::vector<void*>({&c}));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.Contains(&b));
}
