// The scrolling part of a list, below its header: it stacks the items, makes them as wide
// as the header's columns, scrolls the columns along with the items and sorts the items.
//
// A list may hold a hundred thousand items. The body remembers where each item lies in
// its content, so that scrolling moves only the items that were or become visible and
// painting and hit testing visit only those; items scrolled far away keep an old position
// until they come back into view.
#pragma once

#include <windows.h>

#include <vector>

#include "control/VerticalLayoutUI.h"

namespace SkinUI {

class CListUI;

/// Orders two items (passed as their CControlUI pointers) with the caller's data: negative,
/// 0 or positive like a comparison.
using ItemComareFunc = int (*)(UINT_PTR first, UINT_PTR second, UINT_PTR data);

class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner);

    /// Stacks the visible items top to bottom, as wide as the owner's columns (or the
    /// widest item), and fits the scroll bars.
    void SetPos(RECT rect) override;
    /// Moves the items (and the owner's columns, when the horizontal position changed).
    void SetScrollPos(SIZE pos) override;
    /// The item list changed: the remembered positions no longer hold.
    bool SetItemIndex(CControlUI* control, int index) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    /// Sorts the items with compare(item, item, data), renumbers them, deselects them all
    /// and clears the owner's selection. False without a compare function.
    bool SortItems(ItemComareFunc compare, UINT_PTR data);
    /// Where an item lies now, even one that has not been moved there yet; empty for an
    /// index outside the items.
    RECT GetItemPos(int index) const;

protected:
    void ChildRange(const RECT& area, int& first, int& last) const override;

private:
    /// Whether the remembered positions describe the items as they are.
    bool PlacementHolds() const;
    /// The items that meet the rows top..bottom (window coordinates) at a vertical scroll
    /// position, as indexes first..last-1.
    void RowsMeeting(long long top, long long bottom, int scroll, int& first, int& last) const;

    CListUI* m_pOwner; ///< not owned
    ItemComareFunc m_pCompareFunc = nullptr;
    UINT_PTR m_compareData = 0;
    /// Each item's rectangle in the content, that is at scroll position 0, 0; hidden
    /// items have an empty one at their place in the stack.
    std::vector<RECT> m_placement;
    bool m_bPlacementValid = false;
    /// Tops and bottoms never go back up the stack, so rows can be found by bisection.
    bool m_bPlacementOrdered = false;
};

} // namespace SkinUI
