#include "LeakCycles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/SkinTestKit.h"

namespace leaktest {

namespace {

// What a run may leave and still count as nothing, measured over cycles of every kind that
// leak nothing: a little per cycle (Wine's heap keeps bookkeeping that settles in steps,
// well under 8 bytes a cycle over 1,000) plus a few one-time steps whatever the count (its
// heaps commit memory 64 KiB at a time). A leaked object of any kind is far larger: a GDI
// object or window per cycle is 1, a control or record dozens of bytes.
constexpr double kTolerancePerCycle[kUsageKinds] = {
    0.005, // GDI objects: fewer than one object per 200 cycles
    0.0,   // windows
    8.0,   // heap bytes
    512.0, // committed private bytes
};
constexpr double kToleranceOnce[kUsageKinds] = {
    0.0,        // GDI objects
    0.0,        // windows
    4096.0,     // heap bytes
    2 * 65536., // committed private bytes: two commit steps
};

std::vector<CycleResult>& Table() {
    static std::vector<CycleResult> table;
    return table;
}

} // namespace

int CycleCount() {
    const char* text = std::getenv("VARNEL_LEAK_CYCLES");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > 0 ? count : 1000;
}

CycleResult RunCycles(const std::string& kind, const std::function<void()>& cycle, int cycles) {
    CycleResult result;
    result.kind = kind;
    result.cycles = cycles;
    Table().reserve(64);
    for (int i = 0; i < kWarmUpCycles; ++i)
        cycle();
    skintest::PumpMessages();
    const Usage before = ReadUsage();
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < cycles; ++i)
        cycle();
    skintest::PumpMessages();
    ::QueryPerformanceCounter(&end);
    const Usage after = ReadUsage();
    for (int k = 0; k < kUsageKinds; ++k)
        result.growth[k] = static_cast<double>(after.value[k] - before.value[k]) / cycles;
    result.seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    Table().push_back(result);
    return result;
}

void ExpectNoGrowth(const CycleResult& result) {
    for (int k = 0; k < kUsageKinds; ++k)
        EXPECT_LE(result.growth[k] * result.cycles,
                  kTolerancePerCycle[k] * result.cycles + kToleranceOnce[k])
            << result.kind << ": " << UsageName(k) << " grew by " << result.growth[k]
            << " per cycle over " << result.cycles << " cycles";
}

void PrintTable() {
    std::printf("\nGrowth per cycle after warm-up\n");
    std::printf("%-28s %7s %10s %9s %11s %13s %8s\n", "kind", "cycles", "GDI objs", "windows",
                "heap bytes", "private bytes", "seconds");
    for (const CycleResult& row : Table())
        std::printf("%-28s %7d %10.3f %9.3f %11.2f %13.1f %8.2f\n", row.kind.c_str(), row.cycles,
                    row.growth[kGdiObjects], row.growth[kWindows], row.growth[kHeapBytes],
                    row.growth[kPrivateBytes], row.seconds);
    std::fflush(stdout);
}

} // namespace leaktest
