// Tree views and nodes: trees built from skin markup, nodes added at the end and by
// index, removed with their subtrees, and the rows kept in depth-first order with one
// indent step per level.
#include "Guarded.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/CheckBoxUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;

namespace {

using Node = Guarded<CTreeNodeUI>;

// Each row as "text:indent", the indent being the width of a shown indent label.
std::vector<std::wstring> Rows(const CTreeViewUI& view) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < view.GetCount(); ++i) {
        auto* node = static_cast<CTreeNodeUI*>(view.GetItemAt(i)->GetInterface(L"TreeNode"));
        if (node == nullptr) {
            rows.push_back(L"?");
            continue;
        }
        CLabelUI* indent = node->GetDottedLine();
        const int width = indent->IsVisible() ? indent->GetFixedWidth() : 0;
        rows.push_back(std::wstring(node->GetItemText().GetData()) + L":" + std::to_wstring(width));
    }
    return rows;
}

std::vector<std::wstring> Children(const CTreeNodeUI& node) {
    std::vector<std::wstring> children;
    for (int i = 0; i < node.GetCountChild(); ++i)
        children.push_back(node.GetChildNode(i)->GetItemText().GetData());
    return children;
}

// Every row's list index equals its place, and every row knows the view.
void ExpectRowsInPlace(CTreeViewUI& view) {
    for (int i = 0; i < view.GetCount(); ++i) {
        auto* node = static_cast<CTreeNodeUI*>(view.GetItemAt(i)->GetInterface(L"TreeNode"));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->GetTreeIndex(), i);
        EXPECT_EQ(node->GetTreeView(), &view) << "row " << i;
    }
}

class TreeNodes : public ::testing::Test {
protected:
    Node* Make(const wchar_t* text) {
        auto* node = new Node;
        node->destroyed = &destroyed;
        node->SetItemText(text);
        return node;
    }
    // A(A1(A1a), A2), B as rows of the view.
    void Build() {
        a = Make(L"A");
        a1 = Make(L"A1");
        a1a = Make(L"A1a");
        a2 = Make(L"A2");
        b = Make(L"B");
        ASSERT_TRUE(view.Add(a));
        ASSERT_TRUE(a->AddChildNode(a1));
        ASSERT_TRUE(a1->AddChildNode(a1a));
        ASSERT_TRUE(a->AddChildNode(a2));
        ASSERT_TRUE(view.Add(b));
    }

    int destroyed = 0; // before the view, whose rows count on it to the end
    CTreeViewUI view;
    Node* a = nullptr;
    Node* a1 = nullptr;
    Node* a1a = nullptr;
    Node* a2 = nullptr;
    Node* b = nullptr;
};

using Rows_ = std::vector<std::wstring>;

} // namespace

