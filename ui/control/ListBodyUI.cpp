#include "control/ListBodyUI.h"

#include <algorithm>

#include "control/Axis.h"
#include "control/LayoutMath.h"
#include "control/ListUI.h"
#include "control/ScrollBarUI.h"

namespace SkinUI {

CListBodyUI::CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

// ---- Layout

void CListBodyUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    const RECT rc = ClientRect();
    const int count = m_items.GetSize();
    m_bPlacementValid = false;
    if (m_placement.size() != static_cast<size_t>(count)) {
        // Grows to fit, or shrinks back after a list was emptied.
        std::vector<RECT> fresh(static_cast<size_t>(count));
        m_placement.swap(fresh);
    }

    // The rows are as wide as the widest of them (or the columns), and at least as wide
    // as the body. The horizontal bar's range is left out: it is the last layout's, and
    // would keep the rows as wide as they were before the body grew.
    const long long width = kHorizontal.Extent(rc);
    const long long height = kVertical.Extent(rc);
    const SIZE available{ClampToInt(width), ClampToInt(height)};

    // Measure: the rows with a height, and how many share what they leave. The heights
    // wait in the placement for the second pass (0 for rows that share).
    int adjustables = 0;
    int rows = 0;
    long long fixed = 0;
    long long needed = 0;
    for (int i = 0; i < count; ++i) {
        CControlUI* item = GetItemAt(i);
        RECT& place = m_placement[i];
        place = RECT{};
        if (!item->IsVisible() || item->IsFloat()) continue;
        const SIZE size = item->EstimateSize(available);
        long long cy = size.cy;
        if (cy == 0)
            ++adjustables;
        else
            cy = kVertical.Clamp(cy, *item);
        place.bottom = ClampToInt(cy);
        const RECT padding = item->GetPadding();
        fixed += cy + padding.top + padding.bottom;
        ++rows;
        const long long cx = kHorizontal.Clamp(size.cx < 0 ? 0 : size.cx, *item);
        if (cx > needed) needed = cx;
    }
    if (rows > 0) fixed += static_cast<long long>(rows - 1) * m_iChildPadding;

    // With columns, every row is exactly as wide as the columns together.
    CListHeaderUI* header = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (header != nullptr && header->GetCount() > 0) {
        const SIZE columns = header->EstimateSize(available);
        needed = columns.cx < 0 ? 0 : columns.cx;
    }

    long long expand = 0;
    if (adjustables > 0) {
        expand = (height - fixed) / adjustables;
        if (expand < 0) expand = 0;
    }

    // Place, top to bottom; the last row that shares takes what rounding left.
    const int scrollX = ScrollPos(kHorizontal);
    const int scrollY = ScrollPos(kVertical);
    long long y = static_cast<long long>(rc.top) - scrollY;
    const long long x = static_cast<long long>(rc.left) - scrollX;
    long long total = 0;
    int adjustable = 0;
    bool ordered = true;
    LONG lastTop = LONG_MIN;
    LONG lastBottom = LONG_MIN;
    for (int i = 0; i < count; ++i) {
        CControlUI* item = GetItemAt(i);
        RECT& place = m_placement[i];
        if (!item->IsVisible()) {
            // An empty row where the item would be keeps the stack in order.
            const int at = ClampToInt(y + scrollY);
            place = RECT{at, at, at, at};
            if (at < lastTop || at < lastBottom) ordered = false;
            lastTop = lastBottom = at;
            continue;
        }
        if (item->IsFloat()) {
            SetFloatPos(i);
            ordered = false; // floating items lie anywhere: visit them all
            continue;
        }
        const RECT padding = item->GetPadding();
        long long cy = place.bottom;
        if (cy == 0) {
            ++adjustable;
            cy = adjustable == adjustables ? height - fixed - expand * (adjustables - 1) : expand;
            if (cy < 0) cy = 0;
            cy = kVertical.Clamp(cy, *item);
        }
        long long cx = std::max(needed, width - padding.left - padding.right);
        cx = kHorizontal.Clamp(cx, *item);
        const long long left = x + padding.left;
        const long long top = y + padding.top;
        const RECT pos = MakeRect(left, top, left + cx, top + cy + padding.bottom);
        item->SetPos(pos);
        place = MakeRect(static_cast<long long>(pos.left) + scrollX,
                         static_cast<long long>(pos.top) + scrollY,
                         static_cast<long long>(pos.right) + scrollX,
                         static_cast<long long>(pos.bottom) + scrollY);
        if (place.top < lastTop || place.bottom < lastBottom) ordered = false;
        lastTop = place.top;
        lastBottom = place.bottom;
        const long long step = cy + padding.top + padding.bottom;
        y += step + m_iChildPadding;
        total += step;
    }
    if (rows > 0) total += static_cast<long long>(rows - 1) * m_iChildPadding;
    m_bPlacementValid = true;
    m_bPlacementOrdered = ordered;
    m_bUpdateNeeded = false;

    // A width of at least 1 lets the horizontal bar go when nothing needs it.
    ProcessScrollBar(rc, ClampToInt(std::max<long long>(needed, 1)), ClampToInt(total));
}

bool CListBodyUI::PlacementHolds() const {
    return m_bPlacementValid && !m_bUpdateNeeded &&
           m_placement.size() == static_cast<size_t>(m_items.GetSize());
}

