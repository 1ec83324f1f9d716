#include "LeakWindows.h"

#include "support/SkinTestKit.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;

namespace leaktest {

std::wstring SkinFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"leak_skin\\";
}

CSkinString LeakWindow::GetSkinDirectory() const {
    return SkinFolder().c_str();
}

HWND LeakWindow::Open(HWND owner) {
    // File skins: no archive left over from a window that read one.
    CPaintManagerUI::SetResourceZip(L"", false);
    if (Create(owner, L"leak", WS_POPUP, 0, 100, 100, 0, 0) == nullptr) return nullptr;
    ::ShowWindow(GetHWND(), SW_SHOWNOACTIVATE);
    Paint(GetHWND());
    skintest::PumpMessages();
    return GetHWND();
}

void Paint(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

POINT CentreOf(const CControlUI* control) {
    if (control == nullptr) return POINT{10, 10};
    const RECT& pos = control->GetPos();
    return POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
}

void Key(HWND target, UINT message, WPARAM key) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1;
    msg.time = ::GetTickCount();
    if (CPaintManagerUI::TranslateMessage(&msg)) return;
    ::DispatchMessageW(&msg);
}

void DriveAt(HWND window, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window, WM_MOUSEHOVER, 0, at);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x + 2, point.y + 1));
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    skintest::PumpMessages();
    if (!::IsWindow(window)) return;
    // Keys go where the click left the focus: a native window it opened, or the window.
    HWND keys = ::GetFocus();
    if (keys == nullptr || (keys != window && !::IsChild(window, keys))) keys = window;
    for (const WPARAM key : {WPARAM(VK_DOWN), WPARAM(VK_RIGHT), WPARAM(VK_UP)}) {
        Key(keys, WM_KEYDOWN, key);
        Key(keys, WM_KEYUP, key);
    }
    Key(keys, WM_CHAR, L'a');
    Key(keys, WM_CHAR, VK_BACK);
    skintest::PumpMessages();
    if (!::IsWindow(window)) return;
    ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                   skintest::ScreenPointParam(window, point.x, point.y));
    ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   skintest::ScreenPointParam(window, point.x, point.y));
    ::SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, at);
    ::SendMessageW(window, WM_RBUTTONUP, 0, at);
    ::SendMessageW(window, WM_KILLFOCUS, 0, 0);
    ::SendMessageW(window, WM_SETFOCUS, 0, 0);
    ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    skintest::PumpMessages();
    if (::IsWindow(window)) Paint(window);
}

HWND FindChildOfClass(HWND window, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            ::GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s->className) != 0) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Destroy(HWND window) {
    if (window != nullptr && ::IsWindow(window)) ::DestroyWindow(window);
    skintest::PumpMessages();
}

} // namespace leaktest
