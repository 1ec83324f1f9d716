#include "control/ListHeaderUI.h"

#include <cwchar>

#include "control/LayoutMath.h"
#include "control/ListUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CListHeaderUI::CListHeaderUI() = default;

const wchar_t* CListHeaderUI::GetClass() const {
    return L"ListHeaderUI";
}

void* CListHeaderUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::EstimateSize(SIZE available) {
    long long width = 0;
    long long height = m_cxyFixed.cy;
    const bool measureHeight = height == 0 && m_pManager != nullptr;
    if (measureHeight) {
        const TFontInfo* font = m_pManager->GetDefaultFontInfo();
        height = font != nullptr ? font->metrics.tmHeight + 6 : 6;
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        const SIZE item = GetItemAt(i)->EstimateSize(available);
        width += item.cx;
        if (measureHeight && item.cy > height) height = item.cy;
    }
    return SIZE{ClampToInt(width), ClampToInt(height)};
}

void CListHeaderUI::SetPos(RECT rect) {
    CHorizontalLayoutUI::SetPos(rect);
    if (m_pParent == nullptr) return;
    auto* list = static_cast<CListUI*>(m_pParent->GetInterface(L"List"));
    if (list != nullptr && list->GetHeader() == this && !list->m_bPlacing) list->NeedUpdate();
}

} // namespace SkinUI
