#include "control/ComboUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "control/ComboWnd.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

IListItemUI* ListItemOf(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))
                              : nullptr;
}

} // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
    // An open list holds the items: they must be back here before they are destroyed
    // with the container, and the window must never reach this object again.
    if (CComboWnd* window = m_pWindow) {
        m_pWindow = nullptr;
        window->OwnerGone();
    }
}

const wchar_t* CComboUI::GetClass() const {
    return L"ComboUI";
}

void* CComboUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Combo") == 0) return this;
    if (name != nullptr && wcscmp(name, L"IListOwner") == 0)
        return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

CSkinString CComboUI::GetText() const {
    CControlUI* item = m_iCurSel >= 0 ? GetItemAt(m_iCurSel) : nullptr;
    return item != nullptr ? item->GetText() : CSkinString();
}

void CComboUI::SetEnabled(bool enabled) {
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

// ---- Items

void CComboUI::Renumber(int from) {
    for (int i = from < 0 ? 0 : from; i < GetCount(); ++i)
        if (IListItemUI* item = ListItemOf(GetItemAt(i))) item->SetIndex(i);
}

bool CComboUI::SetItemIndex(CControlUI* control, int index) {
    const int from = GetItemIndex(control);
    if (!CContainerUI::SetItemIndex(control, index)) return false;
    Renumber(from < index ? from : index);
    // The selection stays on the same item.
    if (m_iCurSel == from)
        m_iCurSel = index;
    else if (from < m_iCurSel && m_iCurSel <= index)
        --m_iCurSel;
    else if (index <= m_iCurSel && m_iCurSel < from)
        ++m_iCurSel;
    return true;
}

bool CComboUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (IListItemUI* item = ListItemOf(control)) item->SetOwner(this);
    Renumber(index);
    if (m_iCurSel >= index) ++m_iCurSel;
    return true;
}

bool CComboUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index);
}

bool CComboUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    if (m_pWindow != nullptr) m_pWindow->ForgetItem(control);
    // The selection lets go of the item first: the index that stays behind would name
    // another item, and the removed one may be destroyed at once.
    const bool wasSelected = index == m_iCurSel;
    if (wasSelected) m_iCurSel = -1;
    if (IListItemUI* item = ListItemOf(control)) item->SetOwner(nullptr);
    if (!CContainerUI::Remove(control)) return false;
    Renumber(index);
    if (wasSelected)
        SelectItem(FindSelectable(index, false));
    else if (m_iCurSel > index)
        --m_iCurSel;
    return true;
}

void CComboUI::RemoveAll() {
    m_iCurSel = -1;
    if (m_pWindow != nullptr) {
        for (int i = 0; i < GetCount(); ++i)
            m_pWindow->ForgetItem(GetItemAt(i));
    }
    CContainerUI::RemoveAll();
    Invalidate();
}

// ---- Selection

TListInfoUI* CComboUI::GetListInfo() {
    return &m_ListInfo;
}

int CComboUI::GetCurSel() const {
    return m_iCurSel;
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (m_pWindow != nullptr) m_pWindow->Close();
    if (index == m_iCurSel) return true;
    const int previous = m_iCurSel;
    if (m_iCurSel >= 0) {
        CControlUI* current = GetItemAt(m_iCurSel);
        m_iCurSel = -1;
        if (current == nullptr) return false;
        if (IListItemUI* item = ListItemOf(current)) item->Select(false);
        Invalidate();
    }
    const int count = GetCount();
    if (index < 0 || count == 0) return false;
    if (index >= count) index = count - 1;
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = ListItemOf(control);
    if (item == nullptr || !control->IsVisible() || !control->IsEnabled()) return false;
    m_iCurSel = index;
    if (m_pWindow != nullptr || takeFocus) control->SetFocus();
    item->Select(true);
    SendNotify(NotifyType::kItemSelect, static_cast<WPARAM>(index), static_cast<LPARAM>(previous));
    Invalidate();
    return true;
}

void CComboUI::SelectNearest(int index, bool forward) {
    SelectItem(FindSelectable(index, forward));
}

// ---- The pop-up

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != nullptr) return true;
    auto* window = new CComboWnd;
    m_pWindow = window;
    if (!window->Init(this)) {
        // A window that was never made has not deleted itself.
        m_pWindow = nullptr;
        delete window;
        return false;
    }
    SendNotify(NotifyType::kDropDown);
    Invalidate();
    return true;
}

