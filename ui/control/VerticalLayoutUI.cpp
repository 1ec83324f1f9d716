#include "control/VerticalLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_separator(*this, m_rcItem, m_cxyFixed, true) {}

const wchar_t* CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const {
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetSepHeight(int height) {
    m_separator.SetSize(height);
}

int CVerticalLayoutUI::GetSepHeight() const {
    return m_separator.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool immediate) {
    m_separator.SetImmediateMode(immediate);
}

bool CVerticalLayoutUI::IsSepImmMode() const {
    return m_separator.IsImmediateMode();
}

RECT CVerticalLayoutUI::GetThumbRect(bool newPosition) const {
    return m_separator.GetThumbRect(newPosition);
}

void CVerticalLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_separator.ManagerChanging(manager);
    CContainerUI::SetManager(manager, parent, init);
}

void CVerticalLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    const RECT rc = ClientRect();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    long long availableWidth = static_cast<long long>(rc.right) - rc.left;
    const long long availableHeight = static_cast<long long>(rc.bottom) - rc.top;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        availableWidth += m_pHorizontalScrollBar->GetScrollRange();
    const SIZE available{ClampToInt(availableWidth), ClampToInt(availableHeight)};

    // Measure: what the fixed children, paddings and gaps take, and how many share the rest.
    int adjustables = 0;
    int counted = 0;
    long long fixed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        long long cy = child->EstimateSize(available).cy;
        if (cy == 0)
            ++adjustables;
        else
            cy = ClampToMinMax(cy, child->GetMinHeight(), child->GetMaxHeight());
        const RECT padding = child->GetPadding();
        fixed += cy + padding.top + padding.bottom;
        ++counted;
    }
    if (counted > 0) fixed += static_cast<long long>(counted - 1) * m_iChildPadding;
    long long expand = 0;
    if (adjustables > 0) {
        expand = (availableHeight - fixed) / adjustables;
        if (expand < 0) expand = 0;
    }

    // Place: top to bottom, the last adjustable child taking what rounding left over.
    long long y = static_cast<long long>(rc.top) - VerticalScrollPos();
    const long long x = static_cast<long long>(rc.left) - HorizontalScrollPos();
    long long remainingHeight = availableHeight;
    long long fixedRemaining = fixed;
    long long needed = 0;
    int adjustable = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT padding = child->GetPadding();
        remainingHeight -= padding.top;
        long long cy = child->EstimateSize(SIZE{available.cx, ClampToInt(remainingHeight)}).cy;
        if (cy != 0) {
            cy = ClampToMinMax(cy, child->GetMinHeight(), child->GetMaxHeight());
            fixedRemaining -= cy;
        } else {
            ++adjustable;
            cy = expand;
            if (adjustable == adjustables) {
                cy = remainingHeight - padding.bottom - fixedRemaining;
                if (cy < 0) cy = 0;
            }
            cy = ClampToMinMax(cy, child->GetMinHeight(), child->GetMaxHeight());
        }
        long long cx = child->GetFixedWidth();
        if (cx == 0) cx = availableWidth - padding.left - padding.right;
        if (cx < 0) cx = 0;
        cx = ClampToMinMax(cx, child->GetMinWidth(), child->GetMaxWidth());

        const long long left = x + padding.left;
        const long long top = y + padding.top;
        child->SetPos(MakeRect(left, top, left + cx, top + cy + padding.bottom));

        y += cy + m_iChildPadding + padding.top + padding.bottom;
        needed += cy + padding.top + padding.bottom;
        remainingHeight -= cy + m_iChildPadding + padding.bottom;
    }
    if (counted > 0) needed += static_cast<long long>(counted - 1) * m_iChildPadding;
    ProcessScrollBar(rc, 0, ClampToInt(needed));
}

void CVerticalLayoutUI::DoEvent(TEventUI& event) {
    if (m_separator.DoEvent(event)) return;
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT&) {
    m_separator.DoPostPaint(hDC);
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"sepheight") == 0)
        SetSepHeight(ParseIntValue(value));
    else if (name != nullptr && wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBoolValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
