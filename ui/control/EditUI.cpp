#include "control/EditUI.h"

#include <cwchar>
#include <string>

#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "control/EditWnd.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CEditUI::CEditUI() {
    m_rcTextPadding = RECT{4, 3, 4, 3};
    m_dwBackColor = 0xFFFFFFFF;
}

CEditUI::~CEditUI() {
    // The native window would otherwise write into this control after it is gone.
    if (CEditWnd* window = m_pWindow) {
        m_pWindow = nullptr;
        window->Detach();
    }
}

const wchar_t* CEditUI::GetClass() const {
    return L"EditUI";
}

void* CEditUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Edit") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const {
    return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

void CEditUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CEditUI::SetText(const wchar_t* text) {
    m_sText = text;
    if (m_pWindow != nullptr) ::SetWindowTextW(m_pWindow->GetHWND(), m_sText);
    Invalidate();
}

UINT CEditUI::GetMaxChar() const {
    return m_uMaxChar;
}

void CEditUI::SetMaxChar(UINT count) {
    m_uMaxChar = count;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_LIMITTEXT, m_uMaxChar);
}

bool CEditUI::IsReadOnly() const {
    return m_bReadOnly;
}

void CEditUI::SetReadOnly(bool readOnly) {
    if (m_bReadOnly == readOnly) return;
    m_bReadOnly = readOnly;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETREADONLY, m_bReadOnly);
    Invalidate();
}

bool CEditUI::IsPasswordMode() const {
    return m_bPasswordMode;
}

void CEditUI::SetPasswordMode(bool password) {
    if (m_bPasswordMode == password) return;
    m_bPasswordMode = password;
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const {
    return m_cPasswordChar;
}

void CEditUI::SetPasswordChar(wchar_t ch) {
    if (m_cPasswordChar == ch) return;
    m_cPasswordChar = ch;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETPASSWORDCHAR, m_cPasswordChar);
    Invalidate();
}

bool CEditUI::IsNumberOnly() const {
    return (m_iWindowStyls & ES_NUMBER) != 0;
}

void CEditUI::SetNumberOnly(bool numberOnly) {
    if (numberOnly)
        m_iWindowStyls |= ES_NUMBER;
    else
        m_iWindowStyls &= ~ES_NUMBER;
}

int CEditUI::GetWindowStyls() const {
    return m_iWindowStyls;
}

DWORD CEditUI::GetNativeEditBkColor() const {
    return m_dwEditbkColor;
}

void CEditUI::SetNativeEditBkColor(DWORD color) {
    m_dwEditbkColor = color;
}

void CEditUI::SetSel(long start, long end) {
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETSEL, start, end);
}

