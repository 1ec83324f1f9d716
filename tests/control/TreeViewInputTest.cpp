// A tree view in a real window driven by real messages: folder buttons and double clicks
// fold and unfold subtrees, check boxes check whole subtrees, and the rows lie one under
// the other with their indents.
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <string>

#include "control/CheckBoxUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "core/DialogBuilder.h"

using namespace SkinUI;

namespace {

class TreeViewInput : public HostedTree {
protected:
    // A(A1(A1a), A2), B from skin markup, hosted and laid out.
    void HostTree(const wchar_t* viewAttributes = L"") {
        CDialogBuilder builder;
        const std::wstring xml =
            std::wstring(L"<Window><TreeView ") + viewAttributes +
            L"><TreeNode text=\"A\"><TreeNode text=\"A1\"><TreeNode text=\"A1a\"/></TreeNode>"
            L"<TreeNode text=\"A2\"/></TreeNode><TreeNode text=\"B\"/></TreeView></Window>";
        CControlUI* root = builder.Create(xml.c_str());
        ASSERT_NE(root, nullptr);
        view = static_cast<CTreeViewUI*>(root->GetInterface(L"TreeView"));
        ASSERT_NE(view, nullptr);
        Host(root);
        Layout();
        a = Node(0);
        a1 = Node(1);
        a1a = Node(2);
        a2 = Node(3);
        b = Node(4);
    }
    CTreeNodeUI* Node(int row) const {
        return static_cast<CTreeNodeUI*>(view->GetItemAt(row)->GetInterface(L"TreeNode"));
    }
    void Click(CControlUI* part) {
        const RECT rc = part->GetPos();
        const int x = (rc.left + rc.right) / 2;
        const int y = (rc.top + rc.bottom) / 2;
        Send(WM_LBUTTONDOWN, x, y);
        Send(WM_LBUTTONUP, x, y);
        Layout();
    }
    void DoubleClick(CTreeNodeUI* node) {
        const RECT rc = node->GetItemButton()->GetPos();
        const int x = (rc.left + rc.right) / 2;
        const int y = (rc.top + rc.bottom) / 2;
        Send(WM_LBUTTONDOWN, x, y);
        Send(WM_LBUTTONUP, x, y);
        Send(WM_LBUTTONDBLCLK, x, y);
        Send(WM_LBUTTONUP, x, y);
        Layout();
    }
    int Count(const wchar_t* type) const {
        int count = 0;
        for (const std::wstring& seen : host->notifications)
            count += seen == type ? 1 : 0;
        return count;
    }

    CTreeViewUI* view = nullptr;
    CTreeNodeUI* a = nullptr;
    CTreeNodeUI* a1 = nullptr;
    CTreeNodeUI* a1a = nullptr;
    CTreeNodeUI* a2 = nullptr;
    CTreeNodeUI* b = nullptr;
};

} // namespace

TEST_F(TreeViewInput, RowsLieOneUnderTheOtherIndentedByLevel) {
    HostTree();
    int top = view->GetPos().top;
    for (CTreeNodeUI* node : {a, a1, a1a, a2, b}) {
        const RECT row = node->GetPos();
        EXPECT_EQ(row.top, top) << node->GetItemText().GetData();
        EXPECT_EQ(row.bottom - row.top, 18);
        top = row.bottom;
    }
    // Indent, then the 18-pixel folder button, then the text.
    EXPECT_EQ(a->GetItemButton()->GetPos().left - a->GetPos().left, 18)
        << "the root's indent is hidden";
    EXPECT_EQ(a1->GetItemButton()->GetPos().left - a1->GetPos().left, 18 + 18);
    EXPECT_EQ(a1a->GetItemButton()->GetPos().left - a1a->GetPos().left, 34 + 18);
    EXPECT_FALSE(a->GetCheckBox()->IsVisible());
}

TEST_F(TreeViewInput, TheFolderButtonFoldsAndUnfoldsTheSubtree) {
    HostTree();
    Click(a->GetFolderButton());
    EXPECT_TRUE(a->GetFolderButton()->IsSelected()) << "checked means folded";
    EXPECT_FALSE(a->GetVisibleTag());
    EXPECT_FALSE(a1->IsVisible());
    EXPECT_FALSE(a1a->IsVisible());
    EXPECT_FALSE(a2->IsVisible());
    EXPECT_TRUE(b->IsVisible());
    EXPECT_EQ(b->GetPos().top, a->GetPos().bottom) << "B moves up under A";

    Click(a->GetFolderButton());
    EXPECT_TRUE(a->GetVisibleTag());
    EXPECT_TRUE(a1->IsVisible());
    EXPECT_TRUE(a1a->IsVisible());
    EXPECT_TRUE(a2->IsVisible());
}

