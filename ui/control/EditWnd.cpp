#include "control/EditWnd.h"

#include <vector>

#include "control/EditUI.h"
#include "window/NotifyUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// Messages the paint manager reflects back to the native child they came from.
constexpr UINT kReflectedCommand = WM_COMMAND + 0x2000;
constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + 0x2000;
constexpr UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + 0x2000;
// The native background colour that leaves the platform's colours alone.
constexpr DWORD kPlatformColors = 0xFFFFFFFF;

COLORREF ToColorRef(DWORD argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

} // namespace

bool CEditWnd::Init(CEditUI* owner) {
    m_pOwner = owner;
    DWORD style = WS_CHILD | ES_AUTOHSCROLL;
    if (owner->IsPasswordMode()) style |= ES_PASSWORD;
    return Open(owner, style, CalPos());
}

void CEditWnd::SetUp(CEditUI& owner, CPaintManagerUI& manager) {
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(manager.GetFont(owner.GetFont())), TRUE);
    SendMessageW(EM_LIMITTEXT, owner.GetMaxChar());
    if (owner.IsPasswordMode()) SendMessageW(EM_SETPASSWORDCHAR, owner.GetPasswordChar());
    ::SetWindowTextW(m_hWnd, owner.m_sText);
    SendMessageW(EM_SETMODIFY, FALSE);
    SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, owner.IsEnabled());
    SendMessageW(EM_SETREADONLY, owner.IsReadOnly());
    const LONG_PTR styles = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, styles | owner.GetWindowStyls());
}

RECT CEditWnd::CalPos() const {
    if (m_pOwner == nullptr) return RECT{};
    RECT area = m_pOwner->TextRect();
    // One line of the font, centred in the text area.
    const LONG fontHeight = m_pOwner->FontHeight();
    if (fontHeight < area.bottom - area.top) {
        area.top += (area.bottom - area.top - fontHeight) / 2;
        area.bottom = area.top + fontHeight;
    }
    return area;
}

const wchar_t* CEditWnd::GetWndClassName() const {
    return L"EditWnd";
}

const wchar_t* CEditWnd::GetSuperClassName() const {
    return WC_EDITW;
}

CSkinString CEditWnd::NativeText() const {
    const auto length =
        static_cast<int>(::CallWindowProcW(m_OldWndProc, m_hWnd, WM_GETTEXTLENGTH, 0, 0));
    if (length <= 0) return CSkinString();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(::CallWindowProcW(
        m_OldWndProc, m_hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return CSkinString(text.data(), copied < length ? (copied > 0 ? copied : 0) : length);
}

LRESULT CEditWnd::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
        if (m_hWnd != nullptr) PostMessageW(WM_CLOSE);
        return result;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case EM_GETLINE:
        // A password is nobody's to read out of the window; the control has it already.
        if ((::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ES_PASSWORD) != 0) {
            if (message == WM_GETTEXT && wParam > 0 && lParam != 0)
                reinterpret_cast<wchar_t*>(lParam)[0] = L'\0';
            return 0;
        }
        break;
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) {
            if (!m_bInit || m_pOwner == nullptr) return 0;
            m_pOwner->m_sText = NativeText();
            if (CPaintManagerUI* manager = m_pOwner->GetManager())
                manager->SendNotify(m_pOwner, NotifyType::kTextChanged);
            return 0;
        }
        if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            // Consumed: a single-line edit would only beep.
            if (m_pOwner != nullptr)
                if (CPaintManagerUI* manager = m_pOwner->GetManager())
                    manager->SendNotify(m_pOwner, NotifyType::kReturn);
            return 0;
        }
        break;
    case kReflectedColorEdit:
    case kReflectedColorStatic: {
        if (m_pOwner == nullptr) return 0;
        const DWORD background = m_pOwner->GetNativeEditBkColor();
        if (background == kPlatformColors) return 0;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ToColorRef(m_pOwner->GetTextColor()));
        if (!m_hBkBrush) m_hBkBrush.Reset(::CreateSolidBrush(ToColorRef(background)));
        return reinterpret_cast<LRESULT>(m_hBkBrush.Get());
    }
    default:
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

} // namespace SkinUI
