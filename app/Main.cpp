// The client's entry procedure: start COM, read the configuration, make sure only one
// copy runs, then run the login frame until it quits.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include "ClientLoop.h"
#include "MicroClientConfig.h"
#include "MicroClientLogin.h"
#include "window/PaintManagerUI.h"

using SkinUI::CPaintManagerUI;

namespace {

// The login frame's style: WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
// WS_CAPTION | WS_SYSMENU.
constexpr DWORD kLoginWindowStyle = 0x96C80000;

void EndCom() {
    ::OleUninitialize();
    ::CoUninitialize();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);
    // The executable is both the instance and the source of skin resources.
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourceDll(instance);
    LoadClientConfig();

    CMicroClientLogin* login = GetLoginFrame();
    if (login == nullptr) {
        EndCom();
        return -1;
    }

    // Creating (not opening) the mutex closes the gap in which two copies started
    // together would both see no other copy.
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, GetMicroClientConfig().clientName);
    if (mutex == nullptr || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::MessageBoxW(nullptr, L"微端已经运行了。", L"提示", MB_ICONINFORMATION);
        if (mutex != nullptr) ::CloseHandle(mutex);
        delete login;
        EndCom();
        return 0;
    }

    if (login->Create(nullptr, L"Varnel", kLoginWindowStyle, 0, 0, 0, 0, 0) != nullptr) {
        login->CenterWindow();
        ::ShowWindow(*login, SW_SHOWNORMAL);
        RunClientLoop();
    } else {
        delete login;
    }

    ::CloseHandle(mutex);
    EndCom();
    return 0;
}
