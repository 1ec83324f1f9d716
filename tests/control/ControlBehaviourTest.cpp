// The control base's state, placement, invalidation, events and hit testing.
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <vector>

using namespace SkinUI;
using skintest::RecordingControl;
using skintest::TestContainer;

namespace {

int g_sizeEvents = 0;
CControlUI* g_resized = nullptr;
bool ResizeAgainOnSize(void* param) {
    ++g_sizeEvents;
    g_resized = static_cast<CControlUI*>(param);
    // Re-entering SetPos from OnSize must not raise OnSize again.
    g_resized->SetPos(RECT{1, 1, 2, 2});
    return true;
}

std::vector<int> g_order;
bool VetoEvent(void*) {
    g_order.push_back(1);
    return false;
}
bool AllowEvent(void*) {
    g_order.push_back(2);
    return true;
}

class InitRecorder : public CControlUI {
public:
    void DoInit() override { g_order.push_back(10); }
};
bool OnInitHook(void*) {
    g_order.push_back(11);
    return true;
}

// A window whose manager owns a root container, with the invalid region read back.
class AttachedControl : public ::testing::Test {
protected:
    void SetUp() override {
        root = new TestContainer(L"root");
        child = new RecordingControl(L"child");
        root->Add(child, 20, 20, 100, 50);
        host = new skintest::HostWindow(root);
        ASSERT_NE(host->Open(300, 200), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        ::ValidateRect(host->GetHWND(), nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(host->GetHWND());
        delete host;
    }
    // The invalid part of the window, emptied afterwards.
    RECT TakeInvalid() {
        RECT rc{};
        ::GetUpdateRect(host->GetHWND(), &rc, FALSE);
        ::ValidateRect(host->GetHWND(), nullptr);
        return rc;
    }
    static std::vector<LONG> Edges(const RECT& rc) {
        return {rc.left, rc.top, rc.right, rc.bottom};
    }
    bool NothingInvalid() {
        const RECT rc = TakeInvalid();
        return ::IsRectEmpty(&rc) != FALSE;
    }

    TestContainer* root = nullptr;
    RecordingControl* child = nullptr;
    skintest::HostWindow* host = nullptr;
};

} // namespace

TEST(ControlBase, StartsWithItsDefaults) {
    CControlUI control;
    EXPECT_STREQ(control.GetClass(), L"ControlUI");
    EXPECT_EQ(control.GetInterface(L"Control"), &control);
    EXPECT_EQ(control.GetInterface(L"Button"), nullptr);
    EXPECT_EQ(control.GetControlFlags(), 0u);
    EXPECT_TRUE(control.IsVisible());
    EXPECT_TRUE(control.IsEnabled());
    EXPECT_TRUE(control.IsUpdateNeeded());
    EXPECT_EQ(control.GetMaxWidth(), 9999);
    EXPECT_EQ(control.GetToolTipWidth(), 300);
    EXPECT_EQ(control.GetManager(), nullptr);
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
    EXPECT_EQ(control.EstimateSize(SIZE{500, 500}).cx, 0);
    control.SetFixedWidth(40);
    EXPECT_EQ(control.EstimateSize(SIZE{500, 500}).cx, 40);
}

TEST(ControlBase, InitRunsDoInitThenOnInitOnlyWithAParent) {
    g_order.clear();
    CPaintManagerUI manager;
    InitRecorder control;
    control.OnInit += OnInitHook;
    control.SetManager(&manager, nullptr, true);
    EXPECT_TRUE(g_order.empty()) << "no parent, no init";
    CControlUI parent;
    control.SetManager(&manager, &parent, false);
    EXPECT_TRUE(g_order.empty());
    control.SetManager(&manager, &parent, true);
    EXPECT_EQ(g_order, std::vector<int>({10, 11}));
    EXPECT_EQ(control.GetParent(), &parent);
    control.SetManager(nullptr, nullptr, false);
}

TEST(ControlBase, OnEventVetoKeepsDoEventAway) {
    g_order.clear();
    RecordingControl control;
    TEventUI event;
    event.type = UIEVENT_BUTTONDOWN;
    control.OnEvent += AllowEvent;
    control.Event(event);
    EXPECT_EQ(control.events.size(), 1u);
    control.OnEvent += VetoEvent;
    control.Event(event);
    EXPECT_EQ(control.events.size(), 1u);
    EXPECT_EQ(g_order, std::vector<int>({2, 2, 1}));
}

TEST(ControlBase, FindControlAppliesItsFilters) {
    CControlUI control;
    control.SetManager(nullptr, nullptr, false);
    RECT pos{10, 10, 50, 50};
    control.SetPos(pos);
    const auto self = [](CControlUI* found, void*) { return found; };
    POINT inside{20, 20};
    POINT outside{60, 20};
    EXPECT_EQ(control.FindControl(self, &inside, UIFIND_HITTEST), &control);
    EXPECT_EQ(control.FindControl(self, &outside, UIFIND_HITTEST), nullptr);
    control.SetMouseEnabled(false);
    EXPECT_EQ(control.FindControl(self, &inside, UIFIND_HITTEST), nullptr);
    EXPECT_EQ(control.FindControl(self, &inside, UIFIND_ALL), &control);
    control.SetVisible(false);
    EXPECT_EQ(control.FindControl(self, nullptr, UIFIND_VISIBLE), nullptr);
    control.SetEnabled(false);
    EXPECT_EQ(control.FindControl(self, nullptr, UIFIND_ENABLED), nullptr);
    EXPECT_EQ(control.FindControl(self, nullptr, UIFIND_ALL), &control);
}

TEST(ControlBase, VirtualWindowComesFromTheNearestAncestor) {
    CControlUI grandparent;
    CControlUI parent;
    CControlUI control;
    parent.SetManager(nullptr, &grandparent, false);
    control.SetManager(nullptr, &parent, false);
    EXPECT_TRUE(control.GetVirtualWnd().IsEmpty());
    grandparent.SetVirtualWnd(L"outer");
    EXPECT_STREQ(control.GetVirtualWnd().GetData(), L"outer");
    parent.SetVirtualWnd(L"inner");
    EXPECT_STREQ(control.GetVirtualWnd().GetData(), L"inner");
    control.SetVirtualWnd(L"own");
    EXPECT_STREQ(control.GetVirtualWnd().GetData(), L"own");
}

TEST(ControlBase, SetPosWithoutManagerOnlyStores) {
    g_sizeEvents = 0;
    CControlUI control;
    control.OnSize += ResizeAgainOnSize;
    control.SetPos(RECT{50, 60, 10, 20});
    const RECT& pos = control.GetPos();
    EXPECT_EQ(pos.right, 50) << "a reversed rectangle is made empty";
    EXPECT_EQ(pos.bottom, 60);
    EXPECT_EQ(g_sizeEvents, 0);
    EXPECT_TRUE(control.IsUpdateNeeded());
    EXPECT_EQ(control.GetWidth(), 0);
    EXPECT_EQ(control.GetX(), 50);
}

TEST_F(AttachedControl, SetPosRaisesOnSizeOnceAndRepaintsOldAndNew) {
    g_sizeEvents = 0;
    child->OnSize += ResizeAgainOnSize;
    child->SetPos(RECT{40, 40, 60, 60});
    EXPECT_EQ(g_sizeEvents, 1);
    EXPECT_EQ(g_resized, child);
    EXPECT_FALSE(child->IsUpdateNeeded());
    child->OnSize -= ResizeAgainOnSize;
    TakeInvalid();

    child->SetPos(RECT{100, 100, 150, 120});
    EXPECT_EQ(Edges(TakeInvalid()), std::vector<LONG>({1, 1, 150, 120}))
        << "the old place (from the nested SetPos) joined with the new";

    // Outside the parent nothing is repainted.
    child->SetPos(RECT{400, 400, 450, 450});
    TakeInvalid();
    child->SetPos(RECT{500, 500, 550, 550});
    EXPECT_TRUE(NothingInvalid());
}

TEST_F(AttachedControl, FloatingControlsFollowTheirPlacement) {
    child->SetFloat(true);
    child->SetFixedXY(SIZE{-30, 5});
    child->SetPos(RECT{200, 10, 280, 40});
    EXPECT_EQ(child->GetFixedXY().cx, 280 - 300) << "anchored to the right edge";
    EXPECT_EQ(child->GetFixedXY().cy, 10);
    EXPECT_EQ(child->GetFixedWidth(), 80);
    EXPECT_EQ(child->GetFixedHeight(), 30);
}

TEST_F(AttachedControl, InvalidateClipsToAncestorsAndSkipsHiddenControls) {
    child->SetPos(RECT{250, 150, 350, 250});
    TakeInvalid();
    child->Invalidate();
    EXPECT_EQ(Edges(TakeInvalid()), std::vector<LONG>({250, 150, 300, 200}));
    child->SetVisible(false);
    TakeInvalid();
    child->Invalidate();
    EXPECT_TRUE(NothingInvalid());
}

TEST_F(AttachedControl, SettersRepaintOnlyOnChange) {
    child->SetText(L"a");
    EXPECT_FALSE(NothingInvalid());
    child->SetText(L"a");
    child->SetBkColor(0);
    child->SetBorderSize(0);
    child->SetEnabled(true);
    child->SetColorHSL(false);
    EXPECT_TRUE(NothingInvalid());
    child->SetBorderStyle(child->GetBorderStyle()); // stores without comparing
    EXPECT_EQ(Edges(TakeInvalid()), std::vector<LONG>({20, 20, 120, 70}));
}

TEST_F(AttachedControl, GeometryRequestsAskForLayoutWhereItMatters) {
    ASSERT_FALSE(root->IsUpdateNeeded());
    child->SetFixedWidth(60);
    EXPECT_TRUE(root->IsUpdateNeeded()) << "a child in the flow asks its parent";
    ASSERT_TRUE(skintest::PumpUntil([this] { return !root->IsUpdateNeeded(); }));
    EXPECT_EQ(child->GetWidth(), 60);

    child->SetFloat(true);
    ASSERT_TRUE(skintest::PumpUntil([this] { return !root->IsUpdateNeeded(); }));
    child->SetMinWidth(5);
    EXPECT_FALSE(root->IsUpdateNeeded()) << "a floating child lays out itself";
    EXPECT_TRUE(child->IsUpdateNeeded());
    child->SetMinWidth(5); // unchanged: nothing asked
    child->SetFixedHeight(-3);
    EXPECT_EQ(child->GetFixedHeight(), 50);
}

TEST_F(AttachedControl, DefaultEventHandling) {
    TEventUI timer;
    timer.type = UIEVENT_TIMER;
    timer.wParam = 12;
    child->Event(timer);
    EXPECT_EQ(host->notifications.back(), L"timer");
    EXPECT_EQ(host->senders.back(), child);

    TEventUI menu;
    menu.type = UIEVENT_CONTEXTMENU;
    child->Event(menu);
    EXPECT_EQ(root->Count(UIEVENT_CONTEXTMENU), 1) << "no context menu: up to the parent";
    child->SetContextMenuUsed(true);
    child->Event(menu);
    EXPECT_EQ(host->notifications.back(), L"menu");
    EXPECT_EQ(root->Count(UIEVENT_CONTEXTMENU), 1);

    TEventUI focus;
    focus.type = UIEVENT_SETFOCUS;
    child->Event(focus);
    EXPECT_TRUE(child->IsFocused());
    focus.type = UIEVENT_KILLFOCUS;
    child->Event(focus);
    EXPECT_FALSE(child->IsFocused());
    EXPECT_EQ(root->Count(UIEVENT_SETFOCUS), 0);

    TEventUI key;
    key.type = UIEVENT_KEYDOWN;
    child->Event(key);
    EXPECT_EQ(root->Count(UIEVENT_KEYDOWN), 1);
}

TEST_F(AttachedControl, FocusAndVisibilityGoThroughTheManager) {
    child->SetFocus();
    EXPECT_EQ(host->manager.GetFocus(), child);
    child->SetVisible(false);
    EXPECT_EQ(host->manager.GetFocus(), nullptr);
    EXPECT_FALSE(child->IsFocused());
    EXPECT_TRUE(root->IsUpdateNeeded()) << "the parent lays out again";
    child->SetVisible(true);
    root->SetInternVisible(false);
    EXPECT_FALSE(root->IsVisible());
    // Once a control names a virtual window, notifications carry it.
    std::wstring virtualWnd = L"unset";
    host->onNotify = [&virtualWnd](TNotifyUI& msg) { virtualWnd = msg.virtualWnd.GetData(); };
    host->manager.SendNotify(child, L"click");
    EXPECT_EQ(virtualWnd, L"");
    root->SetVirtualWnd(L"panel");
    host->manager.SendNotify(child, L"click");
    EXPECT_EQ(virtualWnd, L"panel");
}

TEST_F(AttachedControl, DestructionRaisesOnDestroyAndIsForgotten) {
    g_order.clear();
    child->OnDestroy += AllowEvent;
    ASSERT_EQ(host->manager.FindControl(L"child"), child);
    root->Remove(child);
    delete child;
    EXPECT_EQ(g_order, std::vector<int>({2}));
    EXPECT_EQ(host->manager.FindControl(L"child"), nullptr);
}

namespace {

// Fills its whole item in the background step and records the order of the steps.
class FillingControl : public CControlUI {
public:
    void PaintBkColor(HDC hDC) override {
        steps.push_back(1);
        paintSeen = m_rcPaint;
        HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(hDC, &m_rcItem, brush);
        ::DeleteObject(brush);
    }
    void PaintBkImage(HDC) override { steps.push_back(2); }
    void PaintStatusImage(HDC) override { steps.push_back(3); }
    void PaintText(HDC) override { steps.push_back(4); }
    void PaintBorder(HDC) override { steps.push_back(5); }
    std::vector<int> steps;
    RECT paintSeen{};
};

} // namespace

TEST(ControlPaint, StepsRunInOrderInsideARoundClipWhenTheBorderIsRound) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 100, 100);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, 100, 100};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));

    FillingControl control;
    control.SetPos(RECT{10, 10, 90, 90});
    control.DoPaint(dc, RECT{0, 0, 60, 100});
    EXPECT_EQ(control.steps, std::vector<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(control.paintSeen.right, 60) << "the item within the paint rectangle";
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(255, 0, 0)) << "square corners are painted";
    EXPECT_EQ(::GetPixel(dc, 70, 50), RGB(255, 0, 0)) << "the step itself is not clipped";

    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    control.SetBorderRound(SIZE{30, 30});
    control.DoPaint(dc, all);
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(0, 0, 0)) << "the round corner stays out";
    EXPECT_EQ(::GetPixel(dc, 50, 50), RGB(255, 0, 0));
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(0, 0, 0));
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(255, 255, 255)) << "the clip is given back";

    control.steps.clear();
    control.DoPaint(dc, RECT{95, 95, 100, 100});
    EXPECT_TRUE(control.steps.empty()) << "outside the paint rectangle nothing is painted";

    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}
