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
#include <string>

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

namespace {

std::wstring Repeat(const std::wstring& text, int count) {
    std::wstring all;
    all.reserve(text.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

// Levels of containers under `control`, itself included, following first children.
int Depth(CControlUI* control) {
    int depth = 0;
    for (IContainerUI* items = Items(control); control != nullptr;
         control = items != nullptr && items->GetCount() > 0 ? items->GetItemAt(0) : nullptr,
                       items = control != nullptr ? Items(control) : nullptr)
        ++depth;
    return depth;
}

} // namespace

TEST_F(BuilderBounds, ControlsNestAtMostTheBoundDeepWithOneTraceLine) {
    skintest::TraceLines traces;
    // 900 levels (the XML reader takes up to 1,000): layout and painting recurse once a
    // level, and took minutes or ran out of stack.
    const std::wstring deep = L"<Window>" + Repeat(L"<VerticalLayout>", 900) + L"<Label/>" +
                              Repeat(L"</VerticalLayout>", 900) + L"</Window>";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(deep.c_str(), nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Depth(root), CDialogBuilder::kMaxControlDepth + 1);
    EXPECT_EQ(traces.Count(L"controls nest at most 256 levels deep"), 1);
    delete root;
    // Exactly the bound deep is whole; the next build has the whole bound again.
    const std::wstring fits = L"<Window>" + Repeat(L"<VerticalLayout>", 256) + L"<Label/>" +
                              Repeat(L"</VerticalLayout>", 256) + L"</Window>";
    CDialogBuilder again;
    root = again.Create(fits.c_str(), nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Depth(root), 257); // the label too
    EXPECT_EQ(traces.Count(L"nest at most"), 0);
    delete root;
}

TEST_F(BuilderBounds, UnknownElementsAndActiveXControlsAreBoundedPerBuild) {
    skintest::TraceLines traces;
    // 20,000 unknown siblings: each report named its place by walking the siblings.
    const std::wstring unknown =
        L"<Window><VerticalLayout>" + Repeat(L"<Bogus/>", 20000) + L"</VerticalLayout></Window>";
    CControlUI* root = nullptr;
    skintest::FinishesWithin(5, "20,000 unknown elements", [&] {
        CDialogBuilder builder;
        root = builder.Create(unknown.c_str(), nullptr, nullptr, &manager);
    });
    ASSERT_NE(root, nullptr);
    int reported = 0;
    int further = 0;
    for (const std::wstring& line : traces.Lines()) {
        reported += line.find(L"Unknown skin element <Bogus>") != std::wstring::npos;
        further += line.find(L"further unknown skin elements") != std::wstring::npos;
    }
    EXPECT_EQ(reported, CDialogBuilder::kMaxUnknownElementReports);
    EXPECT_EQ(further, 1);
    delete root;
    // ActiveX controls each may start a component; the bound counts browsers too.
    const std::wstring hosts = L"<Window><VerticalLayout>" +
                               Repeat(L"<ActiveX/><WebBrowser/>", 40) +
                               L"</VerticalLayout></Window>";
    CDialogBuilder builder;
    root = builder.Create(hosts.c_str(), nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Items(root)->GetCount(), CDialogBuilder::kMaxActiveXControls);
    EXPECT_EQ(traces.Count(L"at most 32 ActiveX controls"), 1);
    delete root;
}

TEST_F(BuilderBounds, ResourceElementsAndTheManagersCachesAreBounded) {
    skintest::TraceLines traces;
    // Fonts, default lists and images by the thousand; only the first resource elements of
    // a build apply, and the manager holds no more of a kind than its own bound.
    std::wstring skin = L"<Window>";
    for (int i = 0; i < 600; ++i) {
        skin += L"<Font name=\"Tahoma\" size=\"" + std::to_wstring(8 + i % 30) + L"\"/>";
        skin += L"<Default name=\"C" + std::to_wstring(i) + L"\" value=\"width=&quot;3&quot;\"/>";
    }
    skin += L"<Control/></Window>";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    delete root;
    // 1,024 elements met: fonts and lists alternate, so 512 of each.
    EXPECT_EQ(manager.GetCustomFontCount(), CPaintManagerUI::kMaxCustomFonts);
    EXPECT_EQ(manager.GetDefaultAttribultes().GetSize(), 512);
    EXPECT_EQ(traces.Count(L"later resource elements skipped"), 1);
    EXPECT_EQ(manager.AddFont(L"Arial", 10, false, false, false), nullptr);
    EXPECT_EQ(traces.Count(L"custom fonts beyond 512 in one window refused"), 1);
    for (int i = 512; i < 2000; ++i)
        manager.AddDefaultAttributeList((L"D" + std::to_wstring(i)).c_str(), L"width=\"1\"");
    EXPECT_EQ(manager.GetDefaultAttribultes().GetSize(),
              CPaintManagerUI::kMaxDefaultAttributeLists);
    EXPECT_EQ(traces.Count(L"default attribute lists beyond"), 1);
    // Emptied, a kind takes entries (and reports its bound) again.
    manager.RemoveAllFonts();
    EXPECT_NE(manager.AddFont(L"Arial", 10, false, false, false), nullptr);
    manager.RemoveAllDefaultAttributeList();
}

TEST_F(BuilderBounds, TheImageCacheIsBounded) {
    skintest::TraceLines traces;
    for (int i = 0; i < CPaintManagerUI::kMaxImages; ++i) {
        HBITMAP bitmap = ::CreateBitmap(1, 1, 1, 32, nullptr);
        ASSERT_NE(manager.AddImage((L"i" + std::to_wstring(i)).c_str(), bitmap, 1, 1, false),
                  nullptr);
    }
    HBITMAP extra = ::CreateBitmap(1, 1, 1, 32, nullptr);
    EXPECT_EQ(manager.AddImage(L"one more", extra, 1, 1, false), nullptr);
    // A named file is not even read.
    EXPECT_EQ(manager.AddImage(L"tile.png"), nullptr);
    EXPECT_EQ(traces.Count(L"images beyond 4096 in one window refused"), 1);
    manager.RemoveAllImages();
    EXPECT_NE(manager.AddImage(L"tile.png"), nullptr);
}

TEST_F(BuilderBounds, ChildLayoutsOfOneAttachedTreeAreBoundedTogether) {
    // 300 layouts of the self-holding file side by side: each outermost one had the whole
    // nested bound, so the tree built 65 documents 300 times over.
    skintest::TraceLines traces;
    const std::wstring skin = L"<Window><VerticalLayout>" +
                              Repeat(L"<ChildLayout xmlfile=\"child-self.xml\"/>", 300) +
                              L"</VerticalLayout></Window>";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    skintest::FinishesWithin(5, "300 self-holding child layouts",
                             [&] { manager.AttachDialog(root); });
    EXPECT_EQ(CountControls(root, L"ChildLayoutUI", true), CPaintManagerUI::kMaxChildLayoutBuilds);
    EXPECT_EQ(traces.Count(L"further child layouts skipped"), 1);
    // The next tree has the whole bound again.
    CControlUI* next = builder.Create(
        L"<Window><VerticalLayout><ChildLayout xmlfile=\"child-self.xml\"/></VerticalLayout>"
        L"</Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(next, nullptr);
    manager.AttachDialog(next);
    EXPECT_EQ(CountControls(next, L"ChildLayoutUI", true), 1 + CDialogBuilder::kMaxIncludedBuilds);
}
