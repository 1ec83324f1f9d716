#include "control/ListUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ScrollBarUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CListUI::CListUI() {
    m_pList = new CListBodyUI(this);
    m_pHeader = new CListHeaderUI;
    // The header sits above the body.
    CVerticalLayoutUI::Add(m_pHeader);
    CVerticalLayoutUI::Add(m_pList);
}

const wchar_t* CListUI::GetClass() const {
    return L"ListUI";
}

void* CListUI::GetInterface(const wchar_t* name) {
    if (name != nullptr) {
        if (wcscmp(name, L"List") == 0) return this;
        if (wcscmp(name, L"IList") == 0) return static_cast<IListUI*>(this);
        if (wcscmp(name, L"IListOwner") == 0)
            return static_cast<IListOwnerUI*>(static_cast<IListUI*>(this));
    }
    return CVerticalLayoutUI::GetInterface(name);
}

UINT CListUI::GetControlFlags() const {
    return UIFLAG_TABSTOP;
}

// ---- Items

namespace {

IListItemUI* ListItemOf(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))
                              : nullptr;
}

bool IsHeaderItem(CControlUI* control) {
    const wchar_t* name = control->GetClass();
    return name != nullptr && wcsstr(name, L"ListHeaderItemUI") != nullptr;
}

int ColumnsOf(const CListHeaderUI* header) {
    const int count = header != nullptr ? header->GetCount() : 0;
    return count < kMaxListColumns ? count : kMaxListColumns;
}

} // namespace

CControlUI* CListUI::GetItemAt(int index) const {
    return m_pList->GetItemAt(index);
}

int CListUI::GetItemIndex(CControlUI* control) const {
    if (control == nullptr) return -1;
    if (control->GetInterface(L"ListHeader") != nullptr)
        return CVerticalLayoutUI::GetItemIndex(control);
    if (IsHeaderItem(control)) return m_pHeader->GetItemIndex(control);
    return m_pList->GetItemIndex(control);
}

int CListUI::GetCount() const {
    return m_pList->GetCount();
}

void CListUI::Renumber(int from, int to) {
    const int count = m_pList->GetCount();
    if (to < 0 || to >= count) to = count - 1;
    for (int i = from < 0 ? 0 : from; i <= to; ++i)
        if (IListItemUI* item = ListItemOf(m_pList->GetItemAt(i))) item->SetIndex(i);
}

void CListUI::ShiftIndexes(int index, int by) {
    // Indexes at or after an insertion move down; after a removal (by -1) they move up,
    // and the removed place itself is handled by the caller.
    const auto shift = [index, by](int& value) {
        if (value < 0) return;
        if (by > 0 ? value >= index : value > index) value += by;
    };
    shift(m_iCurSel);
    shift(m_iAnchor);
    shift(m_iExpandedItem);
    if (m_iSelFirst >= 0) {
        shift(m_iSelFirst);
        shift(m_iSelLast);
    }
}

bool CListUI::SetItemIndex(CControlUI* control, int index) {
    const int from = m_pList->GetItemIndex(control);
    if (from < 0) return false;
    if (!m_pList->SetItemIndex(control, index)) return false;
    const int low = from < index ? from : index;
    const int high = from < index ? index : from;
    Renumber(low, high);
    // Every index between the two places moves one step towards the old place.
    const auto follow = [from, index](int& value) {
        if (value == from)
            value = index;
        else if (from < index && value > from && value <= index)
            --value;
        else if (index < from && value >= index && value < from)
            ++value;
    };
    follow(m_iCurSel);
    follow(m_iAnchor);
    follow(m_iExpandedItem);
    if (m_iSelFirst >= 0) {
        if (low < m_iSelFirst) m_iSelFirst = low;
        if (high > m_iSelLast) m_iSelLast = high;
    }
    return true;
}

