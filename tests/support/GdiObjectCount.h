// Counts this process's GDI objects from Wine's per-process GDI handle table, which the
// process environment block points to. The system's own counters (GetGuiResources)
// answer 0 under Wine, so a leak test built on them could never fail.
#pragma once

#include <windows.h>

#include <winternl.h>

#include <cstddef>

namespace skintest {

// One slot of the table, as Wine lays it out for 64-bit processes.
struct GdiHandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type; // 0: a free slot
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's 64-bit entry");

constexpr size_t kGdiHandleSlots = 0x10000;
// Where the 64-bit process environment block keeps the table's address.
constexpr size_t kGdiSharedHandleTableOffset = 0xF8;

inline const GdiHandleEntry* GdiHandleTable() {
    using QueryProc = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProc>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return nullptr;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + kGdiSharedHandleTableOffset);
}

// GDI objects alive in this process (stock objects included); -1 without a table.
inline int CountGdiObjects() {
    const GdiHandleEntry* table = GdiHandleTable();
    if (table == nullptr) return -1;
    int count = 0;
    for (size_t i = 0; i < kGdiHandleSlots; ++i)
        if (table[i].type != 0) ++count;
    return count;
}

} // namespace skintest
