// Containers: ownership of children, placement, search, scrolling and attributes.
#include "Along.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ContainerUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

using namespace SkinUI;

namespace {

std::vector<LONG> Edges(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

std::vector<LONG> Edges(const SIZE& size) {
    return {size.cx, size.cy};
}

CControlUI* AnyControl(CControlUI* control, void*) {
    return control;
}

CControlUI* Leaf(const wchar_t* name, bool floating = false) {
    auto* control = new CControlUI;
    control->SetName(name);
    control->SetFloat(floating);
    return control;
}

class PaintProbe : public CControlUI {
public:
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        ++painted;
        CControlUI::DoPaint(hDC, paintRect);
    }
    int painted = 0;
};

} // namespace

TEST(Container, PaintsChildrenInsideTheClientAreaAndFloatingOnesAnywhere) {
    CContainerUI container;
    container.SetInset(RECT{10, 10, 10, 10});
    PaintProbe* probes[4] = {new PaintProbe, new PaintProbe, new PaintProbe, new PaintProbe};
    PaintProbe *inner = probes[0], *inBand = probes[1], *floater = probes[2], *hidden = probes[3];
    floater->SetFloat(true);
    floater->SetAttribute(L"pos", L"0,0,5,5");
    hidden->SetVisible(false);
    for (PaintProbe* probe : probes)
        container.Add(probe);
    container.SetPos(RECT{0, 0, 100, 100});
    inBand->SetPos(RECT{0, 95, 100, 100});

    const HDC dc = ::CreateCompatibleDC(nullptr);
    container.DoPaint(dc, RECT{0, 0, 100, 100});
    container.DoPaint(dc, RECT{0, 0, 8, 8}); // misses the client area
    EXPECT_EQ(inner->painted, 1);
    EXPECT_EQ(inBand->painted, 0);
    EXPECT_EQ(floater->painted, 2);
    EXPECT_EQ(hidden->painted, 0);
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetClipRgn(dc, clip), 0) << "the clip is given back";
    ::DeleteObject(clip);
    ::DeleteDC(dc);
}

TEST(Container, PlacesChildrenOverTheInsetAndFloatingOnesByTheirPosition) {
    CContainerUI container;
    container.SetAttribute(L"inset", L"10,10,10,10");
    CControlUI* first = Leaf(L"first");
    CControlUI* second = Leaf(L"second");
    CControlUI* anchored = Leaf(L"anchored", true);
    anchored->SetAttribute(L"pos", L"-30,5,-20,15"); // 20 from the right edge, 10 by 10
    CControlUI* relative = Leaf(L"relative", true);
    relative->SetAttribute(L"pos", L"10,30,30,40");
    relative->SetAttribute(L"relativepos", L"50,0,0,0");
    for (CControlUI* child : {first, second, anchored, relative})
        ASSERT_TRUE(container.Add(child));

    container.SetPos(RECT{0, 0, 100, 50});
    EXPECT_EQ(Edges(first->GetPos()), Edges(RECT{10, 10, 90, 40}));
    EXPECT_EQ(Edges(second->GetPos()), Edges(RECT{10, 10, 90, 40}));
    EXPECT_EQ(Edges(anchored->GetPos()), Edges(RECT{70, 5, 80, 15}));
    EXPECT_EQ(Edges(relative->GetPos()), Edges(RECT{10, 30, 30, 40})) << "first placement records";
    container.SetPos(RECT{0, 0, 200, 50});
    EXPECT_EQ(Edges(relative->GetPos()), Edges(RECT{60, 30, 80, 40})) << "moves by half the growth";
}

TEST(Container, OwnsItsChildrenUnlessAutoDestroyIsOff) {
    int destroyed = 0;
    auto* container = new CContainerUI;
    auto* kept = new DestructionProbe(&destroyed);
    for (int i = 0; i < 3; ++i)
        container->Add(new DestructionProbe(&destroyed));
    EXPECT_FALSE(container->Add(nullptr));
    EXPECT_FALSE(container->Add(container)) << "a container never holds itself";
    EXPECT_FALSE(container->Add(container->GetItemAt(0))) << "nor a child twice";

    EXPECT_TRUE(container->RemoveAt(0));
    EXPECT_EQ(destroyed, 1) << "without a manager, removal deletes at once";
    EXPECT_FALSE(container->RemoveAt(5));
    EXPECT_FALSE(container->Remove(kept));

    container->Add(kept);
    container->SetAutoDestroy(false);
    EXPECT_TRUE(container->Remove(kept));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(kept->GetParent(), nullptr) << "an unlinked child must not point at its old parent";
    EXPECT_TRUE(container->Add(kept)) << "a child that left may come back";
    EXPECT_EQ(kept->GetParent(), container);
    EXPECT_FALSE(container->AddAt(kept, 0)) << "but only once";
    EXPECT_TRUE(container->Remove(kept));
    container->SetAutoDestroy(true);
    delete container;
    EXPECT_EQ(destroyed, 3);
    delete kept;
}