bool CListUI::Add(CControlUI* control) {
    if (control == nullptr) return false;
    if (auto* header = static_cast<CListHeaderUI*>(control->GetInterface(L"ListHeader"))) {
        if (header != m_pHeader && m_pHeader->GetCount() == 0) {
            CVerticalLayoutUI::Remove(m_pHeader);
            m_pHeader = header;
        }
        m_ListInfo.columnCount = ColumnsOf(m_pHeader);
        return CVerticalLayoutUI::AddAt(control, 0);
    }
    if (IsHeaderItem(control)) {
        const bool added = m_pHeader->Add(control);
        m_ListInfo.columnCount = ColumnsOf(m_pHeader);
        return added;
    }
    if (IListItemUI* item = ListItemOf(control)) {
        item->SetOwner(this);
        item->SetIndex(GetCount());
    }
    return m_pList->Add(control);
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr) return false;
    if (control->GetInterface(L"ListHeader") != nullptr) return Add(control);
    if (IsHeaderItem(control)) {
        const bool added = m_pHeader->AddAt(control, index);
        m_ListInfo.columnCount = ColumnsOf(m_pHeader);
        return added;
    }
    if (!m_pList->AddAt(control, index)) return false;
    if (IListItemUI* item = ListItemOf(control)) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    Renumber(index + 1);
    ShiftIndexes(index, 1);
    return true;
}

bool CListUI::Remove(CControlUI* control) {
    if (control == nullptr) return false;
    if (control == m_pHeader) {
        // The list always has a header: an empty one takes the place of the one removed.
        if (!CVerticalLayoutUI::Remove(control)) return false;
        m_pHeader = new CListHeaderUI;
        CVerticalLayoutUI::AddAt(m_pHeader, 0);
        m_ListInfo.columnCount = 0;
        return true;
    }
    if (control->GetInterface(L"ListHeader") != nullptr) return CVerticalLayoutUI::Remove(control);
    if (IsHeaderItem(control)) {
        const bool removed = m_pHeader->Remove(control);
        m_ListInfo.columnCount = ColumnsOf(m_pHeader);
        return removed;
    }
    const int index = m_pList->GetItemIndex(control);
    if (index < 0) return false;
    if (!m_pList->RemoveAt(index)) return false;
    Renumber(index);

    const bool wasCurrent = index == m_iCurSel;
    if (m_iExpandedItem == index) m_iExpandedItem = -1;
    if (m_iAnchor == index) m_iAnchor = -1;
    if (wasCurrent) m_iCurSel = -1;
    ShiftIndexes(index, -1);
    if (m_iSelFirst >= 0 && m_iSelFirst > m_iSelLast) m_iSelFirst = m_iSelLast = -1;
    if (wasCurrent) {
        // The item that took the place (or the nearest one before it) becomes current.
        const int next = m_pList->FindSelectable(index, false);
        if (next >= 0) SelectItem(next);
    }
    return true;
}

bool CListUI::RemoveAt(int index) {
    CControlUI* item = m_pList->GetItemAt(index);
    return item != nullptr && Remove(item);
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    m_iAnchor = -1;
    m_iExpandedItem = -1;
    m_iSelFirst = m_iSelLast = -1;
    m_pList->RemoveAll();
}

// ---- Selection

int CListUI::GetCurSel() const {
    return m_iCurSel;
}

IListItemUI* CListUI::SelectableItem(int index) const {
    CControlUI* control = m_pList->GetItemAt(index);
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled()) return nullptr;
    return ListItemOf(control);
}

void CListUI::WidenSelectionHint(int index) {
    if (index < 0) return;
    if (m_iSelFirst < 0) {
        m_iSelFirst = m_iSelLast = index;
        return;
    }
    if (index < m_iSelFirst) m_iSelFirst = index;
    if (index > m_iSelLast) m_iSelLast = index;
}

void CListUI::DeselectAllBut(int keep) {
    if (m_iSelFirst >= 0) {
        const int last = m_iSelLast < GetCount() ? m_iSelLast : GetCount() - 1;
        for (int i = m_iSelFirst; i <= last; ++i) {
            if (i == keep) continue;
            IListItemUI* item = ListItemOf(m_pList->GetItemAt(i));
            if (item != nullptr && item->IsSelected()) item->Select(false);
        }
    }
    if (keep >= 0 && ListItemOf(m_pList->GetItemAt(keep)) != nullptr) {
        m_iSelFirst = m_iSelLast = keep;
    } else {
        m_iSelFirst = m_iSelLast = -1;
    }
}

void CListUI::FinishSelection(int index, int previous, bool takeFocus) {
    EnsureVisible(index);
    if (takeFocus) {
        if (CControlUI* item = m_pList->GetItemAt(index)) item->SetFocus();
    }
    if (m_pManager != nullptr && index != previous)
        m_pManager->SendNotify(this, NotifyType::kItemSelect, static_cast<WPARAM>(index),
                               static_cast<LPARAM>(previous));
}

