#include "control/ListHeaderItemUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {
// How far into the item a press still grabs the separator.
constexpr int kGripMargin = 4;
} // namespace

CListHeaderItemUI::CListHeaderItemUI() {
    m_cxyMin.cx = 16;
}

const wchar_t* CListHeaderItemUI::GetClass() const {
    return L"ListHeaderItemUI";
}

void* CListHeaderItemUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListHeaderItem") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CListHeaderItemUI::GetControlFlags() const {
    return IsEnabled() && m_iSepWidth != 0 ? UIFLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetEnabled(bool enabled) {
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CListHeaderItemUI::GetButtonState() const {
    return m_uButtonState;
}

bool CListHeaderItemUI::IsDragable() const {
    return m_bDragable;
}

void CListHeaderItemUI::SetDragable(bool dragable) {
    m_bDragable = dragable;
    if (!m_bDragable) m_uButtonState &= ~UISTATE_CAPTURED;
}

int CListHeaderItemUI::GetSepWidth() const {
    return m_iSepWidth;
}

void CListHeaderItemUI::SetSepWidth(int width) {
    m_iSepWidth = width;
}

RECT CListHeaderItemUI::GetThumbRect() const {
    if (m_iSepWidth >= 0)
        return RECT{m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left - m_iSepWidth, m_rcItem.bottom};
}

RECT CListHeaderItemUI::GripRect() const {
    RECT grip = GetThumbRect();
    if (m_iSepWidth >= 0)
        grip.left -= kGripMargin;
    else
        grip.right += kGripMargin;
    return grip;
}

UINT CListHeaderItemUI::GetTextStyle() const {
    return m_uTextStyle;
}

void CListHeaderItemUI::SetTextStyle(UINT style) {
    m_uTextStyle = style;
    Invalidate();
}

DWORD CListHeaderItemUI::GetTextColor() const {
    return m_dwTextColor;
}

void CListHeaderItemUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
    Invalidate();
}

RECT CListHeaderItemUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CListHeaderItemUI::SetTextPadding(RECT padding) {
    m_rcTextPadding = padding;
    Invalidate();
}

int CListHeaderItemUI::GetFont() const {
    return m_iFont;
}

void CListHeaderItemUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

bool CListHeaderItemUI::IsShowHtml() const {
    return m_bShowHtml;
}

void CListHeaderItemUI::SetShowHtml(bool showHtml) {
    if (m_bShowHtml == showHtml) return;
    m_bShowHtml = showHtml;
    Invalidate();
}

const CSkinString& CListHeaderItemUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CListHeaderItemUI::SetNormalImage(const wchar_t* image) {
    StoreImage(m_sNormalImage, image);
}

const CSkinString& CListHeaderItemUI::GetHotImage() const {
    return m_sHotImage;
}

void CListHeaderItemUI::SetHotImage(const wchar_t* image) {
    StoreImage(m_sHotImage, image);
}

const CSkinString& CListHeaderItemUI::GetPushedImage() const {
    return m_sPushedImage;
}

void CListHeaderItemUI::SetPushedImage(const wchar_t* image) {
    StoreImage(m_sPushedImage, image);
}

const CSkinString& CListHeaderItemUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CListHeaderItemUI::SetFocusedImage(const wchar_t* image) {
    StoreImage(m_sFocusedImage, image);
}

const CSkinString& CListHeaderItemUI::GetSepImage() const {
    return m_sSepImage;
}

void CListHeaderItemUI::SetSepImage(const wchar_t* image) {
    StoreImage(m_sSepImage, image);
}

void CListHeaderItemUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) break;
        const RECT grip = GripRect();
        if (m_bDragable && m_iSepWidth != 0 && ::PtInRect(&grip, event.mousePos)) {
            m_uButtonState |= UISTATE_CAPTURED;
            m_ptLastMouse = event.mousePos;
        } else {
            m_uButtonState |= UISTATE_PUSHED;
            SendNotify(NotifyType::kHeaderClick);
            Invalidate();
        }
        return;
    }
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            // The separator's edge follows the pointer; the other edge stays. Moves may
            // come faster than layouts: they add up on the width asked for last.
            const long long moved = static_cast<long long>(event.mousePos.x) - m_ptLastMouse.x;
            const long long current =
                m_cxyFixed.cx > 0 ? m_cxyFixed.cx : static_cast<long long>(GetWidth());
            const long long width = current + (m_iSepWidth >= 0 ? moved : -moved);
            if (width > GetMinWidth() && width <= GetMaxWidth()) {
                m_cxyFixed.cx = static_cast<int>(width);
                m_ptLastMouse = event.mousePos;
                RelayoutList();
            }
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            RelayoutList();
        } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
            m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case UIEVENT_SETCURSOR: {
        const RECT grip = GripRect();
        if (IsEnabled() && m_bDragable && m_iSepWidth != 0 && ::PtInRect(&grip, event.mousePos)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CListHeaderItemUI::RelayoutList() {
    // The header's parent (the list) lays out again, so that the columns and the rows
    // follow the header, not only the header itself.
    if (m_pParent != nullptr)
        m_pParent->NeedParentUpdate();
    else
        NeedParentUpdate();
}

SIZE CListHeaderItemUI::EstimateSize(SIZE available) {
    if (m_cxyFixed.cy != 0) return CContainerUI::EstimateSize(available);
    const TFontInfo* font = m_pManager != nullptr ? m_pManager->GetDefaultFontInfo() : nullptr;
    return SIZE{m_cxyFixed.cx, (font != nullptr ? font->metrics.tmHeight : 0) + 14};
}

void CListHeaderItemUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    const auto has = [value](const wchar_t* word) { return wcsstr(value, word) != nullptr; };

    if (is(L"dragable")) {
        SetDragable(ParseBoolValue(value));
    } else if (is(L"sepwidth")) {
        SetSepWidth(ParseIntValue(value));
    } else if (is(L"align")) {
        UINT style = m_uTextStyle;
        if (has(L"left")) style &= ~(DT_CENTER | DT_RIGHT);
        if (has(L"center")) style = (style & ~DT_RIGHT) | DT_CENTER;
        if (has(L"right")) style = (style & ~DT_CENTER) | DT_RIGHT;
        SetTextStyle(style);
    } else if (is(L"endellipsis")) {
        SetTextStyle(ParseBoolValue(value) ? m_uTextStyle | DT_END_ELLIPSIS
                                           : m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (is(L"font")) {
        SetFont(ParseIntValue(value));
    } else if (is(L"textcolor")) {
        SetTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (is(L"showhtml")) {
        SetShowHtml(ParseBoolValue(value));
    } else if (is(L"normalimage")) {
        SetNormalImage(value);
    } else if (is(L"hotimage")) {
        SetHotImage(value);
    } else if (is(L"pushedimage")) {
        SetPushedImage(value);
    } else if (is(L"focusedimage")) {
        SetFocusedImage(value);
    } else if (is(L"sepimage")) {
        SetSepImage(value);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC) {
    if (IsFocused())
        m_uButtonState |= UISTATE_FOCUSED;
    else
        m_uButtonState &= ~UISTATE_FOCUSED;

    // One image that cannot be drawn is dropped so that it is not tried on every paint.
    const auto draw = [this, hDC](CSkinString& image, const wchar_t* modifier = nullptr) {
        if (image.IsEmpty()) return false;
        if (DrawImage(hDC, image, modifier)) return true;
        image.Empty();
        return false;
    };
    CSkinString* state = &m_sNormalImage;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.IsEmpty())
        state = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.IsEmpty())
        state = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && !m_sFocusedImage.IsEmpty())
        state = &m_sFocusedImage;
    draw(*state);

    if (m_sSepImage.IsEmpty()) return;
    const RECT thumb = GetThumbRect();
    CSkinString modifier;
    modifier.SmallFormat(L"dest='%d,%d,%d,%d'", thumb.left - m_rcItem.left,
                         thumb.top - m_rcItem.top, thumb.right - m_rcItem.left,
                         thumb.bottom - m_rcItem.top);
    draw(m_sSepImage, modifier);
}

void CListHeaderItemUI::PaintText(HDC hDC) {
    if (m_dwTextColor == 0 && m_pManager != nullptr)
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_sText.IsEmpty()) return;
    RECT text{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
              m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    const UINT style = m_uTextStyle | DT_SINGLELINE;
    if (m_bShowHtml) {
        int links = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, text, m_sText, m_dwTextColor, nullptr, nullptr,
                                    links, style);
    } else {
        CRenderEngine::DrawTextW(hDC, m_pManager, text, m_sText, m_dwTextColor, m_iFont, style);
    }
}

} // namespace SkinUI
