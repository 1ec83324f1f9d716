// Building control trees from skin XML: resources and window settings reach the manager,
// defaults come before an element's own attributes, includes, and what gets skipped.

#include "control/ChildLayoutUI.h"
#include "control/ContainerUI.h"
#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SkinSourcesTestData.h"

using namespace SkinUI;

namespace {

// The child at an index of a built container.
CControlUI* Child(CControlUI* parent, int index) {
    auto* container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
    return container != nullptr ? container->GetItemAt(index) : nullptr;
}

int ChildCount(CControlUI* parent) {
    auto* container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
    return container != nullptr ? container->GetCount() : -1;
}

struct RecordingCallback : IDialogBuilderCallback {
    CControlUI* CreateControl(const wchar_t* className) override {
        asked.push_back(className);
        return std::wstring(className) == L"Custom" ? new CContainerUI : nullptr;
    }
    std::vector<std::wstring> asked;
};

CControlUI* MakeFromPlugin(const wchar_t* className) {
    return std::wstring(className) == L"Plugged" ? new CControlUI : nullptr;
}

// Skin files written by the tests into a folder beside the executable, which becomes the
// skin folder; a paint manager bound to a hidden window.
class DialogBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = SkinSourcesTest::TestDirectory() + L"builder_skins\\";
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(m_folder.c_str());
        m_window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        manager.Init(m_window);
    }
    void TearDown() override {
        CPaintManagerUI::SetResourcePath(L"");
        ::DestroyWindow(m_window);
    }
    void WriteSkin(const wchar_t* name, const std::string& xml) {
        ASSERT_TRUE(SkinSourcesTest::WriteBytes(m_folder + name, {xml.begin(), xml.end()}));
    }

    CPaintManagerUI manager;
    std::wstring m_folder;
    HWND m_window = nullptr;
};

TEST_F(DialogBuilderTest, ResourcesAndDefaultsComeBeforeOwnAttributes) {
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Font name=\"Tahoma\" size=\"15\" bold=\"true\" default=\"true\"/>"
        L"<Font size=\"9\"/><Font name=\"Arial\"/>"
        L"<Default name=\"Control\" value=\"width=&quot;10&quot; height=&quot;20&quot;\"/>"
        L"<VerticalLayout name=\"v\"><Control name=\"a\" width=\"30\"/><Control name=\"b\"/>"
        L"<Font name=\"Inner\"/><Default name=\"Container\" value=\"width=&quot;5&quot;\"/>"
        L"</VerticalLayout><Container name=\"second\"/></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"v"); // the first top-level control
    ASSERT_EQ(ChildCount(root), 2);
    EXPECT_EQ(Child(root, 0)->GetFixedWidth(), 30);
    EXPECT_EQ(Child(root, 0)->GetFixedHeight(), 20);
    EXPECT_EQ(Child(root, 1)->GetFixedWidth(), 10);
    EXPECT_EQ(Child(root, 0)->GetManager(), nullptr); // attached only with the whole tree
    // Nameless and nested resources have no effect; a bare name is a 12 pixel regular font.
    ASSERT_EQ(manager.GetCustomFontCount(), 2);
    EXPECT_TRUE(manager.GetFontInfo(0)->bold);
    EXPECT_EQ(manager.GetFontInfo(1)->faceName, L"Arial");
    EXPECT_EQ(manager.GetFontInfo(1)->size, 12);
    EXPECT_FALSE(manager.GetFontInfo(1)->bold);
    EXPECT_EQ(manager.GetDefaultFontInfo()->faceName, L"Tahoma");
    EXPECT_EQ(manager.GetDefaultAttributeList(L"Container"), nullptr);
    delete root;
}

TEST_F(DialogBuilderTest, WindowSettingsOnlyForAWindowRootInAWindow) {
    const wchar_t* xml =
        L"<Window size=\"300,200\" sizebox=\"4,5,6,7\" caption=\"0,0,0,30\" roundcorner=\"3\" "
        L"mininfo=\"100,80\" maxinfo=\"900\" showdirty=\"true\" bktrans=\"true\" alpha=\"200\" "
        L"defaultfontcolor=\"#FF112233\" linkfontcolor=\"FF0000AA\" shadow=\"true\" "
        L"shadowtopleft=\"0,0,10,10\" shadowtopright=\"20,0,10,10\" "
        L"shadowbottomleft=\"0,20,10,10\" shadowbottomright=\"20,20,10,10\"><Control/></Window>";
    CDialogBuilder builder;
    delete builder.Create(xml, nullptr, nullptr, &manager);
    EXPECT_EQ(manager.GetInitSize().cx, 300);
    EXPECT_EQ(manager.GetSizeBox().bottom, 7);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    // Numbers the value lacks are 0.
    EXPECT_EQ(manager.GetRoundCorner().cx, 3);
    EXPECT_EQ(manager.GetRoundCorner().cy, 0);
    EXPECT_EQ(manager.GetMaxInfo().cx, 900);
    EXPECT_EQ(manager.GetMaxInfo().cy, 0);
    EXPECT_EQ(manager.GetMinInfo().cy, 80);
    EXPECT_TRUE(manager.IsShowUpdateRect());
    EXPECT_TRUE(manager.IsAlphaBackground());
    EXPECT_EQ(manager.GetTransparent(), 200);
    EXPECT_EQ(manager.GetDefaultFontColor(), 0xFF112233u);
    EXPECT_EQ(manager.GetDefaultLinkFontColor(), 0xFF0000AAu);
    TWindowShadowInfo shadow{};
    manager.CalRealShadowRect(RECT{0, 0, 200, 100}, shadow);
    EXPECT_EQ(shadow.top.left, 10); // edges derived from the corners after reading them
    EXPECT_EQ(shadow.top.right, 190);

    CPaintManagerUI windowless;
    CPaintManagerUI other;
    other.Init(m_window);
    CDialogBuilder second;
    CDialogBuilder third;
    delete second.Create(xml, nullptr, nullptr, &windowless);
    delete third.Create(L"<Dialog size=\"300,200\"><Control/></Dialog>", nullptr, nullptr, &other);
    EXPECT_EQ(windowless.GetInitSize().cx, 0);
    EXPECT_EQ(other.GetInitSize().cx, 0);
}

