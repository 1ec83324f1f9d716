// The paint manager's input side: native messages become control events; focus, tab
// order, shortcuts, timers, notifications, listener lists and searches of the tree.

#include "window/PaintManagerUI.h"

// Before <windowsx.h>: its InsetRect macro would rewrite the container's member of that name.
#include "control/RichEditUI.h"

#include <windowsx.h>

#include <cassert>
#include <cwchar>
#include <cwctype>
#include <new>

#include "control/ControlUI.h"
#include "core/CommonControls.h"

namespace SkinUI {

namespace {

constexpr int kMapBuckets = 83;
// Reflected messages go back to the native child that sent them, shifted by this.
constexpr UINT kReflectOffset = 0x2000;
constexpr DWORD kDefaultHoverTime = 400;
constexpr int kOptionGroupCapacity = 6;
// Native timer ids cycle through 0..254.
constexpr UINT kTimerIdCount = 255;

constexpr UINT kTabSearchFlags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;
constexpr UINT kShortcutSearchFlags = UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST;
constexpr UINT kPointSearchFlags = UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST;
constexpr UINT kUpdateSearchFlags = UIFIND_VISIBLE | UIFIND_ME_FIRST;

struct FindTabInfo {
    CControlUI* focus;
    CControlUI* last; // last tab stop seen
    bool forward;
    bool nextIsIt;
};

struct FindShortcutInfo {
    wchar_t ch;
    bool pickNext;
};

struct FindClassInfo {
    const wchar_t* className; // "*" matches every class
    CStdPtrArray* found;
    int filled; // slots of found already holding a match
};

bool ClassContains(const CControlUI* control, const wchar_t* part) {
    const wchar_t* className = control->GetClass();
    return className != nullptr && wcsstr(className, part) != nullptr;
}

bool ClassMatches(const CControlUI* control, const wchar_t* className) {
    if (wcscmp(className, L"*") == 0) return true;
    const wchar_t* own = control->GetClass();
    return own != nullptr && wcscmp(own, className) == 0;
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LPARAM LParamFromPoint(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

wchar_t UpperCase(wchar_t ch) {
    return static_cast<wchar_t>(towupper(ch));
}

// True while a rich edit that takes Tab as text has the focus; a missing focus is no
// rich edit.
bool FocusTakesTab(CControlUI* focus) {
    if (focus == nullptr || !focus->IsVisible() || !focus->IsEnabled()) return false;
    if (!ClassContains(focus, L"RichEditUI")) return false;
    const auto* richEdit = static_cast<CRichEditUI*>(focus->GetInterface(L"RichEdit"));
    return richEdit != nullptr && richEdit->IsWantTab();
}

bool RemoveFirst(CStdPtrArray& list, void* item) {
    const int index = list.Find(item);
    return index >= 0 && list.Remove(index);
}

// Offers a message to message filters in order; the first that sets its handled flag
// ends the walk, and its answer is the message's result.
bool OfferToFilters(CListenerList& filters, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) {
    return !filters.Walk([&](void* filter) {
        bool handled = false;
        const LRESULT answer = static_cast<IMessageFilterUI*>(filter)->MessageHandler(
            message, wParam, lParam, handled);
        if (handled) result = answer;
        return !handled;
    });
}

} // namespace

CStdPtrArray CPaintManagerUI::m_aPreMessages;

CPaintManagerUI::CPaintManagerUI() : m_mNameHash(kMapBuckets), m_mOptionGroup(kMapBuckets) {
    InitPaintResources();
}

CPaintManagerUI::~CPaintManagerUI() {
    DeleteDelayedCleanup();
    m_mNameHash.RemoveAll();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    // After the tree: a control may still have queued something on its way out.
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i)
        delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
    ReleasePaintResources();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    if (m_hwndTooltip != nullptr && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
    m_hwndTooltip = nullptr;
    m_paintDC.Reset();
    RemoveFirst(m_aPreMessages, this);
}

void CPaintManagerUI::Init(HWND hWnd) {
    m_paintDC.Reset();
    m_hWndPaint = hWnd;
    if (hWnd != nullptr) m_paintDC = CWindowDC(hWnd);
    m_dwThreadId = ::GetCurrentThreadId();
    if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

HWND CPaintManagerUI::GetPaintWindow() const {
    return m_hWndPaint;
}

HDC CPaintManagerUI::GetPaintDC() const {
    return m_paintDC.Get();
}

CControlUI* CPaintManagerUI::GetRoot() const {
    return m_pRoot;
}

CControlUI* CPaintManagerUI::GetFocus() const {
    return m_pFocus;
}

HWND CPaintManagerUI::GetTooltipWindow() const {
    return m_hwndTooltip;
}

POINT CPaintManagerUI::GetMousePos() const {
    return m_ptLastMousePos;
}

bool CPaintManagerUI::IsCaptured() const {
    return m_bMouseCapture;
}

// ---- Message handling

TEventUI CPaintManagerUI::MakeEvent(int type, CControlUI* sender, POINT point, WORD keyState,
                                    WPARAM wParam, LPARAM lParam) {
    TEventUI event;
    event.type = type;
    event.sender = sender;
    event.timestamp = ::GetTickCount();
    event.mousePos = point;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

TEventUI CPaintManagerUI::MakeKeyEvent(int type, wchar_t key) const {
    TEventUI event = MakeEvent(type, nullptr, m_ptLastMousePos, MapKeyState());
    event.key = key;
    return event;
}

void CPaintManagerUI::SendEvent(CControlUI* target, TEventUI event) {
    target->Event(event);
}

CControlUI* CPaintManagerUI::OwnControlAt(POINT point) const {
    CControlUI* control = FindControl(point);
    return control != nullptr && control->GetManager() == this ? control : nullptr;
}

bool CPaintManagerUI::IsOnOwnThread() const {
    return m_dwThreadId == 0 || m_dwThreadId == ::GetCurrentThreadId();
}

bool CPaintManagerUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_hWndPaint == nullptr) return false;
    assert(IsOnOwnThread() && "a paint manager runs on the thread of its window only");

    DeliverQueuedNotifications();
    if (OfferToFilters(m_aMessageFilters, message, wParam, lParam, result)) return true;

    bool consumed = false;
    switch (message) {
    case kDelayedCleanupMessage:
        DeleteDelayedCleanup();
        break;

    // Painting is the other half's; this side only hands the messages over.
    case WM_SHOWWINDOW:
        // A hidden window needs no back buffers; the next paint makes them again, whole.
        if (wParam == FALSE) {
            DeleteOffscreen();
            DeleteBackground();
        }
        break;
    case WM_ERASEBKGND:
        // Painting covers everything; erasing would only flicker.
        result = 1;
        consumed = true;
        break;
    case WM_PAINT:
        OnPaint();
        result = 0;
        consumed = true;
        break;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        break;

    case WM_GETMINMAXINFO:
        ApplySizeLimits(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_SIZE:
        OnWindowSize();
        consumed = true;
        break;

    case WM_TIMER:
        OnTimer(LOWORD(wParam));
        break;

    case WM_CLOSE:
        OnClose();
        break;

    case WM_MOUSEHOVER:
        consumed = OnMouseHover(PointFromLParam(lParam));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        break;
    case WM_LBUTTONDOWN:
        OnButtonDown(wParam, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(wParam, lParam);
        break;
    case WM_LBUTTONUP:
        OnButtonUp(wParam, lParam);
        break;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(wParam, lParam);
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        break;
    case WM_SETCURSOR:
        consumed = OnSetCursor(wParam, lParam, result);
        break;

    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_KEYUP:
        OnKey(message, static_cast<wchar_t>(LOWORD(wParam)));
        break;

    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        consumed = ReflectToChild(message, wParam, lParam, result);
        break;

    default:
        break;
    }
    if (consumed) return true;

    DeliverQueuedNotifications();
    return false;
}

void CPaintManagerUI::DeleteDelayedCleanup() {
    // Deleting a control may queue another: the size is read each round.
    for (int i = 0; i < m_aDelayedCleanup.GetSize(); ++i)
        delete static_cast<CControlUI*>(m_aDelayedCleanup[i]);
    m_aDelayedCleanup.Empty();
}

bool CPaintManagerUI::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY) {
        // Consumed even without a header: nobody else could make sense of it.
        if (lParam != 0) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            result = ::SendMessageW(header->hwndFrom, message + kReflectOffset, wParam, lParam);
        }
        return true;
    }
    // Commands without a child window come from menus and accelerators.
    if (lParam == 0) return false;
    result =
        ::SendMessageW(reinterpret_cast<HWND>(lParam), message + kReflectOffset, wParam, lParam);
    return true;
}

// ---- Sizing and timers

void CPaintManagerUI::ApplySizeLimits(MINMAXINFO* info) const {
    if (info == nullptr) return;
    if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
    if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
    if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
}

void CPaintManagerUI::OnWindowSize() {
    if (CControlUI* focus = m_pFocus)
        SendEvent(focus, MakeEvent(UIEVENT_WINDOWSIZE, focus, POINT{}));
    if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

void CPaintManagerUI::OnTimer(UINT nativeId) {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const auto* timer = static_cast<const TTimerInfo*>(m_aTimers[i]);
        if (timer->window != m_hWndPaint || timer->nativeId != nativeId || timer->killed) continue;
        // The handler may kill the timer and free its record.
        CControlUI* control = timer->sender;
        SendEvent(control, MakeEvent(UIEVENT_TIMER, control, POINT{}, 0, timer->localKey));
        return;
    }
}

// ---- Mouse

bool CPaintManagerUI::OnMouseHover(POINT point) {
    m_bMouseTracking = false;
    CControlUI* control = FindControl(point);
    if (control == nullptr) return false;
    if (CControlUI* hover = m_pEventHover)
        SendEvent(hover, MakeEvent(UIEVENT_MOUSEHOVER, hover, point));
    if (!control->GetToolTip().IsEmpty()) ShowToolTip(control);
    return true;
}

void CPaintManagerUI::OnMouseLeave() {
    HideToolTip();
    // The hovered control gets its leave event even without a further move. Leave
    // tracking outlives WM_MOUSEHOVER, which disarms the flag: a hover still pending
    // ends here too.
    if (m_bMouseTracking || m_pEventHover != nullptr)
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

void CPaintManagerUI::OnMouseMove(POINT point) {
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWndPaint;
        track.dwHoverTime = m_hwndTooltip == nullptr
                                ? kDefaultHoverTime
                                : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME,
                                                                    TTDT_INITIAL, 0));
        ::TrackMouseEvent(&track);
        m_bMouseTracking = true;
    }
    m_ptLastMousePos = point;
    CControlUI* control = FindControl(point);
    if (control != nullptr && control->GetManager() != this) return;
    if (control != m_pEventHover && m_pEventHover != nullptr) {
        CControlUI* left = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(left, MakeEvent(UIEVENT_MOUSELEAVE, left, point));
        HideToolTip();
    }
    if (control != m_pEventHover && control != nullptr) {
        m_pEventHover = control;
        SendEvent(control, MakeEvent(UIEVENT_MOUSEENTER, control, point));
    }
    // A pressed control keeps the mouse until the button goes up.
    CControlUI* target = m_pEventClick != nullptr ? m_pEventClick : control;
    if (target != nullptr) SendEvent(target, MakeEvent(UIEVENT_MOUSEMOVE, target, point));
}