TEST(TreeMarkup, NestedTreeNodesBecomeRowsInDepthFirstOrderWithTheirIndents) {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><TreeView visiblecheckbtn=\"true\" itemtextcolor=\"#FF102030\">"
        L"<TreeNode text=\"A\"><TreeNode text=\"A1\" itemhottextcolor=\"#FF405060\">"
        L"<TreeNode text=\"A1a\"><TreeNode text=\"deep\"/></TreeNode>"
        L"<Label name=\"tag\" text=\"x\"/></TreeNode>"
        L"<TreeNode text=\"A2\"/></TreeNode>"
        L"<TreeNode text=\"B\" folderattr=\"width=&quot;12&quot;\"/></TreeView></Window>",
        nullptr, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    auto* view = static_cast<CTreeViewUI*>(root->GetInterface(L"TreeView"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(*view), (Rows_{L"A:0", L"A1:18", L"A1a:34", L"deep:50", L"A2:18", L"B:0"}));
    ExpectRowsInPlace(*view);
    EXPECT_FALSE(view->GetHeader()->IsVisible());

    auto* a = static_cast<CTreeNodeUI*>(view->GetItemAt(0));
    auto* a1 = static_cast<CTreeNodeUI*>(view->GetItemAt(1));
    EXPECT_EQ(a->GetDottedLine()->GetFixedWidth(), 2) << "a root's indent is hidden and 2 wide";
    EXPECT_EQ(Children(*a), (Rows_{L"A1", L"A2"}));
    EXPECT_EQ(a1->GetParentNode(), a);
    EXPECT_EQ(a1->GetNodeIndex(), 0);
    EXPECT_EQ(a->GetNodeIndex(), 0) << "a root's place is its row";
    // A control under a node joins the node's row.
    CHorizontalLayoutUI* row = a1->GetTreeNodeHoriznotal();
    ASSERT_EQ(row->GetCount(), 5);
    EXPECT_EQ(row->GetItemAt(4)->GetName(), L"tag");
    // The view's settings reach every node; the node's own attributes their parts.
    for (int i = 0; i < view->GetCount(); ++i) {
        auto* node = static_cast<CTreeNodeUI*>(view->GetItemAt(i));
        EXPECT_TRUE(node->GetVisibleCheckBtn());
        EXPECT_EQ(node->GetItemTextColor(), 0xFF102030u);
    }
    EXPECT_EQ(a1->GetItemHotTextColor(), 0xFF405060u);
    EXPECT_EQ(static_cast<CTreeNodeUI*>(view->GetItemAt(5))->GetFolderButton()->GetFixedWidth(),
              12);
    delete root;
}

TEST_F(TreeNodes, ChildrenJoinAfterTheirParentsSubtreeAtTheEndAndByIndex) {
    Build();
    EXPECT_EQ(Rows(view), (Rows_{L"A:0", L"A1:18", L"A1a:34", L"A2:18", L"B:0"}));
    ExpectRowsInPlace(view);

    // A child of the last row: the rows end there.
    Node* b1 = Make(L"B1");
    ASSERT_TRUE(b->AddChildNode(b1));
    EXPECT_EQ(Rows(view).back(), L"B1:18");
    EXPECT_EQ(b1->GetTreeView(), &view);

    // By index: before the child standing there, or after the parent's whole subtree.
    Node* x = Make(L"X");
    ASSERT_TRUE(a->AddAt(x, 1));
    Node* y = Make(L"Y");
    ASSERT_TRUE(a->AddAt(y, 99));
    EXPECT_EQ(Children(*a), (Rows_{L"A1", L"X", L"A2", L"Y"}));
    EXPECT_EQ(Rows(view),
              (Rows_{L"A:0", L"A1:18", L"A1a:34", L"X:18", L"A2:18", L"Y:18", L"B:0", L"B1:18"}));
    EXPECT_EQ(x->GetNodeIndex(), 1);
    ExpectRowsInPlace(view);

    // A subtree made before it is placed moves down a level as a whole.
    Node* p = Make(L"P");
    Node* q = Make(L"Q");
    ASSERT_TRUE(p->AddChildNode(q));
    EXPECT_EQ(q->GetDottedLine()->GetFixedWidth(), 18);
    ASSERT_TRUE(a1->AddChildNode(p));
    EXPECT_EQ(Rows(view), (Rows_{L"A:0", L"A1:18", L"A1a:34", L"P:34", L"Q:50", L"X:18", L"A2:18",
                                 L"Y:18", L"B:0", L"B1:18"}));
    ExpectRowsInPlace(view);

    // The view itself: the row count appends, past it nothing.
    Node* c = Make(L"C");
    const int count = view.GetCount();
    EXPECT_EQ(view.AddAt(c, count), count + 1);
    EXPECT_EQ(c->GetTreeView(), &view);
    Node* stray = Make(L"stray");
    Node* outside = Make(L"outside");
    EXPECT_EQ(view.AddAt(stray, count + 2), -1);
    EXPECT_FALSE(view.AddAt(stray, outside)) << "before a node that is no row";
    delete stray;
    delete outside;
    EXPECT_TRUE(view.AddAt(Make(L"D"), c));
    EXPECT_EQ(Rows(view)[view.GetCount() - 2], L"D:0");
}

TEST_F(TreeNodes, NodesRefuseLoopsAndSecondParents) {
    Build();
    EXPECT_FALSE(a1a->AddChildNode(a)) << "an ancestor under its descendant";
    EXPECT_FALSE(a->AddChildNode(a));
    EXPECT_FALSE(b->AddChildNode(a1)) << "a node already under another";
    EXPECT_FALSE(a->AddChildNode(nullptr));
    EXPECT_EQ(view.GetCount(), 5);
    EXPECT_TRUE(a->IsHasChild());
    EXPECT_EQ(a->GetCountChild(), 2);
}

TEST_F(TreeNodes, RemovingANodeTakesItsSubtreeAndLeavesItsParent) {
    Build();
    ASSERT_TRUE(view.Remove(a1));
    EXPECT_EQ(destroyed, 2) << "A1 and A1a";
    EXPECT_EQ(Children(*a), (Rows_{L"A2"})) << "the parent forgets the removed child";
    EXPECT_EQ(Rows(view), (Rows_{L"A:0", L"A2:18", L"B:0"}));
    ExpectRowsInPlace(view);
    // A child added afterwards goes after what is really left of the subtree.
    Node* a3 = Make(L"A3");
    ASSERT_TRUE(a->AddChildNode(a3));
    EXPECT_EQ(Rows(view), (Rows_{L"A:0", L"A2:18", L"A3:18", L"B:0"}));

    ASSERT_TRUE(a->RemoveAt(static_cast<CTreeNodeUI*>(a2)));
    EXPECT_EQ(destroyed, 3);
    EXPECT_FALSE(a->RemoveAt(static_cast<CTreeNodeUI*>(b))) << "not a child of A";

    // By row, through the container interface: a leaf goes too.
    IContainerUI* rows = &view;
    EXPECT_EQ(Rows(view), (Rows_{L"A:0", L"A3:18", L"B:0"}));
    ASSERT_TRUE(rows->RemoveAt(2)) << "B, a root without children";
    EXPECT_EQ(destroyed, 4);
    EXPECT_FALSE(rows->RemoveAt(2));
    ASSERT_TRUE(rows->Remove(a3));
    EXPECT_EQ(Children(*a), Rows_{});
    EXPECT_EQ(Rows(view), (Rows_{L"A:0"}));
    ASSERT_TRUE(view.Remove(a));
    EXPECT_EQ(view.GetCount(), 0);
    EXPECT_EQ(destroyed, 6);
}

TEST_F(TreeNodes, ANodeOutsideAViewOwnsItsChildren) {
    Node* top = Make(L"top");
    Node* child = Make(L"child");
    Node* grandchild = Make(L"grandchild");
    ASSERT_TRUE(top->AddChildNode(child));
    ASSERT_TRUE(child->AddChildNode(grandchild));
    EXPECT_EQ(top->GetTreeIndex(), -1);
    EXPECT_EQ(top->GetNodeIndex(), -1);
    EXPECT_EQ(grandchild->GetNodeIndex(), 0);
    ASSERT_TRUE(child->RemoveAt(static_cast<CTreeNodeUI*>(grandchild)));
    EXPECT_EQ(destroyed, 1);
    delete top;
    EXPECT_EQ(destroyed, 3);
}

TEST_F(TreeNodes, FoldingAndCheckingReachWholeSubtrees) {
    Build();
    // Folding A hides everything below it; unfolding shows it again.
    view.SetItemExpand(false, a);
    EXPECT_FALSE(a1->IsVisible());
    EXPECT_FALSE(a1a->IsVisible());
    EXPECT_FALSE(a2->IsVisible());
    EXPECT_TRUE(b->IsVisible());
    view.SetItemExpand(true, a);
    EXPECT_TRUE(a1a->IsVisible());
    // A folded child keeps its subtree folded.
    a1->GetFolderButton()->Selected(true);
    view.SetItemExpand(false, a1);
    view.SetItemExpand(false, a);
    view.SetItemExpand(true, a);
    EXPECT_TRUE(a1->IsVisible());
    EXPECT_TRUE(a2->IsVisible());
    EXPECT_FALSE(a1a->IsVisible());

    view.SetItemCheckBox(true, a);
    EXPECT_TRUE(a1->IsCheckBoxSelected());
    EXPECT_TRUE(a1a->IsCheckBoxSelected());
    EXPECT_TRUE(a2->IsCheckBoxSelected());
    EXPECT_FALSE(b->IsCheckBoxSelected());
    view.SetItemCheckBox(false);
    EXPECT_FALSE(a1a->IsCheckBoxSelected());
}

TEST_F(TreeNodes, TheViewsSettingsReachNodesPresentAndToCome) {
    Build();
    EXPECT_TRUE(a->GetVisibleFolderBtn());
    EXPECT_FALSE(a->GetVisibleCheckBtn());
    view.SetAttribute(L"visiblecheckbtn", L"true");
    view.SetAttribute(L"visiblefolderbtn", L"false");
    view.SetAttribute(L"itemminwidth", L"300");
    Node* later = Make(L"later");
    ASSERT_TRUE(a2->AddChildNode(later));
    for (CTreeNodeUI* node : {static_cast<CTreeNodeUI*>(a), static_cast<CTreeNodeUI*>(a1a),
                              static_cast<CTreeNodeUI*>(later)}) {
        EXPECT_TRUE(node->GetVisibleCheckBtn());
        EXPECT_FALSE(node->GetVisibleFolderBtn());
        EXPECT_EQ(node->GetMinWidth(), 300);
    }

    // Item colours: the plain one at once, the selected one with the selection.
    view.SetAttribute(L"itemtextcolor", L"#FF010203");
    view.SetAttribute(L"selitemtextcolor", L"#FF040506");
    EXPECT_EQ(a->GetItemButton()->GetTextColor(), 0xFF010203u);
    ASSERT_TRUE(a->Select(true));
    EXPECT_EQ(a->GetItemButton()->GetTextColor(), 0xFF040506u);
    EXPECT_EQ(view.GetCurSel(), 0);
    ASSERT_TRUE(b->Select(true));
    EXPECT_EQ(a->GetItemButton()->GetTextColor(), 0xFF010203u);

    // The node's own parts take their attribute lists.
    a->SetAttribute(L"itemattr", L"textpadding=\"3,0,0,0\"");
    a->SetAttribute(L"dotlineattr", L"bkcolor=\"#FF0000FF\"");
    a->SetAttribute(L"checkboxattr", L"width=\"20\"");
    a->SetAttribute(L"horizattr", L"childpadding=\"2\"");
    EXPECT_EQ(a->GetDottedLine()->GetBkColor(), 0xFF0000FFu);
    EXPECT_EQ(a->GetCheckBox()->GetFixedWidth(), 20);
    EXPECT_EQ(a->GetTreeNodeHoriznotal()->GetChildPadding(), 2);
    EXPECT_EQ(a->GetItemButton()->GetTextPadding().left, 3);
    EXPECT_STREQ(a->GetClass(), L"TreeNodeUI");
    EXPECT_STREQ(view.GetClass(), L"TreeViewUI");
}
