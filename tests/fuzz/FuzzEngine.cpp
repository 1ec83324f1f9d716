#include "FuzzEngine.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>

namespace fuzz {

namespace {

const char kUsage[] =
    "usage: fuzz_<target>.exe [options]\n"
    "  --count N          inputs to run (default 10000)\n"
    "  --seed S           campaign seed (default 1); input i gets its own seed from S and i\n"
    "  --index I          run only input I of the campaign (reproduces it from the seed and\n"
    "                     saves it as <findings>\\<target>-<seed>.input.bin first)\n"
    "  --replay PATH      run a saved input, or every input in a folder, instead of fuzzing\n"
    "  --corpus DIR       corpus folder (default: corpus\\<target> beside the executable)\n"
    "  --findings DIR     where reproducers go (default: findings beside the executable)\n"
    "  --time-budget MS   slowest accepted input (default 250)\n"
    "  --hang MS          an input still running after this long is a hang (default 10000)\n"
    "  --memory-budget MB most memory one input may add to the process (default 256)\n"
    "  --max-size BYTES   largest input (default 1048576)\n";

// ---------------------------------------------------------------- the input in flight

struct Settings {
    std::uint64_t seed = 1;
    std::uint64_t count = 10000;
    long long index = -1;
    std::vector<std::wstring> replay;
    std::wstring corpus;
    std::wstring findings;
    double timeBudgetMs = 250;
    DWORD hangMs = 10000;
    std::size_t memoryBudget = std::size_t(256) << 20;
    std::size_t maxSize = std::size_t(1) << 20;
};

Settings g_settings;
const Target* g_target = nullptr;

// What the watchdog and the crash handlers need to save the input that is running.
const std::uint8_t* volatile g_inputData = nullptr;
volatile std::size_t g_inputSize = 0;
volatile std::uint64_t g_inputSeed = 0;
volatile long long g_inputIndex = -1;
std::atomic<bool> g_running{false};
std::atomic<ULONGLONG> g_inputStart{0};
std::atomic<DWORD> g_crashCode{0};
HANDLE g_crashEvent = nullptr;
HANDLE g_savedEvent = nullptr;
LONG g_findings = 0;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool WriteWholeFile(const std::wstring& path, const void* data, std::size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done =
        WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    return done;
}

bool ReadWholeFile(const std::wstring& path, Bytes& bytes, std::size_t limit) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const std::size_t wanted =
        std::min<std::size_t>(static_cast<std::size_t>(size.QuadPart), limit);
    bytes.resize(wanted);
    DWORD read = 0;
    const bool done =
        wanted == 0 || (ReadFile(file, bytes.data(), static_cast<DWORD>(wanted), &read, nullptr) &&
                        read == wanted);
    CloseHandle(file);
    return done;
}

// Saves the input in flight as <findings>\<target>-<seed>.bin with a .txt that says what
// happened and how to run it again.
void SaveFinding(const char* what) {
    InterlockedIncrement(&g_findings);
    CreateDirectoryW(g_settings.findings.c_str(), nullptr);
    wchar_t stem[96];
    swprintf(stem, 96, L"%hs-%016llx", g_target->name,
             static_cast<unsigned long long>(g_inputSeed));
    const std::wstring base = g_settings.findings + stem;
    WriteWholeFile(base + L".bin", const_cast<const std::uint8_t*>(g_inputData), g_inputSize);
    if (g_inputData == nullptr)
        std::fprintf(stderr, "\n(no input in flight: making input %lld)",
                     static_cast<long long>(g_inputIndex));
    char text[1024];
    const int length = std::snprintf(
        text, sizeof(text),
        "target: %s\nfinding: %s\ninput seed: %016llx\ncampaign seed: %llu\ninput index: %lld\n"
        "size: %zu bytes\nreplay: fuzz_%s.exe --replay %ls.bin\n",
        g_target->name, what, static_cast<unsigned long long>(g_inputSeed),
        static_cast<unsigned long long>(g_settings.seed), static_cast<long long>(g_inputIndex),
        static_cast<std::size_t>(g_inputSize), g_target->name, stem);
    WriteWholeFile(base + L".txt", text, static_cast<std::size_t>(std::max(length, 0)));
    std::fprintf(stderr, "\nFINDING (%s): %s\n  saved as %ls.bin\n", g_target->name, what,
                 base.c_str());
    std::fflush(stderr);
}

// Saves an input as <findings>\<target>-<seed>.input.bin.
void SaveInput(std::uint64_t seed, const Bytes& input) {
    CreateDirectoryW(g_settings.findings.c_str(), nullptr);
    wchar_t name[96];
    swprintf(name, 96, L"%hs-%016llx.input.bin", g_target->name,
             static_cast<unsigned long long>(seed));
    WriteWholeFile(g_settings.findings + name, input.data(), input.size());
}

// ---------------------------------------------------------------- crashes and hangs

// A crashed thread may have no stack left: it only hands over to the watchdog, which
// saves the input and ends the process.
void ReportCrash(DWORD code) {
    DWORD expected = 0;
    if (!g_crashCode.compare_exchange_strong(expected, code)) Sleep(INFINITE);
    SetEvent(g_crashEvent);
    WaitForSingleObject(g_savedEvent, 20000);
    TerminateProcess(GetCurrentProcess(), 3);
}

// Where the crash happened, for the finding's record: the faulting instruction and, for an
// access violation, what it tried to do where.
std::atomic<std::uintptr_t> g_crashAddress{0};
std::atomic<ULONG_PTR> g_crashAccess{0};
std::atomic<ULONG_PTR> g_crashTarget{0};

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    g_crashAddress.store(reinterpret_cast<std::uintptr_t>(record.ExceptionAddress));
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        g_crashAccess.store(record.ExceptionInformation[0]);
        g_crashTarget.store(record.ExceptionInformation[1]);
    }
    ReportCrash(record.ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

constexpr DWORD kAbortCode = 0xE0AB0001;
constexpr DWORD kTerminateCode = 0xE0AB0002;

void OnAbort(int) {
    ReportCrash(kAbortCode);
}

void OnTerminate() {
    ReportCrash(kTerminateCode);
}

// "module+0xoffset" for an address in a loaded module, the bare address otherwise.
std::string DescribeAddress(std::uintptr_t address) {
    char text[MAX_PATH + 32];
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<const wchar_t*>(address), &module) &&
        GetModuleFileNameW(module, path, MAX_PATH) > 0) {
        const wchar_t* name = wcsrchr(path, L'\\');
        std::snprintf(
            text, sizeof(text), "%ls+0x%llx", name != nullptr ? name + 1 : path,
            static_cast<unsigned long long>(address - reinterpret_cast<std::uintptr_t>(module)));
    } else {
        std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(address));
    }
    return text;
}

