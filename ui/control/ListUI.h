// A list: a header of columns above a scrolling body of selectable items. Items report to
// the list through IListOwnerUI and read its shared drawing parameters (TListInfoUI); the
// list keeps their indexes equal to their places, the current selection, the keyboard and
// wheel navigation, and the columns that multi-column items draw into.
//
// A list may let several items be selected at once ("multiselect"): Ctrl with a press
// toggles an item, Shift with a press or a navigation key selects the run from the anchor
// (the item last chosen alone or toggled) to the new item. The current item is then the
// one last chosen; "itemselect" reports each change of it.
#pragma once

#include <windows.h>

#include "control/ListBodyUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListInterfaces.h"
#include "control/VerticalLayoutUI.h"

namespace SkinUI {

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    /// An empty header above an empty body.
    CListUI();

    /// "ListUI".
    const wchar_t* GetClass() const override;
    /// This for "List"; the IListUI part for "IList" and "IListOwner"; else as the layout.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_TABSTOP.
    UINT GetControlFlags() const override;

    // ---- Items (header and header items go to the header)

    /// The item at an index of the body, or null.
    CControlUI* GetItemAt(int index) const override;
    /// An item's index in the body; the header's and a header item's in their containers.
    int GetItemIndex(CControlUI* control) const override;
    /// Moves an item in the body, renumbering the items between; the selection stays on
    /// the same items.
    bool SetItemIndex(CControlUI* control, int index) override;
    /// Items in the body.
    int GetCount() const override;
    /// A header replaces an empty header; a header item joins the header; anything else is
    /// appended to the body, a list item with this list as owner and its index.
    bool Add(CControlUI* control) override;
    /// As Add, at an index of the header or of the body; later items are renumbered.
    bool AddAt(CControlUI* control, int index) override;
    /// Removing the selected item selects the selectable item that takes its place, or the
    /// nearest one before it. Removing the header leaves an empty one in its place.
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // ---- Selection

    int GetCurSel() const override;
    /// Makes the item the only selected one: it must exist, be visible and enabled.
    /// Scrolls it into view, focuses it when asked and sends "itemselect" (wParam new
    /// index, lParam old). -1 (or any refused index) leaves nothing selected.
    bool SelectItem(int index, bool takeFocus = false) override;
    /// With multiple selection: the press's Shift and Ctrl decide what it selects.
    bool SelectByClick(int index, WORD keyState) override;
    /// Whether several items may be selected at once.
    bool IsMultiSelect() const;
    /// Turning it off keeps only the current item selected.
    void SetMultiSelect(bool multiSelect);
    /// Adds a selectable item to the selection and makes it current (with a single
    /// selection, as SelectItem). False when the item cannot be selected.
    bool AddToSelection(int index, bool takeFocus = false);
    /// Takes an item out of the selection; when it was current, the first selected item
    /// left (or none) becomes current. False when it was not selected.
    bool RemoveFromSelection(int index);
    /// Selects the selectable items from `anchor` to `index` (either way round) and nothing
    /// else, `index` becoming current and `anchor` the start of the next Shift run. With a
    /// single selection, as SelectItem(index). False when no item of the run is selectable.
    bool SelectRange(int anchor, int index, bool takeFocus = false);
    /// Deselects every item.
    void ClearSelection();
    int GetSelectedCount() const;
    /// The first selected item after an index (-1 for the first of all), or -1.
    int GetNextSelected(int after = -1) const;
    /// The wheel moves the selection instead of scrolling.
    bool GetScrollSelect() const;
    void SetScrollSelect(bool scrollSelect);
    /// Scrolls the body so that the item is inside it (while an item is selected).
    void EnsureVisible(int index);
    /// Scrolls the body by a distance.
    void Scroll(int dx, int dy);

    // ---- IListUI

    CListHeaderUI* GetHeader() const override;
    /// The body.
    CContainerUI* GetList() const override;
    IListCallbackUI* GetTextCallback() const override;
    void SetTextCallback(IListCallbackUI* callback) override;
    /// The items of this family never expand; other item classes may.
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override;
    TListInfoUI* GetListInfo() override;

    /// Sorts the body's items (see CListBodyUI::SortItems).
    bool SortItems(ItemComareFunc compare, UINT_PTR data);

    // ---- Scrolling, forwarded to the body

    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool vertical = true, bool horizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    // ---- The items' shared parameters. Font, style, padding and HTML mode lay the list
    // out again; the others repaint it.

