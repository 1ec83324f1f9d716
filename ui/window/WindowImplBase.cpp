#include "window/WindowImplBase.h"

#include <shlwapi.h>
#include <windowsx.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "control/ControlUI.h"
#include "core/Handles.h"

namespace SkinUI {

BYTE* WindowImplBase::m_lpResourceZIPBuffer = nullptr;
DWORD WindowImplBase::m_dwResourceZIPSize = 0;

SKIN_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
SKIN_ON_NOTIFY(NotifyType::kClick, WindowImplBase, OnClick)
SKIN_END_MESSAGE_MAP()

namespace {

// The work area of the monitor nearest to the window, relative to that monitor's corner.
RECT WorkAreaOnMonitor(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    RECT work = info.rcWork;
    ::OffsetRect(&work, -info.rcMonitor.left, -info.rcMonitor.top);
    return work;
}

} // namespace

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (msg.sender == nullptr) return;
    const CSkinString name = msg.sender->GetName();
    if (name == L"closebtn")
        Close(1);
    else if (name == L"minbtn")
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn")
        SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn")
        SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT message, WPARAM wParam, LPARAM, bool&) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return ResponseDefaultKeyEvent(wParam);
    return 0;
}

CControlUI* WindowImplBase::CreateControl(const wchar_t*) {
    return nullptr;
}

