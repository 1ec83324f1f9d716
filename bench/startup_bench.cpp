// Start-up and footprint of the micro-client, measured from outside the way a player meets
// it: the stamped build/app/microclient.exe, started as a new process, with the stand-in
// browser registered for the run (and put back afterwards), so its pages load.
//
// 1. Start time: CreateProcess to the login frame's first completed paint. The end is
//    WaitForInputIdle (the client's only thread has handled all that start-up queued —
//    both login windows, their first paints, the browser's creation and first page — and
//    now waits for the player), confirmed by the login frame being visible with nothing
//    left to paint. Its floor is startup_floor.exe (one plain window that paints itself,
//    nothing else), started and timed to the same signal in the same run; client and
//    floor take turns, kDefaultRuns starts each after one warm-up start of each. The
//    figure is the client's median over the floor's median: what the client adds to what
//    any window program costs under this system (the ratio of the best starts is printed
//    too: on a busy machine it moves less). Budget: at most 2.5 times the floor.
// 2. Peak working set (PeakWorkingSetSize, GetProcessMemoryInfo) once the player has logged
//    in on the stand-in's page and the game page is shown. Under Wine this is the Unix
//    process's peak resident size, Wine's own libraries included; a process of this bench
//    that only shows one window is measured the same way as the floor. Budget: 40 MB.
// 3. Size of microclient.exe. Budget: 4 MB.
//
//   startup_bench [runs]   (startup_bench --idle-window is the working set's floor process)

#include "StandInProtocol.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const int kDefaultRuns = 15;
const double kStartBudgetRatio = 2.5;
const double kWorkingSetBudgetMiB = 40.0;
const double kSizeBudgetMiB = 4.0;
const DWORD kStepTimeoutMs = 10000;

const wchar_t kIdleWindowArgument[] = L"--idle-window";

double MiB(SIZE_T bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

const char* Verdict(bool withinBudget) {
    return withinBudget ? "PASS" : "OVER BUDGET";
}

// A file beside this executable's folder: ..\<relative>.
std::wstring BuildTreePath(const wchar_t* relative) {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    path.resize(path.find_last_of(L'\\') + 1);
    path += L"..\\";
    path += relative;
    wchar_t full[MAX_PATH] = {};
    return GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr) != 0 ? full : path;
}

// Registers the stand-in browser for the system browser's class id while it lives.
class StandInRegistration {
public:
    explicit StandInRegistration(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
        registered_ = module_ != nullptr && Call("DllRegisterServer");
    }
    ~StandInRegistration() {
        if (registered_) Call("DllUnregisterServer");
        if (module_ != nullptr) FreeLibrary(module_);
    }
    bool Registered() const { return registered_; }

private:
    bool Call(const char* name) {
        using Entry = HRESULT(STDAPICALLTYPE*)();
        const auto entry =
            reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
        return entry != nullptr && SUCCEEDED(entry());
    }

    HMODULE module_;
    bool registered_ = false;
};

struct WindowSearch {
    DWORD process;
    const wchar_t* className;
    const wchar_t* text;
    HWND excluded;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || window == search->excluded || !IsWindowVisible(window))
        return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 63);
    if (wcscmp(name, search->className) != 0) return TRUE;
    if (search->text != nullptr) {
        wchar_t text[1024] = {};
        GetWindowTextW(window, text, 1023);
        if (wcsstr(text, search->text) == nullptr) return TRUE;
    }
    search->found = window;
    return FALSE;
}

// A visible top-level window of the process, or with a parent a visible window inside it.
HWND FindWindowOf(DWORD process, const wchar_t* className, const wchar_t* text,
                  HWND parent = nullptr, HWND excluded = nullptr) {
    WindowSearch search{process, className, text, excluded, nullptr};
    if (parent != nullptr)
        EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <class Condition> bool WaitUntil(Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(1);
    }
    return true;
}

