#include "support/FailingAllocation.h"

#include <cstddef>
#include <new>

namespace {

bool g_failing = false;
int g_allowed = 0;
int g_refused = 0;

bool Refuse() {
    if (!g_failing) return false;
    if (g_allowed > 0) {
        --g_allowed;
        return false;
    }
    ++g_refused;
    return true;
}

} // namespace

namespace skintest {

FailingAllocations::FailingAllocations(int allowed) {
    g_failing = true;
    g_allowed = allowed;
    g_refused = 0;
}

FailingAllocations::~FailingAllocations() {
    g_failing = false;
}

int FailingAllocations::Refused() const {
    return g_refused;
}

} // namespace skintest

// The standard's replaceable nothrow forms: the throwing ones, with failure as null.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (Refuse()) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (Refuse()) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}