    int GetItemFont() const;
    void SetItemFont(int index);
    UINT GetItemTextStyle() const;
    void SetItemTextStyle(UINT style);
    RECT GetItemTextPadding() const;
    void SetItemTextPadding(RECT padding);
    DWORD GetItemTextColor() const;
    void SetItemTextColor(DWORD color);
    DWORD GetItemBkColor() const;
    void SetItemBkColor(DWORD color);
    const CSkinString& GetItemBkImage() const;
    void SetItemBkImage(const wchar_t* image);
    bool IsAlternateBk() const;
    void SetAlternateBk(bool alternate);
    DWORD GetSelectedItemTextColor() const;
    void SetSelectedItemTextColor(DWORD color);
    DWORD GetSelectedItemBkColor() const;
    void SetSelectedItemBkColor(DWORD color);
    const CSkinString& GetSelectedItemImage() const;
    void SetSelectedItemImage(const wchar_t* image);
    DWORD GetHotItemTextColor() const;
    void SetHotItemTextColor(DWORD color);
    DWORD GetHotItemBkColor() const;
    void SetHotItemBkColor(DWORD color);
    const CSkinString& GetHotItemImage() const;
    void SetHotItemImage(const wchar_t* image);
    DWORD GetDisabledItemTextColor() const;
    void SetDisabledItemTextColor(DWORD color);
    DWORD GetDisabledItemBkColor() const;
    void SetDisabledItemBkColor(DWORD color);
    const CSkinString& GetDisabledItemImage() const;
    void SetDisabledItemImage(const wchar_t* image);
    DWORD GetItemLineColor() const;
    void SetItemLineColor(DWORD color);
    bool IsItemShowHtml() const;
    void SetItemShowHtml(bool showHtml = true);
    bool IsMultiExpanding() const;
    void SetMultiExpanding(bool multiExpandable);

    /// Lays out the header and the body, then records the columns.
    void SetPos(RECT rect) override;
    /// Keys and the wheel move the selection or scroll; focus changes set the flag.
    void DoEvent(TEventUI& event) override;
    /// "header", "headerbkimage", "scrollselect", "multiselect", "multiexpanding",
    /// "itemfont", "itemalign", "itemendellipsis", "itemtextpadding", the item colours and
    /// images, "itemaltbk", "itemshowhtml"; the body's scroll bars and child padding;
    /// others as the vertical layout.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    friend class CListBodyUI;
    friend class CListHeaderUI;

    /// Column count from the header; each visible column's header item moved left by
    /// `shift` and its place recorded as the column. A hidden header is measured as if
    /// shown.
    void UpdateColumns(int shift);
    /// The item's list-item part when it is visible, enabled and a list item.
    IListItemUI* SelectableItem(int index) const;
    /// Deselects every selected item except `keep`.
    void DeselectAllBut(int keep);
    /// Records that an item may be selected.
    void WidenSelectionHint(int index);
    /// Makes `index` the current item after a change of the selection: scrolls to it,
    /// focuses it when asked and sends "itemselect" when it changed.
    void FinishSelection(int index, int previous, bool takeFocus);
    /// Index bookkeeping after an item was inserted at or removed from `index`.
    void ShiftIndexes(int index, int by);
    /// Sets each item's index from `from` to the end (or `to`) to its place.
    void Renumber(int from, int to = -1);
    /// The selection target of a navigation key, or `handled` false for other keys.
    int NavigationTarget(const TEventUI& event, bool& handled);

    bool m_bScrollSelect = false;
    bool m_bMultiSelect = false;
    bool m_bSelecting = false; ///< an item's Select is calling back during our own change
    bool m_bPlacing = false;   ///< SetPos is running: the header is laid out as part of it
    int m_iCurSel = -1;
    int m_iAnchor = -1;
    /// Every selected item lies in m_iSelFirst..m_iSelLast (none when m_iSelFirst < 0).
    int m_iSelFirst = -1;
    int m_iSelLast = -1;
    int m_iExpandedItem = -1;
    IListCallbackUI* m_pCallback = nullptr; ///< not owned
    CListBodyUI* m_pList = nullptr;         ///< owned as a child
    CListHeaderUI* m_pHeader = nullptr;     ///< owned as a child
    TListInfoUI m_ListInfo;
};

} // namespace SkinUI
