#include "ProcessUsage.h"

#include <algorithm>

#include "support/GdiObjectCount.h"

namespace leaktest {

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int64_t*>(count);
    return TRUE;
}

// Counts a top-level window of this thread with its descendants.
void CountWithChildren(HWND window, int64_t& count) {
    ++count;
    ::EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&count));
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        CountWithChildren(window, *reinterpret_cast<int64_t*>(count));
    return TRUE;
}

} // namespace

int64_t CountThreadWindows() {
    int64_t count = 0;
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not top-level windows to EnumWindows.
    HWND window = nullptr;
    while ((window = ::FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr)
        if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
            CountWithChildren(window, count);
    return count;
}

int64_t CountHeapBytes() {
    HANDLE heaps[256];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(256, heaps), 256);
    int64_t bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry))
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return bytes;
}

int64_t CountPrivateBytes() {
    int64_t bytes = 0;
    const BYTE* address = nullptr;
    MEMORY_BASIC_INFORMATION region{};
    while (::VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            bytes += static_cast<int64_t>(region.RegionSize);
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return bytes;
}

int64_t CountGdiObjects() {
    return skintest::CountGdiObjects();
}

Usage ReadUsage() {
    Usage usage;
    usage.value[kGdiObjects] = CountGdiObjects();
    usage.value[kWindows] = CountThreadWindows();
    usage.value[kHeapBytes] = CountHeapBytes();
    usage.value[kPrivateBytes] = CountPrivateBytes();
    return usage;
}

const char* UsageName(int kind) {
    static const char* const names[kUsageKinds] = {"GDI objects", "windows", "heap bytes",
                                                   "private bytes"};
    return kind >= 0 && kind < kUsageKinds ? names[kind] : "?";
}

} // namespace leaktest