class Client {
public:
    bool Start(const std::wstring& path, const std::wstring& arguments = std::wstring()) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + path + L"\"" + arguments;
        return CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != FALSE;
    }
    ~Client() { Stop(); }

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE hProcess() const { return info_.hProcess; }
    bool WaitIdle() const { return WaitForInputIdle(info_.hProcess, kStepTimeoutMs) == 0; }

    SIZE_T PeakWorkingSet() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        return GetProcessMemoryInfo(info_.hProcess, &counters, sizeof(counters))
                   ? counters.PeakWorkingSetSize
                   : 0;
    }

    // Ends the process. Closing its windows instead costs seconds per start here: without
    // a window manager Wine waits two seconds for each hidden window to be withdrawn.
    void Stop() {
        if (info_.hProcess == nullptr) return;
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, kStepTimeoutMs);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
        info_ = PROCESS_INFORMATION{};
    }

private:
    PROCESS_INFORMATION info_{};
};

// The login frame: the owner of the login web window ("KestoWindow").
HWND LoginFrameOf(const Client& client) {
    const HWND web = FindWindowOf(client.Id(), L"Varnel", L"KestoWindow");
    return web != nullptr ? GetWindow(web, GW_OWNER) : nullptr;
}

// The floor program's window.
HWND FloorWindowOf(const Client& floor) {
    return FindWindowOf(floor.Id(), L"StartupFloor", nullptr);
}