bool CListUI::SelectItem(int index, bool takeFocus) {
    // An item's Select calls back here while this list is changing the selection itself.
    if (m_bSelecting && index == m_iCurSel) return true;
    const int previous = m_iCurSel;
    if (index == m_iCurSel && (index < 0 || GetSelectedCount() <= 1)) return true;

    // Deselect the current item (and any other selected one), leaving none current.
    if (IListItemUI* current = ListItemOf(m_pList->GetItemAt(m_iCurSel))) current->Select(false);
    m_iCurSel = -1;
    DeselectAllBut(-1);
    if (index < 0) return false;
    IListItemUI* item = SelectableItem(index);
    if (item == nullptr) return false;

    m_iCurSel = index;
    m_iAnchor = index;
    m_bSelecting = true;
    const bool selected = item->Select(true);
    m_bSelecting = false;
    if (!selected) {
        m_iCurSel = -1;
        return false;
    }
    WidenSelectionHint(index);
    EnsureVisible(index);
    if (takeFocus) {
        if (CControlUI* control = m_pList->GetItemAt(index)) control->SetFocus();
    }
    // Sent even when the same item is chosen again alone, out of a multiple selection.
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, NotifyType::kItemSelect, static_cast<WPARAM>(index),
                               static_cast<LPARAM>(previous));
    return true;
}

bool CListUI::IsMultiSelect() const {
    return m_bMultiSelect;
}

void CListUI::SetMultiSelect(bool multiSelect) {
    if (m_bMultiSelect == multiSelect) return;
    m_bMultiSelect = multiSelect;
    if (!multiSelect) DeselectAllBut(m_iCurSel);
}

bool CListUI::AddToSelection(int index, bool takeFocus) {
    if (!m_bMultiSelect) return SelectItem(index, takeFocus);
    IListItemUI* item = SelectableItem(index);
    if (item == nullptr) return false;
    const int previous = m_iCurSel;
    m_iCurSel = index;
    m_iAnchor = index;
    if (!item->IsSelected()) {
        m_bSelecting = true;
        const bool selected = item->Select(true);
        m_bSelecting = false;
        if (!selected) {
            m_iCurSel = previous;
            return false;
        }
    }
    WidenSelectionHint(index);
    FinishSelection(index, previous, takeFocus);
    return true;
}

bool CListUI::RemoveFromSelection(int index) {
    IListItemUI* item = ListItemOf(m_pList->GetItemAt(index));
    if (item == nullptr || !item->IsSelected()) return false;
    if (!item->Select(false)) return false;
    m_iAnchor = index;
    if (index != m_iCurSel) return true;
    const int previous = m_iCurSel;
    m_iCurSel = GetNextSelected(-1);
    if (m_iCurSel >= 0)
        FinishSelection(m_iCurSel, previous, false);
    else if (m_pManager != nullptr)
        m_pManager->SendNotify(this, NotifyType::kItemSelect, static_cast<WPARAM>(-1),
                               static_cast<LPARAM>(previous));
    return true;
}

bool CListUI::SelectRange(int anchor, int index, bool takeFocus) {
    if (!m_bMultiSelect) return SelectItem(index, takeFocus);
    const int count = GetCount();
    if (count == 0 || anchor < 0 || index < 0) return false;
    if (anchor >= count) anchor = count - 1;
    if (index >= count) index = count - 1;
    const int previous = m_iCurSel;
    const int low = anchor < index ? anchor : index;
    const int high = anchor < index ? index : anchor;

    // Everything outside the run goes; inside it, every selectable item is selected.
    for (int i = m_iSelFirst; m_iSelFirst >= 0 && i <= m_iSelLast && i < count; ++i) {
        if (i >= low && i <= high) continue;
        IListItemUI* item = ListItemOf(m_pList->GetItemAt(i));
        if (item != nullptr && item->IsSelected()) item->Select(false);
    }
    m_iSelFirst = m_iSelLast = -1;
    int current = -1;
    m_bSelecting = true;
    for (int i = low; i <= high; ++i) {
        IListItemUI* item = SelectableItem(i);
        if (item == nullptr) continue;
        // Each item's Select finds its index current and stops there.
        m_iCurSel = i;
        if (!item->IsSelected() && !item->Select(true)) continue;
        WidenSelectionHint(i);
        // The current item is the one at `index`, or the selectable one nearest it.
        if (current < 0 || index >= anchor) current = i;
    }
    m_bSelecting = false;
    m_iCurSel = current;
    m_iAnchor = anchor;
    if (current < 0) {
        if (m_pManager != nullptr && previous >= 0)
            m_pManager->SendNotify(this, NotifyType::kItemSelect, static_cast<WPARAM>(-1),
                                   static_cast<LPARAM>(previous));
        return false;
    }
    FinishSelection(current, previous, takeFocus);
    return true;
}