TEST(Container, SetItemIndexMovesAChildAndKeepsItOnABadIndex) {
    CContainerUI container;
    CControlUI* children[3] = {Leaf(L"a"), Leaf(L"b"), Leaf(L"c")};
    for (CControlUI* child : children)
        container.Add(child);
    const auto order = [&container] {
        std::vector<CControlUI*> items;
        for (int i = 0; i < container.GetCount(); ++i)
            items.push_back(container.GetItemAt(i));
        return items;
    };
    EXPECT_TRUE(container.SetItemIndex(children[0], 2));
    EXPECT_EQ(order(), (std::vector<CControlUI*>{children[1], children[2], children[0]}));
    EXPECT_TRUE(container.SetItemIndex(children[0], 0));
    for (int bad : {-1, 3, 100}) {
        EXPECT_FALSE(container.SetItemIndex(children[1], bad)) << bad;
        EXPECT_EQ(order(), (std::vector<CControlUI*>{children[0], children[1], children[2]}));
    }
    CControlUI stranger;
    EXPECT_FALSE(container.SetItemIndex(&stranger, 0));
}

TEST(Container, FindControlHonoursItsFlagsAcrossNestedContainers) {
    CContainerUI root;
    root.SetInset(RECT{10, 10, 10, 10});
    auto* lower = new CContainerUI;
    auto* upper = new CContainerUI;
    CControlUI* lowerLeaf = Leaf(L"lowerLeaf");
    CControlUI* upperLeaf = Leaf(L"upperLeaf");
    CControlUI* corner = Leaf(L"corner", true);
    corner->SetAttribute(L"pos", L"0,0,10,10");
    lower->Add(lowerLeaf);
    upper->Add(upperLeaf);
    root.Add(lower);
    root.Add(upper);
    root.Add(corner);
    root.SetPos(RECT{0, 0, 200, 200});

    POINT inside{100, 100};
    const UINT hit = UIFIND_VISIBLE | UIFIND_HITTEST;
    EXPECT_EQ(root.FindControl(AnyControl, &inside, hit), lowerLeaf);
    EXPECT_EQ(root.FindControl(AnyControl, &inside, hit | UIFIND_TOP_FIRST), upperLeaf);
    upper->SetVisible(false);
    EXPECT_EQ(root.FindControl(AnyControl, &inside, hit | UIFIND_TOP_FIRST), lowerLeaf);
    EXPECT_EQ(root.FindControl(AnyControl, &inside, UIFIND_HITTEST | UIFIND_TOP_FIRST), upperLeaf)
        << "without the visible filter hidden children count";
    EXPECT_EQ(root.FindControl(AnyControl, nullptr, UIFIND_ALL), lowerLeaf);
    EXPECT_EQ(root.FindControl(AnyControl, nullptr, UIFIND_ME_FIRST), &root);

    // In the inset band only floating children and the container itself answer.
    lowerLeaf->SetPos(RECT{0, 0, 200, 200});
    POINT band{5, 150};
    EXPECT_EQ(root.FindControl(AnyControl, &band, hit), &root);
    POINT cornerPoint{5, 5};
    EXPECT_EQ(root.FindControl(AnyControl, &cornerPoint, hit), corner);
    POINT outside{250, 5};
    EXPECT_EQ(root.FindControl(AnyControl, &outside, hit), nullptr);
    root.SetAttribute(L"mousechild", L"false");
    EXPECT_EQ(root.FindControl(AnyControl, &inside, hit), &root);
}

using ScrollAlong = Along<::testing::Test>;

INSTANTIATE_TEST_SUITE_P(BothAxes, ScrollAlong, ::testing::Bool(), AxisName);

