#include "control/TreeNodeUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/CheckBoxUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/TreeViewUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr int kNodeHeight = 18;
constexpr int kNodeWidth = 250;
constexpr int kRootIndent = 2;

CTreeNodeUI* AsNode(CControlUI* control) {
    return control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"))
                              : nullptr;
}

} // namespace

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* parent)
    : m_pHorizontal(new CHorizontalLayoutUI), m_pFolderButton(new CCheckBoxUI),
      m_pDottedLine(new CLabelUI), m_pCheckBox(new CCheckBoxUI), m_pItemButton(new COptionUI) {
    SetFixedHeight(kNodeHeight);
    SetFixedWidth(kNodeWidth);
    m_pFolderButton->SetFixedWidth(GetFixedHeight());
    m_pDottedLine->SetFixedWidth(kRootIndent);
    m_pCheckBox->SetFixedWidth(GetFixedHeight());
    m_pItemButton->SetAttribute(L"align", L"left");
    m_pDottedLine->SetVisible(false);
    m_pCheckBox->SetVisible(false);
    // A press anywhere on the row but the two boxes is the node's.
    m_pItemButton->SetMouseEnabled(false);
    if (parent != nullptr) {
        m_pDottedLine->SetVisible(parent->IsVisible());
        m_pDottedLine->SetFixedWidth(parent->m_pDottedLine->GetFixedWidth() + kTreeIndentStep);
        m_pParentTreeNode = parent;
    }
    m_pHorizontal->Add(m_pDottedLine);
    m_pHorizontal->Add(m_pFolderButton);
    m_pHorizontal->Add(m_pCheckBox);
    m_pHorizontal->Add(m_pItemButton);
    CListContainerElementUI::Add(m_pHorizontal);
}

CTreeNodeUI::~CTreeNodeUI() {
    // In a view the list owns every row; outside one nothing else holds the children.
    if (m_pTreeView != nullptr) return;
    CStdPtrArray children(m_aTreeNodes);
    m_aTreeNodes.Empty();
    for (int i = 0; i < children.GetSize(); ++i) {
        auto* child = static_cast<CTreeNodeUI*>(children[i]);
        child->m_pParentTreeNode = nullptr;
        delete child;
    }
}

const wchar_t* CTreeNodeUI::GetClass() const {
    return L"TreeNodeUI";
}

void* CTreeNodeUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"TreeNode") == 0) return this;
    return CListContainerElementUI::GetInterface(name);
}

// ---- Children

bool CTreeNodeUI::Add(CControlUI* control) {
    if (control == nullptr) return false;
    if (CTreeNodeUI* node = AsNode(control)) return AddChildNode(node);
    return CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index) {
    CTreeNodeUI* node = AsNode(control);
    if (!Adoptable(node)) return false;
    CTreeNodeUI* standing = GetChildNode(index);
    const int slot = standing != nullptr ? index : GetCountChild();
    CalLocation(node);
    if (m_pTreeView != nullptr) {
        // Before the rows of the child it goes before, else after this whole subtree, so
        // that the rows keep the children's order.
        const bool added = standing != nullptr ? m_pTreeView->AddAt(node, standing)
                                               : m_pTreeView->AddAt(node, SubtreeEnd()) >= 0;
        if (!added) {
            Unplace(node);
            return false;
        }
    }
    m_aTreeNodes.InsertAt(slot, node);
    return true;
}

bool CTreeNodeUI::Remove(CControlUI* control) {
    CTreeNodeUI* node = AsNode(control);
    if (node != nullptr) return RemoveAt(node);
    return CListContainerElementUI::Remove(control);
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* child) {
    if (!Adoptable(child)) return false;
    CalLocation(child);
    if (m_pTreeView != nullptr && m_pTreeView->AddAt(child, SubtreeEnd()) < 0) {
        Unplace(child);
        return false;
    }
    m_aTreeNodes.Add(child);
    return true;
}

bool CTreeNodeUI::RemoveAt(CTreeNodeUI* child) {
    if (child == nullptr || m_aTreeNodes.Find(child) < 0) return false;
    // The subtree goes from the front, each node after its own descendants.
    while (child->GetCountChild() > 0) {
        CTreeNodeUI* first = child->GetChildNode(0);
        if (!child->RemoveAt(first)) child->ForgetChild(first);
    }
    ForgetChild(child);
    child->m_pParentTreeNode = nullptr;
    // Outside a view (or a row of none) nothing else would ever destroy it.
    CTreeViewUI* view = child->m_pTreeView != nullptr ? child->m_pTreeView : m_pTreeView;
    if (view == nullptr || !view->Remove(child)) {
        child->m_pTreeView = nullptr;
        delete child;
    }
    return true;
}