void CListUI::ClearSelection() {
    if (IListItemUI* current = ListItemOf(m_pList->GetItemAt(m_iCurSel))) current->Select(false);
    m_iCurSel = -1;
    DeselectAllBut(-1);
}

int CListUI::GetSelectedCount() const {
    int selected = 0;
    for (int i = GetNextSelected(-1); i >= 0; i = GetNextSelected(i))
        ++selected;
    return selected;
}

int CListUI::GetNextSelected(int after) const {
    if (m_iSelFirst < 0) return -1;
    const int count = GetCount();
    const int from = after + 1 > m_iSelFirst ? after + 1 : m_iSelFirst;
    for (int i = from; i <= m_iSelLast && i < count; ++i) {
        IListItemUI* item = ListItemOf(m_pList->GetItemAt(i));
        if (item != nullptr && item->IsSelected()) return i;
    }
    return -1;
}

bool CListUI::SelectByClick(int index, WORD keyState) {
    if (!m_bMultiSelect) return false;
    if ((keyState & UIKEYSTATE_SHIFT) != 0) {
        SelectRange(m_iAnchor >= 0 ? m_iAnchor : index, index);
    } else if ((keyState & UIKEYSTATE_CONTROL) != 0) {
        IListItemUI* item = ListItemOf(m_pList->GetItemAt(index));
        if (item != nullptr && item->IsSelected())
            RemoveFromSelection(index);
        else
            AddToSelection(index);
    } else {
        SelectItem(index);
    }
    return true;
}

bool CListUI::GetScrollSelect() const {
    return m_bScrollSelect;
}

void CListUI::SetScrollSelect(bool scrollSelect) {
    m_bScrollSelect = scrollSelect;
}

void CListUI::EnsureVisible(int index) {
    if (m_iCurSel < 0) return;
    const CControlUI* item = m_pList->GetItemAt(index);
    if (item == nullptr) return;
    RECT view = m_pList->GetPos();
    const RECT inset = m_pList->GetInset();
    view.left += inset.left;
    view.top += inset.top;
    view.right -= inset.right;
    view.bottom -= inset.bottom;
    if (const CScrollBarUI* bar = m_pList->GetHorizontalScrollBar()) {
        if (bar->IsVisible()) view.bottom -= bar->GetFixedHeight();
    }
    const RECT pos = m_pList->GetItemPos(index);
    if (pos.top >= view.top && pos.bottom < view.bottom) return;
    if (pos.top < view.top)
        Scroll(0, pos.top - view.top);
    else
        Scroll(0, pos.bottom - view.bottom);
}

void CListUI::Scroll(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    const SIZE pos = m_pList->GetScrollPos();
    m_pList->SetScrollPos(SIZE{pos.cx + dx, pos.cy + dy});
}

// ---- IListUI

CListHeaderUI* CListUI::GetHeader() const {
    return m_pHeader;
}

CContainerUI* CListUI::GetList() const {
    return m_pList;
}

IListCallbackUI* CListUI::GetTextCallback() const {
    return m_pCallback;
}

void CListUI::SetTextCallback(IListCallbackUI* callback) {
    m_pCallback = callback;
}

bool CListUI::ExpandItem(int index, bool expand) {
    if (!m_ListInfo.multiExpandable && m_iExpandedItem >= 0) {
        if (IListItemUI* item = ListItemOf(m_pList->GetItemAt(m_iExpandedItem)))
            item->Expand(false);
        m_iExpandedItem = -1;
    }
    bool done = true;
    if (expand) {
        CControlUI* control = m_pList->GetItemAt(index);
        IListItemUI* item =
            control != nullptr && control->IsVisible() ? ListItemOf(control) : nullptr;
        done = item != nullptr && item->Expand(true);
        if (done) m_iExpandedItem = index;
    }
    NeedUpdate();
    return done;
}

int CListUI::GetExpandedItem() const {
    return m_iExpandedItem;
}

