// Runs one kind of window or control through many cycles of life and reports what each
// cycle left behind, per kind of resource; the table of every kind is printed at the end.
#pragma once

#include <functional>
#include <string>

#include "ProcessUsage.h"

namespace leaktest {

struct CycleResult {
    std::string kind;
    int cycles = 0;
    double growth[kUsageKinds] = {}; // per cycle
    double seconds = 0;              // the measured cycles only
};

// Cycles run before the first reading.
constexpr int kWarmUpCycles = 20;

// Cycles per kind: VARNEL_LEAK_CYCLES when set (the suite sets 100), else 1,000.
int CycleCount();

// Runs `cycle` a few times first, so that one-time caches (classes, fonts, images, COM
// servers) are filled, then `cycles` times between two readings. The row joins the table.
CycleResult RunCycles(const std::string& kind, const std::function<void()>& cycle,
                      int cycles = CycleCount());

// Fails the current test for growth beyond what Wine's own bookkeeping explains.
void ExpectNoGrowth(const CycleResult& result);

// Prints every row recorded so far.
void PrintTable();

} // namespace leaktest