DWORD WINAPI Watchdog(void*) {
    for (;;) {
        if (WaitForSingleObject(g_crashEvent, 50) == WAIT_OBJECT_0) {
            char what[MAX_PATH + 160];
            const DWORD code = g_crashCode.load();
            std::string where;
            if (g_crashAddress.load() != 0) where = " at " + DescribeAddress(g_crashAddress.load());
            if (code == EXCEPTION_ACCESS_VIOLATION) {
                const ULONG_PTR access = g_crashAccess.load();
                where += access == 0 ? " reading " : access == 1 ? " writing " : " executing ";
                where += DescribeAddress(g_crashTarget.load());
            }
            std::snprintf(what, sizeof(what), "crash, exception 0x%08lx%s%s",
                          static_cast<unsigned long>(code),
                          code == kAbortCode       ? " (abort)"
                          : code == kTerminateCode ? " (terminate)"
                                                   : "",
                          where.c_str());
            SaveFinding(what);
            SetEvent(g_savedEvent);
            return 0;
        }
        if (g_running.load() && GetTickCount64() - g_inputStart.load() > g_settings.hangMs) {
            char what[96];
            std::snprintf(what, sizeof(what), "hang, still running after %lu ms",
                          static_cast<unsigned long>(g_settings.hangMs));
            SaveFinding(what);
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
}

void InstallHandlers() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Room for the handler after a stack overflow.
    ULONG guarantee = 64 * 1024;
    SetThreadStackGuarantee(&guarantee);
    SetUnhandledExceptionFilter(&OnUnhandledException);
    std::signal(SIGABRT, &OnAbort);
    std::set_terminate(&OnTerminate);
    g_crashEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_savedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 256 * 1024, &Watchdog, nullptr, 0, nullptr);
    if (thread != nullptr) CloseHandle(thread);
}