void CTreeNodeUI::ForgetChild(CTreeNodeUI* child) {
    const int index = m_aTreeNodes.Find(child);
    if (index >= 0) m_aTreeNodes.Remove(index);
}

bool CTreeNodeUI::Adoptable(CTreeNodeUI* child) const {
    if (child == nullptr) return false;
    // A node is under one parent at a time (a parent named at construction only sets the
    // indent).
    const CTreeNodeUI* parent = child->m_pParentTreeNode;
    if (parent != nullptr && parent->m_aTreeNodes.Find(child) >= 0) return false;
    // A node under itself or under its own subtree would make the tree a loop.
    for (const CTreeNodeUI* node = this; node != nullptr; node = node->m_pParentTreeNode)
        if (node == child) return false;
    return true;
}

void CTreeNodeUI::CalLocation(CTreeNodeUI* child) {
    child->m_pParentTreeNode = this;
    child->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    child->m_pTreeView = m_pTreeView;
    child->Indent(m_pDottedLine->GetFixedWidth() + kTreeIndentStep);
}

void CTreeNodeUI::Indent(int width) {
    m_pDottedLine->SetVisible(true);
    m_pDottedLine->SetFixedWidth(width);
    // A subtree built before it was placed moves down with it.
    for (int i = 0; i < GetCountChild(); ++i)
        GetChildNode(i)->Indent(width + kTreeIndentStep);
}

void CTreeNodeUI::Unplace(CTreeNodeUI* child) {
    child->m_pParentTreeNode = nullptr;
    child->m_pTreeView = nullptr;
}

const CTreeNodeUI* CTreeNodeUI::LastDescendant() const {
    const CTreeNodeUI* node = this;
    while (node->GetCountChild() > 0)
        node = node->GetChildNode(node->GetCountChild() - 1);
    return node;
}

int CTreeNodeUI::SubtreeEnd() const {
    const int last = LastDescendant()->GetTreeIndex();
    return last >= 0 ? last + 1 : -1;
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const {
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(index));
}

int CTreeNodeUI::GetCountChild() const {
    return m_aTreeNodes.GetSize();
}

bool CTreeNodeUI::IsHasChild() const {
    return GetCountChild() > 0;
}

CStdPtrArray CTreeNodeUI::GetTreeNodes() const {
    return CStdPtrArray(m_aTreeNodes);
}

CTreeNodeUI* CTreeNodeUI::GetParentNode() const {
    return m_pParentTreeNode;
}

void CTreeNodeUI::SetParentNode(CTreeNodeUI* parent) {
    m_pParentTreeNode = parent;
}

CTreeViewUI* CTreeNodeUI::GetTreeView() const {
    return m_pTreeView;
}

void CTreeNodeUI::SetTreeView(CTreeViewUI* view) {
    m_pTreeView = view;
}

bool CTreeNodeUI::GetVisibleTag() const {
    return m_bVisibleTag;
}

void CTreeNodeUI::SetVisibleTag(bool visible) {
    m_bVisibleTag = visible;
}

// ---- Text and colours

CSkinString CTreeNodeUI::GetItemText() const {
    return m_pItemButton->GetText();
}

void CTreeNodeUI::SetItemText(const wchar_t* text) {
    m_pItemButton->SetText(text);
}

DWORD CTreeNodeUI::GetItemTextColor() const {
    return m_dwItemTextColor;
}

void CTreeNodeUI::SetItemTextColor(DWORD color) {
    m_dwItemTextColor = color;
    m_pItemButton->SetTextColor(color);
}

DWORD CTreeNodeUI::GetItemHotTextColor() const {
    return m_dwItemHotTextColor;
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color) {
    m_dwItemHotTextColor = color;
    Invalidate();
}

DWORD CTreeNodeUI::GetSelItemTextColor() const {
    return m_dwSelItemTextColor;
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color) {
    m_dwSelItemTextColor = color;
    Invalidate();
}

