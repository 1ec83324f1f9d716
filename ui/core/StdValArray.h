#pragma once

#include <cstddef>

namespace SkinUI {

// A growable array of fixed-size values, copied in and out by bytes. Suits plain records
// (no constructors or destructors run).
class CStdValArray {
public:
    /// Empty array of `elementSize`-byte values; a positive `preallocated` reserves room
    /// for that many values. An element size below 1 makes every `Add` fail.
    explicit CStdValArray(int elementSize, int preallocated = 0);
    CStdValArray(const CStdValArray&) = delete;
    CStdValArray& operator=(const CStdValArray&) = delete;
    ~CStdValArray();

    /// Forgets every value but keeps the block, so the array refills without allocating.
    void Empty();
    /// True when no value is stored.
    bool IsEmpty() const { return m_count == 0; }
    /// Appends a byte copy of the value at `data` (which may be one of this array's own
    /// elements); false (array unchanged) for null or when the block cannot grow.
    bool Add(const void* data);
    /// Removes the value at `index` in 0..count-1, moving later values down.
    bool Remove(int index);
    /// Number of values the block holds, used or not.
    int GetAllocatedSize() const { return m_allocated; }
    /// Number of values stored.
    int GetSize() const { return m_count; }
    /// Bytes per value.
    int GetElementSize() const { return m_elementSize; }
    /// The block of values (null when nothing is allocated).
    void* GetData() const { return m_data; }

    /// Address of the value at `index`, or null outside 0..count-1.
    void* GetAt(int index) const;
    /// Address of the value at `index`, unchecked.
    void* operator[](int index) const { return ElementAddress(index); }

private:
    unsigned char* ElementAddress(int index) const {
        return m_data + static_cast<size_t>(index) * static_cast<size_t>(m_elementSize);
    }

    unsigned char* m_data;
    int m_elementSize;
    int m_count;
    int m_allocated;
};

} // namespace SkinUI