TListInfoUI* CListUI::GetListInfo() {
    return &m_ListInfo;
}

bool CListUI::SortItems(ItemComareFunc compare, UINT_PTR data) {
    if (compare == nullptr) return false;
    m_iAnchor = -1;
    m_iExpandedItem = -1;
    const bool sorted = m_pList->SortItems(compare, data);
    m_iSelFirst = m_iSelLast = -1;
    return sorted;
}

// ---- Scrolling, forwarded to the body

int CListUI::GetChildPadding() const {
    return m_pList->GetChildPadding();
}

void CListUI::SetChildPadding(int padding) {
    m_pList->SetChildPadding(padding);
}

SIZE CListUI::GetScrollPos() const {
    return m_pList->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const {
    return m_pList->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE pos) {
    m_pList->SetScrollPos(pos);
}

void CListUI::LineUp() {
    m_pList->LineUp();
}

void CListUI::LineDown() {
    m_pList->LineDown();
}

void CListUI::PageUp() {
    m_pList->PageUp();
}

void CListUI::PageDown() {
    m_pList->PageDown();
}

void CListUI::HomeUp() {
    m_pList->HomeUp();
}

void CListUI::EndDown() {
    m_pList->EndDown();
}

void CListUI::LineLeft() {
    m_pList->LineLeft();
}

void CListUI::LineRight() {
    m_pList->LineRight();
}

void CListUI::PageLeft() {
    m_pList->PageLeft();
}

void CListUI::PageRight() {
    m_pList->PageRight();
}

void CListUI::HomeLeft() {
    m_pList->HomeLeft();
}

void CListUI::EndRight() {
    m_pList->EndRight();
}

void CListUI::EnableScrollBar(bool vertical, bool horizontal) {
    m_pList->EnableScrollBar(vertical, horizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const {
    return m_pList->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const {
    return m_pList->GetHorizontalScrollBar();
}

// ---- Shared item parameters

int CListUI::GetItemFont() const {
    return m_ListInfo.font;
}

void CListUI::SetItemFont(int index) {
    if (m_ListInfo.font == index) return;
    m_ListInfo.font = index;
    NeedUpdate();
}

UINT CListUI::GetItemTextStyle() const {
    return m_ListInfo.textStyle;
}

void CListUI::SetItemTextStyle(UINT style) {
    if (m_ListInfo.textStyle == style) return;
    m_ListInfo.textStyle = style;
    NeedUpdate();
}

RECT CListUI::GetItemTextPadding() const {
    return m_ListInfo.textPadding;
}

void CListUI::SetItemTextPadding(RECT padding) {
    if (::EqualRect(&m_ListInfo.textPadding, &padding)) return;
    m_ListInfo.textPadding = padding;
    NeedUpdate();
}

namespace {

// Stores a colour or an image of the shared parameters and repaints the list.
template <class T, class V> void StoreAndRepaint(CControlUI& list, T& field, V value) {
    field = value;
    list.Invalidate();
}

} // namespace

DWORD CListUI::GetItemTextColor() const {
    return m_ListInfo.textColor;
}

void CListUI::SetItemTextColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.textColor, color);
}

DWORD CListUI::GetItemBkColor() const {
    return m_ListInfo.bkColor;
}

void CListUI::SetItemBkColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.bkColor, color);
}

const CSkinString& CListUI::GetItemBkImage() const {
    return m_ListInfo.bkImage;
}

void CListUI::SetItemBkImage(const wchar_t* image) {
    StoreAndRepaint(*this, m_ListInfo.bkImage, image);
}

bool CListUI::IsAlternateBk() const {
    return m_ListInfo.alternateBk;
}

void CListUI::SetAlternateBk(bool alternate) {
    StoreAndRepaint(*this, m_ListInfo.alternateBk, alternate);
}

DWORD CListUI::GetSelectedItemTextColor() const {
    return m_ListInfo.selectedTextColor;
}

void CListUI::SetSelectedItemTextColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.selectedTextColor, color);
}

DWORD CListUI::GetSelectedItemBkColor() const {
    return m_ListInfo.selectedBkColor;
}

void CListUI::SetSelectedItemBkColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.selectedBkColor, color);
}

const CSkinString& CListUI::GetSelectedItemImage() const {
    return m_ListInfo.selectedImage;
}

