#include "control/TabLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/LayoutMath.h"
#include "window/NotifyUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CTabLayoutUI::CTabLayoutUI() = default;

const wchar_t* CTabLayoutUI::GetClass() const {
    return L"TabLayoutUI";
}

void* CTabLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"TabLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control) {
    // Asked before the container imposes its own visibility on the page.
    const bool visible = control != nullptr && control->IsVisible();
    if (!CContainerUI::Add(control)) return false;
    if (m_iCurSel == -1 && visible)
        m_iCurSel = GetItemIndex(control);
    else
        control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    const bool visible = control != nullptr && control->IsVisible();
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel == -1 && visible) {
        m_iCurSel = GetItemIndex(control);
    } else {
        control->SetVisible(false);
        if (m_iCurSel != -1 && index <= m_iCurSel) ++m_iCurSel;
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control)) return false;
    if (index == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    const int old = m_iCurSel;
    m_iCurSel = index;
    // The focus follows a selection in the window's tree. A tree still being built has its
    // manager only on loan: moving the focus there costs the window a round trip and a
    // repaint a tab, for nothing the tree keeps.
    const CControlUI* top = this;
    while (top->GetParent() != nullptr)
        top = top->GetParent();
    const bool attached = m_pManager != nullptr && top == m_pManager->GetRoot();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* page = GetItemAt(i);
        if (i == index) {
            page->SetVisible(true);
            if (attached) page->SetFocus();
            SetPos(m_rcItem);
        } else {
            page->SetVisible(false);
        }
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        if (attached) m_pManager->SetNextTabControl();
        SendNotify(NotifyType::kTabSelect, static_cast<WPARAM>(m_iCurSel),
                   static_cast<LPARAM>(old));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control) {
    const int index = GetItemIndex(control);
    return index >= 0 && SelectItem(index);
}

int CTabLayoutUI::GetCurSel() const {
    return m_iCurSel;
}

void CTabLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    const RECT inset = InsetRect();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* page = GetItemAt(i);
        if (!page->IsVisible()) continue;
        if (page->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        const RECT padding = page->GetPadding();
        const long long left = static_cast<long long>(inset.left) + padding.left;
        const long long top = static_cast<long long>(inset.top) + padding.top;
        long long width = static_cast<long long>(inset.right) - padding.right - left;
        long long height = static_cast<long long>(inset.bottom) - padding.bottom - top;
        const SIZE estimate = page->EstimateSize(SIZE{ClampToInt(width), ClampToInt(height)});
        if (estimate.cx != 0) width = estimate.cx;
        if (estimate.cy != 0) height = estimate.cy;
        if (width < 0) width = 0;
        if (height < 0) height = 0;
        width = ClampToMinMax(width, page->GetMinWidth(), page->GetMaxWidth());
        height = ClampToMinMax(height, page->GetMinHeight(), page->GetMaxHeight());
        page->SetPos(MakeRect(left, top, left + width, top + height));
    }
}

void CTabLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"selectedid") == 0)
        SelectItem(ParseIntValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
