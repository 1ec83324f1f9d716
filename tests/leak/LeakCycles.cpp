#include "LeakCycles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/SkinTestKit.h"

namespace leaktest {

namespace {

// What a cycle may leave on average and still count as nothing, measured over cycles of
// every kind that leak nothing: Wine's heap keeps a little bookkeeping that settles in
// steps (well under 8 bytes a cycle over 1,000), and its heap commits memory in 64 KiB
// steps, a few of them over a run of 1,000 cycles. A leaked object of any kind is far
// larger: a GDI object or window per cycle is 1, a control or record dozens of bytes.
constexpr double kTolerance[kUsageKinds] = {
    0.005, // GDI objects: fewer than one object per 200 cycles
    0.0,   // windows
    8.0,   // heap bytes
    512.0, // committed private bytes
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
        EXPECT_LE(result.growth[k], kTolerance[k])
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
