// Timers, notifications, delayed deletion, attaching trees, option groups and searches.
#include "window/ManagerFixture.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

// Sends WM_TIMER with a native id, as the system would when it fires.
void Fire(HWND window, UINT nativeId) {
    ::SendMessageW(window, WM_TIMER, nativeId, 0);
}

// Starts a timer that fires at once and answers the native id its first event came with,
// as the window saw it; the timer keeps running.
UINT StartAndCatchTimer(skintest::HostWindow* host, skintest::RecordingControl* control, UINT key) {
    UINT current = 0;
    UINT caught = 0;
    bool seen = false;
    host->onMessage = [&current](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_TIMER) current = static_cast<UINT>(wParam);
        return false;
    };
    control->onEvent = [&](TEventUI& event) {
        if (event.type != UIEVENT_TIMER || event.wParam != key || seen) return;
        caught = current;
        seen = true;
    };
    EXPECT_TRUE(host->manager.SetTimer(control, key, 1));
    EXPECT_TRUE(skintest::PumpUntil([&seen] { return seen; }));
    control->onEvent = nullptr;
    host->onMessage = nullptr;
    return caught;
}

// The keys of the timer events a control received.
std::set<UINT> FiredKeys(const skintest::RecordingControl* control) {
    std::set<UINT> keys;
    for (const skintest::SeenEvent& seen : control->events)
        if (seen.type == UIEVENT_TIMER) keys.insert(static_cast<UINT>(seen.wParam));
    return keys;
}

// Delegates for event sources, which take plain functions.
bool* g_flag = nullptr;
bool SetFlag(void*) {
    *g_flag = true;
    return true;
}

int* g_counter = nullptr;
bool CountCall(void*) {
    ++*g_counter;
    return true;
}

std::wstring g_seenByDelegate;
bool RememberTypeAndVeto(void* param) {
    g_seenByDelegate = static_cast<TNotifyUI*>(param)->type.GetData();
    return false; // a veto does not stop the notifiers
}

} // namespace

using Timers = ManagerFixture;

TEST_F(Timers, EachTimerReachesItsControlWithItsKey) {
    ASSERT_TRUE(manager->SetTimer(a, 100, 10));
    ASSERT_TRUE(manager->SetTimer(a, 7, 10));
    ASSERT_TRUE(manager->SetTimer(b, 100, 10)) << "keys are per control";
    ASSERT_TRUE(skintest::PumpUntil([this] {
        return FiredKeys(a) == std::set<UINT>({7, 100}) && FiredKeys(b) == std::set<UINT>({100});
    }));
    EXPECT_EQ(a->Last(UIEVENT_TIMER)->sender, a);
    EXPECT_EQ(b->Last(UIEVENT_TIMER)->sender, b);
    EXPECT_EQ(a->Last(UIEVENT_TIMER)->mousePos.x, 0) << "timer events carry no point";
    EXPECT_NE(std::find(host->notifications.begin(), host->notifications.end(), L"timer"),
              host->notifications.end());
    manager->RemoveAllTimers();
}

TEST_F(Timers, ARunningPairIsRefusedAndAKilledOneStartsAgain) {
    const UINT nativeId = StartAndCatchTimer(host, a, 1);
    EXPECT_FALSE(manager->SetTimer(a, 1, 10)) << "already running";
    EXPECT_TRUE(manager->KillTimer(a, 1));
    EXPECT_FALSE(manager->KillTimer(a, 1));
    ClearEvents();
    Fire(window, nativeId); // one the system had queued before the kill
    ::Sleep(30);
    skintest::PumpMessages();
    EXPECT_EQ(a->Count(UIEVENT_TIMER), 0) << "a killed timer sends nothing";
    EXPECT_TRUE(manager->SetTimer(a, 1, 10));
    ASSERT_TRUE(skintest::PumpUntil([this] { return a->Count(UIEVENT_TIMER) > 0; }));
    EXPECT_EQ(a->Last(UIEVENT_TIMER)->wParam, 1u);
    manager->RemoveAllTimers();
}

TEST_F(Timers, ARunningTimerKeepsFiringWhileOthersComeAndGo) {
    ASSERT_TRUE(manager->SetTimer(a, 1, 20));
    // Far more timers than native ids come and go: none may take the running one's id,
    // which would replace its native timer and, once killed, silence it.
    for (UINT key = 0; key < 1000; ++key) {
        ASSERT_TRUE(manager->SetTimer(b, key, 60000)) << key;
        manager->KillTimer(b);
    }
    ClearEvents();
    ASSERT_TRUE(skintest::PumpUntil([this] { return a->Count(UIEVENT_TIMER) >= 2; }));
    EXPECT_EQ(b->Count(UIEVENT_TIMER), 0);
    manager->RemoveAllTimers();
}

