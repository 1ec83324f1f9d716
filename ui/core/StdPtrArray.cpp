#include "core/StdPtrArray.h"

#include "core/ContainerGrowth.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdPtrArray::CStdPtrArray(int preallocated) : m_items(nullptr), m_count(0), m_allocated(0) {
    if (preallocated <= 0) return;
    m_items = static_cast<void**>(malloc(static_cast<size_t>(preallocated) * sizeof(void*)));
    if (m_items != nullptr) m_allocated = preallocated;
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& source) : CStdPtrArray() {
    for (int i = 0; i < source.GetSize(); ++i)
        Add(source.GetAt(i));
}

CStdPtrArray::~CStdPtrArray() {
    free(m_items);
}

void CStdPtrArray::Empty() {
    free(m_items);
    m_items = nullptr;
    m_count = 0;
    m_allocated = 0;
}

bool CStdPtrArray::Resize(int size) {
    Empty();
    if (size <= 0) return true;
    m_items = static_cast<void**>(calloc(static_cast<size_t>(size), sizeof(void*)));
    if (m_items == nullptr) return false;
    m_count = size;
    m_allocated = size;
    return true;
}

int CStdPtrArray::Find(void* data) const {
    for (int i = 0; i < m_count; ++i) {
        if (m_items[i] == data) return i;
    }
    return -1;
}

bool CStdPtrArray::GrowForOneMore() {
    int grown = 0;
    if (!ContainerGrowth::NextAllocation(m_count, m_allocated, sizeof(void*), &grown)) return false;
    if (grown == m_allocated) return true;
    void* block = realloc(m_items, static_cast<size_t>(grown) * sizeof(void*));
    if (block == nullptr) return false;
    m_items = static_cast<void**>(block);
    m_allocated = grown;
    return true;
}

bool CStdPtrArray::Add(void* data) {
    if (!GrowForOneMore()) return false;
    m_items[m_count++] = data;
    return true;
}

bool CStdPtrArray::SetAt(int index, void* data) {
    if (index < 0 || index >= m_count) return false;
    m_items[index] = data;
    return true;
}

bool CStdPtrArray::InsertAt(int index, void* data) {
    if (index == m_count) return Add(data);
    if (index < 0 || index > m_count) return false;
    if (!GrowForOneMore()) return false;
    memmove(m_items + index + 1, m_items + index,
            static_cast<size_t>(m_count - index) * sizeof(void*));
    m_items[index] = data;
    ++m_count;
    return true;
}

bool CStdPtrArray::Remove(int index) {
    if (index < 0 || index >= m_count) return false;
    if (index < m_count - 1) {
        memmove(m_items + index, m_items + index + 1,
                static_cast<size_t>(m_count - index - 1) * sizeof(void*));
    }
    --m_count;
    return true;
}

void* CStdPtrArray::GetAt(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    return m_items[index];
}

} // namespace SkinUI