CComboWnd* CComboUI::GetDropDownWindow() const {
    return m_pWindow;
}

bool CComboUI::ItemsInList() const {
    return m_pWindow != nullptr && m_pWindow->HoldsItems();
}

void CComboUI::TakeItemsBack() {
    CContainerUI::SetManager(m_pManager, m_pParent, false);
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetPos(RECT{});
}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    // While the list is open the items belong to its window; they come back on closing.
    if (ItemsInList()) {
        CControlUI::SetManager(manager, parent, init);
        return;
    }
    CContainerUI::SetManager(manager, parent, init);
}

// ---- Settings

RECT CComboUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CComboUI::SetTextPadding(RECT padding) {
    m_rcTextPadding = padding;
    Invalidate();
}

const CSkinString& CComboUI::GetDropBoxAttributeList() const {
    return m_sDropBoxAttributes;
}

void CComboUI::SetDropBoxAttributeList(const wchar_t* list) {
    m_sDropBoxAttributes = list;
}

SIZE CComboUI::GetDropBoxSize() const {
    return m_szDropBox;
}

void CComboUI::SetDropBoxSize(SIZE size) {
    m_szDropBox = size;
}

UINT CComboUI::GetButtonState() const {
    return m_uButtonState;
}

const CSkinString& CComboUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CComboUI::SetNormalImage(const wchar_t* image) {
    StoreImage(m_sNormalImage, image);
}

const CSkinString& CComboUI::GetHotImage() const {
    return m_sHotImage;
}

void CComboUI::SetHotImage(const wchar_t* image) {
    StoreImage(m_sHotImage, image);
}

const CSkinString& CComboUI::GetPushedImage() const {
    return m_sPushedImage;
}

void CComboUI::SetPushedImage(const wchar_t* image) {
    StoreImage(m_sPushedImage, image);
}

const CSkinString& CComboUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CComboUI::SetFocusedImage(const wchar_t* image) {
    StoreImage(m_sFocusedImage, image);
}

const CSkinString& CComboUI::GetDisabledImage() const {
    return m_sDisabledImage;
}

void CComboUI::SetDisabledImage(const wchar_t* image) {
    StoreImage(m_sDisabledImage, image);
}

// ---- Layout, events and attributes

void CComboUI::SetPos(RECT rect) {
    // The open list lays the items out itself.
    if (!ItemsInList()) {
        for (int i = 0; i < GetCount(); ++i)
            GetItemAt(i)->SetPos(RECT{});
    }
    CControlUI::SetPos(rect);
}

