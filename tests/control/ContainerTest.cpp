// Containers: ownership of children, placement, search, scrolling and attributes.
#include "HostedTree.h"

#include <gtest/gtest.h>

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

TEST(Container, ScrollingFollowsTheContentAndStaysInRange) {
    CVerticalLayoutUI layout;
    layout.SetAttribute(L"vscrollbar", L"true");
    CScrollBarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetOwner(), &layout);
    CControlUI* top = Leaf(L"top");
    top->SetFixedHeight(250);
    CControlUI* bottom = Leaf(L"bottom");
    bottom->SetFixedHeight(250);
    layout.Add(top);
    layout.Add(bottom);
    layout.SetPos(RECT{0, 0, 200, 300});
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(layout.GetScrollRange().cy, 200);
    EXPECT_EQ(Edges(bar->GetPos()), Edges(RECT{184, 0, 200, 300}));
    EXPECT_EQ(top->GetWidth(), 184) << "the bar narrows the children";

    struct Step {
        const char* what;
        void (*scroll)(CContainerUI&);
        int expected;
    };
    const Step steps[] = {
        {"beyond the range",
         [](CContainerUI& c) {
             c.SetScrollPos(SIZE{0, 1000});
         },
         200},
        {"line up", [](CContainerUI& c) { c.LineUp(); }, 192},
        {"page up clamps at 0", [](CContainerUI& c) { c.PageUp(); }, 0},
        {"line down", [](CContainerUI& c) { c.LineDown(); }, 8},
        {"below 0",
         [](CContainerUI& c) {
             c.SetScrollPos(SIZE{0, -50});
         },
         0},
        {"end key",
         [](CContainerUI& c) {
             TEventUI key;
             key.type = UIEVENT_KEYDOWN;
             key.key = VK_END;
             c.DoEvent(key);
         },
         200},
        {"wheel up",
         [](CContainerUI& c) {
             TEventUI wheel;
             wheel.type = UIEVENT_SCROLLWHEEL;
             wheel.wParam = SB_LINEUP;
             c.DoEvent(wheel);
         },
         192},
    };
    for (const Step& step : steps) {
        step.scroll(layout);
        EXPECT_EQ(layout.GetScrollPos().cy, step.expected) << step.what;
        EXPECT_EQ(top->GetPos().top, -step.expected) << step.what;
    }

    layout.RemoveAt(1);
    layout.SetPos(RECT{0, 0, 200, 300});
    EXPECT_FALSE(bar->IsVisible()) << "content that fits hides the bar";
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(Edges(top->GetPos()), Edges(RECT{0, 0, 200, 250}));
    bottom = Leaf(L"again");
    bottom->SetFixedHeight(250);
    layout.Add(bottom);
    layout.SetPos(RECT{0, 0, 200, 300});
    EXPECT_TRUE(bar->IsVisible()) << "growing content shows it again";
    EXPECT_EQ(bottom->GetWidth(), 184);
}

TEST(Container, HorizontalLayoutsSizeTheirHorizontalBar) {
    CHorizontalLayoutUI layout;
    layout.EnableScrollBar(false, true);
    CControlUI* wide = Leaf(L"wide");
    wide->SetFixedWidth(500);
    layout.Add(wide);
    layout.SetPos(RECT{0, 0, 300, 100});
    EXPECT_TRUE(layout.GetHorizontalScrollBar()->IsVisible());
    EXPECT_EQ(layout.GetScrollRange().cx, 200);
    EXPECT_EQ(Edges(layout.GetHorizontalScrollBar()->GetPos()), Edges(RECT{0, 84, 300, 100}));
    layout.LineRight();
    EXPECT_EQ(wide->GetPos().left, -8);
    wide->SetFixedWidth(100);
    layout.SetPos(RECT{0, 0, 300, 100});
    EXPECT_FALSE(layout.GetHorizontalScrollBar()->IsVisible());
    EXPECT_EQ(wide->GetPos().left, 0);
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
}
