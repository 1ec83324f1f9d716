// Makes `new (std::nothrow)` answer null on demand, so a test can watch code that
// allocates that way report the failure instead of crashing. Plain `new` and the C heap
// are untouched. The replaced nothrow operators live in FailingAllocation.cpp; without a
// FailingAllocations alive they allocate as usual.
#pragma once

namespace skintest {

/// While one lives, nothrow allocations of the process fail, after the first `allowed`.
/// One thread only, like the code under test.
class FailingAllocations {
public:
    explicit FailingAllocations(int allowed = 0);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    /// Nothrow allocations refused so far: a test that expects a failure checks that the
    /// code did reach one.
    int Refused() const;
};

} // namespace skintest
