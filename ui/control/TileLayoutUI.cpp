#include "control/TileLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/Axis.h"

namespace SkinUI {

namespace {
/// Height offered to children measured for a row: as much as they like.
constexpr int kUnboundedHeight = 9999;

bool TakesPart(const CControlUI* child) {
    return child->IsVisible() && !child->IsFloat();
}
} // namespace

CTileLayoutUI::CTileLayoutUI() = default;

const wchar_t* CTileLayoutUI::GetClass() const {
    return L"TileLayoutUI";
}

void* CTileLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"TileLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

SIZE CTileLayoutUI::GetItemSize() const {
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE size) {
    if (m_szItem.cx == size.cx && m_szItem.cy == size.cy) return;
    m_szItem = size;
    NeedUpdate();
}

int CTileLayoutUI::GetColumns() const {
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int columns) {
    if (columns <= 0) return;
    m_nColumns = columns;
    NeedUpdate();
}

long long CTileLayoutUI::MeasureRow(int first, int columns, long long columnWidth) const {
    const long long halfPadding = m_iChildPadding / 2;
    long long rowHeight = 0;
    int measured = 0;
    for (int i = first; i < m_items.GetSize() && measured < columns; ++i) {
        CControlUI* child = GetItemAt(i);
        if (!TakesPart(child)) continue;
        const RECT padding = child->GetPadding();
        const bool edge = measured == 0 || measured == columns - 1;
        long long width = columnWidth - padding.left - padding.right -
                          (edge ? halfPadding : static_cast<long long>(m_iChildPadding));
        width = kHorizontal.Clamp(width, *child);
        const SIZE size = child->EstimateSize(SIZE{ClampToInt(width), kUnboundedHeight});
        const long long cy = kVertical.Clamp(size.cy, *child);
        const long long height = cy + padding.top + padding.bottom;
        if (height > rowHeight) rowHeight = height;
        ++measured;
    }
    return rowHeight;
}

void CTileLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    // The bars go beside the rectangle handed on: it must be the one without them.
    const RECT rc = ClientRect();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }
    const long long width = static_cast<long long>(rc.right) - rc.left;

    long long columns = m_nColumns;
    if (m_szItem.cx > 0) columns = width / m_szItem.cx;
    if (columns <= 0) columns = 1;
    const long long columnWidth = (width + ScrollRange(kHorizontal)) / columns;

    const int verticalPos = ScrollPos(kVertical);
    const long long rowStartX = static_cast<long long>(rc.left) - ScrollPos(kHorizontal);
    long long originX = rowStartX;
    long long originY = static_cast<long long>(rc.top) - verticalPos;
    const long long halfPadding = m_iChildPadding / 2;
    long long rowHeight = 0;
    long long needed = 0;
    long long index = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const bool firstInRow = index % columns == 0;
        const bool lastInRow = (index + 1) % columns == 0;
        if (firstInRow) rowHeight = MeasureRow(i, ClampToInt(columns), columnWidth);

        const RECT padding = child->GetPadding();
        long long left = originX + padding.left + halfPadding;
        long long right = originX + columnWidth - padding.right - halfPadding;
        if (firstInRow) left -= halfPadding;
        if (lastInRow) right += halfPadding;
        const long long top = originY + padding.top;
        const long long bottom = originY + rowHeight;

        const long long tileWidth = right - left;
        const long long tileHeight = bottom - top;
        const SIZE estimate =
            child->EstimateSize(SIZE{ClampToInt(tileWidth), ClampToInt(tileHeight)});
        long long cx = estimate.cx != 0 ? estimate.cx : tileWidth;
        long long cy = estimate.cy != 0 ? estimate.cy : tileHeight;
        cx = kHorizontal.Clamp(cx, *child);
        cy = kVertical.Clamp(cy, *child);
        const long long childLeft = (left + right - cx) / 2;
        const long long childTop = (top + bottom - cy) / 2;
        child->SetPos(MakeRect(childLeft, childTop, childLeft + cx, childTop + cy));

        ++index;
        if (index % columns == 0) {
            originX = rowStartX;
            originY += rowHeight + m_iChildPadding;
            rowHeight = 0;
        } else {
            originX += columnWidth;
        }
        needed = bottom - rc.top + verticalPos;
    }
    ProcessScrollBar(rc, 0, ClampToInt(needed));
}

void CTileLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"itemsize") == 0)
        SetItemSize(ParseSizeValue(value));
    else if (name != nullptr && wcscmp(name, L"columns") == 0)
        SetColumns(ParseIntValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
