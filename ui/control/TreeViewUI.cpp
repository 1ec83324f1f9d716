#include "control/TreeViewUI.h"

#include <climits>
#include <cwchar>

#include "control/AttributeValue.h"
#include "control/CheckBoxUI.h"
#include "control/TreeNodeUI.h"
#include "window/Delegate.h"

namespace SkinUI {

namespace {

CTreeNodeUI* AsNode(CControlUI* control) {
    return control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"))
                              : nullptr;
}

// The node whose row holds a part (folder button or check box): row, then node.
CTreeNodeUI* NodeOfPart(CControlUI* part) {
    CControlUI* row = part != nullptr ? part->GetParent() : nullptr;
    return AsNode(row != nullptr ? row->GetParent() : nullptr);
}

} // namespace

CTreeViewUI::CTreeViewUI() {
    GetHeader()->SetVisible(false);
}

const wchar_t* CTreeViewUI::GetClass() const {
    return L"TreeViewUI";
}

void* CTreeViewUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"TreeView") == 0) return this;
    return CListUI::GetInterface(name);
}

void CTreeViewUI::Notify(TNotifyUI&) {}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const {
    return AsNode(GetItemAt(index));
}

// ---- The container interface

bool CTreeViewUI::Add(CControlUI* control) {
    if (CTreeNodeUI* node = AsNode(control)) return Add(node);
    return CListUI::Add(control);
}

bool CTreeViewUI::AddAt(CControlUI* control, int index) {
    if (CTreeNodeUI* node = AsNode(control)) return AddAt(node, index) >= 0;
    return CListUI::AddAt(control, index);
}

bool CTreeViewUI::Remove(CControlUI* control) {
    if (CTreeNodeUI* node = AsNode(control)) return Remove(node);
    return CListUI::Remove(control);
}

bool CTreeViewUI::RemoveAt(int index) {
    CControlUI* row = GetItemAt(index);
    if (row == nullptr) return false;
    if (CTreeNodeUI* node = AsNode(row)) return Remove(node);
    return CListUI::RemoveAt(index);
}

// ---- Nodes

void CTreeViewUI::PrepareNode(CTreeNodeUI* node) {
    // Taken away first, so that a node added again is heard once.
    const auto dbClick = MakeDelegate(this, &CTreeViewUI::OnDBClickItem);
    const auto folder = MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    const auto check = MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    node->OnNotify -= dbClick;
    node->OnNotify += dbClick;
    node->GetFolderButton()->OnNotify -= folder;
    node->GetFolderButton()->OnNotify += folder;
    node->GetCheckBox()->OnNotify -= check;
    node->GetCheckBox()->OnNotify += check;
    node->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    node->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth != 0)
        node->SetMinWidth(m_uItemMinWidth > INT_MAX ? INT_MAX : static_cast<int>(m_uItemMinWidth));
}

bool CTreeViewUI::Add(CTreeNodeUI* node) {
    if (node == nullptr) return false;
    PrepareNode(node);
    if (!CListUI::Add(node)) return false;
    // The subtree follows in depth-first order.
    for (int i = 0; i < node->GetCountChild(); ++i)
        Add(node->GetChildNode(i));
    node->SetTreeView(this);
    return true;
}

int CTreeViewUI::AddAt(CTreeNodeUI* node, int index) {
    // The row count appends, as a last child's rows after the last row must.
    if (node == nullptr || index < 0 || index > GetCount()) return -1;
    PrepareNode(node);
    if (!CListUI::AddAt(node, index)) return -1;
    // Every row inserted knows its view, whichever way it came.
    node->SetTreeView(this);
    int next = index + 1;
    for (int i = 0; i < node->GetCountChild(); ++i) {
        const int after = AddAt(node->GetChildNode(i), next);
        if (after >= 0) next = after;
    }
    return next;
}

bool CTreeViewUI::AddAt(CTreeNodeUI* node, CTreeNodeUI* before) {
    if (node == nullptr || before == nullptr) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemAt(i) == before) return AddAt(node, i) >= 0;
    return false;
}

bool CTreeViewUI::Remove(CTreeNodeUI* node) {
    if (node == nullptr) return false;
    while (node->GetCountChild() > 0) {
        CTreeNodeUI* first = node->GetChildNode(0);
        if (!node->RemoveAt(first)) node->ForgetChild(first);
    }
    // The parent must not keep a child that is about to be destroyed.
    if (CTreeNodeUI* parent = node->GetParentNode()) {
        parent->ForgetChild(node);
        node->SetParentNode(nullptr);
    }
    return CListUI::Remove(node);
}

// ---- What the nodes tell

