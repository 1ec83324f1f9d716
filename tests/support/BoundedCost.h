// Test-only helpers for work whose cost must stay bounded: a watchdog that runs work on its
// own thread and ends the test process when it overruns (so a regression fails instead of
// hanging the suite), the framework's trace lines caught while a scope lives, the hostile
// inputs the build copies beside the tests, and the heap bytes in use.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/SkinString.h"

namespace skintest {

/// Runs `work` on a thread of its own and waits at most `seconds` for it, handling this
/// thread's messages meanwhile; true on time. Overrunning work cannot be stopped safely (it
/// may hold a lock the rest of the tests need), so the whole process then ends with exit
/// code 3, after saying which work overran: the suite reports the failure instead of
/// waiting for it.
inline bool FinishesWithin(double seconds, const char* what, std::function<void()> work) {
    struct Job {
        std::function<void()> work;
        static DWORD WINAPI Run(void* self) {
            static_cast<Job*>(self)->work();
            return 0;
        }
    } job{std::move(work)};
    HANDLE thread = CreateThread(nullptr, 0, &Job::Run, &job, 0, nullptr);
    if (thread == nullptr) {
        ADD_FAILURE() << "no thread for " << what;
        return false;
    }
    // Messages are pumped meanwhile: the work may send some to windows of this thread.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    bool finished = false;
    for (ULONGLONG now = GetTickCount64(); !finished && now < deadline; now = GetTickCount64()) {
        const DWORD waited = MsgWaitForMultipleObjects(
            1, &thread, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        finished = waited == WAIT_OBJECT_0;
        MSG message;
        while (!finished && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (!finished) {
        std::fprintf(stderr, "\nWATCHDOG: %s did not finish within %.1f s\n", what, seconds);
        std::fflush(stderr);
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    CloseHandle(thread);
    return true;
}

/// Catches the framework's trace lines while it lives (one at a time).
class TraceLines {
public:
    TraceLines() { m_previous = SkinUI::SKIN__SetTraceHandler(&TraceLines::Catch); }
    ~TraceLines() { SkinUI::SKIN__SetTraceHandler(m_previous); }
    TraceLines(const TraceLines&) = delete;
    TraceLines& operator=(const TraceLines&) = delete;

    std::vector<std::wstring> Lines() const {
        std::lock_guard<std::mutex> lock(Mutex());
        std::vector<std::wstring> lines = Caught();
        Caught().clear();
        return lines;
    }
    /// How many of the lines caught so far hold `text`; the lines are used up.
    int Count(const wchar_t* text) const {
        int found = 0;
        for (const std::wstring& line : Lines())
            if (line.find(text) != std::wstring::npos) ++found;
        return found;
    }

private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::wstring>& Caught() {
        static std::vector<std::wstring> lines;
        return lines;
    }
    static void Catch(const wchar_t* line) {
        std::lock_guard<std::mutex> lock(Mutex());
        Caught().push_back(line);
    }
    SkinUI::SkinTraceHandler m_previous = nullptr;
};

/// The hostile inputs (tests/hostile) the build copies beside the test executables, with
/// a trailing back-slash.
inline std::wstring HostileDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1) + L"hostile\\";
}

/// Bytes in use in all heaps of the process (the C runtime keeps its own), walked block
/// by block.
inline size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    size_t used = 0;
    for (DWORD i = 0; i < count && i < heaps.size(); ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) used += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return used;
}

} // namespace skintest
