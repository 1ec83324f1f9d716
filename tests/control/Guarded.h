// Controls that live on pages of their own, which become inaccessible when the control is
// deleted and are never handed out again: a later read or write of a deleted control
// faults at once instead of passing unseen (the heap does not catch small misuses).
#pragma once

#include <windows.h>

#include <cstddef>
#include <new>

template <class T> class Guarded : public T {
public:
    using T::T;
    ~Guarded() override {
        if (destroyed != nullptr) ++*destroyed;
    }

    static void* operator new(std::size_t size) {
        void* block = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (block == nullptr) throw std::bad_alloc();
        return block;
    }
    static void operator delete(void* block) {
        // The pages go, the address range stays reserved: nothing else can live there.
        if (block != nullptr) ::VirtualFree(block, 0, MEM_DECOMMIT);
    }

    int* destroyed = nullptr; ///< counts the destruction when set
};
