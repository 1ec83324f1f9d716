#include "control/DateTimeWnd.h"

#include <commctrl.h>

#include "control/DateTimeUI.h"
#include "core/CommonControls.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// WM_NOTIFY as the paint manager reflects it back to the native child it came from.
constexpr UINT kReflectedNotify = WM_NOTIFY + 0x2000;

} // namespace

bool CDateTimeWnd::Init(CDateTimeUI* owner) {
    owner->m_nDTUpdateFlag = CDateTimeUI::kUpdateNone;
    // The picker's class comes with the common controls.
    LoadCommonControls(ICC_DATE_CLASSES);
    return Open(owner, WS_CHILD, owner->GetPos());
}

void CDateTimeWnd::SetUp(CDateTimeUI& owner, CPaintManagerUI& manager) {
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(manager.GetFont(owner.GetFont())), TRUE);
    if (owner.GetText().IsEmpty()) ::GetLocalTime(&owner.m_sysTime);
    SendMessageW(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner.m_sysTime));
}

const wchar_t* CDateTimeWnd::GetWndClassName() const {
    return L"DateTimeWnd";
}

const wchar_t* CDateTimeWnd::GetSuperClassName() const {
    return DATETIMEPICK_CLASSW;
}

LRESULT CDateTimeWnd::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
        // The drop-down calendar takes the focus while a date is still being picked.
        const auto calendar = reinterpret_cast<HWND>(SendMessageW(DTM_GETMONTHCAL));
        if (calendar == nullptr || reinterpret_cast<HWND>(wParam) != calendar)
            Finish(CDateTimeUI::kUpdateSet);
        return result;
    }
    case WM_KEYUP:
        if (wParam == VK_DELETE || wParam == VK_BACK || wParam == VK_ESCAPE) {
            const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
            Finish(wParam == VK_ESCAPE ? CDateTimeUI::kUpdateKeep : CDateTimeUI::kUpdateDelete);
            return result;
        }
        break;
    case kReflectedNotify:
        if (lParam != 0 && reinterpret_cast<const NMHDR*>(lParam)->code == DTN_CLOSEUP) {
            // The calendar closed and left the focus to the paint window: picking goes on
            // in the picker. Focus anywhere else was lost as it would be from the picker.
            const HWND focus = ::GetFocus();
            if (focus == ::GetParent(m_hWnd))
                ::SetFocus(m_hWnd);
            else if (focus != m_hWnd)
                Finish(CDateTimeUI::kUpdateSet);
        }
        break;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CDateTimeWnd::Finish(int mode) {
    // The owner may have gone meanwhile; then only the window is left to close.
    if (CDateTimeUI* owner = m_pOwner) {
        if (mode == CDateTimeUI::kUpdateDelete) {
            owner->m_nDTUpdateFlag = CDateTimeUI::kUpdateDelete;
            owner->UpdateText();
        } else if (mode == CDateTimeUI::kUpdateKeep) {
            owner->m_nDTUpdateFlag = CDateTimeUI::kUpdateKeep;
        } else if (owner->m_nDTUpdateFlag == CDateTimeUI::kUpdateNone) {
            // Losing the focus takes the date, unless a key has decided already.
            SYSTEMTIME picked{};
            if (SendMessageW(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID)
                owner->m_sysTime = picked;
            owner->m_nDTUpdateFlag = CDateTimeUI::kUpdateSet;
            owner->UpdateText();
        }
    }
    if (m_hWnd != nullptr) PostMessageW(WM_CLOSE);
}

} // namespace SkinUI
