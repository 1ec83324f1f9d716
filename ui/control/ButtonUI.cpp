#include "control/ButtonUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CButtonUI::CButtonUI() {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

const wchar_t* CButtonUI::GetClass() const {
    return L"ButtonUI";
}

void* CButtonUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Button") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) return false;
    SendNotify(NotifyType::kClick);
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CButtonUI::GetButtonState() const {
    return m_uButtonState;
}

const CSkinString& CButtonUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(const wchar_t* image) {
    StoreImage(m_sNormalImage, image);
}

const CSkinString& CButtonUI::GetHotImage() const {
    return m_sHotImage;
}

void CButtonUI::SetHotImage(const wchar_t* image) {
    StoreImage(m_sHotImage, image);
}

const CSkinString& CButtonUI::GetHotForeImage() const {
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(const wchar_t* image) {
    StoreImage(m_sHotForeImage, image);
}

const CSkinString& CButtonUI::GetPushedImage() const {
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(const wchar_t* image) {
    StoreImage(m_sPushedImage, image);
}

const CSkinString& CButtonUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(const wchar_t* image) {
    StoreImage(m_sFocusedImage, image);
}

const CSkinString& CButtonUI::GetDisabledImage() const {
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(const wchar_t* image) {
    StoreImage(m_sDisabledImage, image);
}

const CSkinString& CButtonUI::GetForeImage() const {
    return m_sForeImage;
}

void CButtonUI::SetForeImage(const wchar_t* image) {
    StoreImage(m_sForeImage, image);
}

DWORD CButtonUI::GetHotBkColor() const {
    return m_dwHotBkColor;
}

void CButtonUI::SetHotBkColor(DWORD color) {
    m_dwHotBkColor = color;
}

DWORD CButtonUI::GetHotTextColor() const {
    return m_dwHotTextColor;
}

void CButtonUI::SetHotTextColor(DWORD color) {
    m_dwHotTextColor = color;
}

DWORD CButtonUI::GetPushedTextColor() const {
    return m_dwPushedTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD color) {
    m_dwPushedTextColor = color;
}

DWORD CButtonUI::GetFocusedTextColor() const {
    return m_dwFocusedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD color) {
    m_dwFocusedTextColor = color;
}

SIZE CButtonUI::EstimateSize(SIZE) {
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    return SIZE{m_cxyFixed.cx, FontHeight() + 8};
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    const bool inside = ::PtInRect(&m_rcItem, event.mousePos) != FALSE;
    switch (event.type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (inside)
                m_uButtonState |= UISTATE_PUSHED;
            else
                m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (inside) Activate();
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed()) SendNotify(NotifyType::kMenu, event.wParam, event.lParam);
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };

    if (is(L"normalimage"))
        SetNormalImage(value);
    else if (is(L"hotimage"))
        SetHotImage(value);
    else if (is(L"pushedimage"))
        SetPushedImage(value);
    else if (is(L"focusedimage"))
        SetFocusedImage(value);
    else if (is(L"disabledimage"))
        SetDisabledImage(value);
    else if (is(L"foreimage"))
        SetForeImage(value);
    else if (is(L"hotforeimage"))
        SetHotForeImage(value);
    else if (is(L"hotbkcolor"))
        SetHotBkColor(ParseColorValueHashOnly(value));
    else if (is(L"hottextcolor"))
        SetHotTextColor(ParseColorValueHashOnly(value));
    else if (is(L"pushedtextcolor"))
        SetPushedTextColor(ParseColorValueHashOnly(value));
    else if (is(L"focusedtextcolor"))
        SetFocusedTextColor(ParseColorValueHashOnly(value));
    else
        CLabelUI::SetAttribute(name, value);
}

void CButtonUI::RefreshStateBits() {
    if (IsFocused())
        m_uButtonState |= UISTATE_FOCUSED;
    else
        m_uButtonState &= ~UISTATE_FOCUSED;
    if (!IsEnabled())
        m_uButtonState |= UISTATE_DISABLED;
    else
        m_uButtonState &= ~UISTATE_DISABLED;
}

void CButtonUI::PaintStatusImage(HDC hDC) {
    RefreshStateBits();
    bool drawNormal = true;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) {
        drawNormal = !DrawStateImage(hDC, m_sDisabledImage);
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        if (!m_sPushedImage.IsEmpty()) {
            DrawStateImage(hDC, m_sPushedImage);
            drawNormal = false;
        }
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        if (!m_sHotImage.IsEmpty()) {
            DrawStateImage(hDC, m_sHotImage);
            if (!m_sHotForeImage.IsEmpty()) {
                // The hot fore image stands in for the fore image.
                DrawStateImage(hDC, m_sHotForeImage);
                return;
            }
            drawNormal = false;
        } else if (m_dwHotBkColor != 0) {
            FillPaintRect(hDC, m_dwHotBkColor);
            return;
        }
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
        drawNormal = !DrawStateImage(hDC, m_sFocusedImage);
    }
    if (drawNormal) DrawStateImage(hDC, m_sNormalImage);
    DrawStateImage(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC) {
    RefreshStateBits();
    ApplyDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    RECT textRect = TextRect();
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0)
        color = m_dwPushedTextColor;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0)
        color = m_dwHotTextColor;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0)
        color = m_dwFocusedTextColor;
    DrawLabelText(hDC, textRect, m_sText, color, m_uTextStyle);
}

bool CButtonUI::DrawStateImage(HDC hDC, CSkinString& image) {
    if (image.IsEmpty()) return false;
    if (DrawImage(hDC, image)) return true;
    image.Empty();
    return false;
}

} // namespace SkinUI
