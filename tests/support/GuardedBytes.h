// Bytes placed right before an inaccessible page, so that reading one byte too far
// crashes the test instead of passing unnoticed.
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

namespace skintest {

class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<unsigned char>& bytes) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t dataPages = (bytes.size() + page - 1) / page + 1;
        m_base = static_cast<unsigned char*>(VirtualAlloc(
            nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + dataPages * page, page, PAGE_NOACCESS, &old);
        m_data = m_base + dataPages * page - bytes.size();
        if (!bytes.empty()) std::memcpy(m_data, bytes.data(), bytes.size());
        m_size = static_cast<unsigned long>(bytes.size());
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    const unsigned char* data() const { return m_data; }
    unsigned long size() const { return m_size; }

private:
    unsigned char* m_base;
    unsigned char* m_data;
    unsigned long m_size;
};

} // namespace skintest
