// What a list and its items know of each other: the drawing parameters the items share,
// the owner an item reports to (a list, or a combo box that shows the same items), the
// list's own questions and the optional source of cell texts.
#pragma once

#include <windows.h>

#include "core/SkinString.h"
#include "window/EventUI.h"

namespace SkinUI {

class CControlUI;
class CContainerUI;
class CListHeaderUI;

/// Most header columns a list tracks; further header items are not columns.
constexpr int kMaxListColumns = 32;

/// Drawing parameters shared by all items of one list (or combo box), owned by it and read
/// by the items through their owner.
struct TListInfoUI {
    int columnCount = 0;                ///< header columns in use, at most kMaxListColumns
    RECT columns[kMaxListColumns] = {}; ///< where each header column is now
    int font = -1;                      ///< the manager's font index; -1 the default font
    UINT textStyle = DT_VCENTER;        ///< DrawText flags; items add DT_SINGLELINE
    RECT textPadding{};                 ///< inset of the text in an item or a column
    DWORD textColor = 0xFF000000;
    DWORD bkColor = 0; ///< 0: no colour
    CSkinString bkImage;
    bool alternateBk = false; ///< odd items get neither background colour nor own image
    DWORD selectedTextColor = 0xFF000000;
    DWORD selectedBkColor = 0xFFC1E3FF;
    CSkinString selectedImage;
    DWORD hotTextColor = 0xFF000000;
    DWORD hotBkColor = 0xFFE9F5FF;
    CSkinString hotImage;
    DWORD disabledTextColor = 0xFFCCCCCC;
    DWORD disabledBkColor = 0xFFFFFFFF;
    CSkinString disabledImage;
    DWORD lineColor = 0;          ///< a one-pixel line under every item; 0: none
    bool showHtml = false;        ///< item texts are HTML-like formatted text
    bool multiExpandable = false; ///< several items may be expanded at once
};

/// The control an item belongs to, as the item sees it.
class IListOwnerUI {
public:
    virtual TListInfoUI* GetListInfo() = 0;
    /// The current item, or -1.
    virtual int GetCurSel() const = 0;
    /// Makes an item the (only) selected one; -1 clears the selection. False when the item
    /// cannot be selected.
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    /// Events the items leave to their owner (keys, the wheel).
    virtual void DoEvent(TEventUI& event) = 0;
    /// A click on an item, with the event's key state. An owner that selects several items
    /// extends or toggles its selection by Shift and Ctrl and answers true; false leaves
    /// the item to select itself.
    virtual bool SelectByClick(int /*index*/, WORD /*keyState*/) { return false; }

protected:
    ~IListOwnerUI() = default;
};

/// Supplies cell texts instead of the ones the items store.
class IListCallbackUI {
public:
    virtual const wchar_t* GetItemText(CControlUI* item, int itemIndex, int column) = 0;

protected:
    ~IListCallbackUI() = default;
};

/// A list as its items and the controls built on it see it.
class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    /// The body that holds the items.
    virtual CContainerUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* callback) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    /// The expanded item, or -1.
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

/// One entry of a list or combo box.
class IListItemUI {
public:
    /// Position in the owner's items; kept equal to it by the owner.
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    /// The owner is a control answering "IListOwner"; others (and null) leave none.
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    /// False when the item is disabled.
    virtual bool Select(bool select = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    /// Draws the item's text into a rectangle (a combo box draws its current item so).
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

} // namespace SkinUI
