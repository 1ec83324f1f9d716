// What a cycle of creating, using and destroying a window could leave behind, counted in
// ways that work under Wine: GDI objects from the process's GDI handle table, windows of
// this thread, bytes in use on every heap and committed private memory.
#pragma once

#include <windows.h>

#include <cstdint>

namespace leaktest {

enum UsageKind { kGdiObjects, kWindows, kHeapBytes, kPrivateBytes, kUsageKinds };

// One reading; taking it allocates nothing, so it does not disturb what it measures.
struct Usage {
    int64_t value[kUsageKinds] = {};
};

// Windows of this thread: top-level ones, message-only ones and all their descendants.
int64_t CountThreadWindows();
// Bytes in blocks in use over the process's heaps.
int64_t CountHeapBytes();
// Bytes of committed private memory (heaps, stacks and direct allocations).
int64_t CountPrivateBytes();
// GDI objects of this process, stock objects included; -1 without a readable table.
int64_t CountGdiObjects();

Usage ReadUsage();

const char* UsageName(int kind);

} // namespace leaktest