TEST_P(ScrollAlong, KeysAndTheWheelScrollWithinTheRange) {
    CContainerUI container;
    container.EnableScrollBar(Vertical(), !Vertical());
    CScrollBarUI* bar =
        Vertical() ? container.GetVerticalScrollBar() : container.GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetOwner(), &container);
    EXPECT_EQ(bar->IsHorizontal(), !Vertical());
    bar->SetScrollRange(700);
    CControlUI* child = Leaf(L"child");
    container.Add(child);
    container.SetPos(Turn(0, 0, 300, 200));

    const auto key = [](UINT code) {
        TEventUI event;
        event.type = UIEVENT_KEYDOWN;
        event.key = static_cast<wchar_t>(code);
        return event;
    };
    const auto wheel = [](WPARAM code) {
        TEventUI event;
        event.type = UIEVENT_SCROLLWHEEL;
        event.wParam = code;
        return event;
    };
    struct Step {
        const char* what;
        TEventUI event;
        int expected;
    };
    // Without a manager a line is 8 either way; a page is the client area's length.
    const Step steps[] = {
        {"end", key(VK_END), 700},
        {"page back", key(VK_PRIOR), 400},
        {"wheel back", wheel(SB_LINEUP), 392},
        {"home", key(VK_HOME), 0},
        {"page on", key(VK_NEXT), 300},
        {"wheel on", wheel(SB_LINEDOWN), 308},
        {"line on", key(VK_DOWN), 316},
        {"line back", key(VK_UP), 308},
        {"other keys pass", key(VK_LEFT), 308},
        {"other wheel codes pass", wheel(SB_PAGEDOWN), 308},
    };
    for (const Step& step : steps) {
        TEventUI event = step.event;
        container.DoEvent(event);
        EXPECT_EQ(AlongOf(container.GetScrollPos()), step.expected) << step.what;
        EXPECT_EQ(Edges(child->GetPos()), Edges(Turn(-step.expected, 0, 300 - step.expected, 200)))
            << step.what;
    }
    container.SetScrollPos(Turn(5000, 5000));
    EXPECT_EQ(AlongOf(container.GetScrollPos()), 700) << "beyond the range";
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(Turn(700, 0))) << "no bar across: 0";
    container.SetScrollPos(Turn(-50, 0));
    EXPECT_EQ(AlongOf(container.GetScrollPos()), 0) << "below 0";
    EXPECT_EQ(Edges(child->GetPos()), Edges(Turn(0, 0, 300, 200)));
    EXPECT_EQ(Edges(container.GetScrollRange()), Edges(Turn(700, 0)));

    bar->SetEnabled(false);
    TEventUI end = key(VK_END);
    container.DoEvent(end);
    EXPECT_EQ(AlongOf(container.GetScrollPos()), 0) << "a disabled bar takes no keys";
    bar->SetEnabled(true);
    bar->SetVisible(false);
    container.DoEvent(end);
    EXPECT_EQ(bar->GetScrollPos(), 0) << "nor does a hidden one";
    EXPECT_EQ(Edges(container.GetScrollRange()), Edges(SIZE{0, 0}));
}

TEST(Container, PagesLeaveOutTheInsetAndTheOtherBarAndTheVerticalBarGoesFirst) {
    CContainerUI container;
    container.EnableScrollBar(true, true);
    container.GetVerticalScrollBar()->SetScrollRange(1000);
    container.GetHorizontalScrollBar()->SetScrollRange(1000);
    container.SetInset(RECT{5, 10, 15, 20});
    container.SetPos(RECT{0, 0, 200, 300});

    TEventUI page;
    page.type = UIEVENT_KEYDOWN;
    page.key = VK_NEXT;
    container.DoEvent(page);
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{0, 254})) << "300 - 10 - 20 - 16";
    container.GetVerticalScrollBar()->SetEnabled(false);
    container.DoEvent(page);
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{164, 254})) << "200 - 5 - 15 - 16";
    container.PageUp();
    container.PageLeft();
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{0, 0}));
    container.EndDown();
    container.EndRight();
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{1000, 1000}));
    container.HomeUp();
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{1000, 0}));
    container.HomeLeft();
    container.LineDown();
    container.LineRight();
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{8, 8}));
    container.LineUp();
    container.LineLeft();
    EXPECT_EQ(Edges(container.GetScrollPos()), Edges(SIZE{0, 0}));
}

using FloatAlong = Along<::testing::Test>;

INSTANTIATE_TEST_SUITE_P(BothAxes, FloatAlong, ::testing::Bool(), AxisName);

TEST_P(FloatAlong, FloatingChildrenAnchorAndFollowTheirRulesOnEachAxis) {
    CContainerUI container;
    const auto position = [this](LONG nearAlong, LONG nearAcross, LONG farAlong, LONG farAcross) {
        const RECT rc = Turn(nearAlong, nearAcross, farAlong, farAcross);
        return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
               std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
    };
    CControlUI* anchored = Leaf(L"anchored", true);
    anchored->SetAttribute(L"pos", position(-30, 5, -20, 15).c_str()); // 20 from the far edge
    CControlUI* relative = Leaf(L"relative", true);
    relative->SetAttribute(L"pos", position(10, 30, 30, 40).c_str());
    const SIZE move = Turn(50, 0);
    const SIZE zoom = Turn(25, 100);
    relative->SetRelativePos(move, zoom);
    container.Add(anchored);
    container.Add(relative);

    container.SetPos(Turn(0, 0, 100, 50));
    EXPECT_EQ(Edges(anchored->GetPos()), Edges(Turn(70, 5, 80, 15)));
    EXPECT_EQ(Edges(relative->GetPos()), Edges(Turn(10, 30, 30, 40))) << "the first one records";
    container.SetPos(Turn(0, 0, 200, 70));
    EXPECT_EQ(Edges(anchored->GetPos()), Edges(Turn(170, 5, 180, 15)));
    EXPECT_EQ(Edges(relative->GetPos()), Edges(Turn(60, 30, 105, 60)))
        << "along: moves by half the growth and grows by a quarter; across: only grows";
}

