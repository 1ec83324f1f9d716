// e2e_probe: what the end-to-end driver (run-e2e.sh) cannot see from outside Wine.
// One command per run; answers are UTF-8 lines on stdout, exit code 0 for yes/found,
// 1 for no/timed out, 2 for a usage error. Window handles are printed and taken in decimal.
//
//   find CLASS TEXT [--owner H] [--not H] [--pid P] [--visible]   first matching top-level
//   count CLASS TEXT [--owner H] [--not H] [--pid P] [--visible]  how many match (no wait)
//   list CLASS TEXT [--owner H] [--not H] [--pid P] [--visible]   all that match, top first
//   info H                                    state of a window
//   wait H visible|hidden|iconic|zoomed|restored|gone|moving      until the window is so
//                                             (moving: its thread runs a move or size loop)
//   descendant H CLASS [--contains TEXT]      a window inside H of that class
//   descendants H                             every window inside H
//   login-button H                            screen point of the stand-in's "log in" button
//   work-area H                               work area of the window's monitor
//   tray H ID                                 whether H's notification icon ID exists
//   post H MESSAGE WPARAM LPARAM              posts a message
//   dialog CAPTION [--pid P] [--not-pid P]    a message box: its state, text and buttons
//   menu                                      an open pop-up menu
//   idle PID                                  until the process waits for input
//   strip-record CLIENT COPY                  copies an executable without what follows
//                                             its sections
// Waiting commands take --timeout MS (default 10000).
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ProbeWindows.h"
#include "StampCore.h"
#include "StandInProtocol.h"

using namespace Probe;

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;
constexpr int kUsage = 2;

// Class of dialog boxes (message boxes among them) and of pop-up menus.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";
// The static text of a message box.
constexpr int kMessageTextId = 0xFFFF;

void Print(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int Fail(const std::wstring& why) {
    Print(L"error=" + why);
    return kNo;
}

// Positional arguments and "--name value" options ("--visible" takes none).
struct Arguments {
    std::vector<std::wstring> positional;
    std::map<std::wstring, std::wstring> options;

    bool Has(const wchar_t* name) const { return options.count(name) != 0; }
    std::wstring Option(const wchar_t* name, const wchar_t* fallback = L"") const {
        const auto found = options.find(name);
        return found != options.end() ? found->second : fallback;
    }
    unsigned long long Number(const wchar_t* name, unsigned long long fallback) const {
        const auto found = options.find(name);
        return found != options.end() ? wcstoull(found->second.c_str(), nullptr, 0) : fallback;
    }
    DWORD Timeout() const { return static_cast<DWORD>(Number(L"--timeout", 10000)); }
};

Arguments Parse(int argc, wchar_t** argv) {
    Arguments arguments;
    for (int i = 2; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--visible")
            arguments.options[argument] = L"1";
        else if (argument.rfind(L"--", 0) == 0 && i + 1 < argc)
            arguments.options[argument] = argv[++i];
        else
            arguments.positional.push_back(argument);
    }
    return arguments;
}

HWND HandleFrom(const std::wstring& text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(text.c_str(), nullptr, 0)));
}

std::wstring HandleText(HWND window) {
    return std::to_wstring(reinterpret_cast<UINT_PTR>(window));
}

WindowQuery QueryFrom(const Arguments& arguments) {
    WindowQuery query;
    // "-" stands for any class or text.
    if (arguments.positional[0] != L"-") query.className = arguments.positional[0];
    if (arguments.positional[1] != L"-") query.text = arguments.positional[1];
    query.owner = HandleFrom(arguments.Option(L"--owner", L"0"));
    query.excluded = HandleFrom(arguments.Option(L"--not", L"0"));
    query.process = static_cast<DWORD>(arguments.Number(L"--pid", 0));
    query.visibleOnly = arguments.Has(L"--visible");
    return query;
}

int Find(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    const WindowQuery query = QueryFrom(arguments);
    HWND found = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> windows = FindTopLevel(query);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        arguments.Timeout());
    if (found == nullptr) return Fail(L"no such window");
    Print(HandleText(found));
    return kYes;
}

int Count(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    Print(std::to_wstring(FindTopLevel(QueryFrom(arguments)).size()));
    return kYes;
}

int List(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    for (HWND window : FindTopLevel(QueryFrom(arguments)))
        Print(Describe(window));
    return kYes;
}

int Info(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    const HWND window = HandleFrom(arguments.positional[0]);
    Print(Describe(window));
    return IsWindow(window) ? kYes : kNo;
}

int Wait(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    const HWND window = HandleFrom(arguments.positional[0]);
    const std::wstring& state = arguments.positional[1];
    std::function<bool()> condition;
    if (state == L"visible")
        condition = [&] { return IsWindowVisible(window) != FALSE; };
    else if (state == L"hidden")
        condition = [&] { return IsWindow(window) && !IsWindowVisible(window); };
    else if (state == L"iconic")
        condition = [&] { return IsIconic(window) != FALSE; };
    else if (state == L"zoomed")
        condition = [&] { return IsZoomed(window) != FALSE; };
    else if (state == L"restored")
        condition = [&] {
            return IsWindowVisible(window) && !IsIconic(window) && !IsZoomed(window);
        };
    else if (state == L"gone")
        condition = [&] { return !IsWindow(window); };
    else if (state == L"moving")
        condition = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
                   (info.flags & GUI_INMOVESIZE) != 0;
        };
    else
        return kUsage;
    const bool reached = WaitFor(condition, arguments.Timeout());
    Print(Describe(window));
    return reached ? kYes : kNo;
}