SIZE CComboUI::EstimateSize(SIZE) {
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    int fontHeight = 0;
    if (m_pManager != nullptr) {
        if (const TFontInfo* font = m_pManager->GetDefaultFontInfo())
            fontHeight = static_cast<int>(font->metrics.tmHeight);
    }
    return SIZE{m_cxyFixed.cx, fontHeight + 12};
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    // The items have no place in the closed combo, and an open list's items lie in its
    // own window's coordinates: a point here is never theirs.
    if ((flags & UIFIND_HITTEST) != 0) return CControlUI::FindControl(proc, data, flags);
    return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            Invalidate();
            return;
        }
        break;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_KEYDOWN:
        switch (event.key) {
        case VK_UP:
        case VK_PRIOR:
            SelectNearest(m_iCurSel - 1, false);
            return;
        case VK_DOWN:
        case VK_NEXT:
            SelectNearest(m_iCurSel + 1, true);
            return;
        case VK_END:
            SelectNearest(GetCount() - 1, true);
            return;
        case VK_HOME:
            SelectNearest(0, false);
            return;
        case VK_F4:
            Activate();
            return;
        default:
            break;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == SB_LINEDOWN)
            SelectNearest(m_iCurSel + 1, true);
        else
            SelectNearest(m_iCurSel - 1, false);
        return;
    case UIEVENT_MOUSEENTER:
        if (::PtInRect(&m_rcItem, event.mousePos)) {
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
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    const auto has = [value](const wchar_t* word) { return wcsstr(value, word) != nullptr; };
    const auto color = [value] { return ParseColorValueHashOnly(value); };
    TListInfoUI& info = m_ListInfo;

    if (is(L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (is(L"normalimage")) {
        SetNormalImage(value);
    } else if (is(L"hotimage")) {
        SetHotImage(value);
    } else if (is(L"pushedimage")) {
        SetPushedImage(value);
    } else if (is(L"focusedimage")) {
        SetFocusedImage(value);
    } else if (is(L"disabledimage")) {
        SetDisabledImage(value);
    } else if (is(L"dropbox")) {
        SetDropBoxAttributeList(value);
    } else if (is(L"dropboxsize")) {
        SetDropBoxSize(ParseSizeValue(value));
    } else if (is(L"itemfont")) {
        info.font = ParseIntValue(value);
    } else if (is(L"itemalign")) {
        if (has(L"left")) info.textStyle &= ~(DT_CENTER | DT_RIGHT);
        if (has(L"center")) info.textStyle = (info.textStyle & ~DT_RIGHT) | DT_CENTER;
        if (has(L"right")) info.textStyle = (info.textStyle & ~DT_CENTER) | DT_RIGHT;
    } else if (is(L"itemtextpadding")) {
        info.textPadding = ParseRectValue(value);
    } else if (is(L"itemtextcolor")) {
        info.textColor = color();
    } else if (is(L"itembkcolor")) {
        info.bkColor = color();
    } else if (is(L"itembkimage")) {
        info.bkImage = value;
    } else if (is(L"itemaltbk")) {
        info.alternateBk = ParseBoolValue(value);
    } else if (is(L"itemselectedtextcolor")) {
        info.selectedTextColor = color();
    } else if (is(L"itemselectedbkcolor")) {
        info.selectedBkColor = color();
    } else if (is(L"itemselectedimage")) {
        info.selectedImage = value;
    } else if (is(L"itemhottextcolor")) {
        info.hotTextColor = color();
    } else if (is(L"itemhotbkcolor")) {
        info.hotBkColor = color();
    } else if (is(L"itemhotimage")) {
        info.hotImage = value;
    } else if (is(L"itemdisabledtextcolor")) {
        info.disabledTextColor = color();
    } else if (is(L"itemdisabledbkcolor")) {
        info.disabledBkColor = color();
    } else if (is(L"itemdisabledimage")) {
        info.disabledImage = value;
    } else if (is(L"itemlinecolor")) {
        info.lineColor = color();
    } else if (is(L"itemshowhtml")) {
        info.showHtml = ParseBoolValue(value);
    } else {
        CContainerUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

// ---- Painting

void CComboUI::DoPaint(HDC hDC, const RECT& paintRect) {
    CControlUI::DoPaint(hDC, paintRect);
}

void CComboUI::RefreshStateBits() {
    if (IsFocused())
        m_uButtonState |= UISTATE_FOCUSED;
    else
        m_uButtonState &= ~UISTATE_FOCUSED;
    if (!IsEnabled())
        m_uButtonState |= UISTATE_DISABLED;
    else
        m_uButtonState &= ~UISTATE_DISABLED;
}

bool CComboUI::DrawStateImage(HDC hDC, CSkinString& image) {
    if (image.IsEmpty()) return false;
    if (DrawImage(hDC, image)) return true;
    image.Empty();
    return false;
}

void CComboUI::PaintStatusImage(HDC hDC) {
    RefreshStateBits();
    CSkinString* stateImage = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0)
        stateImage = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0)
        stateImage = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0)
        stateImage = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0)
        stateImage = &m_sFocusedImage;
    if (stateImage != nullptr && DrawStateImage(hDC, *stateImage)) return;
    DrawStateImage(hDC, m_sNormalImage);
}

void CComboUI::PaintText(HDC hDC) {
    const RECT text{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                    m_rcItem.right - m_rcTextPadding.right,
                    m_rcItem.bottom - m_rcTextPadding.bottom};
    PaintSelectedText(hDC, text);
}

void CComboUI::PaintSelectedText(HDC hDC, const RECT& textRect) {
    // Only list items can be selected, so the selected item always draws its own text.
    if (m_iCurSel < 0) return;
    if (IListItemUI* item = ListItemOf(GetItemAt(m_iCurSel))) item->DrawItemText(hDC, textRect);
}

} // namespace SkinUI
