// A list whose items are tree nodes: every node of every depth is one row, kept in
// depth-first order (a node, its whole subtree, then its next sibling). Folding hides and
// shows rows; checking a node's box checks its whole subtree. The view hears its nodes'
// double clicks, folder buttons and check boxes through their notification delegates.
#pragma once

#include <windows.h>

#include "control/ListUI.h"
#include "window/NotifyUI.h"

namespace SkinUI {

class CTreeNodeUI;

class CTreeViewUI : public CListUI, public INotifyUI {
public:
    /// A list without a visible header.
    CTreeViewUI();

    /// "TreeViewUI".
    const wchar_t* GetClass() const override;
    /// This for "TreeView", else as the list.
    void* GetInterface(const wchar_t* name) override;
    /// The nodes tell the view through delegates; nothing more is heard here.
    void Notify(TNotifyUI& msg) override;

    // ---- The container interface: tree nodes go with their subtrees.

    /// A tree node as Add(CTreeNodeUI*); anything else as the list.
    bool Add(CControlUI* control) override;
    /// A tree node as AddAt(node, index); anything else as the list.
    bool AddAt(CControlUI* control, int index) override;
    /// A tree node as Remove(CTreeNodeUI*); anything else as the list.
    bool Remove(CControlUI* control) override;
    /// The row at an index, with its subtree; false without one.
    bool RemoveAt(int index) override;

    // ---- Nodes

    /// Appends the node and its subtree as rows; the view hears the node from now on.
    virtual bool Add(CTreeNodeUI* node);
    /// Inserts the node's rows before another row; false when that row is not here.
    virtual bool AddAt(CTreeNodeUI* node, CTreeNodeUI* before);
    /// Inserts the node and its subtree as rows from an index on (the row count appends);
    /// answers the index after the last row inserted, or -1.
    virtual int AddAt(CTreeNodeUI* node, int index);
    /// Takes the node down with its subtree, deepest first, and out of its parent's
    /// children; the rows are destroyed.
    virtual bool Remove(CTreeNodeUI* node);

    /// Delegates for "selectchanged" of check boxes and folder buttons and "itemdbclick" of
    /// nodes; the parameter is the TNotifyUI.
    virtual bool OnCheckBoxChanged(void* param);
    virtual bool OnFolderChanged(void* param);
    virtual bool OnDBClickItem(void* param);
    /// Checks or clears the box of every node below `node` (below every row without one).
    virtual bool SetItemCheckBox(bool checked, CTreeNodeUI* node = nullptr);
    /// Shows or hides the children of `node` (every row without one), and the subtrees of
    /// those that are not folded themselves.
    virtual void SetItemExpand(bool expand, CTreeNodeUI* node = nullptr);

    /// Shown on every row now and on rows added later.
    virtual void SetVisibleFolderBtn(bool visible);
    virtual bool GetVisibleFolderBtn() const;
    virtual void SetVisibleCheckBtn(bool visible);
    virtual bool GetVisibleCheckBtn() const;
    /// Minimum width of every row now and of rows added later; 0: none.
    virtual void SetItemMinWidth(UINT width);
    virtual UINT GetItemMinWidth() const;
    // Given to every row present.
    virtual void SetItemTextColor(DWORD color);
    virtual void SetItemHotTextColor(DWORD color);
    virtual void SetSelItemTextColor(DWORD color);
    virtual void SetSelItemHotTextColor(DWORD color);

    /// "visiblefolderbtn", "visiblecheckbtn", "itemminwidth" and the four item text colours
    /// of the nodes; others as the list.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    /// Hooks the view to the node's notifications (once) and gives the node the view's
    /// settings, before it becomes a row.
    void PrepareNode(CTreeNodeUI* node);
    /// The row at an index as a tree node, or null.
    CTreeNodeUI* NodeAt(int index) const;

    UINT m_uItemMinWidth = 0;
    bool m_bVisibleFolderBtn = true;
    bool m_bVisibleCheckBtn = false;
};

} // namespace SkinUI