// One start: milliseconds from CreateProcess to the first completed paint of the window
// that `windowOf` finds, or a negative number on failure.
double TimeOneStart(const std::wstring& path, HWND (*windowOf)(const Client&)) {
    Client client;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!client.Start(path)) return -1.0;
    HWND window = nullptr;
    const bool painted = client.WaitIdle() && WaitUntil([&] {
                             window = windowOf(client);
                             return window != nullptr && IsWindowVisible(window) &&
                                    !GetUpdateRect(window, nullptr, FALSE);
                         });
    QueryPerformanceCounter(&end);
    client.Stop();
    return painted ? Milliseconds(start, end) : -1.0;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct AnyWindowSearch {
    DWORD process;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchAnyWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<AnyWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process) return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 63);
    if (wcscmp(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// A window of the process of this class, shown or not, top-level or inside `parent`.
HWND AnyWindowOf(DWORD process, const wchar_t* className, HWND parent = nullptr) {
    AnyWindowSearch search{process, className, nullptr};
    if (parent != nullptr)
        EnumChildWindows(parent, MatchAnyWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(MatchAnyWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The steps of the client's start that show from outside, in the order they happen.
enum Milestone {
    FRAME_CREATED,  // the login frame's window exists: program loaded, COM and OLE up,
                    // configuration read
    WEB_WINDOW,     // the login web window exists: skin archive read, login skin built
    BROWSER_WINDOW, // the browser's window exists inside it
    FRAME_SHOWN,    // the login frame is visible
    PAINTED,        // idle, with nothing left to paint: the figure timed above
    MILESTONE_COUNT,
};

const char* const kMilestoneNames[MILESTONE_COUNT] = {
    "loaded, COM up, login frame window made",
    "login skin built, web window made",
    "browser made",
    "login frame shown",
    "first paint done, idle",
};

// Milliseconds from CreateProcess to each milestone of one start, watched every
// millisecond or so; false when the start fails.
bool TimeMilestones(const std::wstring& clientPath, double (&at)[MILESTONE_COUNT]) {
    Client client;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!client.Start(clientPath)) return false;
    int reached = 0;
    HWND frame = nullptr, web = nullptr;
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (reached < MILESTONE_COUNT && GetTickCount64() < deadline) {
        bool passed = false;
        switch (reached) {
        case FRAME_CREATED:
            passed = (frame = AnyWindowOf(client.Id(), L"Varnel")) != nullptr;
            break;
        case WEB_WINDOW:
            web = FindWindowOf(client.Id(), L"Varnel", L"KestoWindow");
            passed = web != nullptr;
            break;
        case BROWSER_WINDOW:
            passed = AnyWindowOf(client.Id(), StandIn::kWindowClass, web) != nullptr;
            break;
        case FRAME_SHOWN:
            frame = LoginFrameOf(client);
            passed = frame != nullptr && IsWindowVisible(frame);
            break;
        case PAINTED:
            passed = WaitForInputIdle(client.hProcess(), 0) == 0 &&
                     !GetUpdateRect(frame, nullptr, FALSE);
            break;
        }
        QueryPerformanceCounter(&now);
        if (passed) {
            at[reached++] = Milliseconds(start, now);
        } else {
            Sleep(1);
        }
    }
    client.Stop();
    if (reached < MILESTONE_COUNT) std::printf("  not seen: %s\n", kMilestoneNames[reached]);
    return reached == MILESTONE_COUNT;
}

// Where the client's start goes, seen from outside: the median time of each milestone over
// `runs` starts, beside the floor's median.
void PrintMilestones(const std::wstring& clientPath, int runs, double floorMedian) {
    std::vector<double> times[MILESTONE_COUNT];
    for (int run = 0; run < runs; ++run) {
        double at[MILESTONE_COUNT];
        if (!TimeMilestones(clientPath, at)) continue;
        for (int i = 0; i < MILESTONE_COUNT; ++i)
            times[i].push_back(at[i]);
    }
    if (times[0].empty()) {
        std::printf("  (the client's start could not be followed step by step)\n");
        return;
    }
    std::printf("  where it goes (median of %d starts watched from outside; the floor's whole"
                " start is %.1f ms):\n",
                int(times[0].size()), floorMedian);
    double previous = 0;
    for (int i = 0; i < MILESTONE_COUNT; ++i) {
        const double at = Median(times[i]);
        std::printf("    %-36s at %7.1f ms  (+%6.1f)\n", kMilestoneNames[i], at, at - previous);
        previous = at;
    }
}

// Starts the client, logs in on the stand-in's page and waits for the game page.
// Returns the peak working set in the game, 0 when a step fails.
SIZE_T PeakInGame(const std::wstring& clientPath, SIZE_T& peakAtLogin) {
    Client client;
    if (!client.Start(clientPath) || !client.WaitIdle()) return 0;
    const HWND web = FindWindowOf(client.Id(), L"Varnel", L"KestoWindow");
    HWND page = nullptr;
    if (web == nullptr || !WaitUntil([&] {
            page = FindWindowOf(client.Id(), StandIn::kWindowClass, L"login", web);
            return page != nullptr;
        })) {
        std::printf("the login page did not appear\n");
        client.Stop();
        return 0;
    }
    const HWND login = GetWindow(web, GW_OWNER);
    client.WaitIdle();
    peakAtLogin = client.PeakWorkingSet();

    // The "log in" button takes a press and a release inside it.
    RECT pageArea{};
    GetClientRect(page, &pageArea);
    const RECT button = StandIn::LoginButtonRect(pageArea.right, pageArea.bottom);
    const LPARAM point =
        MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(page, WM_LBUTTONUP, 0, point);
    HWND game = nullptr;
    const bool inGame = WaitUntil([&] {
        const HWND play = FindWindowOf(client.Id(), L"Varnel", L"Varnel", nullptr, login);
        game = play != nullptr
                   ? FindWindowOf(client.Id(), StandIn::kWindowClass, L"client=pc", play)
                   : nullptr;
        return game != nullptr;
    });
    client.WaitIdle();
    const SIZE_T peak = inGame ? client.PeakWorkingSet() : 0;
    if (!inGame) std::printf("logging in did not open the game page\n");
    client.Stop();
    return peak;
}

// The floor process: one plain window, shown and idle until the bench ends it.
int RunIdleWindow() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"startup_bench floor", WS_POPUP | WS_VISIBLE,
                                        0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

SIZE_T FloorPeak() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    Client floor;
    if (!floor.Start(self, std::wstring(L" ") + kIdleWindowArgument)) return 0;
    // A console program never reports input idle: its window, painted, is the signal.
    HWND window = nullptr;
    WaitUntil([&] {
        window = FindWindowOf(floor.Id(), L"Static", nullptr);
        return window != nullptr && !GetUpdateRect(window, nullptr, FALSE);
    });
    const SIZE_T peak = floor.PeakWorkingSet();
    floor.Stop();
    return peak;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && wcscmp(argv[1], kIdleWindowArgument) == 0) return RunIdleWindow();
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : kDefaultRuns;

    const std::wstring clientPath = BuildTreePath(L"app\\microclient.exe");
    const std::wstring standInPath = BuildTreePath(L"tools\\browser-standin\\browser-standin.dll");
    const std::wstring floorPath = BuildTreePath(L"bench\\startup_floor.exe");
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(clientPath.c_str(), GetFileExInfoStandard, &attributes)) {
        std::printf("no client at %ls\n", clientPath.c_str());
        return 1;
    }
    // Another copy would answer every start with "already running".
    if (FindWindowW(L"Varnel", nullptr) != nullptr) {
        std::printf("a client is running already: close it first\n");
        return 1;
    }
    StandInRegistration standIn(standInPath);
    if (!standIn.Registered()) {
        std::printf("cannot register the stand-in browser %ls\n", standInPath.c_str());
        return 1;
    }

    std::vector<double> times, floorTimes;
    // Warm-up: file cache, fonts, Wine's own start of a new program.
    TimeOneStart(clientPath, LoginFrameOf);
    TimeOneStart(floorPath, FloorWindowOf);
    for (int run = 0; run < runs; ++run) {
        const double ms = TimeOneStart(clientPath, LoginFrameOf);
        if (ms < 0) {
            std::printf("start %d: the login frame did not appear\n", run + 1);
            return 1;
        }
        times.push_back(ms);
        const double floorMs = TimeOneStart(floorPath, FloorWindowOf);
        if (floorMs < 0) {
            std::printf("start %d: the floor's window did not appear (%ls)\n", run + 1,
                        floorPath.c_str());
            return 1;
        }
        floorTimes.push_back(floorMs);
    }
    const double median = Median(times);
    const double floorMedian = Median(floorTimes);
    const double ratio = median / floorMedian;
    std::printf("start to first paint   median %7.1f ms, best %7.1f ms over %d starts\n", median,
                *std::min_element(times.begin(), times.end()), runs);
    std::printf("  floor (startup_floor) median %7.1f ms, best %7.1f ms\n", floorMedian,
                *std::min_element(floorTimes.begin(), floorTimes.end()));
    std::printf("start as a ratio to the floor %5.2f  (budget: at most %.1f) %s;"
                " best to best %.2f\n",
                ratio, kStartBudgetRatio, Verdict(ratio <= kStartBudgetRatio),
                *std::min_element(times.begin(), times.end()) /
                    *std::min_element(floorTimes.begin(), floorTimes.end()));
    PrintMilestones(clientPath, std::max(3, runs / 2), floorMedian);

    SIZE_T peakAtLogin = 0;
    const SIZE_T peak = PeakInGame(clientPath, peakAtLogin);
    const SIZE_T floor = FloorPeak();
    if (peak == 0) return 1;
    std::printf("peak working set       %7.1f MiB in the game, %.1f MiB on the login page"
                "  (budget: at most %.0f MiB) %s\n",
                MiB(peak), MiB(peakAtLogin), kWorkingSetBudgetMiB,
                Verdict(MiB(peak) <= kWorkingSetBudgetMiB));
    std::printf("  floor: one idle window of this bench under the same Wine %.1f MiB;"
                " the client's own share %.1f MiB\n",
                MiB(floor), MiB(peak) - MiB(floor));

    ULARGE_INTEGER size;
    size.LowPart = attributes.nFileSizeLow;
    size.HighPart = attributes.nFileSizeHigh;
    std::printf("microclient.exe size   %7.2f MiB  (budget: at most %.0f MiB) %s\n",
                MiB(SIZE_T(size.QuadPart)), kSizeBudgetMiB,
                Verdict(MiB(SIZE_T(size.QuadPart)) <= kSizeBudgetMiB));
    return 0;
}