void CListUI::SetSelectedItemImage(const wchar_t* image) {
    StoreAndRepaint(*this, m_ListInfo.selectedImage, image);
}

DWORD CListUI::GetHotItemTextColor() const {
    return m_ListInfo.hotTextColor;
}

void CListUI::SetHotItemTextColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.hotTextColor, color);
}

DWORD CListUI::GetHotItemBkColor() const {
    return m_ListInfo.hotBkColor;
}

void CListUI::SetHotItemBkColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.hotBkColor, color);
}

const CSkinString& CListUI::GetHotItemImage() const {
    return m_ListInfo.hotImage;
}

void CListUI::SetHotItemImage(const wchar_t* image) {
    StoreAndRepaint(*this, m_ListInfo.hotImage, image);
}

DWORD CListUI::GetDisabledItemTextColor() const {
    return m_ListInfo.disabledTextColor;
}

void CListUI::SetDisabledItemTextColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.disabledTextColor, color);
}

DWORD CListUI::GetDisabledItemBkColor() const {
    return m_ListInfo.disabledBkColor;
}

void CListUI::SetDisabledItemBkColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.disabledBkColor, color);
}

const CSkinString& CListUI::GetDisabledItemImage() const {
    return m_ListInfo.disabledImage;
}

void CListUI::SetDisabledItemImage(const wchar_t* image) {
    StoreAndRepaint(*this, m_ListInfo.disabledImage, image);
}

DWORD CListUI::GetItemLineColor() const {
    return m_ListInfo.lineColor;
}

void CListUI::SetItemLineColor(DWORD color) {
    StoreAndRepaint(*this, m_ListInfo.lineColor, color);
}

bool CListUI::IsItemShowHtml() const {
    return m_ListInfo.showHtml;
}

void CListUI::SetItemShowHtml(bool showHtml) {
    if (m_ListInfo.showHtml == showHtml) return;
    m_ListInfo.showHtml = showHtml;
    NeedUpdate();
}

bool CListUI::IsMultiExpanding() const {
    return m_ListInfo.multiExpandable;
}

void CListUI::SetMultiExpanding(bool multiExpandable) {
    m_ListInfo.multiExpandable = multiExpandable;
}

// ---- Layout, events, attributes

void CListUI::SetPos(RECT rect) {
    m_bPlacing = true;
    CVerticalLayoutUI::SetPos(rect);
    const int x = m_pList->GetScrollPos().cx;
    if (!m_pHeader->IsVisible()) {
        // A hidden header still decides the columns: it is measured as if shown, on a
        // row of no height.
        for (int i = 0; i < m_pHeader->GetCount(); ++i)
            m_pHeader->GetItemAt(i)->SetInternVisible(true);
        m_pHeader->SetPos(RECT{rect.left, 0, rect.right, 0});
    }
    m_bPlacing = false;
    UpdateColumns(x > 0 ? x : 0);
}

void CListUI::UpdateColumns(int shift) {
    m_ListInfo.columnCount = ColumnsOf(m_pHeader);
    const bool hidden = !m_pHeader->IsVisible();
    for (int i = 0; i < m_ListInfo.columnCount; ++i) {
        CControlUI* column = m_pHeader->GetItemAt(i);
        if (hidden) column->SetInternVisible(true);
        if (!column->IsVisible() || column->IsFloat()) continue;
        if (shift != 0) {
            RECT pos = column->GetPos();
            ::OffsetRect(&pos, -shift, 0);
            column->SetPos(pos);
        }
        m_ListInfo.columns[i] = column->GetPos();
    }
    if (hidden) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i)
            m_pHeader->GetItemAt(i)->SetInternVisible(false);
    }
}

int CListUI::NavigationTarget(const TEventUI& event, bool& handled) {
    handled = true;
    switch (event.key) {
    case VK_UP:
        return m_pList->FindSelectable(m_iCurSel - 1, false);
    case VK_DOWN:
        return m_pList->FindSelectable(m_iCurSel + 1, true);
    case VK_HOME:
        return m_pList->FindSelectable(0, false);
    case VK_END:
        return m_pList->FindSelectable(GetCount() - 1, true);
    default:
        handled = false;
        return -1;
    }
}

void CListUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CVerticalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        return;
    case UIEVENT_KEYDOWN: {
        if (event.key == VK_PRIOR) {
            PageUp();
            return;
        }
        if (event.key == VK_NEXT) {
            PageDown();
            return;
        }
        if (event.key == VK_RETURN) {
            if (CControlUI* item = m_pList->GetItemAt(m_iCurSel)) item->Activate();
            return;
        }
        bool handled = false;
        const int target = NavigationTarget(event, handled);
        if (!handled) break;
        // With several selectable items, Shift stretches the run from the anchor.
        if (m_bMultiSelect && (event.keyState & UIKEYSTATE_SHIFT) != 0 && target >= 0)
            SelectRange(m_iAnchor >= 0 ? m_iAnchor : target, target, true);
        else
            SelectItem(target, true);
        return;
    }
    case UIEVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == SB_LINEDOWN) {
            if (m_bScrollSelect)
                SelectItem(m_pList->FindSelectable(m_iCurSel + 1, true), true);
            else
                LineDown();
            return;
        }
        if (LOWORD(event.wParam) == SB_LINEUP) {
            if (m_bScrollSelect)
                SelectItem(m_pList->FindSelectable(m_iCurSel - 1, false), true);
            else
                LineUp();
            return;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    const auto has = [value](const wchar_t* word) { return wcsstr(value, word) != nullptr; };
    const auto color = [value] { return ParseColorValueHashOnly(value); };

    if (is(L"header")) {
        m_pHeader->SetVisible(wcscmp(value, L"hidden") != 0);
    } else if (is(L"headerbkimage")) {
        m_pHeader->SetBkImage(value);
    } else if (is(L"scrollselect")) {
        SetScrollSelect(ParseBoolValue(value));
    } else if (is(L"multiselect")) {
        SetMultiSelect(ParseBoolValue(value));
    } else if (is(L"multiexpanding")) {
        SetMultiExpanding(ParseBoolValue(value));
    } else if (is(L"itemfont")) {
        SetItemFont(ParseIntValue(value));
    } else if (is(L"itemalign")) {
        UINT style = m_ListInfo.textStyle;
        if (has(L"left")) style &= ~(DT_CENTER | DT_RIGHT);
        if (has(L"center")) style = (style & ~DT_RIGHT) | DT_CENTER;
        if (has(L"right")) style = (style & ~DT_CENTER) | DT_RIGHT;
        SetItemTextStyle(style);
    } else if (is(L"itemendellipsis")) {
        SetItemTextStyle(ParseBoolValue(value) ? m_ListInfo.textStyle | DT_END_ELLIPSIS
                                               : m_ListInfo.textStyle & ~DT_END_ELLIPSIS);
    } else if (is(L"itemtextpadding")) {
        SetItemTextPadding(ParseRectValue(value));
    } else if (is(L"itemtextcolor")) {
        SetItemTextColor(color());
    } else if (is(L"itembkcolor")) {
        SetItemBkColor(color());
    } else if (is(L"itemselectedtextcolor")) {
        SetSelectedItemTextColor(color());
    } else if (is(L"itemselectedbkcolor")) {
        SetSelectedItemBkColor(color());
    } else if (is(L"itemhottextcolor")) {
        SetHotItemTextColor(color());
    } else if (is(L"itemhotbkcolor")) {
        SetHotItemBkColor(color());
    } else if (is(L"itemdisabledtextcolor")) {
        SetDisabledItemTextColor(color());
    } else if (is(L"itemdisabledbkcolor")) {
        SetDisabledItemBkColor(color());
    } else if (is(L"itemlinecolor")) {
        SetItemLineColor(color());
    } else if (is(L"itembkimage")) {
        SetItemBkImage(value);
    } else if (is(L"itemselectedimage")) {
        SetSelectedItemImage(value);
    } else if (is(L"itemhotimage")) {
        SetHotItemImage(value);
    } else if (is(L"itemdisabledimage")) {
        SetDisabledItemImage(value);
    } else if (is(L"itemaltbk")) {
        SetAlternateBk(ParseBoolValue(value));
    } else if (is(L"itemshowhtml")) {
        SetItemShowHtml(ParseBoolValue(value));
    } else if (is(L"vscrollbar") || is(L"hscrollbar") || is(L"vscrollbarstyle") ||
               is(L"hscrollbarstyle") || is(L"childpadding")) {
        // The body scrolls, and its rows are what the padding separates.
        m_pList->SetAttribute(name, value);
    } else {
        CVerticalLayoutUI::SetAttribute(name, value);
    }
}

} // namespace SkinUI