CControlUI* CPaintManagerUI::PressedControl(LPARAM lParam, POINT& point) {
    ::SetFocus(m_hWndPaint);
    point = PointFromLParam(lParam);
    m_ptLastMousePos = point;
    return OwnControlAt(point);
}

void CPaintManagerUI::OnButtonDown(WPARAM wParam, LPARAM lParam) {
    POINT point{};
    CControlUI* control = PressedControl(lParam, point);
    if (control == nullptr) return;
    m_pEventClick = control;
    control->SetFocus();
    SetCapture();
    SendEvent(control,
              MakeEvent(UIEVENT_BUTTONDOWN, control, point, LOWORD(wParam), wParam, lParam));
}

void CPaintManagerUI::OnDoubleClick(WPARAM wParam, LPARAM lParam) {
    POINT point{};
    CControlUI* control = PressedControl(lParam, point);
    if (control == nullptr) return;
    // The focus stays where the first click of the pair put it.
    SetCapture();
    SendEvent(control, MakeEvent(UIEVENT_DBLCLICK, control, point, LOWORD(wParam)));
    m_pEventClick = control;
}

void CPaintManagerUI::OnRightButtonDown(WPARAM wParam, LPARAM lParam) {
    POINT point{};
    CControlUI* control = PressedControl(lParam, point);
    if (control == nullptr) return;
    control->SetFocus();
    SetCapture();
    SendEvent(control,
              MakeEvent(UIEVENT_RBUTTONDOWN, control, point, LOWORD(wParam), wParam, lParam));
    m_pEventClick = control;
}

