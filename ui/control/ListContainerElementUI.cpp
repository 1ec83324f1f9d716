#include "control/ListContainerElementUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "control/ListElementUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI() = default;

const wchar_t* CListContainerElementUI::GetClass() const {
    return L"ListContainerElementUI";
}

void* CListContainerElementUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (name != nullptr && wcscmp(name, L"ListContainerElement") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CListContainerElementUI::GetControlFlags() const {
    return UIFLAG_WANTRETURN;
}

int CListContainerElementUI::GetIndex() const {
    return m_iIndex;
}

void CListContainerElementUI::SetIndex(int index) {
    m_iIndex = index;
}

IListOwnerUI* CListContainerElementUI::GetOwner() {
    return m_pOwner;
}

void CListContainerElementUI::SetOwner(CControlUI* owner) {
    m_pOwner = ListItem::OwnerOf(owner);
}

bool CListContainerElementUI::IsSelected() const {
    return m_bSelected;
}

bool CListContainerElementUI::Select(bool select) {
    return ListItem::Select(*this, m_bSelected, m_pOwner, m_iIndex, select);
}

bool CListContainerElementUI::IsExpanded() const {
    return false;
}

bool CListContainerElementUI::Expand(bool) {
    return false;
}

void CListContainerElementUI::DrawItemText(HDC, const RECT&) {}

bool CListContainerElementUI::Activate() {
    if (!CContainerUI::Activate()) return false;
    SendNotify(NotifyType::kItemActivate);
    return true;
}

void CListContainerElementUI::SetVisible(bool visible) {
    CContainerUI::SetVisible(visible);
    ListItem::AfterVisibilityChange(*this, m_bSelected, m_pOwner, m_iIndex);
}

void CListContainerElementUI::SetEnabled(bool enabled) {
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState &= ~UISTATE_HOT;
}

UINT CListContainerElementUI::GetButtonState() const {
    return m_uButtonState;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    switch (event.type) {
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            Activate();
            Invalidate();
            return;
        }
        break;
    case UIEVENT_KEYDOWN:
        if (event.key == VK_RETURN && IsEnabled()) {
            Activate();
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled()) ListItem::Click(*this, *this, m_pOwner, m_iIndex, event);
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CContainerUI::DoEvent(event);
}

void CListContainerElementUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"selected") == 0)
        Select(ParseBoolValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& paintRect) {
    if (!::IntersectRect(&m_rcPaint, &paintRect, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, paintRect);
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
    TListInfoUI* info = ListInfo();
    if (info == nullptr) return;
    ListItem::DrawBk(*this, hDC, rcItem, *info, m_iIndex, m_bSelected, m_uButtonState, m_sBkImage);
}

void CListContainerElementUI::PaintBkImage(HDC) {}

TListInfoUI* CListContainerElementUI::ListInfo() const {
    return m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
}

} // namespace SkinUI
