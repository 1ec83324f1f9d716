#include "control/HorizontalLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_separator(*this, m_rcItem, m_cxyFixed, false) {}

const wchar_t* CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const {
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetSepWidth(int width) {
    m_separator.SetSize(width);
}

int CHorizontalLayoutUI::GetSepWidth() const {
    return m_separator.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool immediate) {
    m_separator.SetImmediateMode(immediate);
}

bool CHorizontalLayoutUI::IsSepImmMode() const {
    return m_separator.IsImmediateMode();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool newPosition) const {
    return m_separator.GetThumbRect(newPosition);
}

void CHorizontalLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_separator.ManagerChanging(manager);
    CContainerUI::SetManager(manager, parent, init);
}

void CHorizontalLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(InsetRect(), 0, 0);
        return;
    }
    const RECT rc = ClientRect();

    const long long availableWidth = static_cast<long long>(rc.right) - rc.left;
    long long availableHeight = static_cast<long long>(rc.bottom) - rc.top;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        availableHeight += m_pVerticalScrollBar->GetScrollRange();
    const SIZE available{ClampToInt(availableWidth), ClampToInt(availableHeight)};

    // Measure: what the fixed children, paddings and gaps take, and how many share the rest.
    int adjustables = 0;
    int counted = 0;
    long long fixed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        long long cx = child->EstimateSize(available).cx;
        if (cx == 0)
            ++adjustables;
        else
            cx = ClampToMinMax(cx, child->GetMinWidth(), child->GetMaxWidth());
        const RECT padding = child->GetPadding();
        fixed += cx + padding.left + padding.right;
        ++counted;
    }
    if (counted > 0) fixed += static_cast<long long>(counted - 1) * m_iChildPadding;
    long long expand = 0;
    if (adjustables > 0) {
        expand = (availableWidth - fixed) / adjustables;
        if (expand < 0) expand = 0;
    }

    // Place: left to right, the last adjustable child taking what rounding left over.
    long long x = static_cast<long long>(rc.left) - HorizontalScrollPos();
    long long remainingWidth = availableWidth;
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
        remainingWidth -= padding.left;
        long long cx = child->EstimateSize(SIZE{ClampToInt(remainingWidth), available.cy}).cx;
        if (cx != 0) {
            cx = ClampToMinMax(cx, child->GetMinWidth(), child->GetMaxWidth());
            fixedRemaining -= cx;
        } else {
            ++adjustable;
            cx = expand;
            if (adjustable == adjustables) {
                cx = remainingWidth - padding.right - fixedRemaining;
                if (cx < 0) cx = 0;
            }
            cx = ClampToMinMax(cx, child->GetMinWidth(), child->GetMaxWidth());
        }
        long long cy = child->GetFixedHeight();
        if (cy == 0) cy = static_cast<long long>(rc.bottom) - rc.top - padding.top - padding.bottom;
        if (cy < 0) cy = 0;
        cy = ClampToMinMax(cy, child->GetMinHeight(), child->GetMaxHeight());

        const long long left = x + padding.left;
        const long long top = static_cast<long long>(rc.top) + padding.top;
        child->SetPos(MakeRect(left, top, left + cx + padding.right, top + cy));

        x += cx + m_iChildPadding + padding.left + padding.right;
        needed += cx + padding.left + padding.right;
        remainingWidth -= cx + m_iChildPadding + padding.right;
    }
    if (counted > 0) needed += static_cast<long long>(counted - 1) * m_iChildPadding;
    ProcessScrollBar(rc, ClampToInt(needed), 0);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event) {
    if (m_separator.DoEvent(event)) return;
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT&) {
    m_separator.DoPostPaint(hDC);
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"sepwidth") == 0)
        SetSepWidth(ParseIntValue(value));
    else if (name != nullptr && wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBoolValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