void CPaintManagerUI::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    const POINT point = PointFromLParam(lParam);
    m_ptLastMousePos = point;
    CControlUI* click = m_pEventClick;
    if (click == nullptr) return;
    ReleaseCapture();
    SendEvent(click, MakeEvent(UIEVENT_BUTTONUP, click, point, LOWORD(wParam), wParam, lParam));
    // A handler may have started a new click (or the control went away): keep that.
    if (m_pEventClick == click) m_pEventClick = nullptr;
}

void CPaintManagerUI::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &point);
    m_ptLastMousePos = point;
    CControlUI* click = m_pEventClick;
    if (click == nullptr) return;
    ReleaseCapture();
    SendEvent(click, MakeEvent(UIEVENT_CONTEXTMENU, click, point, LOWORD(wParam), wParam,
                               reinterpret_cast<LPARAM>(click)));
    if (m_pEventClick == click) m_pEventClick = nullptr;
}

void CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &point);
    m_ptLastMousePos = point;
    CControlUI* control = OwnControlAt(point);
    if (control == nullptr) return;
    const WPARAM direction = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_LINEDOWN : SB_LINEUP;
    SendEvent(control,
              MakeEvent(UIEVENT_SCROLLWHEEL, control, point, MapKeyState(), direction, lParam));
    // Hover follows the content that scrolled under the pointer.
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, LParamFromPoint(m_ptLastMousePos));
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) {
        result = TRUE; // keep the cursor the captured control chose
        return true;
    }
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWndPaint, &point);
    CControlUI* control = FindControl(point);
    if (control == nullptr || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0) return false;
    SendEvent(control, MakeEvent(UIEVENT_SETCURSOR, nullptr, point, MapKeyState(), wParam, lParam));
    result = TRUE;
    return true;
}

