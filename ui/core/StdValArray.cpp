#include "core/StdValArray.h"

#include "core/ContainerGrowth.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdValArray::CStdValArray(int elementSize, int preallocated)
    : m_data(nullptr), m_elementSize(elementSize), m_count(0), m_allocated(0) {
    if (elementSize <= 0 || preallocated <= 0) return;
    if (static_cast<size_t>(preallocated) > SIZE_MAX / static_cast<size_t>(elementSize)) return;
    m_data = static_cast<unsigned char*>(
        malloc(static_cast<size_t>(preallocated) * static_cast<size_t>(elementSize)));
    if (m_data != nullptr) m_allocated = preallocated;
}

CStdValArray::~CStdValArray() {
    free(m_data);
}

void CStdValArray::Empty() {
    m_count = 0;
}

bool CStdValArray::Add(const void* data) {
    if (m_elementSize <= 0 || data == nullptr) return false;
    const size_t elementSize = static_cast<size_t>(m_elementSize);
    int grown = 0;
    if (!ContainerGrowth::NextAllocation(m_count, m_allocated, elementSize, &grown)) return false;

    const unsigned char* source = static_cast<const unsigned char*>(data);
    if (grown != m_allocated) {
        // The value may be one of our own elements: remember where, since the block moves.
        const uintptr_t address = reinterpret_cast<uintptr_t>(source);
        const uintptr_t first = reinterpret_cast<uintptr_t>(m_data);
        const size_t used = static_cast<size_t>(m_count) * elementSize;
        const bool inside = m_data != nullptr && address >= first && address < first + used;

        void* block = realloc(m_data, static_cast<size_t>(grown) * elementSize);
        if (block == nullptr) return false;
        m_data = static_cast<unsigned char*>(block);
        m_allocated = grown;
        if (inside) source = m_data + (address - first);
    }
    memcpy(ElementAddress(m_count), source, elementSize);
    ++m_count;
    return true;
}

bool CStdValArray::Remove(int index) {
    if (index < 0 || index >= m_count) return false;
    if (index < m_count - 1) {
        memmove(ElementAddress(index), ElementAddress(index + 1),
                static_cast<size_t>(m_count - index - 1) * static_cast<size_t>(m_elementSize));
    }
    --m_count;
    return true;
}

void* CStdValArray::GetAt(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    return ElementAddress(index);
}

} // namespace SkinUI