TEST_F(DialogBuilderTest, IncludesBuildIntoTheCurrentParent) {
    WriteSkin(L"item.xml", "<Window><Control name=\"item\"/><Control/></Window>");
    WriteSkin(L"self.xml", "<Window><Control/><Include source=\"self.xml\"/></Window>");
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(L"<Window><Container><Include source=\"item.xml\" count=\"3\"/>"
                       L"<Include count=\"2\"/><Include/></Container></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildCount(root), 6);
    delete root;

    // A skin that includes itself ends after a fixed depth.
    CDialogBuilder recursive;
    root =
        recursive.Create(L"<Window><Container><Include source=\"self.xml\"/></Container></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildCount(root), CDialogBuilder::kMaxIncludeDepth);
    delete root;

    // A document from a numbered resource includes resources of the same type.
    CDialogBuilder numbered;
    root = numbered.Create(STRINGorID(104u), L"xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildCount(root), 1);
    EXPECT_EQ(Child(root, 0)->GetName(), L"from 105");
    delete root;
}

TEST_F(DialogBuilderTest, UnknownElementsPluginsAndCallback) {
    RecordingCallback callback;
    CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
    plugins->Add(reinterpret_cast<void*>(&MakeFromPlugin));
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Unknown><Control name=\"lost\"/></Unknown><Plugged name=\"p\"/>"
        L"<Custom name=\"c\"><Control/></Custom><TreeNode><Control/></TreeNode></Container>"
        L"</Window>",
        nullptr, &callback, &manager);
    plugins->Remove(plugins->Find(reinterpret_cast<void*>(&MakeFromPlugin)));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(ChildCount(root), 2);
    EXPECT_EQ(Child(root, 0)->GetName(), L"p");
    EXPECT_EQ(ChildCount(Child(root, 1)), 1);
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"Unknown", L"Custom"}));
    delete root;
}

TEST_F(DialogBuilderTest, ChildrenOfANonContainerAreDropped) {
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(L"<Window><Container><Control name=\"leaf\"><Control/><Control/></Control>"
                       L"<Control name=\"next\"/></Container></Window>");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(ChildCount(root), 2);
    EXPECT_EQ(Child(root, 0)->GetName(), L"leaf");
    delete root;
}

TEST_F(DialogBuilderTest, SourcesAndLoadErrors) {
    WriteSkin(L"layout.xml", "<Window><Control name=\"from file\"/></Window>");
    CDialogBuilder file;
    CControlUI* control = file.Create(L"layout.xml");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetName(), L"from file");
    delete control;

    wchar_t message[100];
    CDialogBuilder missing;
    EXPECT_EQ(missing.Create(L"missing.xml"), nullptr);
    missing.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(message, L"Error opening file");
    CDialogBuilder broken;
    EXPECT_EQ(broken.Create(L"<Window><Control></Window>"), nullptr);
    CDialogBuilder noResource;
    EXPECT_EQ(noResource.Create(STRINGorID(999u), L"xml"), nullptr);
    CDialogBuilder empty;
    EXPECT_EQ(empty.Create(L"<Window/>"), nullptr);

    // A child layout builds its file into itself when it is attached.
    CChildLayoutUI layout;
    layout.SetAttribute(L"xmlfile", L"layout.xml");
    layout.SetManager(&manager, nullptr, false);
    layout.Init();
    ASSERT_EQ(layout.GetCount(), 1);
    EXPECT_EQ(layout.GetItemAt(0)->GetName(), L"from file");
    // One that holds itself ends after a fixed depth.
    WriteSkin(L"nested.xml", "<Window><ChildLayout xmlfile=\"nested.xml\"/></Window>");
    CChildLayoutUI nested;
    nested.SetAttribute(L"xmlfile", L"nested.xml");
    nested.SetManager(&manager, nullptr, false);
    nested.Init();
    int depth = 0;
    for (auto* level = &nested; level->GetCount() == 1;
         level = static_cast<CChildLayoutUI*>(level->GetItemAt(0)))
        ++depth;
    EXPECT_EQ(depth, CDialogBuilder::kMaxIncludeDepth);
}

} // namespace