int Descendant(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    const HWND parent = HandleFrom(arguments.positional[0]);
    const std::wstring contains = arguments.Option(L"--contains");
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window : FindDescendants(parent, arguments.positional[1])) {
                if (!IsWindowVisible(window)) continue;
                if (contains.empty() || WindowText(window).find(contains) != std::wstring::npos) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        arguments.Timeout());
    if (found == nullptr) return Fail(L"no such window");
    Print(Describe(found));
    return kYes;
}

int Descendants(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    const HWND parent = HandleFrom(arguments.positional[0]);
    for (HWND window : FindDescendants(parent, std::wstring()))
        Print(Describe(window));
    return kYes;
}

int LoginButton(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    const HWND page = HandleFrom(arguments.positional[0]);
    RECT client{};
    if (!GetClientRect(page, &client)) return Fail(L"no such window");
    const RECT button = StandIn::LoginButtonRect(client.right, client.bottom);
    POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(page, &centre);
    Print(std::to_wstring(centre.x) + L" " + std::to_wstring(centre.y));
    return kYes;
}

int WorkArea(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(
        MonitorFromWindow(HandleFrom(arguments.positional[0]), MONITOR_DEFAULTTONEAREST), &monitor);
    Print(L"work=" + RectText(monitor.rcWork) + L" monitor=" + RectText(monitor.rcMonitor));
    return kYes;
}

int Tray(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    // Modifying nothing succeeds only for an icon the shell holds.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = HandleFrom(arguments.positional[0]);
    data.uID = static_cast<UINT>(wcstoul(arguments.positional[1].c_str(), nullptr, 0));
    const bool present = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    Print(present ? L"tray=present" : L"tray=absent");
    return present ? kYes : kNo;
}

int Post(const Arguments& arguments) {
    if (arguments.positional.size() != 4) return kUsage;
    const auto number = [&](size_t i) {
        return wcstoull(arguments.positional[i].c_str(), nullptr, 0);
    };
    const BOOL posted = PostMessageW(HandleFrom(arguments.positional[0]), UINT(number(1)),
                                     WPARAM(number(2)), LPARAM(number(3)));
    return posted ? kYes : Fail(L"post failed");
}

int Dialog(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    WindowQuery query;
    query.className = kDialogClass;
    query.text = arguments.positional[0];
    query.process = static_cast<DWORD>(arguments.Number(L"--pid", 0));
    query.otherThan = static_cast<DWORD>(arguments.Number(L"--not-pid", 0));
    query.visibleOnly = true;
    HWND dialog = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> windows = FindTopLevel(query);
            dialog = windows.empty() ? nullptr : windows.front();
            return dialog != nullptr;
        },
        arguments.Timeout());
    if (dialog == nullptr) return Fail(L"no dialog");
    Print(Describe(dialog));
    const HWND message = GetDlgItem(dialog, kMessageTextId);
    Print(L"message=" + (message != nullptr ? WindowText(message) : std::wstring()));
    // IDOK up to IDCONTINUE: the buttons a message box can carry.
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        const HWND button = GetDlgItem(dialog, id);
        if (button == nullptr || !IsWindowVisible(button)) continue;
        RECT bounds{};
        GetWindowRect(button, &bounds);
        Print(L"button=" + std::to_wstring(id) + L" x=" +
              std::to_wstring((bounds.left + bounds.right) / 2) + L" y=" +
              std::to_wstring((bounds.top + bounds.bottom) / 2));
    }
    return kYes;
}

int Menu(const Arguments& arguments) {
    WindowQuery query;
    query.className = kMenuClass;
    query.visibleOnly = true;
    HWND menu = nullptr;
    WaitFor(
        [&] {
            const std::vector<HWND> windows = FindTopLevel(query);
            menu = windows.empty() ? nullptr : windows.front();
            return menu != nullptr;
        },
        arguments.Timeout());
    if (menu == nullptr) return Fail(L"no menu");
    Print(Describe(menu));
    return kYes;
}

int Idle(const Arguments& arguments) {
    if (arguments.positional.size() != 1) return kUsage;
    const DWORD id = static_cast<DWORD>(wcstoul(arguments.positional[0].c_str(), nullptr, 0));
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (process == nullptr) return Fail(L"no such process");
    const DWORD result = WaitForInputIdle(process, arguments.Timeout());
    CloseHandle(process);
    return result == 0 ? kYes : Fail(L"not idle");
}

int StripRecord(const Arguments& arguments) {
    if (arguments.positional.size() != 2) return kUsage;
    std::ifstream in(std::filesystem::path(arguments.positional[0]), std::ios::binary);
    std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    std::size_t overlay = 0;
    std::string error;
    if (!Stamp::FindOverlayOffset(image, overlay, error))
        return Fail(std::wstring(error.begin(), error.end()));
    std::ofstream out(std::filesystem::path(arguments.positional[1]),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(overlay));
    return out.good() ? kYes : Fail(L"cannot write the copy");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return kUsage;
    const std::wstring command = argv[1];
    const Arguments arguments = Parse(argc, argv);
    if (command == L"find") return Find(arguments);
    if (command == L"count") return Count(arguments);
    if (command == L"list") return List(arguments);
    if (command == L"info") return Info(arguments);
    if (command == L"wait") return Wait(arguments);
    if (command == L"descendant") return Descendant(arguments);
    if (command == L"descendants") return Descendants(arguments);
    if (command == L"login-button") return LoginButton(arguments);
    if (command == L"work-area") return WorkArea(arguments);
    if (command == L"tray") return Tray(arguments);
    if (command == L"post") return Post(arguments);
    if (command == L"dialog") return Dialog(arguments);
    if (command == L"menu") return Menu(arguments);
    if (command == L"idle") return Idle(arguments);
    if (command == L"strip-record") return StripRecord(arguments);
    Print(L"error=unknown command " + command);
    return kUsage;
}
