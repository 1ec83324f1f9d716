#include "control/DateTimeUI.h"

#include <cwchar>

#include "control/DateTimeWnd.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CDateTimeUI::CDateTimeUI() {
    ::GetLocalTime(&m_sysTime);
    m_nDTUpdateFlag = kUpdateSet;
    UpdateText();
    m_nDTUpdateFlag = kUpdateNone;
}

CDateTimeUI::~CDateTimeUI() {
    // The picker would otherwise write into this control after it is gone.
    if (CDateTimeWnd* window = m_pWindow) {
        m_pWindow = nullptr;
        window->Detach();
    }
}

const wchar_t* CDateTimeUI::GetClass() const {
    return L"DateTimeUI";
}

void* CDateTimeUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"DateTime") == 0) return this;
    return CLabelUI::GetInterface(name);
}

SYSTEMTIME& CDateTimeUI::GetTime() {
    return m_sysTime;
}

void CDateTimeUI::SetTime(const SYSTEMTIME& time) {
    m_sysTime = time;
    Invalidate();
}

bool CDateTimeUI::IsReadOnly() const {
    return m_bReadOnly;
}

void CDateTimeUI::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    Invalidate();
}

void CDateTimeUI::UpdateText() {
    if (m_nDTUpdateFlag == kUpdateDelete) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == kUpdateSet) {
        CSkinString text;
        text.SmallFormat(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(text);
    }
}

void CDateTimeUI::OpenPicker() {
    if (m_pWindow == nullptr) m_pWindow = new CDateTimeWnd;
    // On failure the object is gone and m_pWindow cleared.
    m_pWindow->Init(this);
}

void CDateTimeUI::DoEvent(TEventUI& event) {
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
        if (m_pWindow == nullptr) OpenPicker();
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
        if (IsFocused() || m_pWindow != nullptr) OpenPicker();
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

} // namespace SkinUI