TEST_F(TreeViewInput, ADoubleClickFoldsAndAFoldedChildStaysFolded) {
    HostTree();
    Click(a1->GetFolderButton());
    EXPECT_FALSE(a1a->IsVisible());
    host->notifications.clear();

    DoubleClick(a);
    EXPECT_EQ(Count(L"itemdbclick"), 1);
    EXPECT_TRUE(a->GetFolderButton()->IsSelected());
    EXPECT_FALSE(a1->IsVisible());
    EXPECT_FALSE(a2->IsVisible());
    EXPECT_EQ(view->GetCurSel(), 0) << "the click selected the row";

    DoubleClick(a);
    EXPECT_FALSE(a->GetFolderButton()->IsSelected());
    EXPECT_TRUE(a1->IsVisible());
    EXPECT_TRUE(a2->IsVisible());
    EXPECT_FALSE(a1a->IsVisible()) << "under a folded child";
}

TEST_F(TreeViewInput, ACheckBoxChecksItsWholeSubtree) {
    HostTree(L"visiblecheckbtn=\"true\"");
    ASSERT_TRUE(a->GetCheckBox()->IsVisible());
    Click(a->GetCheckBox());
    for (CTreeNodeUI* node : {a, a1, a1a, a2})
        EXPECT_TRUE(node->IsCheckBoxSelected()) << node->GetItemText().GetData();
    EXPECT_FALSE(b->IsCheckBoxSelected());

    Click(a1->GetCheckBox());
    EXPECT_FALSE(a1->IsCheckBoxSelected());
    EXPECT_FALSE(a1a->IsCheckBoxSelected());
    EXPECT_TRUE(a->IsCheckBoxSelected());
    EXPECT_TRUE(a2->IsCheckBoxSelected());
}

TEST_F(TreeViewInput, ThePointerColoursTheTextByState) {
    HostTree();
    for (CTreeNodeUI* node : {a, b}) {
        node->SetItemTextColor(0xFF000001);
        node->SetItemHotTextColor(0xFF000002);
        node->SetSelItemTextColor(0xFF000003);
        node->SetSelItemHotTextColor(0xFF000004);
    }
    const RECT rowA = a->GetItemButton()->GetPos();
    const RECT rowB = b->GetItemButton()->GetPos();
    Send(WM_MOUSEMOVE, rowA.left + 5, rowA.top + 5);
    EXPECT_EQ(a->GetItemButton()->GetTextColor(), 0xFF000002u);
    Send(WM_MOUSEMOVE, rowB.left + 5, rowB.top + 5);
    EXPECT_EQ(a->GetItemButton()->GetTextColor(), 0xFF000001u);
    Send(WM_LBUTTONDOWN, rowB.left + 5, rowB.top + 5);
    Send(WM_LBUTTONUP, rowB.left + 5, rowB.top + 5);
    EXPECT_EQ(view->GetCurSel(), 4);
    EXPECT_EQ(b->GetItemButton()->GetTextColor(), 0xFF000003u);
    Send(WM_MOUSEMOVE, rowA.left + 5, rowA.top + 5);
    Send(WM_MOUSEMOVE, rowB.left + 5, rowB.top + 5);
    EXPECT_EQ(b->GetItemButton()->GetTextColor(), 0xFF000004u) << "selected and hot";
    Send(WM_MOUSEMOVE, rowA.left + 5, rowA.top + 5);
    EXPECT_EQ(b->GetItemButton()->GetTextColor(), 0xFF000003u);
}

TEST_F(TreeViewInput, ARemovedSubtreeLeavesTheWindowAndItsParent) {
    HostTree();
    Click(a1->GetFolderButton());
    view->SelectItem(1);
    ASSERT_TRUE(view->Remove(a1));
    skintest::PumpMessages(); // the rows are deleted with the window's clean-up message
    Layout();
    EXPECT_EQ(view->GetCount(), 3);
    EXPECT_EQ(a->GetCountChild(), 1);
    EXPECT_EQ(a2->GetPos().top, a->GetPos().bottom);
    // A new last child of A goes after A2, and a child of the last row at the end.
    auto* a3 = new CTreeNodeUI;
    a3->SetItemText(L"A3");
    ASSERT_TRUE(a->AddChildNode(a3));
    auto* b1 = new CTreeNodeUI;
    b1->SetItemText(L"B1");
    ASSERT_TRUE(b->AddChildNode(b1));
    Layout();
    EXPECT_EQ(view->GetItemIndex(a3), 2);
    EXPECT_EQ(view->GetItemIndex(b1), 4);
    EXPECT_EQ(b1->GetPos().top, b->GetPos().bottom);
    EXPECT_EQ(b1->GetManager(), &host->manager);
}