UINT WindowImplBase::GetClassStyle() const {
    return CS_DBLCLKS;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = TRUE;
    LRESULT result = 0;
    switch (message) {
    case WM_CREATE:
        result = OnCreate(message, wParam, lParam, handled);
        break;
    case WM_CLOSE:
        result = OnClose(message, wParam, lParam, handled);
        break;
    case WM_DESTROY:
        result = OnDestroy(message, wParam, lParam, handled);
        break;
    case WM_NCACTIVATE:
        result = OnNcActivate(message, wParam, lParam, handled);
        break;
    case WM_NCCALCSIZE:
        result = OnNcCalcSize(message, wParam, lParam, handled);
        break;
    case WM_NCPAINT:
        result = OnNcPaint(message, wParam, lParam, handled);
        break;
    case WM_NCHITTEST:
        result = OnNcHitTest(message, wParam, lParam, handled);
        break;
    case WM_GETMINMAXINFO:
        result = OnGetMinMaxInfo(message, wParam, lParam, handled);
        break;
    case WM_MOUSEWHEEL:
        result = OnMouseWheel(message, wParam, lParam, handled);
        break;
    case WM_MOUSEHOVER:
        result = OnMouseHover(message, wParam, lParam, handled);
        break;
    case WM_SIZE:
        result = OnSize(message, wParam, lParam, handled);
        break;
    case WM_CHAR:
        result = OnChar(message, wParam, lParam, handled);
        break;
    case WM_SYSCOMMAND:
        result = OnSysCommand(message, wParam, lParam, handled);
        break;
    case WM_KEYDOWN:
        result = OnKeyDown(message, wParam, lParam, handled);
        break;
    case WM_KILLFOCUS:
        result = OnKillFocus(message, wParam, lParam, handled);
        break;
    case WM_SETFOCUS:
        result = OnSetFocus(message, wParam, lParam, handled);
        break;
    case WM_LBUTTONUP:
        result = OnLButtonUp(message, wParam, lParam, handled);
        break;
    case WM_LBUTTONDOWN:
        result = OnLButtonDown(message, wParam, lParam, handled);
        break;
    case WM_MOUSEMOVE:
        result = OnMouseMove(message, wParam, lParam, handled);
        break;
    case WM_ERASEBKGND:
        result = OnErasebkgnd(message, wParam, lParam, handled);
        break;
    default:
        handled = FALSE;
        break;
    }
    if (handled) return result;
    result = HandleCustomMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (m_PaintManager.MessageHandler(message, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void WindowImplBase::OnFinalMessage(HWND) {
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM key) {
    if (key == VK_ESCAPE) {
        Close(1);
        return TRUE;
    }
    return FALSE;
}

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const {
    return UILIB_FROM_FILE;
}

CSkinString WindowImplBase::GetZIPFileName() const {
    return CSkinString();
}

DWORD WindowImplBase::GetResourceID() const {
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (::IsIconic(m_hWnd)) handled = FALSE;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!::IsZoomed(m_hWnd)) return 0;
    // Both forms of the message start with the proposed window rectangle.
    RECT* proposed = reinterpret_cast<RECT*>(lParam);
    const RECT work = WorkAreaOnMonitor(m_hWnd);
    proposed->right = proposed->left + (work.right - work.left);
    proposed->bottom = proposed->top + (work.bottom - work.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) {
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &point);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);

    if (!::IsZoomed(m_hWnd)) {
        const RECT& box = m_PaintManager.GetSizeBox();
        const bool left = point.x < client.left + box.left;
        const bool right = point.x > client.right - box.right;
        if (point.y < client.top + box.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (point.y > client.bottom - box.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }

    const RECT& caption = m_PaintManager.GetCaptionRect();
    if (point.x >= client.left + caption.left && point.x < client.right - caption.right &&
        point.y >= caption.top && point.y < caption.bottom) {
        // Buttons, options and text links in the caption band stay clickable.
        CControlUI* control = m_PaintManager.FindControl(point);
        if (control != nullptr && _wcsicmp(control->GetClass(), L"ButtonUI") != 0 &&
            _wcsicmp(control->GetClass(), L"OptionUI") != 0 &&
            _wcsicmp(control->GetClass(), L"TextUI") != 0)
            return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const RECT work = WorkAreaOnMonitor(m_hWnd);
    info->ptMaxPosition = POINT{work.left, work.top};
    info->ptMaxTrackSize = POINT{work.right - work.left, work.bottom - work.top};
    const SIZE minimum = m_PaintManager.GetMinInfo();
    info->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
    const SIZE corner = m_PaintManager.GetRoundCorner();
    if (!::IsIconic(m_hWnd) && (corner.cx != 0 || corner.cy != 0)) {
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        ::OffsetRect(&window, -window.left, -window.top);
        CGdiRegion region(
            ::CreateRoundRectRgn(0, 0, window.right + 1, window.bottom + 1, corner.cx, corner.cy));
        // The system owns the region once it is installed.
        if (region && ::SetWindowRgn(m_hWnd, region.Get(), TRUE) != 0) region.Detach();
    }
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The low four bits of the command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(WM_CLOSE);
        return 0;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    // Recalculating the frame is no reason to activate the window; showing it decides.
    ::SetWindowPos(m_hWnd, nullptr, client.left, client.top, client.right - client.left,
                   client.bottom - client.top, SWP_FRAMECHANGED | SWP_NOACTIVATE);

    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);
    if (!SelectSkinSource()) FailSkinLoad();

    CDialogBuilder builder;
    CControlUI* root = nullptr;
    if (GetResourceType() == UILIB_FROM_RESOURCE) {
        const unsigned int id = static_cast<WORD>(wcstol(GetSkinXmlName(), nullptr, 10));
        root = builder.Create(STRINGorID(id), L"xml", this, &m_PaintManager);
    } else {
        const CSkinString name = GetSkinXmlName();
        root = builder.Create(STRINGorID(name.GetData()), nullptr, this, &m_PaintManager);
    }
    if (root == nullptr) FailSkinLoad();

    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    InitWindow();
    return 0;
}

bool WindowImplBase::SelectSkinSource() {
    // A folder relative to the program; an absolute one cannot be, and stands alone.
    const CSkinString directory = GetSkinDirectory();
    CSkinString path;
    if (::PathIsRelativeW(directory)) path = CPaintManagerUI::GetInstancePath();
    path += directory;
    CPaintManagerUI::SetResourcePath(path);
    switch (GetResourceType()) {
    case UILIB_FROM_ZIP:
        CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
        break;
    case UILIB_FROM_ZIPRESOURCE:
        if (m_lpResourceZIPBuffer == nullptr) {
            HINSTANCE module = CPaintManagerUI::GetResourceDll();
            HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(GetResourceID()), L"ZIPRES");
            if (resource == nullptr) return false;
            HGLOBAL loaded = ::LoadResource(module, resource);
            if (loaded == nullptr) return false;
            const DWORD size = ::SizeofResource(module, resource);
            const void* bytes = ::LockResource(loaded);
            if (size == 0 || bytes == nullptr) {
                ::FreeResource(loaded);
                return false;
            }
            // Read once and shared by every window: the open archive reads from it.
            m_lpResourceZIPBuffer = new (std::nothrow) BYTE[size];
            if (m_lpResourceZIPBuffer == nullptr) {
                ::FreeResource(loaded);
                return false;
            }
            std::memcpy(m_lpResourceZIPBuffer, bytes, size);
            m_dwResourceZIPSize = size;
            ::FreeResource(loaded);
        }
        CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, m_dwResourceZIPSize);
        break;
    default:
        break;
    }
    return true;
}

void WindowImplBase::FailSkinLoad() {
    ::MessageBoxW(nullptr, L"加载资源文件失败", L"SkinUI", MB_ICONERROR);
    ::ExitProcess(1);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnErasebkgnd(UINT, WPARAM, LPARAM, BOOL&) {
    return 1;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
}

LONG WindowImplBase::GetStyle() {
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    return static_cast<LONG>(style & ~static_cast<LONG_PTR>(WS_CAPTION));
}

} // namespace SkinUI