TEST_F(Timers, ManyRunTogetherAndARefusedOneLeavesNothingBehind) {
    std::set<UINT> accepted;
    for (UINT key = 0; key < 400; ++key) {
        if (manager->SetTimer(b, key, 10)) {
            accepted.insert(key);
        } else {
            EXPECT_FALSE(manager->KillTimer(b, key)) << "no record for a refused timer";
        }
    }
    ASSERT_GE(accepted.size(), 100u);
    // Every timer that was accepted fires for its own key: no two share a native timer.
    EXPECT_TRUE(skintest::PumpUntil([&] { return FiredKeys(b) == accepted; }, 10000))
        << FiredKeys(b).size() << " of " << accepted.size();
    manager->KillTimer(b);
    skintest::PumpMessages(); // what was queued before the kill
    ClearEvents();
    ::Sleep(30);
    skintest::PumpMessages();
    EXPECT_EQ(b->Count(UIEVENT_TIMER), 0);
    EXPECT_TRUE(manager->SetTimer(c, 0, 60000)) << "the ids are free again";
    manager->RemoveAllTimers();
}

TEST_F(Timers, FireForRealAndEndWithTheirControl) {
    int fired = 0;
    host->onNotify = [&fired, this](TNotifyUI& msg) {
        if (msg.type == L"timer" && msg.sender == c && msg.wParam == 9) ++fired;
    };
    ASSERT_TRUE(manager->SetTimer(c, 9, 10));
    ASSERT_TRUE(skintest::PumpUntil([&fired] { return fired >= 2; }));

    panel->Remove(c);
    delete c; // reaps the control: its timer goes with it
    c = nullptr;
    const int before = fired;
    ::Sleep(50);
    skintest::PumpMessages();
    EXPECT_EQ(fired, before);
}

using Notifications = ManagerFixture;

TEST_F(Notifications, SynchronousReachDelegatesFirstThenNotifiersInOrder) {
    std::vector<std::string> order;
    struct Notifier : INotifyUI {
        Notifier(std::vector<std::string>& log, const char* name) : log(log), name(name) {}
        void Notify(TNotifyUI&) override { log.push_back(name); }
        std::vector<std::string>& log;
        const char* name;
    } second(order, "second"), third(order, "third");
    manager->AddNotifier(&second);
    manager->AddNotifier(&third);
    g_seenByDelegate.clear();
    a->OnNotify += RememberTypeAndVeto;
    host->onNotify = [&order](TNotifyUI& msg) {
        order.push_back(g_seenByDelegate == msg.type.GetData() ? "host after delegate" : "host");
    };

    SendAt(WM_MOUSEMOVE, 15, 16);
    manager->SendNotify(a, L"click", 3, 4);
    EXPECT_EQ(order, std::vector<std::string>({"host after delegate", "second", "third"}));

    TNotifyUI record;
    record.type = L"click";
    record.sender = a;
    manager->SendNotify(record);
    EXPECT_EQ(record.mousePos.x, 15) << "stamped with the last mouse position";
    EXPECT_NE(record.timestamp, 0u);
    EXPECT_TRUE(record.virtualWnd.IsEmpty()) << "no virtual windows in use";
    manager->RemoveNotifier(&second);
    manager->RemoveNotifier(&third);
}

TEST_F(Notifications, QueuedWaitForTheNextMessageOfTheWindow) {
    g_seenByDelegate.clear();
    b->OnNotify += RememberTypeAndVeto;
    std::wstring seenFirst;
    host->onNotify = [&seenFirst](TNotifyUI&) { seenFirst = g_seenByDelegate; };
    manager->SendNotify(b, L"click", 0, 0, true);
    EXPECT_TRUE(host->notifications.empty());
    EXPECT_TRUE(g_seenByDelegate.empty());
    Send(WM_NULL);
    EXPECT_EQ(host->notifications, std::vector<std::wstring>({L"click"}));
    EXPECT_EQ(host->senders, std::vector<CControlUI*>({b}));
    EXPECT_EQ(seenFirst, L"click") << "the sender's delegates hear it first";
}

TEST_F(Notifications, QueuedFromAQueuedHandlerWaitForTheNextDelivery) {
    int deliveries = 0;
    host->onNotify = [&deliveries, this](TNotifyUI& msg) {
        ++deliveries;
        manager->SendNotify(msg.sender, L"click", 0, 0, true); // queues itself again
    };
    manager->SendNotify(a, L"click", 0, 0, true);
    LRESULT result = 0;
    manager->MessageHandler(WM_NULL, 0, 0, result);
    EXPECT_EQ(deliveries, 2) << "one before and one after the message, and no endless loop";
    host->onNotify = nullptr;
}