DWORD CTreeNodeUI::GetSelItemHotTextColor() const {
    return m_dwSelItemHotTextColor;
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color) {
    m_dwSelItemHotTextColor = color;
    Invalidate();
}

// ---- The row

CHorizontalLayoutUI* CTreeNodeUI::GetTreeNodeHoriznotal() const {
    return m_pHorizontal;
}

CCheckBoxUI* CTreeNodeUI::GetFolderButton() const {
    return m_pFolderButton;
}

CLabelUI* CTreeNodeUI::GetDottedLine() const {
    return m_pDottedLine;
}

CCheckBoxUI* CTreeNodeUI::GetCheckBox() const {
    return m_pCheckBox;
}

COptionUI* CTreeNodeUI::GetItemButton() const {
    return m_pItemButton;
}

void CTreeNodeUI::SetVisibleFolderBtn(bool visible) {
    m_pFolderButton->SetVisible(visible);
}

bool CTreeNodeUI::GetVisibleFolderBtn() const {
    return m_pFolderButton->IsVisible();
}

void CTreeNodeUI::SetVisibleCheckBtn(bool visible) {
    m_pCheckBox->SetVisible(visible);
}

bool CTreeNodeUI::GetVisibleCheckBtn() const {
    return m_pCheckBox->IsVisible();
}

bool CTreeNodeUI::IsCheckBoxSelected() const {
    return m_pCheckBox->IsSelected();
}

void CTreeNodeUI::CheckBoxSelected(bool selected) {
    m_pCheckBox->Selected(selected);
}

// ---- Place, selection and events

int CTreeNodeUI::GetTreeIndex() const {
    if (m_pTreeView == nullptr) return -1;
    // The list keeps each item's index equal to its place; search only when it does not.
    if (m_pTreeView->GetItemAt(m_iIndex) == this) return m_iIndex;
    for (int i = 0; i < m_pTreeView->GetCount(); ++i)
        if (m_pTreeView->GetItemAt(i) == this) return i;
    return -1;
}

int CTreeNodeUI::GetNodeIndex() const {
    if (m_pParentTreeNode == nullptr) return GetTreeIndex();
    return m_pParentTreeNode->m_aTreeNodes.Find(const_cast<CTreeNodeUI*>(this));
}

bool CTreeNodeUI::Select(bool select) {
    const bool result = CListContainerElementUI::Select(select);
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
    return result;
}

void CTreeNodeUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pOwner != nullptr)
            m_pOwner->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    CListContainerElementUI::DoEvent(event);
    switch (event.type) {
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && m_pManager != nullptr) {
            m_pManager->SendNotify(this, NotifyType::kItemDbClick);
            Invalidate();
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (!IsEnabled())
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected() && m_dwSelItemHotTextColor != 0)
            m_pItemButton->SetTextColor(m_dwSelItemHotTextColor);
        else
            m_pItemButton->SetTextColor(m_dwItemHotTextColor);
        break;
    case UIEVENT_MOUSELEAVE:
        if (!IsEnabled())
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected() && m_dwSelItemTextColor != 0)
            m_pItemButton->SetTextColor(m_dwSelItemTextColor);
        else if (!IsSelected())
            m_pItemButton->SetTextColor(m_dwItemTextColor);
        break;
    default:
        break;
    }
}

void CTreeNodeUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };

    if (is(L"text"))
        SetItemText(value);
    else if (is(L"horizattr"))
        m_pHorizontal->ApplyAttributeList(value);
    else if (is(L"dotlineattr"))
        m_pDottedLine->ApplyAttributeList(value);
    else if (is(L"folderattr"))
        m_pFolderButton->ApplyAttributeList(value);
    else if (is(L"checkboxattr"))
        m_pCheckBox->ApplyAttributeList(value);
    else if (is(L"itemattr"))
        m_pItemButton->ApplyAttributeList(value);
    else if (is(L"itemtextcolor"))
        SetItemTextColor(ParseColorValueHashOnly(value));
    else if (is(L"itemhottextcolor"))
        SetItemHotTextColor(ParseColorValueHashOnly(value));
    else if (is(L"selitemtextcolor"))
        SetSelItemTextColor(ParseColorValueHashOnly(value));
    else if (is(L"selitemhottextcolor"))
        SetSelItemHotTextColor(ParseColorValueHashOnly(value));
    else
        CListContainerElementUI::SetAttribute(name, value);
}

} // namespace SkinUI