// ---- Keyboard and focus

void CPaintManagerUI::OnKey(UINT message, wchar_t key) {
    switch (message) {
    case WM_CHAR:
        if (CControlUI* focus = m_pFocus) SendEvent(focus, MakeKeyEvent(UIEVENT_CHAR, key));
        break;
    case WM_KEYDOWN:
        if (CControlUI* focus = m_pFocus) {
            // The key-up goes to this control even when the focus moves meanwhile.
            m_pEventKey = focus;
            SendEvent(focus, MakeKeyEvent(UIEVENT_KEYDOWN, key));
        }
        break;
    case WM_KEYUP:
        if (CControlUI* pressed = m_pEventKey) {
            m_pEventKey = nullptr;
            SendEvent(pressed, MakeKeyEvent(UIEVENT_KEYUP, key));
        }
        break;
    default:
        break;
    }
}

void CPaintManagerUI::OnClose() {
    const POINT last = m_ptLastMousePos;
    if (CControlUI* hover = m_pEventHover) {
        m_pEventHover = nullptr;
        SendEvent(hover, MakeEvent(UIEVENT_MOUSELEAVE, hover, last));
    }
    if (CControlUI* click = m_pEventClick) {
        m_pEventClick = nullptr;
        if (m_bMouseCapture) ReleaseCapture();
        SendEvent(click, MakeEvent(UIEVENT_BUTTONUP, click, last));
    }
    SetFocus(nullptr);
    // Hand the keyboard back to the owner before this window goes away.
    const HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (owner != nullptr) ::SetFocus(owner);
}

bool CPaintManagerUI::LayoutPass() {
    bool rootPlaced = false;
    if (m_bUpdateNeeded) {
        m_bUpdateNeeded = false;
        RECT client{};
        ::GetClientRect(m_hWndPaint, &client);
        if (!::IsRectEmpty(&client) && m_pRoot != nullptr) {
            {
                const CInvalidationBatch batch(*this);
                if (m_pRoot->IsUpdateNeeded()) {
                    m_pRoot->SetPos(client);
                    rootPlaced = true;
                } else {
                    CControlUI* placed = nullptr;
                    while (CControlUI* stale = m_pRoot->FindControl(__FindControlFromUpdate,
                                                                    nullptr, kUpdateSearchFlags)) {
                        // A control whose placement leaves it stale would be found forever.
                        if (stale == placed) break;
                        stale->SetPos(stale->GetPos());
                        placed = stale;
                    }
                }
            }
            if (m_bFirstLayout) {
                m_bFirstLayout = false;
                SendNotify(m_pRoot, NotifyType::kWindowInit);
            }
        }
    }
    if (m_bFocusNeeded) SetNextTabControl(true);
    return rootPlaced;
}

