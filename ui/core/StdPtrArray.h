#pragma once

namespace SkinUI {

// A growable array of untyped pointers. It never owns the pointees: whoever fills the
// array frees what the pointers point to.
class CStdPtrArray {
public:
    /// Empty array; a positive `preallocated` reserves that many slots up front.
    explicit CStdPtrArray(int preallocated = 0);
    /// Empty array, then every pointer of `source` appended in order.
    CStdPtrArray(const CStdPtrArray& source);
    CStdPtrArray& operator=(const CStdPtrArray&) = delete;
    ~CStdPtrArray();

    /// Frees the block; the array holds nothing afterwards.
    void Empty();
    /// Replaces the contents by `size` null pointers (none when `size` is not positive).
    /// False, with the array left empty, when the block cannot be allocated.
    bool Resize(int size);
    /// True when no slot is in use.
    bool IsEmpty() const { return m_count == 0; }
    /// Index of the first slot holding `data`, or -1.
    int Find(void* data) const;
    /// Appends `data`; false (array unchanged) when the block cannot grow.
    bool Add(void* data);
    /// Replaces the pointer at `index` in 0..count-1; false outside that range.
    bool SetAt(int index, void* data);
    /// Stores `data` at `index`, moving later slots up. `index` equal to the count appends;
    /// a negative index or one past the count gives false.
    bool InsertAt(int index, void* data);
    /// Removes the slot at `index` in 0..count-1, moving later slots down. Never shrinks.
    bool Remove(int index);
    /// Number of slots the block holds, used or not.
    int GetAllocatedSize() const { return m_allocated; }
    /// Number of slots in use.
    int GetSize() const { return m_count; }
    /// The block of slots (null when nothing is allocated).
    void** GetData() const { return m_items; }

    /// The pointer at `index`, or null outside 0..count-1.
    void* GetAt(int index) const;
    /// The pointer at `index`, unchecked.
    void* operator[](int index) const { return m_items[index]; }

private:
    /// Makes room for one more slot, doubling the block (0 becomes 11) when the slot
    /// taken would be the last free one.
    bool GrowForOneMore();

    void** m_items;
    int m_count;
    int m_allocated;
};

} // namespace SkinUI