TEST_F(Notifications, QueuedForAControlThatWentAwayArriveWithoutSender) {
    manager->SendNotify(d, L"click", 0, 0, true);
    panel->Remove(d);
    delete d;
    d = nullptr;
    Send(WM_NULL);
    EXPECT_EQ(host->notifications, std::vector<std::wstring>({L"click"}));
    EXPECT_EQ(host->senders, std::vector<CControlUI*>({nullptr}));
}

TEST_F(Notifications, ANotifierRemovedDuringTheWalkIsSkipped) {
    struct Quitter : INotifyUI {
        void Notify(TNotifyUI&) override {
            ++calls;
            manager->RemoveNotifier(next);
        }
        CPaintManagerUI* manager;
        INotifyUI* next;
        int calls = 0;
    } quitter;
    struct Counter : INotifyUI {
        void Notify(TNotifyUI&) override { ++calls; }
        int calls = 0;
    } counter;
    quitter.manager = manager;
    quitter.next = &counter;
    manager->AddNotifier(&quitter);
    manager->AddNotifier(&counter);
    manager->SendNotify(a, L"click");
    EXPECT_EQ(quitter.calls, 1);
    EXPECT_EQ(counter.calls, 0);
    manager->RemoveNotifier(&quitter);
}

namespace {

// Counts its calls on every listener list of a manager; a leaver takes itself off the
// list it is called from.
struct Listener : INotifyUI, IMessageFilterUI, ITranslateAccelerator {
    Listener(CPaintManagerUI* manager, bool leaves) : manager(manager), leaves(leaves) {}
    void Notify(TNotifyUI&) override {
        ++calls;
        if (leaves) manager->RemoveNotifier(this);
    }
    LRESULT MessageHandler(UINT, WPARAM, LPARAM, bool&) override {
        ++calls;
        if (leaves && !manager->RemoveMessageFilter(this)) manager->RemovePreMessageFilter(this);
        return 0;
    }
    LRESULT TranslateAccelerator(MSG*) override {
        ++calls;
        if (leaves) manager->RemoveTranslateAccelerator(this);
        return 1; // not taken
    }
    CPaintManagerUI* manager;
    bool leaves;
    int calls = 0;
};

// Painted after the tree; a leaver takes itself off the post-paint list while painted.
struct PostPainter : CControlUI {
    explicit PostPainter(bool leaves) : leaves(leaves) {}
    void DoPostPaint(HDC, const RECT&) override {
        ++paints;
        if (leaves) GetManager()->RemovePostPaint(this);
    }
    bool leaves;
    int paints = 0;
};

} // namespace

TEST_F(Notifications, AListenerThatLeavesWhileCalledDoesNotHideTheNextOne) {
    {
        Listener leaver(manager, true), stayer(manager, false);
        manager->AddNotifier(&leaver);
        manager->AddNotifier(&stayer);
        manager->SendNotify(a, L"click");
        manager->SendNotify(a, L"click");
        EXPECT_EQ(leaver.calls, 1) << "notifier";
        EXPECT_EQ(stayer.calls, 2) << "notifier";
        manager->RemoveNotifier(&stayer);
    }
    {
        Listener leaver(manager, true), stayer(manager, false);
        manager->AddMessageFilter(&leaver);
        manager->AddMessageFilter(&stayer);
        Send(WM_NULL);
        Send(WM_NULL);
        EXPECT_EQ(leaver.calls, 1) << "message filter";
        EXPECT_EQ(stayer.calls, 2) << "message filter";
        manager->RemoveMessageFilter(&stayer);
    }
    {
        Listener leaver(manager, true), stayer(manager, false);
        manager->AddPreMessageFilter(&leaver);
        manager->AddPreMessageFilter(&stayer);
        LRESULT result = 0;
        manager->PreMessageHandler(WM_KEYDOWN, 'A', 0, result);
        manager->PreMessageHandler(WM_KEYDOWN, 'A', 0, result);
        EXPECT_EQ(leaver.calls, 1) << "pre-message filter";
        EXPECT_EQ(stayer.calls, 2) << "pre-message filter";
        manager->RemovePreMessageFilter(&stayer);
    }
    {
        Listener leaver(manager, true), stayer(manager, false);
        manager->AddTranslateAccelerator(&leaver);
        manager->AddTranslateAccelerator(&stayer);
        MSG msg{};
        msg.hwnd = window;
        msg.message = WM_KEYDOWN;
        EXPECT_FALSE(manager->TranslateAcceleratorW(&msg));
        EXPECT_FALSE(manager->TranslateAcceleratorW(&msg));
        EXPECT_EQ(leaver.calls, 1) << "translator";
        EXPECT_EQ(stayer.calls, 2) << "translator";
        manager->RemoveTranslateAccelerator(&stayer);
    }
    {
        PostPainter leaver(true), stayer(false);
        leaver.SetManager(manager, nullptr, false);
        stayer.SetManager(manager, nullptr, false);
        manager->AddPostPaint(&leaver);
        manager->AddPostPaint(&stayer);
        for (int i = 0; i < 2; ++i) {
            ::InvalidateRect(window, nullptr, FALSE);
            ::UpdateWindow(window);
        }
        EXPECT_EQ(leaver.paints, 1) << "post-paint";
        EXPECT_EQ(stayer.paints, 2) << "post-paint";
        EXPECT_EQ(manager->GetPostPaintCount(), 1);
        manager->RemovePostPaint(&stayer);
    }
}

