// Timers, notifications, delayed deletion, attaching trees, option groups and searches.
#include "window/ManagerFixture.h"

#include <string>
#include <vector>

using namespace SkinUI;

namespace {

// Sends WM_TIMER with a native id, as the system would when it fires.
void Fire(HWND window, UINT nativeId) {
    ::SendMessageW(window, WM_TIMER, nativeId, 0);
}

// The local key of the last timer event a control received, or -1.
long long LastKey(const skintest::RecordingControl* control) {
    const skintest::SeenEvent* timer = control->Last(UIEVENT_TIMER);
    return timer != nullptr ? static_cast<long long>(timer->wParam) : -1;
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

TEST_F(Timers, NativeIdsStartAt17AndCycleBelow255) {
    ASSERT_TRUE(manager->SetTimer(a, 100, 60000));
    Fire(window, 17);
    EXPECT_EQ(LastKey(a), 100);
    EXPECT_EQ(a->Last(UIEVENT_TIMER)->sender, a);
    EXPECT_EQ(host->notifications.back(), L"timer");

    for (UINT key = 1; key <= 237; ++key)
        ASSERT_TRUE(manager->SetTimer(b, key, 60000)) << key;
    Fire(window, 254);
    EXPECT_EQ(LastKey(b), 237);
    ASSERT_TRUE(manager->SetTimer(b, 238, 60000));
    Fire(window, 0);
    EXPECT_EQ(LastKey(b), 238) << "after id 254 comes 0";
    manager->RemoveAllTimers();
}

TEST_F(Timers, ARunningPairIsRefusedAndAKilledOneReusesItsId) {
    ASSERT_TRUE(manager->SetTimer(a, 1, 60000));
    ASSERT_TRUE(manager->SetTimer(a, 2, 60000));
    EXPECT_FALSE(manager->SetTimer(a, 1, 60000));
    EXPECT_TRUE(manager->KillTimer(a, 1));
    EXPECT_FALSE(manager->KillTimer(a, 1));
    Fire(window, 17);
    EXPECT_EQ(a->Count(UIEVENT_TIMER), 0) << "a killed timer sends nothing";
    EXPECT_TRUE(manager->SetTimer(a, 1, 60000));
    Fire(window, 17);
    EXPECT_EQ(LastKey(a), 1);
    ASSERT_TRUE(manager->SetTimer(a, 3, 60000));
    Fire(window, 19);
    EXPECT_EQ(LastKey(a), 3);
}

TEST_F(Timers, AnIdStillHeldIsNeverHandedOutTwice) {
    ASSERT_TRUE(manager->SetTimer(a, 1, 60000)); // id 17, kept running
    for (UINT key = 0; key < 254; ++key)
        ASSERT_TRUE(manager->SetTimer(b, key, 60000)) << key;
    EXPECT_FALSE(manager->SetTimer(c, 0, 60000)) << "all 255 ids are taken";
    Fire(window, 17);
    EXPECT_EQ(LastKey(a), 1);
    EXPECT_EQ(b->Count(UIEVENT_TIMER), 0) << "the wrapped counter skipped the running id";
    manager->KillTimer(b);
    EXPECT_TRUE(manager->SetTimer(c, 0, 60000));
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
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, window, WM_APP + 1, WM_APP + 1, PM_NOREMOVE));
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
    ASSERT_TRUE(manager->SetTimer(c, 1, 60000));
    panel->Remove(c);
    delete c;
    c = nullptr;
    EXPECT_EQ(manager->GetFocus(), nullptr);
    EXPECT_EQ(manager->FindControl(L"c"), nullptr);
    // No dangling hover, click or key control: these reach nobody.
    SendAt(WM_MOUSEMOVE, 200, 200);
    SendAt(WM_LBUTTONUP, 200, 200);
    Send(WM_KEYUP, 'X');
    Fire(window, 17);
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
