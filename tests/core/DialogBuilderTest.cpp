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
#include "support/BoundedCost.h"

using namespace SkinUI;

namespace {

IContainerUI* Items(CControlUI* control) {
    return static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
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

// Skins written into a folder beside the executable, the skin folder; a manager of a window.
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
        L"<Default name=\"Button\" value=\"width=&quot;10&quot; height=&quot;20&quot;\"/>"
        L"<VerticalLayout name=\"v\"><Button width=\"30\"/><Button/>"
        L"<Font name=\"Inner\"/><Default name=\"Container\" value=\"width=&quot;5&quot;\"/>"
        L"</VerticalLayout><Container/></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"v"); // the first top-level control
    ASSERT_EQ(Items(root)->GetCount(), 2);
    EXPECT_EQ(Items(root)->GetItemAt(0)->GetFixedWidth(), 30);
    EXPECT_EQ(Items(root)->GetItemAt(0)->GetFixedHeight(), 20);
    EXPECT_EQ(Items(root)->GetItemAt(1)->GetFixedWidth(), 10);
    EXPECT_EQ(root->GetManager(), nullptr); // attached only with the whole tree
    // Nameless and nested resources have no effect; a bare name is a 12 pixel regular font.
    ASSERT_EQ(manager.GetCustomFontCount(), 2);
    EXPECT_TRUE(manager.GetFontInfo(0)->bold);
    EXPECT_EQ(manager.GetFontInfo(1)->size, 12);
    EXPECT_FALSE(manager.GetFontInfo(1)->bold);
    EXPECT_EQ(manager.GetDefaultFontInfo()->faceName, L"Tahoma");
    EXPECT_EQ(manager.GetDefaultAttributeList(L"Container"), nullptr);
    delete root;
}

// The builder lends the tree its manager while it applies attributes; a tab layout's
// selection focuses its page there. The manager must not keep pointing into a tree that
// may be deleted without ever being attached.
TEST_F(DialogBuilderTest, ATreeNeverAttachedLeavesNothingInItsManager) {
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"<Window><TabLayout selectedid=\"1\"><Label text=\"0\"/>"
                                      L"<Label text=\"1\"/></TabLayout></Window>",
                                      nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(manager.GetFocus(), nullptr);
    delete root;
}

TEST_F(DialogBuilderTest, WindowSettingsOnlyForAWindowRootInAWindow) {
    const wchar_t* xml =
        L"<Window size=\"300,200\" sizebox=\"4,5,6,7\" caption=\"0,0,0,30\" roundcorner=\"3\" "
        L"maxinfo=\"900\" bktrans=\"true\" alpha=\"200\" defaultfontcolor=\"#FF112233\" "
        L"shadow=\"true\" shadowtopleft=\"0,0,10,10\" shadowtopright=\"20,0,10,10\" "
        L"shadowbottomleft=\"0,20,10,10\"><Control/></Window>";
    CDialogBuilder builder;
    delete builder.Create(xml, nullptr, nullptr, &manager);
    EXPECT_EQ(manager.GetInitSize().cx, 300);
    EXPECT_EQ(manager.GetSizeBox().bottom, 7);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    // Numbers the value lacks are 0.
    EXPECT_EQ(manager.GetRoundCorner().cy, 0);
    EXPECT_EQ(manager.GetMaxInfo().cx, 900);
    EXPECT_EQ(manager.GetMaxInfo().cy, 0);
    EXPECT_TRUE(manager.IsAlphaBackground());
    EXPECT_EQ(manager.GetTransparent(), 200);
    EXPECT_EQ(manager.GetDefaultFontColor(), 0xFF112233u);
    TWindowShadowInfo shadow{};
    manager.CalRealShadowRect(RECT{0, 0, 200, 100}, shadow);
    EXPECT_EQ(shadow.top.left, 10); // edges derived from the corners after reading them

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
    WriteSkin(L"item.xml", "<Window><Control/><Control/></Window>");
    WriteSkin(L"self.xml", "<Window><Control/><Include source=\"self.xml\"/></Window>");
    const struct {
        const wchar_t* xml;
        int children;
    } cases[] = {
        {L"<Window><Container><Include source=\"item.xml\" count=\"3\"/><Include count=\"2\"/>"
         L"<Include/></Container></Window>",
         6},
        // A skin that includes itself ends after a fixed depth.
        {L"<Window><Container><Include source=\"self.xml\"/></Container></Window>",
         CDialogBuilder::kMaxIncludeDepth},
    };
    for (const auto& test : cases) {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(test.xml);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(Items(root)->GetCount(), test.children);
        delete root;
    }
    // A document from a numbered resource includes resources of the same type.
    CDialogBuilder numbered;
    CControlUI* root = numbered.Create(STRINGorID(104u), L"xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Items(root)->GetItemAt(0)->GetName(), L"from 105");
    delete root;
}

TEST_F(DialogBuilderTest, FactoriesAndWhatIsSkipped) {
    RecordingCallback callback;
    CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
    plugins->Add(reinterpret_cast<void*>(&MakeFromPlugin));
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Unknown><Control/></Unknown><Plugged name=\"p\"/>"
        L"<Custom><Control/></Custom>"
        L"<Button name=\"leaf\"><Control/><Control/></Button>"
        L"<TreeNode><Control/></TreeNode><Label name=\"after\"/></Container></Window>",
        nullptr, &callback, &manager);
    plugins->Remove(plugins->Find(reinterpret_cast<void*>(&MakeFromPlugin)));
    ASSERT_NE(root, nullptr);
    // Unknown elements go with their subtrees; children of a control that holds none are
    // dropped, the control stays; a tree node outside a tree ends its level.
    ASSERT_EQ(Items(root)->GetCount(), 3);
    EXPECT_EQ(Items(root)->GetItemAt(0)->GetName(), L"p");
    EXPECT_EQ(Items(Items(root)->GetItemAt(1))->GetCount(), 1);
    EXPECT_EQ(Items(root)->GetItemAt(2)->GetName(), L"leaf");
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"Unknown", L"Custom"}));
    delete root;
}