using Cleanup = ManagerFixture;

TEST_F(Cleanup, AControlRemovedDuringItsOwnEventIsFreedOnlyLater) {
    bool destroyed = false;
    g_flag = &destroyed;
    b->OnDestroy += SetFlag;
    b->onEvent = [this](TEventUI& event) {
        if (event.type != UIEVENT_BUTTONUP) return;
        root->Remove(b);
        manager->AddDelayedCleanup(b);
    };
    SendAt(WM_LBUTTONDOWN, 160, 20, MK_LBUTTON);
    SendAt(WM_LBUTTONUP, 160, 20);
    EXPECT_FALSE(destroyed) << "still alive while its own event unwinds";
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(manager->FindControl(POINT{160, 20}), root);
    // Deleted from the window's queue, not by whichever message comes next.
    SendAt(WM_MOUSEMOVE, 170, 20);
    Send(WM_NULL);
    EXPECT_FALSE(destroyed);
    skintest::PumpMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(manager->FindControl(L"b"), nullptr);
    b = nullptr;
}

TEST_F(Cleanup, DeletingAControlMakesTheManagerForgetIt) {
    SendAt(WM_MOUSEMOVE, 30, 120);
    SendAt(WM_LBUTTONDOWN, 30, 120, MK_LBUTTON);
    Send(WM_KEYDOWN, 'X');
    ASSERT_EQ(manager->GetFocus(), c);
    const UINT timer = StartAndCatchTimer(host, c, 1);
    panel->Remove(c);
    delete c;
    c = nullptr;
    EXPECT_EQ(manager->GetFocus(), nullptr);
    EXPECT_EQ(manager->FindControl(L"c"), nullptr);
    // No dangling hover, click or key control: these reach nobody.
    SendAt(WM_MOUSEMOVE, 200, 200);
    SendAt(WM_LBUTTONUP, 200, 200);
    Send(WM_KEYUP, 'X');
    Fire(window, timer);
    ::Sleep(20);
    skintest::PumpMessages(); // and the native timer is gone with it
}

TEST_F(Cleanup, AttachingANewTreeForgetsTheOldOne) {
    ASSERT_EQ(manager->FindControl(L"a"), a);
    ASSERT_EQ(manager->FindSubControlsByClass(nullptr, L"RecordingUI")->GetSize(), 5);
    bool oldDestroyed = false;
    g_flag = &oldDestroyed;
    root->OnDestroy += SetFlag;

    auto* fresh = new skintest::TestContainer(L"fresh");
    auto* only = new RecordingControl(L"only", UIFLAG_TABSTOP);
    fresh->Add(only, 0, 0, 50, 50);
    EXPECT_TRUE(manager->AttachDialog(fresh));
    EXPECT_EQ(manager->GetRoot(), fresh);
    EXPECT_EQ(manager->FindControl(L"a"), nullptr) << "names of the old tree are gone";
    EXPECT_EQ(manager->GetSubControlsByClass()->GetSize(), 0);
    EXPECT_EQ(manager->FindControl(L"only"), only);
    EXPECT_FALSE(oldDestroyed);
    host->notifications.clear();
    host->senders.clear();
    ASSERT_TRUE(skintest::PumpUntil([&] { return oldDestroyed && !host->notifications.empty(); }));
    EXPECT_EQ(host->notifications.front(), L"windowinit");
    EXPECT_EQ(host->senders.front(), fresh);
    EXPECT_EQ(manager->GetFocus(), only) << "the new tree's first tab stop";
    root = panel = nullptr;
    a = b = c = d = e = nullptr;
    EXPECT_FALSE(manager->InitControls(nullptr));
}