bool CTreeViewUI::OnCheckBoxChanged(void* param) {
    const auto* msg = static_cast<const TNotifyUI*>(param);
    if (msg == nullptr || msg->type != NotifyType::kSelectChanged) return true;
    if (CTreeNodeUI* node = NodeOfPart(msg->sender))
        SetItemCheckBox(node->IsCheckBoxSelected(), node);
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param) {
    const auto* msg = static_cast<const TNotifyUI*>(param);
    if (msg == nullptr || msg->type != NotifyType::kSelectChanged) return true;
    CTreeNodeUI* node = NodeOfPart(msg->sender);
    if (node == nullptr) return true;
    const bool expanded = !node->GetFolderButton()->IsSelected();
    node->SetVisibleTag(expanded);
    SetItemExpand(expanded, node);
    return true;
}

bool CTreeViewUI::OnDBClickItem(void* param) {
    // Other notifications of the node pass on to its other listeners.
    const auto* msg = static_cast<const TNotifyUI*>(param);
    if (msg == nullptr || msg->type != NotifyType::kItemDbClick) return true;
    CTreeNodeUI* node = AsNode(msg->sender);
    if (node == nullptr) return true;
    CCheckBoxUI* folder = node->GetFolderButton();
    folder->Selected(!folder->IsSelected());
    const bool expanded = !folder->IsSelected();
    node->SetVisibleTag(expanded);
    SetItemExpand(expanded, node);
    return true;
}

bool CTreeViewUI::SetItemCheckBox(bool checked, CTreeNodeUI* node) {
    const auto check = [this, checked](CTreeNodeUI* below) {
        if (below == nullptr) return;
        below->CheckBoxSelected(checked);
        if (below->IsHasChild()) SetItemCheckBox(checked, below);
    };
    if (node != nullptr) {
        for (int i = 0; i < node->GetCountChild(); ++i)
            check(node->GetChildNode(i));
    } else {
        for (int i = 0; i < GetCount(); ++i)
            check(NodeAt(i));
    }
    return true;
}

void CTreeViewUI::SetItemExpand(bool expand, CTreeNodeUI* node) {
    // A folded child keeps its own subtree as it was.
    const auto show = [this, expand](CTreeNodeUI* below) {
        if (below == nullptr) return;
        below->SetVisible(expand);
        if (below->IsHasChild() && !below->GetFolderButton()->IsSelected())
            SetItemExpand(expand, below);
    };
    if (node != nullptr) {
        for (int i = 0; i < node->GetCountChild(); ++i)
            show(node->GetChildNode(i));
    } else {
        for (int i = 0; i < GetCount(); ++i)
            show(NodeAt(i));
    }
}

// ---- Settings given to every row

void CTreeViewUI::SetVisibleFolderBtn(bool visible) {
    m_bVisibleFolderBtn = visible;
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetVisibleFolderBtn(visible);
}

bool CTreeViewUI::GetVisibleFolderBtn() const {
    return m_bVisibleFolderBtn;
}

void CTreeViewUI::SetVisibleCheckBtn(bool visible) {
    m_bVisibleCheckBtn = visible;
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetVisibleCheckBtn(visible);
}

bool CTreeViewUI::GetVisibleCheckBtn() const {
    return m_bVisibleCheckBtn;
}

void CTreeViewUI::SetItemMinWidth(UINT width) {
    m_uItemMinWidth = width;
    const int minWidth = width > INT_MAX ? INT_MAX : static_cast<int>(width);
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetMinWidth(minWidth);
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const {
    return m_uItemMinWidth;
}

void CTreeViewUI::SetItemTextColor(DWORD color) {
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetItemTextColor(color);
}

void CTreeViewUI::SetItemHotTextColor(DWORD color) {
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetItemHotTextColor(color);
}

void CTreeViewUI::SetSelItemTextColor(DWORD color) {
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetSelItemTextColor(color);
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD color) {
    for (int i = 0; i < GetCount(); ++i)
        if (CTreeNodeUI* node = NodeAt(i)) node->SetSelItemHotTextColor(color);
}

void CTreeViewUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };

    if (is(L"visiblefolderbtn")) {
        SetVisibleFolderBtn(ParseBoolValue(value));
    } else if (is(L"visiblecheckbtn")) {
        SetVisibleCheckBtn(ParseBoolValue(value));
    } else if (is(L"itemminwidth")) {
        const int width = ParseIntValue(value);
        SetItemMinWidth(width > 0 ? static_cast<UINT>(width) : 0);
    } else if (is(L"itemtextcolor")) {
        SetItemTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"itemhottextcolor")) {
        SetItemHotTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"selitemtextcolor")) {
        SetSelItemTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"selitemhottextcolor")) {
        SetSelItemHotTextColor(ParseColorValueHashOnly(value));
    } else {
        CListUI::SetAttribute(name, value);
    }
}

} // namespace SkinUI
