#pragma once

#include "core/SkinString.h"

namespace SkinUI {

// A hash map from case-sensitive string keys to untyped pointers. The map owns its keys
// but never the data pointers. It does not rehash by itself: the bucket count comes from
// the constructor or `Resize`. Found entries move to the head of their bucket, so the
// iteration order of `GetAt` changes with use.
class CStdStringPtrMap {
public:
    /// Bucket count when none is given.
    static constexpr int kDefaultBucketCount = 83;
    /// Smallest bucket count the constructor accepts; smaller requests are raised to it.
    static constexpr int kMinimumBucketCount = 16;

    explicit CStdStringPtrMap(int bucketCount = kDefaultBucketCount);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    /// Hash of a key: h = h * 33 + character over the characters from last to first,
    /// wrapping in 32 bits. Null hashes like "".
    static unsigned int HashKey(const wchar_t* key);

    /// Drops every entry and the buckets, then makes `bucketCount` empty buckets (none for
    /// 0 or less, or when they cannot be allocated).
    void Resize(int bucketCount);
    /// The data stored under `key`, or null. With `optimize` the entry moves to the head of
    /// its bucket; pass false to peek without changing the iteration order.
    void* Find(const wchar_t* key, bool optimize = true);
    /// Adds a new entry; false when the key is present or there are no buckets.
    bool Insert(const wchar_t* key, void* data);
    /// Stores `data` under `key`, returning the data it replaces (null for a new entry).
    /// When nothing can be stored (no buckets) the given data comes back.
    void* Set(const wchar_t* key, void* data);
    /// Removes the entry of `key`; false when there is none.
    bool Remove(const wchar_t* key);
    /// Removes every entry, keeping the bucket count.
    void RemoveAll();
    /// Number of entries.
    int GetSize() const { return m_count; }
    /// Number of buckets.
    int GetBucketCount() const { return m_bucketCount; }
    /// Key of the entry at `index` in iteration order (buckets from last to first, each
    /// from its head), or null outside 0..count-1. Valid until that entry is removed.
    const wchar_t* GetAt(int index) const;
    const wchar_t* operator[](int index) const { return GetAt(index); }

private:
    struct Node {
        CSkinString key;
        void* data;
        Node* previous;
        Node* next;
    };

    /// The node of `key` or null; with `optimize` a found node moves to its bucket head.
    Node* FindNode(const wchar_t* key, bool optimize);
    /// Frees every node and empties every bucket; the bucket array stays.
    void FreeNodes();

    Node** m_buckets;
    int m_bucketCount;
    int m_count;
};

} // namespace SkinUI