TEST_F(DialogBuilderTest, UnknownElementsLeaveATraceNamingThemAndTheirPlace) {
    skintest::TraceLines traces;
    RecordingCallback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><VerticalLayout><Label/><Fancy text=\"x\"><Inner/><Button/></Fancy><Label/>"
        L"</VerticalLayout><HorizontalLayout><Gadget/><Custom/><Gadget><Inner/></Gadget>"
        L"</HorizontalLayout></Window>",
        nullptr, &callback, &manager);
    ASSERT_NE(root, nullptr);
    // Only the unknown elements themselves: not their children, not what the callback made.
    EXPECT_EQ(traces.Lines(),
              (std::vector<std::wstring>{
                  L"Unknown skin element <Fancy> at /Window/VerticalLayout/Fancy skipped with "
                  L"its children",
                  L"Unknown skin element <Gadget> at /Window/HorizontalLayout/Gadget[1] skipped "
                  L"with its children",
                  L"Unknown skin element <Gadget> at /Window/HorizontalLayout/Gadget[2] skipped "
                  L"with its children",
              }));
    EXPECT_EQ(Items(root)->GetCount(), 2);
    delete root;
}

TEST_F(DialogBuilderTest, SourcesAndChildLayouts) {
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
    for (const STRINGorID& source :
         {STRINGorID(L"<Window><Control></Window>"), STRINGorID(L"<Window/>"), STRINGorID(999u)}) {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(source, L"xml"), nullptr);
    }

    // A child layout builds its file into itself when attached; one that holds itself
    // ends after a fixed depth.
    WriteSkin(L"nested.xml", "<Window><ChildLayout xmlfile=\"nested.xml\"/></Window>");
    for (const wchar_t* name : {L"layout.xml", L"nested.xml"}) {
        CChildLayoutUI layout;
        layout.SetAttribute(L"xmlfile", name);
        layout.SetManager(&manager, nullptr, false);
        layout.Init();
        int depth = 0;
        for (CControlUI* child = layout.GetItemAt(0); child != nullptr; ++depth) {
            void* inner = child->GetInterface(L"ChildLayout");
            child = inner != nullptr ? static_cast<CChildLayoutUI*>(inner)->GetItemAt(0) : nullptr;
        }
        EXPECT_EQ(depth, name[0] == L'l' ? 1 : CDialogBuilder::kMaxIncludeDepth);
    }
}

} // namespace
