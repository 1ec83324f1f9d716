// The gallery program as the build leaves it, started as a user would: its window shows
// at the skin's size, and a click on its close button ends it with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring TestDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1);
}

// The visible window of a class that belongs to a process, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        HWND found;
    } search{processId, className, nullptr};
    ::EnumWindows(
        [](HWND candidate, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(candidate, &owner);
            wchar_t name[64] = L"";
            ::GetClassNameW(candidate, name, 64);
            if (owner != search->processId || std::wstring(name) != search->className ||
                !::IsWindowVisible(candidate))
                return TRUE;
            search->found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits up to `timeoutMs` for `done`.
template <class Condition> bool WaitFor(Condition done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() > deadline) return false;
        ::Sleep(50);
    }
    return true;
}

// Ends a process the test started, unless it ended by itself.
struct ProcessGuard {
    PROCESS_INFORMATION info{};
    ~ProcessGuard() {
        if (info.hProcess == nullptr) return;
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(info.hProcess, 9);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
};

TEST(GalleryProgram, ShowsItsWindowAndItsCloseButtonEndsIt) {
    std::wstring command = L"\"" + TestDirectory() + L"..\\examples\\gallery\\gallery.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ProcessGuard process;
    ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process.info))
        << "no gallery.exe beside the build's examples";

    HWND window = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (window = FindProcessWindow(process.info.dwProcessId, L"SkinUIGallery")); },
        20000))
        << "no gallery window within 20 s";
    wchar_t title[64] = L"";
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"SkinUI Gallery");
    RECT place{};
    ::GetWindowRect(window, &place);
    EXPECT_EQ(place.right - place.left, 720) << "the skin's width";
    EXPECT_EQ(place.bottom - place.top, 440) << "the skin's height";

    // Clicks find their controls only once the first paint has laid the skin out.
    ASSERT_TRUE(WaitFor([&] { return !::GetUpdateRect(window, nullptr, FALSE); }, 10000));
    const LPARAM closeButton = MAKELPARAM(720 - 22, 20); // the title bar's last button
    ::PostMessageW(window, WM_MOUSEMOVE, 0, closeButton);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, closeButton);
    ::PostMessageW(window, WM_LBUTTONUP, 0, closeButton);
    ASSERT_EQ(::WaitForSingleObject(process.info.hProcess, 15000), WAIT_OBJECT_0)
        << "still running 15 s after its close button was clicked";
    DWORD exitCode = 99;
    ::GetExitCodeProcess(process.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
