#include "control/ListElementUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

// ---- What every item does alike

namespace ListItem {

IListOwnerUI* OwnerOf(CControlUI* owner) {
    return owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner"))
                            : nullptr;
}

bool Select(CControlUI& item, bool& selected, IListOwnerUI* owner, int index, bool select) {
    if (!item.IsEnabled()) return false;
    if (selected == select) return true;
    selected = select;
    if (select && owner != nullptr) {
        owner->SelectItem(index, false);
        // An owner that refused the item (hidden, or not at that index) keeps no trace of
        // it: the item must not look selected while the owner has another or none.
        if (owner->GetCurSel() != index) {
            selected = false;
            item.Invalidate();
            return false;
        }
    }
    item.Invalidate();
    return true;
}

void AfterVisibilityChange(CControlUI& item, bool& selected, IListOwnerUI* owner, int index) {
    if (item.IsVisible() || !selected) return;
    selected = false;
    item.Invalidate();
    // Only the owner's current item takes the owner's selection with it.
    if (owner != nullptr && owner->GetCurSel() == index) owner->SelectItem(-1, false);
}

void Click(CControlUI& item, IListItemUI& listItem, IListOwnerUI* owner, int index,
           const TEventUI& event) {
    if (CPaintManagerUI* manager = item.GetManager())
        manager->SendNotify(&item, NotifyType::kItemClick);
    if (owner == nullptr || !owner->SelectByClick(index, event.keyState)) listItem.Select(true);
    item.Invalidate();
}

void DrawBk(CControlUI& item, HDC hDC, const RECT& rcItem, TListInfoUI& info, int index,
            bool selected, UINT buttonState, CSkinString& ownBkImage) {
    const bool odd = info.alternateBk && index % 2 != 0;
    const bool hot = (buttonState & UISTATE_HOT) != 0;
    const bool enabled = item.IsEnabled();

    DWORD color = odd ? 0 : info.bkColor;
    if (hot) color = info.hotBkColor;
    if (selected) color = info.selectedBkColor;
    if (!enabled) color = info.disabledBkColor;
    if (color != 0) CRenderEngine::DrawColor(hDC, rcItem, item.GetAdjustColor(color));

    // The first state image that applies and draws ends the images; one that cannot be
    // drawn is dropped so that it is not tried on every paint.
    CSkinString* stateImage = nullptr;
    if (!enabled)
        stateImage = &info.disabledImage;
    else if (selected)
        stateImage = &info.selectedImage;
    else if (hot)
        stateImage = &info.hotImage;
    bool drawn = false;
    if (stateImage != nullptr && !stateImage->IsEmpty()) {
        drawn = item.DrawImage(hDC, *stateImage);
        if (!drawn) stateImage->Empty();
    }
    if (!drawn) {
        if (!ownBkImage.IsEmpty()) {
            if (!odd && !item.DrawImage(hDC, ownBkImage)) ownBkImage.Empty();
        } else if (!info.bkImage.IsEmpty()) {
            if (!item.DrawImage(hDC, info.bkImage)) info.bkImage.Empty();
        }
    }

    if (info.lineColor != 0) {
        const RECT line{rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom - 1};
        CRenderEngine::DrawLine(hDC, line, 1, item.GetAdjustColor(info.lineColor));
    }
}

DWORD TextColor(const CControlUI& item, const TListInfoUI& info, bool selected, UINT buttonState) {
    DWORD color = info.textColor;
    if ((buttonState & UISTATE_HOT) != 0) color = info.hotTextColor;
    if (selected) color = info.selectedTextColor;
    if (!item.IsEnabled()) color = info.disabledTextColor;
    return color;
}

} // namespace ListItem

// ---- CListElementUI

CListElementUI::CListElementUI() = default;

const wchar_t* CListElementUI::GetClass() const {
    return L"ListElementUI";
}

void* CListElementUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (name != nullptr && wcscmp(name, L"ListElement") == 0) return this;
    return CControlUI::GetInterface(name);
}

UINT CListElementUI::GetControlFlags() const {
    return UIFLAG_WANTRETURN;
}

int CListElementUI::GetIndex() const {
    return m_iIndex;
}

void CListElementUI::SetIndex(int index) {
    m_iIndex = index;
}

IListOwnerUI* CListElementUI::GetOwner() {
    return m_pOwner;
}

void CListElementUI::SetOwner(CControlUI* owner) {
    m_pOwner = ListItem::OwnerOf(owner);
}

bool CListElementUI::IsSelected() const {
    return m_bSelected;
}

bool CListElementUI::Select(bool select) {
    return ListItem::Select(*this, m_bSelected, m_pOwner, m_iIndex, select);
}

bool CListElementUI::IsExpanded() const {
    return false;
}

bool CListElementUI::Expand(bool) {
    return false;
}

void CListElementUI::DrawItemText(HDC, const RECT&) {}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    SendNotify(NotifyType::kItemActivate);
    return true;
}

void CListElementUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    ListItem::AfterVisibilityChange(*this, m_bSelected, m_pOwner, m_iIndex);
}

void CListElementUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState &= ~UISTATE_HOT;
}

UINT CListElementUI::GetButtonState() const {
    return m_uButtonState;
}

void CListElementUI::DoEvent(TEventUI& event) {
    const bool activates =
        event.type == UIEVENT_DBLCLICK || (event.type == UIEVENT_KEYDOWN && event.key == VK_RETURN);
    if (activates && IsEnabled()) {
        Activate();
        Invalidate();
        return;
    }
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CListElementUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"selected") == 0)
        Select(ParseBoolValue(value));
    else
        CControlUI::SetAttribute(name, value);
}

void CListElementUI::DoPaint(HDC hDC, const RECT& paintRect) {
    if (!::IntersectRect(&m_rcPaint, &paintRect, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
    TListInfoUI* info = ListInfo();
    if (info == nullptr) return;
    ListItem::DrawBk(*this, hDC, rcItem, *info, m_iIndex, m_bSelected, m_uButtonState, m_sBkImage);
}

TListInfoUI* CListElementUI::ListInfo() const {
    return m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
}

} // namespace SkinUI
