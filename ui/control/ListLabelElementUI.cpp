#include "control/ListLabelElementUI.h"

#include <cwchar>

#include "control/ButtonUI.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CListLabelElementUI::CListLabelElementUI() = default;

const wchar_t* CListLabelElementUI::GetClass() const {
    return L"ListLabelElementUI";
}

void* CListLabelElementUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(name);
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled()) ListItem::Click(*this, *this, m_pOwner, m_iIndex, event);
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CListElementUI::DoEvent(event);
}

int CListLabelElementUI::ItemFontHeight() const {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr || m_pManager == nullptr) return 0;
    const TFontInfo* font = m_pManager->GetFontInfo(info->font);
    return font != nullptr ? static_cast<int>(font->metrics.tmHeight) : 0;
}

SIZE CListLabelElementUI::EstimateSize(SIZE) {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr) return SIZE{0, 0};
    const RECT& padding = info->textPadding;
    SIZE size = m_cxyFixed;
    if (size.cy == 0) size.cy = ItemFontHeight() + 8 + padding.top + padding.bottom;
    if (size.cx == 0 && m_pManager != nullptr) {
        // The text's own width, measured on one line whatever the alignment.
        RECT measure{0, 0, 9999, 9999};
        const UINT style =
            (info->textStyle | DT_SINGLELINE | DT_CALCRECT) & ~(DT_CENTER | DT_RIGHT);
        DrawListText(m_pManager->GetPaintDC(), measure, m_sText, 0, style);
        size.cx = measure.right - measure.left + padding.left + padding.right;
    }
    return size;
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr || m_sText.IsEmpty()) return;
    RECT text{rcItem.left + info->textPadding.left, rcItem.top + info->textPadding.top,
              rcItem.right - info->textPadding.right, rcItem.bottom - info->textPadding.bottom};
    const DWORD color = ListItem::TextColor(*this, *info, m_bSelected, m_uButtonState);
    DrawListText(hDC, text, m_sText, color, info->textStyle | DT_SINGLELINE);
}

void CListLabelElementUI::DrawListText(HDC hDC, RECT& rc, const wchar_t* text, DWORD color,
                                       UINT style, RECT* links, CSkinString* targets,
                                       int* linkCount) {
    const TListInfoUI* info = ListInfo();
    if (hDC == nullptr || info == nullptr) {
        if (linkCount != nullptr) *linkCount = 0;
        return;
    }
    if (info->showHtml) {
        int count = linkCount != nullptr ? *linkCount : 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, text, color, links, targets, count, style);
        if (linkCount != nullptr) *linkCount = count;
        return;
    }
    if (linkCount != nullptr) *linkCount = 0;
    CRenderEngine::DrawTextW(hDC, m_pManager, rc, text, color, info->font, style);
}

} // namespace SkinUI
