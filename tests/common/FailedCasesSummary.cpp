// Linked into every test executable: the run's output ends with the cases that failed.
// The brief output names a case only where it fails, among all else the run printed.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class FailedCasesSummary : public ::testing::EmptyTestEventListener {
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        if (unit.failed_test_count() == 0) return;
        std::printf("Failed cases (one alone: GTEST_FILTER=Suite.Case scripts/test -R folder):\n");
        for (int i = 0; i < unit.total_test_suite_count(); ++i) {
            const ::testing::TestSuite* suite = unit.GetTestSuite(i);
            for (int j = 0; j < suite->total_test_count(); ++j) {
                const ::testing::TestInfo* info = suite->GetTestInfo(j);
                if (info->result()->Failed()) std::printf("  %s.%s\n", suite->name(), info->name());
            }
        }
        std::fflush(stdout);
    }
};

// Registered before main runs, whichever main the executable has.
const bool g_registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FailedCasesSummary);
    return true;
}();

} // namespace