// ---------------------------------------------------------------- memory

// Wine answers the working-set counters from the host (current and peak resident bytes);
// the page-file and private counters may be 0 there.
struct Memory {
    std::size_t current = 0;
    std::size_t peak = 0;
};

Memory ReadMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    Memory memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        memory.current = counters.WorkingSetSize;
        memory.peak = std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage);
    }
    return memory;
}

// ---------------------------------------------------------------- running inputs

struct Totals {
    std::uint64_t inputs = 0;
    double slowestMs = 0;
    std::uint64_t slowestSeed = 0;
    long long slowestIndex = -1; // in the campaign; -1 for a replayed input
    std::size_t slowestSize = 0;
    std::size_t largestGrowth = 0; // most an input raised the process's peak above its start
};
Totals g_totals;

// The processor time of this thread, in milliseconds: unlike the wall clock it does not
// grow when other processes take the machine. Wine answers it from the host.
double ThreadMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// Whether ThreadMs counts at all here: a busy loop must show within two seconds, however
// busy the machine is.
bool g_threadClock = false;
void CheckThreadClock() {
    const double cpu = ThreadMs();
    const double wall = NowMs();
    volatile unsigned sink = 0;
    while (!g_threadClock && NowMs() - wall < 2000) {
        for (int i = 0; i < 100000; ++i)
            sink = sink + 1;
        g_threadClock = ThreadMs() - cpu >= 10;
    }
}

// Runs the input; its cost in milliseconds of this thread's processor time where that is
// counted (the wall clock otherwise).
// Work handed to other processes (the wineserver, the X server) shows only on the wall
// clock, so an input is also slow when the wall clock passes kWallFactor times the budget
// (generous: other processes share the machine).
constexpr double kWallFactor = 20;

double RunTimed(const Bytes& input) {
    g_inputStart.store(GetTickCount64());
    g_running.store(true);
    const double start = g_threadClock ? ThreadMs() : NowMs();
    const double wallStart = NowMs();
    g_target->run(input.data(), input.size());
    const double elapsed = (g_threadClock ? ThreadMs() : NowMs()) - start;
    const double wall = NowMs() - wallStart;
    g_running.store(false);
    if (wall > kWallFactor * g_settings.timeBudgetMs) return std::max(elapsed, wall / kWallFactor);
    return elapsed;
}

// Runs one input under the budgets; false after a finding.
bool RunOne(const Bytes& input, std::uint64_t seed, long long index) {
    g_inputData = input.data();
    g_inputSize = input.size();
    g_inputSeed = seed;
    g_inputIndex = index;
    const Memory before = ReadMemory();
    double elapsed = RunTimed(input);
    const Memory after = ReadMemory();
    ++g_totals.inputs;
    if (elapsed > g_settings.timeBudgetMs) {
        // A budget overrun counts only when it repeats: the first run of a kind of input may
        // load code and fonts, and the wall clock (where it is the measure) counts other
        // processes too.
        for (int again = 0; again < 2 && elapsed > g_settings.timeBudgetMs; ++again)
            elapsed = std::min(elapsed, RunTimed(input));
    }
    if (elapsed > g_totals.slowestMs) {
        g_totals.slowestMs = elapsed;
        g_totals.slowestSeed = seed;
        g_totals.slowestIndex = index;
        g_totals.slowestSize = input.size();
    }
    if (elapsed > g_settings.timeBudgetMs) {
        char what[96];
        std::snprintf(what, sizeof(what), "slow, %.1f ms (budget %.0f ms)", elapsed,
                      g_settings.timeBudgetMs);
        SaveFinding(what);
        return false;
    }
    // Only an input that raised the process's peak can have used more than the peak shows.
    if (after.peak > before.peak && after.peak > before.current) {
        const std::size_t growth = after.peak - before.current;
        g_totals.largestGrowth = std::max(g_totals.largestGrowth, growth);
        if (growth > g_settings.memoryBudget) {
            char what[96];
            std::snprintf(what, sizeof(what), "memory, %zu MB above the start (budget %zu MB)",
                          growth >> 20, g_settings.memoryBudget >> 20);
            SaveFinding(what);
            return false;
        }
    }
    return true;
}