TEST(Container, AttributesAndScrollBarSwitches) {
    CContainerUI container;
    container.SetAttribute(L"inset", L"5");
    EXPECT_EQ(Edges(container.GetInset()), Edges(RECT{5, 0, 0, 0})) << "numbers stop at the end";
    container.SetAttribute(L"childpadding", L"7");
    EXPECT_EQ(container.GetChildPadding(), 7);
    container.SetAttribute(L"hscrollbar", L"true");
    container.SetAttribute(L"vscrollbarstyle", L"range=\"50\" linesize=\"3\"");
    ASSERT_NE(container.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(container.GetVerticalScrollBar()->GetScrollRange(), 50);
    ASSERT_NE(container.GetHorizontalScrollBar(), nullptr);
    EXPECT_TRUE(container.GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(container.GetHorizontalScrollBar()->GetFixedHeight(), 16);
    container.SetAttribute(L"hscrollbarstyle", L"range=\"60\"");
    EXPECT_EQ(container.GetHorizontalScrollBar()->GetScrollRange(), 60);
    EXPECT_EQ(container.GetVerticalScrollBar()->GetScrollRange(), 50) << "the other bar stays";
    container.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(container.GetVerticalScrollBar(), nullptr);
    EXPECT_NE(container.GetHorizontalScrollBar(), nullptr) << "the other bar stays";
    EXPECT_NE(container.GetInterface(L"IContainer"), nullptr);
    EXPECT_EQ(container.GetInterface(L"Container"), &container);
}

using AttachedContainer = HostedTree;

TEST_F(AttachedContainer, RemovedChildrenWaitForTheCleanUpMessage) {
    int destroyed = 0;
    auto* root = new CContainerUI;
    auto* named = new DestructionProbe(&destroyed);
    named->SetName(L"named");
    root->Add(named);
    auto* clicked = new DestructionProbe(&destroyed);
    clicked->SetFloat(true);
    clicked->SetAttribute(L"pos", L"0,0,50,50");
    root->Add(clicked);
    Host(root);
    EXPECT_EQ(root->FindSubControl(L"NAMED"), named);
    EXPECT_EQ(root->GetSubControlFixedHeight(L"missing"), -1);

    EXPECT_TRUE(root->Remove(named));
    EXPECT_EQ(destroyed, 0) << "deletion is deferred while a manager is attached";
    skintest::PumpMessages();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(host->manager.FindControl(L"named"), nullptr);

    // A child that removes itself while handling its own click.
    clicked->OnEvent += +[](void* param) {
        auto* event = static_cast<TEventUI*>(param);
        if (event->type == UIEVENT_BUTTONDOWN)
            static_cast<CContainerUI*>(event->sender->GetParent())->Remove(event->sender);
        return true;
    };
    Send(WM_LBUTTONDOWN, 10, 10);
    Send(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(root->GetCount(), 0);
    skintest::PumpMessages();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(host->manager.GetFocus(), nullptr) << "the focus went with the control";

    auto* immediate = new DestructionProbe(&destroyed);
    root->Add(immediate);
    immediate->SetFocus();
    root->SetDelayedDestroy(false);
    root->RemoveAll();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(host->manager.GetFocus(), nullptr);
}

TEST_F(AttachedContainer, LineStepFollowsTheFontWithAManager) {
    auto* root = new CVerticalLayoutUI;
    root->EnableScrollBar(true, false);
    auto* tall = new CControlUI;
    tall->SetFixedHeight(1000);
    root->Add(tall);
    Host(root);
    root->LineDown();
    const TFontInfo* font = host->manager.GetDefaultFontInfo();
    EXPECT_EQ(root->GetScrollPos().cy, font->metrics.tmHeight + 8)
        << "a line is the default font's height plus 8";

    // New bars take the manager's default scroll bar styles.
    host->manager.AddDefaultAttributeList(L"VScrollBar", L"linesize=\"5\"");
    root->EnableScrollBar(false, false);
    root->EnableScrollBar(true, false);
    EXPECT_EQ(root->GetVerticalScrollBar()->GetLineSize(), 5);
    host->manager.AddDefaultAttributeList(L"HScrollBar", L"linesize=\"6\"");
    root->EnableScrollBar(true, true);
    EXPECT_EQ(root->GetHorizontalScrollBar()->GetLineSize(), 6);
    EXPECT_EQ(root->GetVerticalScrollBar()->GetLineSize(), 5) << "the vertical bar stays";
}