void CPaintManagerUI::ShowToolTip(CControlUI* control) {
    m_sToolTipText = control->GetToolTip();
    m_ToolTip = TOOLINFOW{};
    m_ToolTip.cbSize = sizeof(TOOLINFOW);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = GetInstance();
    m_ToolTip.lpszText = const_cast<wchar_t*>(m_sToolTipText.GetData());
    m_ToolTip.rect = control->GetPos();
    if (m_hwndTooltip == nullptr) {
        // The tool tip class comes with the common controls, loaded with the first tip.
        LoadCommonControls(ICC_WIN95_CLASSES);
        m_hwndTooltip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              m_hWndPaint, nullptr, GetInstance(), nullptr);
        if (m_hwndTooltip == nullptr) return;
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::HideToolTip() {
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

bool CPaintManagerUI::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    if (OfferToFilters(m_aPreMessageFilters, message, wParam, lParam, result)) return true;

    switch (message) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) return false;
        if (FocusTakesTab(m_pFocus)) return false;
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;

    case WM_SYSCHAR: {
        if (m_pRoot == nullptr) return false;
        FindShortcutInfo info{UpperCase(static_cast<wchar_t>(wParam)), false};
        if (info.ch == 0) return false;
        CControlUI* control =
            m_pRoot->FindControl(__FindControlFromShortcut, &info, kShortcutSearchFlags);
        if (control == nullptr) return false;
        control->SetFocus();
        control->Activate();
        return true;
    }

    case WM_SYSKEYDOWN:
        if (CControlUI* focus = m_pFocus)
            SendEvent(focus, MakeKeyEvent(UIEVENT_SYSKEY, static_cast<wchar_t>(wParam)));
        return false;

    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateAcceleratorW(MSG* msg) {
    // A translator answers 0 when it took the message: that ends the walk.
    return !m_aTranslateAccelerator.Walk([msg](void* translator) {
        return static_cast<ITranslateAccelerator*>(translator)->TranslateAccelerator(msg) != 0;
    });
}

void CPaintManagerUI::MessageLoop() {
    MSG msg{};
    // GetMessageW answers -1 on failure; that ends the loop rather than spinning.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        try {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } catch (...) {
            // A handler's failure must not end the program's only loop.
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const LPMSG msg) {
    if (msg == nullptr) return false;
    const LONG_PTR style = ::GetWindowLongPtrW(msg->hwnd, GWL_STYLE);
    if ((style & WS_CHILD) == 0) {
        for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
            auto* manager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            if (manager->GetPaintWindow() != msg->hwnd) continue;
            if (manager->TranslateAcceleratorW(msg)) return true;
            LRESULT result = 0;
            return manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
        }
        return false;
    }

    // A child window's message goes to the managers of the window and its ancestors, each
    // once, latest first. Handlers may end managers: work on a copy and skip those gone.
    const CStdPtrArray managers(m_aPreMessages);
    for (int i = managers.GetSize() - 1; i >= 0; --i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        if (m_aPreMessages.Find(manager) < 0) continue;
        const HWND window = manager->GetPaintWindow();
        bool related = window == msg->hwnd;
        for (HWND ancestor = ::GetParent(msg->hwnd); !related && ancestor != nullptr;
             ancestor = ::GetParent(ancestor))
            related = window == ancestor;
        if (!related) continue;
        if (manager->TranslateAcceleratorW(msg)) return true;
        LRESULT result = 0;
        manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
    }
    return false;
}

// ---- The tree

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr) {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(m_pRoot);
    }
    // The old tree is only waiting for deletion: searches must not find it any more.
    m_mNameHash.RemoveAll();
    m_aFoundControls.Empty();
    m_pRoot = root;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    m_childLayoutBuilds = 0;
    const CInvalidationBatch batch(*this);
    return InitControls(root, nullptr);
}

bool CPaintManagerUI::CountChildLayoutBuild() {
    if (m_childLayoutBuilds < kMaxChildLayoutBuilds) {
        ++m_childLayoutBuilds;
        return true;
    }
    if (m_childLayoutBuilds == kMaxChildLayoutBuilds) {
        SKIN__Trace(L"SkinUI: further child layouts skipped: one window's tree builds at most "
                    L"%d",
                    kMaxChildLayoutBuilds);
        ++m_childLayoutBuilds;
    }
    return false;
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    if (parent == nullptr) parent = control->GetParent();
    control->SetManager(this, parent, true);
    control->FindControl(__FindControlFromNameHash, this, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (control == nullptr) return;
    if (m_pEventKey == control) m_pEventKey = nullptr;
    if (m_pEventHover == control) m_pEventHover = nullptr;
    if (m_pEventClick == control) m_pEventClick = nullptr;
    if (m_pFocus == control) m_pFocus = nullptr;
    KillTimer(control);
    const CSkinString name = control->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name, false) == control) m_mNameHash.Remove(name);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        auto* queued = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
        if (queued->sender == control) queued->sender = nullptr;
    }
    // Lists that answer controls must not answer one that is gone.
    while (RemoveFirst(m_aFoundControls, control)) {
    }
    while (m_aPostPaintControls.Remove(control)) {
    }
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (control == nullptr) return;
    control->SetManager(this, nullptr, false);
    // Deleting one control twice would be fatal: queue it once.
    if (m_aDelayedCleanup.Find(control) < 0 && !m_aDelayedCleanup.Add(control)) {
        delete control;
        return;
    }
    if (m_hWndPaint != nullptr) ::PostMessageW(m_hWndPaint, kDelayedCleanupMessage, 0, 0);
}