void CEditUI::SetSelAll() {
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(const wchar_t* text) {
    if (m_pWindow != nullptr)
        m_pWindow->SendMessageW(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
}

const CSkinString& CEditUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CEditUI::SetNormalImage(const wchar_t* image) {
    StoreImage(m_sNormalImage, image);
}

const CSkinString& CEditUI::GetHotImage() const {
    return m_sHotImage;
}

void CEditUI::SetHotImage(const wchar_t* image) {
    StoreImage(m_sHotImage, image);
}

const CSkinString& CEditUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CEditUI::SetFocusedImage(const wchar_t* image) {
    StoreImage(m_sFocusedImage, image);
}

const CSkinString& CEditUI::GetDisabledImage() const {
    return m_sDisabledImage;
}

void CEditUI::SetDisabledImage(const wchar_t* image) {
    StoreImage(m_sDisabledImage, image);
}

// ---- The native window

void CEditUI::OpenEditWindow() {
    m_pWindow = new CEditWnd;
    // On failure the object is gone and m_pWindow cleared.
    m_pWindow->Init(this);
}

void CEditUI::CloseEditWindow() {
    if (m_pWindow == nullptr) return;
    const HWND window = m_pWindow->GetHWND();
    // Hidden at once, whether or not the focus change below reaches it.
    ::ShowWindow(window, SW_HIDE);
    if (m_pManager != nullptr) m_pManager->SetFocus(nullptr);
    // Still open when the focus was elsewhere already: it closes as it would on losing it.
    if (m_pWindow != nullptr) ::PostMessageW(m_pWindow->GetHWND(), WM_CLOSE, 0, 0);
}

void CEditUI::SelectAllNative() {
    if (m_pWindow == nullptr) return;
    const int length = m_sText.GetLength();
    m_pWindow->SendMessageW(EM_SETSEL, 0, length > 0 ? length : 1);
}

void CEditUI::SetPos(RECT rect) {
    CLabelUI::SetPos(rect);
    if (m_pWindow == nullptr) return;
    const RECT area = m_pWindow->CalPos();
    ::SetWindowPos(m_pWindow->GetHWND(), nullptr, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CEditUI::SetVisible(bool visible) {
    CLabelUI::SetVisible(visible);
    if (!IsVisible()) CloseEditWindow();
}

void CEditUI::SetInternVisible(bool visible) {
    // The flag first: the native window is a child of the paint window, which the
    // container hiding this control does not hide.
    CLabelUI::SetInternVisible(visible);
    if (!IsVisible()) CloseEditWindow();
}

SIZE CEditUI::EstimateSize(SIZE) {
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    return SIZE{m_cxyFixed.cx, FontHeight() + 6};
}

void CEditUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
    case UIEVENT_WINDOWSIZE:
        if (m_pWindow != nullptr && m_pManager != nullptr) m_pManager->SetFocusNeeded(this);
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pWindow != nullptr) return;
        break;
    case UIEVENT_SETFOCUS:
        if (!IsEnabled()) break;
        m_bFocused = true;
        if (m_pWindow != nullptr) return;
        OpenEditWindow();
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        if (!IsEnabled()) break;
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (!IsEnabled()) break;
        if (m_pManager != nullptr) m_pManager->ReleaseCapture();
        if (IsFocused() && m_pWindow == nullptr) {
            OpenEditWindow();
            if (::PtInRect(&m_rcItem, event.mousePos)) SelectAllNative();
        } else if (m_pWindow != nullptr) {
            SelectAllNative();
        }
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
        if (!IsEnabled()) break;
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        if (!IsEnabled()) break;
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    if (is(L"readonly"))
        SetReadOnly(ParseBoolValue(value));
    else if (is(L"numberonly"))
        SetNumberOnly(ParseBoolValue(value));
    else if (is(L"password"))
        SetPasswordMode(ParseBoolValue(value));
    else if (is(L"maxchar"))
        SetMaxChar(static_cast<UINT>(ParseIntValue(value)));
    else if (is(L"normalimage"))
        SetNormalImage(value);
    else if (is(L"hotimage"))
        SetHotImage(value);
    else if (is(L"focusedimage"))
        SetFocusedImage(value);
    else if (is(L"disabledimage"))
        SetDisabledImage(value);
    else if (is(L"nativebkcolor"))
        SetNativeEditBkColor(ParseColorValueHashOnly(value));
    else
        CLabelUI::SetAttribute(name, value);
}

// ---- Painting

bool CEditUI::DrawStateImage(HDC hDC, CSkinString& image) {
    if (image.IsEmpty()) return false;
    if (DrawImage(hDC, image)) return true;
    image.Empty();
    return false;
}

void CEditUI::PaintStatusImage(HDC hDC) {
    if (IsFocused())
        m_uButtonState |= UISTATE_FOCUSED;
    else
        m_uButtonState &= ~UISTATE_FOCUSED;
    if (!IsEnabled())
        m_uButtonState |= UISTATE_DISABLED;
    else
        m_uButtonState &= ~UISTATE_DISABLED;

    CSkinString* state = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0)
        state = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0)
        state = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0)
        state = &m_sHotImage;
    if (state != nullptr && !state->IsEmpty()) {
        if (DrawStateImage(hDC, *state)) return;
    }
    DrawStateImage(hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC) {
    ApplyDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    CSkinString shown = m_sText;
    if (m_bPasswordMode) {
        // One mask character per character shown, a surrogate pair being one.
        size_t characters = 0;
        for (const wchar_t* p = m_sText.GetData(); *p != L'\0'; p = ::CharNextW(p))
            ++characters;
        shown = std::wstring(characters, m_cPasswordChar).c_str();
    }
    RECT textRect = TextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CRenderEngine::DrawTextW(hDC, m_pManager, textRect, shown, color, m_iFont,
                             m_uTextStyle | DT_SINGLELINE);
}

} // namespace SkinUI
