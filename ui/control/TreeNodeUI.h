// One node of a tree view, and one row of the view's list: an indent that grows by 16
// pixels per level, a folder button that folds the node's subtree (checked = folded), an
// optional check box and the item button that shows the node's text. The node knows its
// parent and its direct children; the view's list owns every row.
#pragma once

#include <windows.h>

#include "control/ListContainerElementUI.h"
#include "core/SkinString.h"
#include "core/StdPtrArray.h"

namespace SkinUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

/// Extra indent of each level below a root node.
constexpr int kTreeIndentStep = 16;

class CTreeNodeUI : public CListContainerElementUI {
public:
    /// A node 250 by 18 with its row; under `parent` when given.
    explicit CTreeNodeUI(CTreeNodeUI* parent = nullptr);
    /// A node outside any view owns its children and destroys them with itself.
    ~CTreeNodeUI() override;

    /// "TreeNodeUI".
    const wchar_t* GetClass() const override;
    /// This for "TreeNode", else as the list item.
    void* GetInterface(const wchar_t* name) override;

    /// A tree node becomes a child node (AddChildNode); anything else joins the node as a
    /// container child.
    bool Add(CControlUI* control) override;
    /// A tree node as the child at an index of the children (appended past them); its
    /// rows go before that child's, or after this node's subtree.
    bool AddAt(CControlUI* control, int index) override;
    /// A child node with its subtree (RemoveAt of the node).
    bool Remove(CControlUI* control) override;
    using CListContainerElementUI::RemoveAt;

    /// Places the child under this node and, in a view, its rows after this node's subtree.
    bool AddChildNode(CTreeNodeUI* child);
    /// Takes a child node and its subtree down, deepest first, and destroys them.
    bool RemoveAt(CTreeNodeUI* child);

    CTreeNodeUI* GetChildNode(int index) const;
    int GetCountChild() const;
    bool IsHasChild() const;
    /// A copy of the direct children, in order.
    CStdPtrArray GetTreeNodes() const;

    CTreeNodeUI* GetParentNode() const;
    void SetParentNode(CTreeNodeUI* parent);
    CTreeViewUI* GetTreeView() const;
    void SetTreeView(CTreeViewUI* view);
    /// Not folded, as last set by the folder button; kept for the application.
    bool GetVisibleTag() const;
    void SetVisibleTag(bool visible);

    CSkinString GetItemText() const;
    void SetItemText(const wchar_t* text);
    /// Text colour of the item button while not selected; set at once.
    DWORD GetItemTextColor() const;
    void SetItemTextColor(DWORD color);
    // Colours taken at the next pointer or selection change.
    DWORD GetItemHotTextColor() const;
    void SetItemHotTextColor(DWORD color);
    DWORD GetSelItemTextColor() const;
    void SetSelItemTextColor(DWORD color);
    /// 0: the hot text colour serves a selected node too.
    DWORD GetSelItemHotTextColor() const;
    void SetSelItemHotTextColor(DWORD color);

    // The parts of the row.
    CHorizontalLayoutUI* GetTreeNodeHoriznotal() const;
    CCheckBoxUI* GetFolderButton() const;
    /// The indent.
    CLabelUI* GetDottedLine() const;
    CCheckBoxUI* GetCheckBox() const;
    COptionUI* GetItemButton() const;

    void SetVisibleFolderBtn(bool visible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleCheckBtn(bool visible);
    bool GetVisibleCheckBtn() const;
    bool IsCheckBoxSelected() const;
    void CheckBoxSelected(bool selected);

    /// Place among the view's rows; -1 without a view or outside it.
    int GetTreeIndex() const;
    /// Place among the parent's children; for a node without parent its row in the view,
    /// or -1.
    int GetNodeIndex() const;
    /// The list item's selection, and the item button's text colour with it.
    bool Select(bool select = true) override;

    /// After the list item: a double click sends "itemdbclick"; the pointer sets the item
    /// button's hot text colour.
    void DoEvent(TEventUI& event) override;
    /// "text", "horizattr", "dotlineattr", "folderattr", "checkboxattr", "itemattr" and the
    /// four item text colours; others as the list item.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    friend class CTreeViewUI;

    /// Whether a node may become a child here: not placed under a node already, and not
    /// this node or one above it.
    bool Adoptable(CTreeNodeUI* child) const;
    /// Puts a child one level below this node: indent, parent, option group and view.
    void CalLocation(CTreeNodeUI* child);
    /// Shows the indent at a width, and the subtree's indents one step more per level.
    void Indent(int width);
    /// Undoes CalLocation's parent and view after the view refused the child.
    static void Unplace(CTreeNodeUI* child);
    /// Takes a child out of the children, nothing more.
    void ForgetChild(CTreeNodeUI* child);
    /// The last row of this subtree.
    const CTreeNodeUI* LastDescendant() const;
    /// The view row after this subtree's last row; -1 when this node is no row.
    int SubtreeEnd() const;

    bool m_bVisibleTag = true;
    DWORD m_dwItemTextColor = 0;
    DWORD m_dwItemHotTextColor = 0;
    DWORD m_dwSelItemTextColor = 0;
    DWORD m_dwSelItemHotTextColor = 0;
    CTreeViewUI* m_pTreeView = nullptr;           ///< not owned
    CHorizontalLayoutUI* m_pHorizontal = nullptr; ///< owned as the only container child
    CCheckBoxUI* m_pFolderButton = nullptr;       ///< owned by the row
    CLabelUI* m_pDottedLine = nullptr;            ///< owned by the row
    CCheckBoxUI* m_pCheckBox = nullptr;           ///< owned by the row
    COptionUI* m_pItemButton = nullptr;           ///< owned by the row
    CTreeNodeUI* m_pParentTreeNode = nullptr;     ///< not owned
    CStdPtrArray m_aTreeNodes; ///< direct children (CTreeNodeUI*), owned by the view's list
};

} // namespace SkinUI
