#include "core/StdStringPtrMap.h"

#include <cwchar>
#include <new>

namespace SkinUI {

namespace {

const wchar_t* KeyText(const wchar_t* key) {
    return key != nullptr ? key : L"";
}

} // namespace

CStdStringPtrMap::CStdStringPtrMap(int bucketCount)
    : m_buckets(nullptr), m_bucketCount(0), m_count(0) {
    Resize(bucketCount < kMinimumBucketCount ? kMinimumBucketCount : bucketCount);
}

CStdStringPtrMap::~CStdStringPtrMap() {
    Resize(0);
}

unsigned int CStdStringPtrMap::HashKey(const wchar_t* key) {
    key = KeyText(key);
    unsigned int hash = 0;
    for (size_t i = wcslen(key); i > 0; --i)
        hash = hash * 33u + key[i - 1];
    return hash;
}

void CStdStringPtrMap::FreeNodes() {
    for (int bucket = 0; bucket < m_bucketCount; ++bucket) {
        Node* node = m_buckets[bucket];
        while (node != nullptr) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        m_buckets[bucket] = nullptr;
    }
    m_count = 0;
}

void CStdStringPtrMap::Resize(int bucketCount) {
    FreeNodes();
    delete[] m_buckets;
    m_buckets = nullptr;
    m_bucketCount = 0;
    if (bucketCount <= 0) return;
    m_buckets = new (std::nothrow) Node*[bucketCount]();
    if (m_buckets != nullptr) m_bucketCount = bucketCount;
}

CStdStringPtrMap::Node* CStdStringPtrMap::FindNode(const wchar_t* key, bool optimize) {
    if (m_bucketCount <= 0 || m_count == 0) return nullptr;
    key = KeyText(key);
    Node*& head = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    for (Node* node = head; node != nullptr; node = node->next) {
        if (node->key != key) continue;
        if (optimize && node != head) {
            node->previous->next = node->next;
            if (node->next != nullptr) node->next->previous = node->previous;
            node->previous = nullptr;
            node->next = head;
            head->previous = node;
            head = node;
        }
        return node;
    }
    return nullptr;
}

void* CStdStringPtrMap::Find(const wchar_t* key, bool optimize) {
    Node* node = FindNode(key, optimize);
    return node != nullptr ? node->data : nullptr;
}

bool CStdStringPtrMap::Insert(const wchar_t* key, void* data) {
    if (m_bucketCount <= 0 || FindNode(key, true) != nullptr) return false;
    key = KeyText(key);
    Node* node = new (std::nothrow) Node;
    if (node == nullptr) return false;
    Node*& head = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    node->key = key;
    node->data = data;
    node->previous = nullptr;
    node->next = head;
    if (head != nullptr) head->previous = node;
    head = node;
    ++m_count;
    return true;
}

void* CStdStringPtrMap::Set(const wchar_t* key, void* data) {
    if (Node* node = FindNode(key, true)) {
        void* previous = node->data;
        node->data = data;
        return previous;
    }
    return Insert(key, data) ? nullptr : data;
}

bool CStdStringPtrMap::Remove(const wchar_t* key) {
    if (m_bucketCount <= 0 || m_count == 0) return false;
    key = KeyText(key);
    // `key` may be the text of the node being removed: it is not read after the delete.
    Node** link = &m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    while (Node* node = *link) {
        if (node->key == key) {
            *link = node->next;
            if (node->next != nullptr) node->next->previous = node->previous;
            delete node;
            --m_count;
            return true;
        }
        link = &node->next;
    }
    return false;
}

void CStdStringPtrMap::RemoveAll() {
    // Same result as Resize(GetBucketCount()), without a new allocation that could fail.
    FreeNodes();
}

const wchar_t* CStdStringPtrMap::GetAt(int index) const {
    if (index < 0 || index >= m_count) return nullptr;
    for (int bucket = m_bucketCount - 1; bucket >= 0; --bucket) {
        for (const Node* node = m_buckets[bucket]; node != nullptr; node = node->next) {
            if (index-- == 0) return node->key;
        }
    }
    return nullptr;
}

} // namespace SkinUI