// ---- Focus

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (::GetFocus() != m_hWndPaint && control != m_pFocus && m_hWndPaint != nullptr)
        ::SetFocus(m_hWndPaint);
    if (control == m_pFocus) return;
    if (CControlUI* old = m_pFocus) {
        SendEvent(old, MakeEvent(UIEVENT_KILLFOCUS, control, POINT{}));
        SendNotify(old, NotifyType::kKillFocus);
        m_pFocus = nullptr;
    }
    if (control == nullptr) return;
    if (control->GetManager() != this || !control->IsVisible() || !control->IsEnabled()) return;
    m_pFocus = control;
    SendEvent(control, MakeEvent(UIEVENT_SETFOCUS, control, POINT{}));
    SendNotify(control, NotifyType::kSetFocus);
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* control) {
    if (m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
    if (control == nullptr) return;
    if (CControlUI* old = m_pFocus) {
        SendEvent(old, MakeEvent(UIEVENT_KILLFOCUS, control, POINT{}));
        SendNotify(old, NotifyType::kKillFocus);
        m_pFocus = nullptr;
    }
    // Park the focus on the tab stop before the control: the tab after the next layout
    // pass lands on the control itself, with the proper events.
    FindTabInfo info{control, nullptr, false, false};
    m_pFocus = m_pRoot != nullptr
                   ? m_pRoot->FindControl(__FindControlFromTab, &info, kTabSearchFlags)
                   : nullptr;
    m_bFocusNeeded = true;
    if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
    if (m_bUpdateNeeded && forward) {
        // Tab order follows positions: move once the pending layout has run.
        m_bFocusNeeded = true;
        if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    CControlUI* found = nullptr;
    if (m_pRoot != nullptr) {
        FindTabInfo info{m_pFocus, nullptr, forward, false};
        found = m_pRoot->FindControl(__FindControlFromTab, &info, kTabSearchFlags);
        if (found == nullptr) {
            if (forward) {
                FindTabInfo fromStart{nullptr, nullptr, true, false};
                found = m_pRoot->FindControl(__FindControlFromTab, &fromStart, kTabSearchFlags);
            } else {
                found = info.last;
            }
        }
    }
    if (found != nullptr) SetFocus(found);
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture() {
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
    if (::GetCapture() == m_hWndPaint) ::ReleaseCapture();
    m_bMouseCapture = false;
}

// ---- Timers

UINT CPaintManagerUI::NextTimerId(bool& found) {
    // A native id still held by another timer of this window would replace that timer.
    for (UINT attempt = 0; attempt < kTimerIdCount; ++attempt) {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdCount;
        bool taken = false;
        for (int i = 0; i < m_aTimers.GetSize() && !taken; ++i) {
            const auto* timer = static_cast<const TTimerInfo*>(m_aTimers[i]);
            taken = timer->window == m_hWndPaint && timer->nativeId == m_uTimerID;
        }
        if (!taken) {
            found = true;
            return m_uTimerID;
        }
    }
    found = false;
    return 0;
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT key, UINT elapse) {
    if (control == nullptr || m_hWndPaint == nullptr) return false;
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (timer->sender != control || timer->window != m_hWndPaint || timer->localKey != key)
            continue;
        if (!timer->killed) return false;
        if (::SetTimer(m_hWndPaint, timer->nativeId, elapse, nullptr) == 0) return false;
        timer->killed = false;
        return true;
    }
    bool available = false;
    const UINT nativeId = NextTimerId(available);
    if (!available) return false;
    if (::SetTimer(m_hWndPaint, nativeId, elapse, nullptr) == 0) return false;
    auto* timer = new (std::nothrow) TTimerInfo{control, key, m_hWndPaint, nativeId, false};
    if (timer == nullptr || !m_aTimers.Add(timer)) {
        ::KillTimer(m_hWndPaint, nativeId);
        delete timer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT key) {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (timer->sender != control || timer->window != m_hWndPaint || timer->localKey != key ||
            timer->killed)
            continue;
        if (::IsWindow(m_hWndPaint)) ::KillTimer(timer->window, timer->nativeId);
        timer->killed = true;
        return true;
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        auto* timer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (timer->sender != control || timer->window != m_hWndPaint) continue;
        if (!timer->killed && ::IsWindow(timer->window))
            ::KillTimer(timer->window, timer->nativeId);
        delete timer;
        m_aTimers.Remove(i);
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (!timer->killed && ::IsWindow(timer->window))
            ::KillTimer(timer->window, timer->nativeId);
        delete timer;
    }
    m_aTimers.Empty();
}

// ---- Notifications

void CPaintManagerUI::SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam,
                                 LPARAM lParam, bool async) {
    TNotifyUI msg;
    msg.type = type;
    msg.sender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    assert(IsOnOwnThread() && "a paint manager runs on the thread of its window only");
    msg.mousePos = m_ptLastMousePos;
    msg.timestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && msg.sender != nullptr) msg.virtualWnd = msg.sender->GetVirtualWnd();
    if (!async) {
        DeliverNotify(msg);
        return;
    }
    // Queued notifications reach the window's own map: the virtual window stays behind.
    auto* queued = new (std::nothrow) TNotifyUI;
    if (queued == nullptr) return;
    queued->type = msg.type;
    queued->sender = msg.sender;
    queued->timestamp = msg.timestamp;
    queued->mousePos = msg.mousePos;
    queued->wParam = msg.wParam;
    queued->lParam = msg.lParam;
    if (!m_aAsyncNotify.Add(queued)) delete queued;
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& msg) {
    if (msg.sender != nullptr && msg.sender->OnNotify) msg.sender->OnNotify(&msg);
    m_aNotifiers.Walk([&msg](void* notifier) {
        static_cast<INotifyUI*>(notifier)->Notify(msg);
        return true;
    });
}