TEST(CleanupWithoutWindow, ManagerDeletesWhatIsStillQueued) {
    int destroyed = 0;
    g_counter = &destroyed;
    {
        CPaintManagerUI manager;
        auto* root = new CControlUI;
        auto* waiting = new CControlUI;
        root->OnDestroy += CountCall;
        waiting->OnDestroy += CountCall;
        manager.AttachDialog(root);
        manager.AddDelayedCleanup(waiting);
        manager.AddDelayedCleanup(waiting); // queued once, deleted once
        manager.SendNotify(waiting, L"click", 0, 0, true);
    }
    EXPECT_EQ(destroyed, 2);
}

using Searches = ManagerFixture;

TEST_F(Searches, FindByNamePointAndClass) {
    EXPECT_EQ(manager->FindControl(L"d"), d);
    EXPECT_EQ(manager->FindControl(L"D"), nullptr) << "the name map is exact";
    EXPECT_EQ(manager->FindSubControlByName(nullptr, L"D"), d) << "the walk ignores case";
    EXPECT_EQ(manager->FindSubControlByName(panel, L"a"), nullptr);

    EXPECT_EQ(manager->FindControl(POINT{160, 120}), d);
    EXPECT_EQ(manager->FindControl(POINT{300, 200}), panel);
    EXPECT_EQ(manager->FindControl(POINT{395, 295}), root);
    EXPECT_EQ(manager->FindSubControlByPoint(panel, POINT{30, 120}), c);
    EXPECT_EQ(manager->FindSubControlByPoint(panel, POINT{30, 20}), nullptr);

    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"RecordingUI", 0), a);
    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"RecordingUI", 2), c);
    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"RecordingUI", 5), nullptr);
    // Without "me first", containers come after their children.
    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"*", 0), a);
    EXPECT_EQ(manager->FindSubControlByClass(panel, L"*", 2), panel);
    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"recordingui", 0), nullptr);
    EXPECT_EQ(manager->FindSubControlByClass(nullptr, L"RecordingUI", -1), nullptr);

    CStdPtrArray* all = manager->FindSubControlsByClass(panel, L"RecordingUI");
    ASSERT_EQ(all->GetSize(), 2);
    EXPECT_EQ(all->GetAt(0), c);
    EXPECT_EQ(all->GetAt(1), d);
    EXPECT_EQ(manager->GetSubControlsByClass(), all);

    int count = 0;
    root->FindControl(CPaintManagerUI::__FindControlFromCount, &count, UIFIND_ALL);
    EXPECT_EQ(count, 7);
}

TEST_F(Searches, DuplicateNamesKeepTheFirstControl) {
    auto* twin = Add(root, new RecordingControl(L"a"), 0, 280, 10, 10);
    EXPECT_EQ(manager->FindControl(L"a"), a);
    root->Remove(twin);
    delete twin; // its name maps to another control: the entry stays
    EXPECT_EQ(manager->FindControl(L"a"), a);
}

TEST_F(Searches, OptionGroupsAndPostPaintLists) {
    EXPECT_TRUE(manager->AddOptionGroup(L"g", a));
    EXPECT_TRUE(manager->AddOptionGroup(L"g", b));
    EXPECT_FALSE(manager->AddOptionGroup(L"g", a));
    ASSERT_NE(manager->GetOptionGroup(L"g"), nullptr);
    EXPECT_EQ(manager->GetOptionGroup(L"g")->GetSize(), 2);
    manager->RemoveOptionGroup(L"g", a);
    manager->RemoveOptionGroup(L"g", b);
    EXPECT_EQ(manager->GetOptionGroup(L"g"), nullptr) << "an empty group goes away";
    manager->AddOptionGroup(L"h", c);
    manager->RemoveAllOptionGroups();
    EXPECT_EQ(manager->GetOptionGroup(L"h"), nullptr);

    EXPECT_TRUE(manager->AddPostPaint(a));
    EXPECT_TRUE(manager->AddPostPaint(b));
    EXPECT_TRUE(manager->SetPostPaintIndex(b, 0));
    EXPECT_FALSE(manager->SetPostPaintIndex(a, 5));
    EXPECT_EQ(manager->GetPostPaintCount(), 2) << "a refused move keeps the control";
    EXPECT_TRUE(manager->RemovePostPaint(a));
    EXPECT_FALSE(manager->RemovePostPaint(a));
    EXPECT_EQ(manager->GetPostPaintCount(), 1);
}