bool EndsWith(const std::wstring& text, const std::string& ending) {
    if (ending.size() > text.size()) return false;
    for (std::size_t i = 0; i < ending.size(); ++i) {
        wchar_t c = text[text.size() - ending.size() + i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != static_cast<unsigned char>(ending[i])) return false;
    }
    return true;
}

// The files of a folder (not descending), in name order so that runs agree.
std::vector<std::wstring> ListFiles(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint64_t InputSeed(std::uint64_t campaign, std::uint64_t index) {
    Random mix(campaign * 0x100000001B3ull ^ index);
    mix.Next();
    return mix.Next();
}

void PrintSummary(double seconds, const Memory& start) {
    const Memory end = ReadMemory();
    // The slowest input of a campaign is run again by its number.
    char index[40] = "";
    if (g_totals.slowestIndex >= 0)
        std::snprintf(index, sizeof(index), "index %lld, ", g_totals.slowestIndex);
    std::printf("%s: %llu inputs in %.1f s (%.0f inputs/s); slowest %.2f ms %s (seed %016llx, "
                "%s%zu bytes); peak memory %.1f MB (%.1f MB at start, most one input added "
                "%.1f MB); findings %ld\n",
                g_target->name, static_cast<unsigned long long>(g_totals.inputs), seconds,
                seconds > 0 ? static_cast<double>(g_totals.inputs) / seconds : 0.0,
                g_totals.slowestMs, g_threadClock ? "of processor time" : "on the wall clock",
                static_cast<unsigned long long>(g_totals.slowestSeed), index, g_totals.slowestSize,
                static_cast<double>(end.peak) / (1 << 20),
                static_cast<double>(start.current) / (1 << 20),
                static_cast<double>(g_totals.largestGrowth) / (1 << 20), g_findings);
    std::fflush(stdout);
}

int Replay(const Memory& start) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : g_settings.replay) {
        if (!IsDirectory(path)) {
            files.push_back(path);
            continue;
        }
        for (const std::wstring& file : ListFiles(path))
            if (!EndsWith(file, ".txt") && !EndsWith(file, ".md")) files.push_back(file);
    }
    const double begin = NowMs();
    for (const std::wstring& file : files) {
        Bytes input;
        if (!ReadWholeFile(file, input, std::size_t(64) << 20)) {
            std::fprintf(stderr, "cannot read %s\n", Narrow(file).c_str());
            return 2;
        }
        std::printf("replay %s (%zu bytes)\n", Narrow(file).c_str(), input.size());
        std::fflush(stdout);
        if (!RunOne(input, Hash(input.data(), input.size()), -1)) {
            PrintSummary((NowMs() - begin) / 1000, start);
            return 1;
        }
    }
    PrintSummary((NowMs() - begin) / 1000, start);
    return 0;
}

