#include "window/WindowWnd.h"

#include "core/Handles.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// Window property that holds the object of a super-classed window, whose own
// user data belongs to the control.
constexpr const wchar_t* kObjectProperty = L"WndX";
// Window properties that hold the icons SetIcon gave the window: they go with it.
constexpr const wchar_t* kBigIconProperty = L"SkinUI.BigIcon";
constexpr const wchar_t* kSmallIconProperty = L"SkinUI.SmallIcon";

bool RegisteredOrExisting(ATOM atom) {
    return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Shows `icon` as the window's big or small icon and makes the window its owner; the icon
// it owned there before is destroyed once it is no longer shown. An icon that cannot be
// recorded is not shown either.
void GiveIcon(HWND window, WPARAM which, const wchar_t* property, CIcon icon) {
    const HICON previous = static_cast<HICON>(::GetPropW(window, property));
    if (icon) {
        if (!::SetPropW(window, property, icon.Get())) return;
    } else {
        ::RemovePropW(window, property);
    }
    ::SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.Detach()));
    const CIcon replaced(previous);
}

// At WM_NCDESTROY, after the window is gone.
void DestroyGivenIcons(HWND window) {
    const CIcon big(static_cast<HICON>(::RemovePropW(window, kBigIconProperty)));
    const CIcon little(static_cast<HICON>(::RemovePropW(window, kSmallIconProperty)));
}

} // namespace

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSW wc{};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::__WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWndClassName();
    return RegisteredOrExisting(::RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
        !::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc))
        return false;
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::__ControlProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetWndClassName();
    return RegisteredOrExisting(::RegisterClassExW(&wc));
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle,
                        const RECT& rc, HMENU menu) {
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y,
                        int cx, int cy, HMENU menu) {
    if (GetSuperClassName() != nullptr ? !RegisterSuperclass() : !RegisterWindowClass())
        return nullptr;
    m_hWnd = ::CreateWindowExW(exStyle, GetWndClassName(), name, style, x, y, cx, cy, parent, menu,
                               CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::CreateSkinWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle) {
    return Create(parent, name, style, exStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND window) {
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CWindowWnd::__WndProc)));
    if (old == nullptr) return nullptr;
    m_OldWndProc = old;
    m_bSubclassed = true;
    m_hWnd = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hWnd;
}

void CWindowWnd::Unsubclass() {
    if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, !show ? SW_HIDE : takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
}

UINT CWindowWnd::ShowModal() {
    // The object may delete itself when its window goes: keep what the loop needs.
    const HWND window = m_hWnd;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    UINT result = 0;
    ::ShowWindow(window, SW_SHOWNORMAL);
    if (owner != nullptr) ::EnableWindow(owner, FALSE);
    MSG msg{};
    // GetMessageW answers -1 on failure; that ends the loop rather than spinning.
    while (::IsWindow(window) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool closing = msg.hwnd == window && msg.message == WM_CLOSE;
        if (closing) {
            // Hand activation back to the owner before this window goes away.
            result = static_cast<UINT>(msg.wParam);
            if (owner != nullptr) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // A window that refused to close is still modal.
        if (closing && owner != nullptr && ::IsWindow(window)) ::EnableWindow(owner, FALSE);
    }
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    // GetMessageW took the quit request away from the outer loop: give it back.
    if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::Close(UINT result) {
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(result), 0);
}

void CWindowWnd::CenterWindow() {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(
        ::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT centre = work;
    if (owner != nullptr) ::GetWindowRect(owner, &centre);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x < work.left)
        x = work.left;
    else if (x + width > work.right)
        x = work.right - width;
    if (y < work.top)
        y = work.top;
    else if (y + height > work.bottom)
        y = work.bottom - height;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId) {
    if (!::IsWindow(m_hWnd)) return;
    const HINSTANCE instance = CPaintManagerUI::GetInstance();
    const auto load = [instance, resourceId](int width, int height) {
        return CIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId),
                                                     IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    };
    GiveIcon(m_hWnd, ICON_BIG, kBigIconProperty,
             load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
    GiveIcon(m_hWnd, ICON_SMALL, kSmallIconProperty,
             load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    RECT rc{};
    if (!::GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    const BOOL hasMenu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
    if (!::AdjustWindowRectEx(&rc, style, hasMenu, exStyle)) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, message, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* window = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        window = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (window != nullptr) {
            window->m_hWnd = hWnd;
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
    } else {
        window = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY && window != nullptr) {
            const LRESULT result =
                ::CallWindowProcW(window->m_OldWndProc, hWnd, message, wParam, lParam);
            DestroyGivenIcons(hWnd);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            if (window->m_bSubclassed) window->Unsubclass();
            window->m_hWnd = nullptr;
            window->OnFinalMessage(hWnd);
            return result;
        }
    }
    if (window != nullptr) return window->HandleMessage(message, wParam, lParam);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::__ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* window = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        window = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (window != nullptr) {
            window->m_hWnd = hWnd;
            ::SetPropW(hWnd, kObjectProperty, window);
        }
    } else {
        window = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty));
        if (message == WM_NCDESTROY && window != nullptr) {
            const LRESULT result =
                ::CallWindowProcW(window->m_OldWndProc, hWnd, message, wParam, lParam);
            DestroyGivenIcons(hWnd);
            if (window->m_bSubclassed) window->Unsubclass();
            // Removed, not set to null: a nulled property would stay with the window.
            ::RemovePropW(hWnd, kObjectProperty);
            window->m_hWnd = nullptr;
            window->OnFinalMessage(hWnd);
            return result;
        }
    }
    if (window != nullptr) return window->HandleMessage(message, wParam, lParam);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace SkinUI
