// What one skin can make the builder do is bounded: includes that multiply (a skin that
// includes itself several times, or a huge count), child layouts of their own file, and
// top-level controls nobody owns, which are freed.

#include "control/ChildLayoutUI.h"
#include "control/ContainerUI.h"
#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "support/BoundedCost.h"

using namespace SkinUI;

namespace {

IContainerUI* Items(CControlUI* control) {
    // A child layout holds its content without answering as a container.
    if (void* layout = control->GetInterface(L"ChildLayout"))
        return static_cast<CChildLayoutUI*>(layout);
    return static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
}

// Controls of the tree, the root included, whose class is `className`; with `filled`, only
// containers holding something.
int CountControls(CControlUI* control, const wchar_t* className, bool filled = false) {
    IContainerUI* items = Items(control);
    const int count = items != nullptr ? items->GetCount() : 0;
    int found = std::wcscmp(control->GetClass(), className) == 0 && (!filled || count > 0);
    for (int i = 0; i < count; ++i)
        found += CountControls(items->GetItemAt(i), className, filled);
    return found;
}

// The hostile skins as the skin folder; a manager of a window.
class BuilderBounds : public ::testing::Test {
protected:
    void SetUp() override {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(skintest::HostileDirectory().c_str());
        m_window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        manager.Init(m_window);
    }
    void TearDown() override {
        CPaintManagerUI::SetResourcePath(L"");
        ::DestroyWindow(m_window);
    }

    CPaintManagerUI manager;
    HWND m_window = nullptr;
};

} // namespace

TEST_F(BuilderBounds, IncludesAreBoundedPerTopLevelBuildWithOneTraceLine) {
    skintest::TraceLines traces;
    // A layout that includes its own skin four times (4^8 builds down to the depth bound),
    // and an include counted a hundred million times. Each new top-level build has the
    // whole bound again.
    for (const wchar_t* skin : {L"include-self.xml", L"include-many.xml", L"include-many.xml"}) {
        CControlUI* root = nullptr;
        skintest::FinishesWithin(2, "building a skin whose includes multiply", [&] {
            CDialogBuilder builder;
            root = builder.Create(skin, nullptr, nullptr, &manager);
        });
        ASSERT_NE(root, nullptr);
        const bool self = skin[8] == L's';
        // Every included build of the self-including skin adds one layout.
        EXPECT_EQ(self ? CountControls(root, L"VerticalLayoutUI") - 1 : Items(root)->GetCount(),
                  CDialogBuilder::kMaxIncludedBuilds);
        EXPECT_EQ(traces.Count(self ? L"Include of \"include-self.xml\" skipped"
                                    : L"Include of \"include-leaf.xml\" skipped"),
                  1);
        delete root;
    }
}

TEST_F(BuilderBounds, ChildLayoutsOfTheirOwnFileAreBoundedTooWithOneTraceLine) {
    // Four layouts of the layout's own file in it: each build beneath the outermost one
    // counts, whichever layout made it.
    skintest::TraceLines traces;
    CChildLayoutUI layout;
    layout.SetAttribute(L"xmlfile", L"child-self.xml");
    layout.SetManager(&manager, nullptr, false);
    skintest::FinishesWithin(2, "child layouts of their own file", [&] { layout.Init(); });
    EXPECT_EQ(CountControls(&layout, L"ChildLayoutUI", true),
              1 + CDialogBuilder::kMaxIncludedBuilds);
    EXPECT_EQ(traces.Count(L"ChildLayout of \"child-self.xml\" skipped"), 1);
    // The next outermost layout has the whole bound again.
    CChildLayoutUI again;
    again.SetAttribute(L"xmlfile", L"child-self.xml");
    again.SetManager(&manager, nullptr, false);
    again.Init();
    EXPECT_EQ(CountControls(&again, L"ChildLayoutUI", true),
              1 + CDialogBuilder::kMaxIncludedBuilds);
}

TEST_F(BuilderBounds, TopLevelControlsAfterTheFirstAndRootIncludesAreFreed) {
    // Two controls, an include and a layout directly under the root: the caller gets the
    // first; built 1,000 times, heap use stays flat.
    const auto build = [](CPaintManagerUI* with) {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(L"top-level.xml", nullptr, nullptr, with);
        const bool first = root != nullptr && root->GetBkColor() == 0xFF112233;
        delete root;
        return first;
    };
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(build(nullptr));
        ASSERT_TRUE(build(&manager));
    }
    const size_t before = skintest::HeapBytesInUse();
    for (int i = 0; i < 500; ++i) {
        build(nullptr);
        build(&manager);
    }
    const size_t after = skintest::HeapBytesInUse();
    std::printf("heap in use over 1,000 builds: %zu -> %zu bytes\n", before, after);
    // The leak was over a kilobyte a build.
    EXPECT_LT(after, before + 32 * 1024) << before << " -> " << after;
}