int Campaign(const Memory& start) {
    std::vector<Bytes> corpus;
    for (const std::wstring& file : ListFiles(g_settings.corpus)) {
        bool wanted = g_target->extensions.empty();
        for (const std::string& ending : g_target->extensions)
            wanted = wanted || EndsWith(file, ending);
        Bytes bytes;
        if (wanted && ReadWholeFile(file, bytes, g_settings.maxSize)) corpus.push_back(bytes);
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "no corpus in %s\n", Narrow(g_settings.corpus).c_str());
        return 2;
    }
    std::printf("%s: %zu corpus inputs, seed %llu, %llu inputs\n", g_target->name, corpus.size(),
                static_cast<unsigned long long>(g_settings.seed),
                static_cast<unsigned long long>(g_settings.count));
    std::fflush(stdout);
    const double begin = NowMs();
    double lastReport = begin;
    std::uint64_t first = 0;
    std::uint64_t end = g_settings.count;
    if (g_settings.index >= 0) {
        first = static_cast<std::uint64_t>(g_settings.index);
        end = first + 1;
    }
    Bytes input;
    for (std::uint64_t i = first; i < end; ++i) {
        const std::uint64_t seed = InputSeed(g_settings.seed, i);
        // No input is in flight while the next one is made: a crash here is the engine's,
        // and the last input's bytes may already be gone.
        g_inputData = nullptr;
        g_inputSize = 0;
        g_inputSeed = seed;
        g_inputIndex = static_cast<long long>(i);
        Random random(seed);
        const Bytes& base = corpus[random.Below(corpus.size())];
        input = base;
        // The corpus itself goes first, as it is.
        if (i < corpus.size()) {
            input = corpus[i];
        } else {
            const Bytes& other = corpus[random.Below(corpus.size())];
            Mutate(input, other, g_target->tokens, random, g_settings.maxSize);
        }
        // One input asked for by its number is kept before it runs: a crash can leave the
        // process unable to save it afterwards.
        if (g_settings.index >= 0) SaveInput(seed, input);
        if (!RunOne(input, seed, static_cast<long long>(i))) {
            PrintSummary((NowMs() - begin) / 1000, start);
            return 1;
        }
        const double now = NowMs();
        if (now - lastReport > 30000) {
            lastReport = now;
            std::printf("  %s: %llu inputs, %.0f inputs/s\n", g_target->name,
                        static_cast<unsigned long long>(g_totals.inputs),
                        static_cast<double>(g_totals.inputs) * 1000 / (now - begin));
            std::fflush(stdout);
        }
    }
    PrintSummary((NowMs() - begin) / 1000, start);
    return 0;
}

bool ParseArguments(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--help") return false;
        if (i + 1 >= argc) return false;
        const wchar_t* value = argv[++i];
        if (option == L"--count") {
            g_settings.count = std::wcstoull(value, nullptr, 10);
        } else if (option == L"--seed") {
            g_settings.seed = std::wcstoull(value, nullptr, 0);
        } else if (option == L"--index") {
            g_settings.index = std::wcstoll(value, nullptr, 10);
        } else if (option == L"--replay") {
            g_settings.replay.push_back(value);
        } else if (option == L"--corpus") {
            g_settings.corpus = value;
        } else if (option == L"--findings") {
            g_settings.findings = value;
        } else if (option == L"--time-budget") {
            g_settings.timeBudgetMs = std::wcstod(value, nullptr);
        } else if (option == L"--hang") {
            g_settings.hangMs = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
        } else if (option == L"--memory-budget") {
            g_settings.memoryBudget = static_cast<std::size_t>(std::wcstoull(value, nullptr, 10))
                                      << 20;
        } else if (option == L"--max-size") {
            g_settings.maxSize = static_cast<std::size_t>(std::wcstoull(value, nullptr, 10));
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::uint64_t Hash(const std::uint8_t* data, std::size_t size) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001B3ull;
    return hash;
}

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1);
}

int Main(const Target& target, int argc, wchar_t** argv) {
    g_target = &target;
    if (!ParseArguments(argc, argv)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::wstring here = ExecutableDirectory();
    if (g_settings.corpus.empty()) {
        wchar_t name[64];
        swprintf(name, 64, L"%hs", target.name);
        g_settings.corpus = here + L"corpus\\" + name;
    }
    if (g_settings.findings.empty()) g_settings.findings = here + L"findings";
    if (g_settings.findings.back() != L'\\') g_settings.findings += L'\\';
    InstallHandlers();
    CheckThreadClock();
    if (target.setUp != nullptr) target.setUp();
    const Memory start = ReadMemory();
    return g_settings.replay.empty() ? Campaign(start) : Replay(start);
}

} // namespace fuzz
