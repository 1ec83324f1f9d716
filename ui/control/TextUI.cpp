#include "control/TextUI.h"

#include <algorithm>
#include <cwchar>

#include "window/PaintManagerUI.h"

namespace SkinUI {

CTextUI::CTextUI() {
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding = RECT{2, 0, 2, 0};
}

const wchar_t* CTextUI::GetClass() const {
    return L"TextUI";
}

void* CTextUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Text") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const {
    return IsEnabled() && m_nLinks > 0 ? UIFLAG_SETCURSOR : 0;
}

CSkinString* CTextUI::GetLinkContent(int index) {
    if (index < 0 || index >= m_nLinks || index >= kMaxLinks) return nullptr;
    return &m_sLinks[index];
}

int CTextUI::LinkAt(POINT point) const {
    const int count = std::min(m_nLinks, kMaxLinks);
    for (int i = 0; i < count; ++i)
        if (::PtInRect(&m_rcLinks[i], point)) return i;
    return -1;
}

SIZE CTextUI::EstimateSize(SIZE available) {
    // Nothing can be measured before the control has a manager.
    if (m_pManager == nullptr) return m_cxyFixed;
    RECT measured{0, 0, std::max(m_cxyFixed.cx, available.cx), 9999};
    measured.left += m_rcTextPadding.left;
    measured.right -= m_rcTextPadding.right;
    DrawLabelText(m_pManager->GetPaintDC(), measured, m_sText, m_dwTextColor,
                  m_uTextStyle | DT_CALCRECT);
    SIZE size{measured.right - measured.left + m_rcTextPadding.left + m_rcTextPadding.right,
              measured.bottom - measured.top + m_rcTextPadding.top + m_rcTextPadding.bottom};
    if (m_cxyFixed.cy != 0) size.cy = m_cxyFixed.cy;
    return size;
}

void CTextUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    const int link = LinkAt(event.mousePos);
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (link >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && link >= 0) {
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if (IsEnabled() && link >= 0) {
            SendNotify(NotifyType::kLink, static_cast<WPARAM>(link));
            return;
        }
        break;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEMOVE:
        if (IsEnabled() && m_nLinks > 0) {
            if (link != m_nHoverLink) {
                m_nHoverLink = link;
                Invalidate();
            }
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CTextUI::PaintText(HDC hDC) {
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        for (RECT& link : m_rcLinks)
            ::SetRectEmpty(&link);
        return;
    }
    ApplyDefaultTextColors();
    m_nLinks = kMaxLinks; // the capacity the HTML text may fill
    RECT textRect = TextRect();
    DrawLabelText(hDC, textRect, m_sText, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor,
                  m_uTextStyle, m_rcLinks, m_sLinks, &m_nLinks);
    // Rectangles of links a longer text had before must not be hit or hovered any more.
    for (int i = std::max(m_nLinks, 0); i < kMaxLinks; ++i)
        ::SetRectEmpty(&m_rcLinks[i]);
}

} // namespace SkinUI
