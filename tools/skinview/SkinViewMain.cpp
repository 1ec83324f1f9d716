// skinview [--zip ARCHIVE] [--size WIDTH,HEIGHT] [--png OUT.png] SKIN
//
// Shows a skin XML file in a skinned window that rebuilds itself when the file (or the
// archive holding it) changes, and that Escape closes; or, with --png, renders it into a
// PNG file without showing a window. Failures are one line on stderr and exit code 2.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "SkinRender.h"
#include "SkinViewWindow.h"
#include "window/PaintManagerUI.h"

using SkinUI::CPaintManagerUI;
using SkinUI::CSkinString;
using namespace SkinView;

namespace {

constexpr int kFailure = 2;
constexpr UINT kWatchIntervalMs = 500;

struct TOptions {
    CSkinString skin;
    CSkinString archive;
    CSkinString png;
    SIZE size{};
};

void PrintLine(const wchar_t* skin, const wchar_t* reason) {
    // UTF-8, so that any name or message survives the console's code page.
    CSkinString line = L"skinview: ";
    if (skin != nullptr && skin[0] != L'\0') {
        line += skin;
        line += L": ";
    }
    line += reason;
    line += L"\n";
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return;
    char* text = new char[size];
    ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text, size, nullptr, nullptr);
    std::fputs(text, stderr);
    std::fflush(stderr);
    delete[] text;
}

// "WIDTH,HEIGHT" with two positive numbers and nothing else.
bool ParseSize(const wchar_t* text, SIZE& size) {
    wchar_t* end = nullptr;
    size.cx = std::wcstol(text, &end, 10);
    if (end == text || *end != L',') return false;
    const wchar_t* second = end + 1;
    size.cy = std::wcstol(second, &end, 10);
    return end != second && *end == L'\0' && size.cx > 0 && size.cy > 0 && size.cx <= 16384 &&
           size.cy <= 16384;
}

bool ParseArguments(int count, wchar_t** arguments, TOptions& options) {
    for (int i = 1; i < count; ++i) {
        const wchar_t* argument = arguments[i];
        const bool hasValue = i + 1 < count;
        if (std::wcscmp(argument, L"--zip") == 0 && hasValue) {
            options.archive = arguments[++i];
        } else if (std::wcscmp(argument, L"--png") == 0 && hasValue) {
            options.png = arguments[++i];
        } else if (std::wcscmp(argument, L"--size") == 0 && hasValue) {
            if (!ParseSize(arguments[++i], options.size)) return false;
        } else if (argument[0] == L'-' || !options.skin.IsEmpty()) {
            return false;
        } else {
            options.skin = argument;
        }
    }
    return !options.skin.IsEmpty();
}

// Splits a path into its absolute folder (with the separator) and its file name.
bool SplitPath(const wchar_t* path, CSkinString& folder, CSkinString& name) {
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return false;
    CSkinString whole = full;
    int separator = whole.ReverseFind(L'\\');
    const int slash = whole.ReverseFind(L'/');
    if (slash > separator) separator = slash;
    if (separator < 0 || separator + 1 == whole.GetLength()) return false;
    folder = whole.Left(separator + 1);
    name = whole.Mid(separator + 1);
    return true;
}

// Last write time and size of a file; zero when it is missing.
ULONGLONG FileStamp(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return ((static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
            data.ftLastWriteTime.dwLowDateTime) ^
           data.nFileSizeLow;
}

// The window on screen and what it shows, for the watch timer.
struct TViewer {
    TSkinSource source;
    CSkinString skinName;
    SIZE size{};
    CSkinViewWindow* window = nullptr;
    ULONGLONG stamp = 0;
};
TViewer g_viewer;

// Rebuilds the window when its file changed; a skin that no longer loads keeps the old
// window and says why.
void CALLBACK WatchSkin(HWND, UINT, UINT_PTR, DWORD) {
    const ULONGLONG stamp = FileStamp(g_viewer.source.file);
    if (stamp == g_viewer.stamp) return;
    g_viewer.stamp = stamp;
    if (!::IsWindow(g_viewer.window->GetHWND())) return;
    CSkinString reason;
    if (!CheckSkin(g_viewer.source, reason)) {
        PrintLine(g_viewer.skinName, reason);
        return;
    }
    RECT place{};
    ::GetWindowRect(g_viewer.window->GetHWND(), &place);
    // Windows delete themselves once gone, so one that failed is not deleted here.
    auto* replacement = new CSkinViewWindow(g_viewer.source);
    if (replacement->Open(g_viewer.size, true, &place) == nullptr) return;
    replacement->SetQuitWhenClosed(true);
    g_viewer.window->SetQuitWhenClosed(false);
    ::DestroyWindow(g_viewer.window->GetHWND());
    g_viewer.window = replacement;
}

int Run(const TOptions& options) {
    TSkinSource source;
    if (options.archive.IsEmpty()) {
        if (!SplitPath(options.skin, source.folder, source.skin)) {
            PrintLine(options.skin, L"not a file path");
            return kFailure;
        }
        source.file = source.folder + source.skin;
    } else {
        if (!SplitPath(options.archive, source.folder, source.archive)) {
            PrintLine(options.skin, L"the archive is not a file path");
            return kFailure;
        }
        source.skin = options.skin;
        source.file = source.folder + source.archive;
    }

    CSkinString reason;
    if (!CheckSkin(source, reason)) {
        PrintLine(options.skin, reason);
        return kFailure;
    }

    if (!options.png.IsEmpty()) {
        auto* window = new CSkinViewWindow(source);
        if (window->Open(options.size, false) == nullptr) {
            PrintLine(options.skin, L"the window could not be created");
            return kFailure;
        }
        const bool rendered = RenderToPng(*window, options.png, reason);
        ::DestroyWindow(window->GetHWND()); // deletes the window object
        if (!rendered) {
            PrintLine(options.skin, reason);
            return kFailure;
        }
        return 0;
    }

    g_viewer.source = source;
    g_viewer.skinName = options.skin;
    g_viewer.size = options.size;
    g_viewer.stamp = FileStamp(source.file);
    g_viewer.window = new CSkinViewWindow(source);
    if (g_viewer.window->Open(options.size, true) == nullptr) {
        PrintLine(options.skin, L"the window could not be created");
        return kFailure;
    }
    g_viewer.window->SetQuitWhenClosed(true);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kWatchIntervalMs, WatchSkin);
    CPaintManagerUI::MessageLoop();
    ::KillTimer(nullptr, timer);
    return 0;
}

} // namespace

int main() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    TOptions options;
    if (arguments == nullptr || !ParseArguments(count, arguments, options)) {
        PrintLine(nullptr, L"usage: skinview [--zip ARCHIVE] [--size WIDTH,HEIGHT] "
                           L"[--png OUT.png] SKIN");
        if (arguments != nullptr) ::LocalFree(arguments);
        return kFailure;
    }
    ::LocalFree(arguments);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    const int result = Run(options);
    CPaintManagerUI::Term();
    return result;
}