void CListBodyUI::RowsMeeting(long long top, long long bottom, int scroll, int& first,
                              int& last) const {
    // In content coordinates: the first row reaching below the top, the first starting
    // at or below the bottom.
    const long long from = top + scroll;
    const long long to = bottom + scroll;
    const auto begin = m_placement.begin();
    const auto end = m_placement.end();
    const auto firstRow = std::partition_point(
        begin, end, [from](const RECT& place) { return place.bottom <= from; });
    const auto lastRow =
        std::partition_point(firstRow, end, [to](const RECT& place) { return place.top < to; });
    first = static_cast<int>(firstRow - begin);
    last = static_cast<int>(lastRow - begin);
}

void CListBodyUI::ChildRange(const RECT& area, int& first, int& last) const {
    if (!PlacementHolds() || !m_bPlacementOrdered) {
        CVerticalLayoutUI::ChildRange(area, first, last);
        return;
    }
    RowsMeeting(area.top, area.bottom, ScrollPos(kVertical), first, last);
}

RECT CListBodyUI::GetItemPos(int index) const {
    const CControlUI* item = GetItemAt(index);
    if (item == nullptr) return RECT{};
    if (!PlacementHolds()) return item->GetPos();
    RECT pos = m_placement[index];
    ::OffsetRect(&pos, -ScrollPos(kHorizontal), -ScrollPos(kVertical));
    return pos;
}

// ---- Scrolling

void CListBodyUI::SetScrollPos(SIZE pos) {
    const SIZE old = GetScrollPos();
    for (const Axis& along : {kVertical, kHorizontal}) {
        if (CScrollBarUI* bar = ShownScrollBar(along)) bar->SetScrollPos(along.Of(pos));
    }
    const SIZE now = GetScrollPos();
    const int dx = now.cx - old.cx;
    const int dy = now.cy - old.cy;
    if (dx == 0 && dy == 0) return;

    if (PlacementHolds() && m_bPlacementOrdered) {
        // Only the rows that were in view and the ones that come into view move; the
        // others are out of sight before and after, wherever their old places say.
        const RECT client = ClientRect();
        int oldFirst = 0;
        int oldLast = 0;
        int newFirst = 0;
        int newLast = 0;
        RowsMeeting(client.top, client.bottom, old.cy, oldFirst, oldLast);
        RowsMeeting(client.top, client.bottom, now.cy, newFirst, newLast);
        const auto place = [this, now](int i) {
            CControlUI* item = GetItemAt(i);
            if (!item->IsVisible()) return;
            RECT pos = m_placement[i];
            ::OffsetRect(&pos, -now.cx, -now.cy);
            item->SetPos(pos);
        };
        for (int i = oldFirst; i < oldLast; ++i)
            place(i);
        for (int i = newFirst; i < newLast; ++i)
            if (i < oldFirst || i >= oldLast) place(i);
    } else {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* item = GetItemAt(i);
            if (!item->IsVisible() || item->IsFloat()) continue;
            RECT rc = item->GetPos();
            ::OffsetRect(&rc, -dx, -dy);
            item->SetPos(rc);
        }
    }
    Invalidate();

    if (dx != 0 && m_pOwner != nullptr) m_pOwner->UpdateColumns(dx);
}

// ---- Items

bool CListBodyUI::SetItemIndex(CControlUI* control, int index) {
    m_bPlacementValid = false;
    return CVerticalLayoutUI::SetItemIndex(control, index);
}

bool CListBodyUI::Add(CControlUI* control) {
    m_bPlacementValid = false;
    return CVerticalLayoutUI::Add(control);
}

bool CListBodyUI::AddAt(CControlUI* control, int index) {
    m_bPlacementValid = false;
    return CVerticalLayoutUI::AddAt(control, index);
}

bool CListBodyUI::Remove(CControlUI* control) {
    m_bPlacementValid = false;
    return CVerticalLayoutUI::Remove(control);
}

bool CListBodyUI::RemoveAt(int index) {
    m_bPlacementValid = false;
    return CVerticalLayoutUI::RemoveAt(index);
}

void CListBodyUI::RemoveAll() {
    m_bPlacementValid = false;
    CVerticalLayoutUI::RemoveAll();
}

bool CListBodyUI::SortItems(ItemComareFunc compare, UINT_PTR data) {
    if (compare == nullptr) return false;
    m_pCompareFunc = compare;
    m_compareData = data;
    const int count = m_items.GetSize();
    if (count > 1) {
        void** items = m_items.GetData();
        // A stable merge sort: a comparison that is not a consistent order (it comes from
        // the application) shuffles the items but never reads past them.
        std::stable_sort(items, items + count, [this](void* a, void* b) {
            return m_pCompareFunc(reinterpret_cast<UINT_PTR>(a), reinterpret_cast<UINT_PTR>(b),
                                  m_compareData) < 0;
        });
    }
    m_bPlacementValid = false;
    for (int i = 0; i < count; ++i) {
        auto* item = static_cast<IListItemUI*>(GetItemAt(i)->GetInterface(L"ListItem"));
        if (item == nullptr) continue;
        item->SetIndex(i);
        item->Select(false);
    }
    if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
    if (m_pManager != nullptr) {
        NeedUpdate();
        Invalidate();
    }
    return true;
}

} // namespace SkinUI
