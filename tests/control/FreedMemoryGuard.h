// Catches writes and reads into a control after it was freed. A control class that
// derives from GuardedAllocation lives in pages of its own; deleting it takes the pages
// away (keeping the addresses reserved, so nothing else moves in), and a later access
// faults. A vectored exception handler notes the fault, puts the freed bytes back and lets
// the program go on as a use after free would, so the test can fail instead of crash.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

namespace freedguard {

struct Block {
    void* base;
    size_t size;
    std::vector<unsigned char> bytes; // what the object held when it was freed
};

inline std::vector<Block>& FreedBlocks() {
    static std::vector<Block> blocks;
    return blocks;
}

// Accesses into freed controls since the last Reset.
inline int& Faults() {
    static int faults = 0;
    return faults;
}

inline LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION ||
        info->ExceptionRecord->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto address = static_cast<ULONG_PTR>(info->ExceptionRecord->ExceptionInformation[1]);
    for (Block& block : FreedBlocks()) {
        const auto base = reinterpret_cast<ULONG_PTR>(block.base);
        if (address < base || address >= base + block.size) continue;
        ++Faults();
        if (::VirtualAlloc(block.base, block.size, MEM_COMMIT, PAGE_READWRITE) == nullptr)
            return EXCEPTION_CONTINUE_SEARCH;
        std::memcpy(block.base, block.bytes.data(), block.bytes.size());
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Installs the handler for the life of the scope and counts from 0.
class Scope {
public:
    Scope() : m_handler(::AddVectoredExceptionHandler(1, &OnFault)) { Faults() = 0; }
    ~Scope() {
        ::RemoveVectoredExceptionHandler(m_handler);
        for (Block& block : FreedBlocks())
            ::VirtualFree(block.base, 0, MEM_RELEASE);
        FreedBlocks().clear();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    void* m_handler;
};

// Base for test classes whose objects get pages of their own.
struct GuardedAllocation {
    static void* operator new(size_t size) {
        void* block = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (block == nullptr) throw std::bad_alloc();
        return block;
    }
    static void operator delete(void* block, size_t size) {
        if (block == nullptr) return;
        const auto* bytes = static_cast<const unsigned char*>(block);
        FreedBlocks().push_back(
            Block{block, size, std::vector<unsigned char>(bytes, bytes + size)});
        ::VirtualFree(block, size, MEM_DECOMMIT);
    }
};

} // namespace freedguard