void CPaintManagerUI::DeliverQueuedNotifications() {
    // Only what was queued before: a notifier that queues again from its handler waits for
    // the next delivery instead of keeping this one going forever.
    for (int pending = m_aAsyncNotify.GetSize(); pending > 0 && !m_aAsyncNotify.IsEmpty();
         --pending) {
        auto* msg = static_cast<TNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*msg);
        delete msg;
    }
}

// ---- Listener lists

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    return m_aNotifiers.Add(notifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    return m_aNotifiers.Remove(notifier);
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) {
    return m_aPreMessageFilters.Add(filter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) {
    return m_aPreMessageFilters.Remove(filter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    return m_aMessageFilters.Add(filter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    return m_aMessageFilters.Remove(filter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* translator) {
    return m_aTranslateAccelerator.Add(translator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* translator) {
    return m_aTranslateAccelerator.Remove(translator);
}

bool CPaintManagerUI::AddPostPaint(CControlUI* control) {
    return m_aPostPaintControls.Add(control);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* control) {
    return m_aPostPaintControls.Remove(control);
}

int CPaintManagerUI::GetPostPaintCount() const {
    return m_aPostPaintControls.GetCount();
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* control, int index) {
    return m_aPostPaintControls.Move(control, index);
}

void CPaintManagerUI::PostPaint(HDC hDC, const RECT& paint) {
    m_aPostPaintControls.Walk([hDC, &paint](void* control) {
        static_cast<CControlUI*>(control)->DoPostPaint(hDC, paint);
        return true;
    });
}

// ---- Option groups

bool CPaintManagerUI::AddOptionGroup(const wchar_t* group, CControlUI* control) {
    if (group == nullptr) return false;
    if (auto* members = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(group))) {
        if (members->Find(control) >= 0) return false;
        return members->Add(control);
    }
    auto* members = new (std::nothrow) CStdPtrArray(kOptionGroupCapacity);
    if (members == nullptr) return false;
    if (!members->Add(control) || !m_mOptionGroup.Insert(group, members)) {
        delete members;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(const wchar_t* group) {
    if (group == nullptr) return nullptr;
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(group));
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* group, CControlUI* control) {
    CStdPtrArray* members = GetOptionGroup(group);
    if (members == nullptr) return;
    RemoveFirst(*members, control);
    if (members->IsEmpty()) {
        delete members;
        m_mOptionGroup.Remove(group);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups() {
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i)
        delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup.GetAt(i), false));
    m_mOptionGroup.RemoveAll();
}

void CPaintManagerUI::UsedVirtualWnd(bool used) {
    m_bUsedVirtualWnd = used;
}

// ---- Searches

CControlUI* CPaintManagerUI::FindControl(const wchar_t* name) {
    if (name == nullptr) return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(name));
}

CControlUI* CPaintManagerUI::FindControl(POINT point) const {
    if (m_pRoot == nullptr) return nullptr;
    return m_pRoot->FindControl(__FindControlFromPoint, &point, kPointSearchFlags);
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* parent, POINT point) const {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr) return nullptr;
    return parent->FindControl(__FindControlFromPoint, &point, kPointSearchFlags);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const wchar_t* name) const {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr || name == nullptr) return nullptr;
    return parent->FindControl(__FindControlFromName, const_cast<wchar_t*>(name), UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, const wchar_t* className,
                                                   int index) {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr || className == nullptr || index < 0) return nullptr;
    if (!m_aFoundControls.Resize(index + 1)) return nullptr;
    FindClassInfo info{className, &m_aFoundControls, 0};
    return parent->FindControl(__FindControlFromClass, &info, UIFIND_ALL);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                      const wchar_t* className) {
    m_aFoundControls.Empty();
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr || className == nullptr) return &m_aFoundControls;
    FindClassInfo info{className, &m_aFoundControls, 0};
    parent->FindControl(__FindControlsFromClass, &info, UIFIND_ALL);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass() {
    return &m_aFoundControls;
}

void CPaintManagerUI::Invalidate(RECT& rect) {
    // Without a window, a null handle would invalidate every window on the desktop.
    if (m_hWndPaint == nullptr || ::IsRectEmpty(&rect)) return;
    if (m_nInvalidationBatches == 0) {
        ::InvalidateRect(m_hWndPaint, &rect, FALSE);
        return;
    }
    // Each call is a round trip to the window server on some platforms, and a layout pass
    // invalidates every control it moves, most of them inside a container it invalidated
    // whole. Outside a batch the window may have been validated since, by anyone.
    RECT inside{};
    if (::IntersectRect(&inside, &rect, &m_rcBatchInvalidated) && ::EqualRect(&inside, &rect))
        return;
    ::InvalidateRect(m_hWndPaint, &rect, FALSE);
    const auto area = [](const RECT& r) {
        return (static_cast<long long>(r.right) - r.left) *
               (static_cast<long long>(r.bottom) - r.top);
    };
    if (area(rect) > area(m_rcBatchInvalidated)) m_rcBatchInvalidated = rect;
}

CPaintManagerUI::CInvalidationBatch::CInvalidationBatch(CPaintManagerUI& manager)
    : m_manager(manager) {
    ++m_manager.m_nInvalidationBatches;
}

CPaintManagerUI::CInvalidationBatch::~CInvalidationBatch() {
    if (--m_manager.m_nInvalidationBatches == 0) m_manager.m_rcBatchInvalidated = RECT{};
}

void CPaintManagerUI::NeedUpdate() {
    m_bUpdateNeeded = true;
}

SIZE CPaintManagerUI::GetMinInfo() const {
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy) {
    m_szMinWindow = SIZE{cx, cy};
}

SIZE CPaintManagerUI::GetMaxInfo() const {
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy) {
    m_szMaxWindow = SIZE{cx, cy};
}

// ---- Tree-walk callbacks

CControlUI* CPaintManagerUI::__FindControlFromNameHash(CControlUI* control, void* data) {
    auto* manager = static_cast<CPaintManagerUI*>(data);
    const CSkinString name = control->GetName();
    // The first control of a name keeps it.
    if (!name.IsEmpty()) manager->m_mNameHash.Insert(name, control);
    return nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromCount(CControlUI*, void* data) {
    ++*static_cast<int*>(data);
    return nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromPoint(CControlUI* control, void* data) {
    const RECT& pos = control->GetPos();
    return ::PtInRect(&pos, *static_cast<const POINT*>(data)) ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromTab(CControlUI* control, void* data) {
    auto* info = static_cast<FindTabInfo*>(data);
    if (control == info->focus) {
        if (!info->forward) return info->last;
        info->nextIsIt = true;
        return nullptr;
    }
    if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
    info->last = control;
    return info->nextIsIt || info->focus == nullptr ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromShortcut(CControlUI* control, void* data) {
    if (!control->IsVisible()) return nullptr;
    auto* info = static_cast<FindShortcutInfo*>(data);
    if (UpperCase(control->GetShortcut()) == info->ch) info->pickNext = true;
    // A label's shortcut belongs to the control after it.
    if (ClassContains(control, L"LabelUI")) return nullptr;
    return info->pickNext ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromUpdate(CControlUI* control, void*) {
    return control->IsUpdateNeeded() ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromName(CControlUI* control, void* data) {
    const CSkinString name = control->GetName();
    if (name.IsEmpty()) return nullptr;
    return name.CompareNoCase(static_cast<const wchar_t*>(data)) == 0 ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlFromClass(CControlUI* control, void* data) {
    auto* info = static_cast<FindClassInfo*>(data);
    if (!ClassMatches(control, info->className)) return nullptr;
    info->found->SetAt(info->filled++, control);
    return info->filled == info->found->GetSize() ? control : nullptr;
}

CControlUI* CPaintManagerUI::__FindControlsFromClass(CControlUI* control, void* data) {
    auto* info = static_cast<FindClassInfo*>(data);
    if (ClassMatches(control, info->className)) info->found->Add(control);
    return nullptr;
}

} // namespace SkinUI
