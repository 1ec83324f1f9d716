#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"
#include "core/StdValArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

using SkinUI::CStdPtrArray;
using SkinUI::CStdStringPtrMap;
using SkinUI::CStdValArray;

namespace {

void* Tag(uintptr_t value) {
    return reinterpret_cast<void*>(value);
}

std::vector<uintptr_t> Contents(const CStdPtrArray& array) {
    std::vector<uintptr_t> values;
    for (int i = 0; i < array.GetSize(); ++i)
        values.push_back(reinterpret_cast<uintptr_t>(array[i]));
    return values;
}

std::vector<std::wstring> Keys(const CStdStringPtrMap& map) {
    std::vector<std::wstring> keys;
    for (int i = 0; i < map.GetSize(); ++i)
        keys.push_back(map.GetAt(i));
    return keys;
}

} // namespace

TEST(StdPtrArray, ManyAddsKeepOrderAndGrowGeometrically) {
    CStdPtrArray array;
    EXPECT_TRUE(array.IsEmpty());
    int growths = 0;
    int allocated = array.GetAllocatedSize();
    for (uintptr_t i = 1; i <= 10000; ++i) {
        ASSERT_TRUE(array.Add(Tag(i)));
        ASSERT_GE(array.GetAllocatedSize(), array.GetSize());
        if (array.GetAllocatedSize() != allocated) {
            ++growths;
            allocated = array.GetAllocatedSize();
        }
    }
    // Appending stays cheap: the block grows by a factor, not by a step.
    EXPECT_LE(growths, 20);
    ASSERT_EQ(array.GetSize(), 10000);
    for (int i = 0; i < array.GetSize(); ++i)
        ASSERT_EQ(array[i], Tag(i + 1)) << i;
    EXPECT_EQ(array.Find(Tag(1)), 0);
    EXPECT_EQ(array.Find(Tag(5000)), 4999);
    EXPECT_EQ(array.Find(Tag(10000)), 9999);
    EXPECT_EQ(array.Find(Tag(10001)), -1);

    // A reservation is there up front; nonsense reservations give an ordinary array.
    CStdPtrArray reserved(100);
    EXPECT_TRUE(reserved.IsEmpty());
    EXPECT_GE(reserved.GetAllocatedSize(), 100);
    for (int preallocated : {-5, 0}) {
        CStdPtrArray ordinary(preallocated);
        EXPECT_EQ(ordinary.GetData(), nullptr);
        for (uintptr_t i = 1; i <= 30; ++i)
            ASSERT_TRUE(ordinary.Add(Tag(i)));
        EXPECT_EQ(ordinary.Find(Tag(30)), 29);
    }
}

TEST(StdPtrArray, InsertAtAcceptsOnlyZeroToCount) {
    CStdPtrArray array;
    for (uintptr_t i = 1; i <= 3; ++i)
        array.Add(Tag(i));
    EXPECT_TRUE(array.InsertAt(0, Tag(9)));
    EXPECT_EQ(Contents(array), (std::vector<uintptr_t>{9, 1, 2, 3}));
    EXPECT_TRUE(array.InsertAt(array.GetSize(), Tag(4)));
    EXPECT_TRUE(array.InsertAt(2, Tag(7)));
    EXPECT_EQ(Contents(array), (std::vector<uintptr_t>{9, 1, 7, 2, 3, 4}));
    EXPECT_FALSE(array.InsertAt(array.GetSize() + 1, Tag(5)));
    EXPECT_FALSE(array.InsertAt(-1, Tag(5)));
    EXPECT_EQ(array.GetSize(), 6);

    // Inserting into a full block grows it with the tail intact.
    CStdPtrArray full;
    full.Resize(3);
    EXPECT_TRUE(full.InsertAt(1, Tag(5)));
    EXPECT_EQ(Contents(full), (std::vector<uintptr_t>{0, 5, 0, 0}));
}

TEST(StdPtrArray, RemoveSetAtAndGetAtCheckTheRange) {
    CStdPtrArray array;
    for (uintptr_t i = 1; i <= 4; ++i)
        array.Add(Tag(i));
    const int allocated = array.GetAllocatedSize();
    EXPECT_FALSE(array.Remove(array.GetSize()));
    EXPECT_FALSE(array.Remove(-1));
    EXPECT_TRUE(array.Remove(1));
    EXPECT_TRUE(array.Remove(array.GetSize() - 1));
    EXPECT_EQ(Contents(array), (std::vector<uintptr_t>{1, 3}));
    EXPECT_EQ(array.GetAllocatedSize(), allocated);

    EXPECT_TRUE(array.SetAt(1, Tag(8)));
    EXPECT_FALSE(array.SetAt(2, Tag(8)));
    EXPECT_FALSE(array.SetAt(-1, Tag(8)));
    EXPECT_EQ(array.GetAt(1), Tag(8));
    EXPECT_EQ(array.GetAt(-1), nullptr);
}

TEST(StdPtrArray, ResizeGivesNullSlots) {
    CStdPtrArray array;
    array.Add(Tag(1));
    EXPECT_TRUE(array.Resize(5));
    EXPECT_EQ(Contents(array), (std::vector<uintptr_t>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(array.Add(Tag(6)));
    EXPECT_EQ(array.GetSize(), 6);

    EXPECT_TRUE(array.Resize(-1));
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST(StdPtrArray, CopyIsIndependent) {
    CStdPtrArray source;
    for (uintptr_t i = 1; i <= 12; ++i)
        source.Add(Tag(i));
    CStdPtrArray copy(source);
    EXPECT_EQ(Contents(copy), Contents(source));
    copy.Remove(0);
    EXPECT_EQ(source.GetSize(), 12);
    EXPECT_EQ(source[0], Tag(1));
}

namespace {

struct Record {
    void* owner;
    int64_t stamp;
    int id;
};

} // namespace

TEST(StdValArray, StoresWholeRecordsAndRemovesFromTheMiddle) {
    CStdValArray array(sizeof(Record));
    EXPECT_EQ(array.GetElementSize(), static_cast<int>(sizeof(Record)));
    for (int i = 0; i < 30; ++i) {
        const Record record{Tag(0x123456789ABCull + i), INT64_C(-5000000000) - i, i};
        ASSERT_TRUE(array.Add(&record));
    }
    EXPECT_GE(array.GetAllocatedSize(), 30);
    EXPECT_TRUE(array.Remove(0));
    EXPECT_TRUE(array.Remove(10));
    EXPECT_FALSE(array.Remove(28));
    EXPECT_FALSE(array.Remove(-1));
    ASSERT_EQ(array.GetSize(), 28);
    const auto* record = static_cast<const Record*>(array.GetAt(10));
    EXPECT_EQ(record->owner, Tag(0x123456789ABCull + 12));
    EXPECT_EQ(record->stamp, INT64_C(-5000000012));
    EXPECT_EQ(record->id, 12);
    EXPECT_EQ(static_cast<const Record*>(array[27])->id, 29);
    EXPECT_EQ(array.GetAt(28), nullptr);
}

TEST(StdValArray, EmptyKeepsTheBlockForRefilling) {
    CStdValArray array(sizeof(int), 4);
    for (int i = 0; i < 20; ++i)
        array.Add(&i);
    void* block = array.GetData();
    const int allocated = array.GetAllocatedSize();
    array.Empty();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetAt(0), nullptr);
    for (int i = 0; i < 20; ++i)
        array.Add(&i);
    EXPECT_EQ(array.GetData(), block);
    EXPECT_EQ(array.GetAllocatedSize(), allocated);
}

TEST(StdValArray, AddingItsOwnElementSurvivesGrowth) {
    // Elements this large live in their own mapping, so growing the block moves it and
    // unmaps the old one: a copy taken from the old address would fault or read garbage.
    const int elementSize = 100000;
    std::string pattern(elementSize, '\0');
    for (int i = 0; i < elementSize; ++i)
        pattern[i] = static_cast<char>('a' + i % 26);
    CStdValArray array(elementSize);
    array.Add(pattern.data());
    for (int i = 1; i < 12; ++i)
        ASSERT_TRUE(array.Add(array.GetAt(i - 1)));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(std::string(static_cast<const char*>(array[i]), elementSize), pattern) << i;
    }
}

TEST(StdValArray, RejectsNullValuesAndUnusableElementSizes) {
    EXPECT_FALSE(CStdValArray(sizeof(int)).Add(nullptr));
    int value = 1;
    EXPECT_FALSE(CStdValArray(0, 10).Add(&value));
    EXPECT_FALSE(CStdValArray(-8, 10).Add(&value));
}

TEST(StdStringPtrMap, HashDependsOnEveryCharacterAndSpreadsNames) {
    // The same text hashes the same wherever it is stored; null is the empty key.
    const std::wstring name = L"closebtn";
    EXPECT_EQ(CStdStringPtrMap::HashKey(name.c_str()), CStdStringPtrMap::HashKey(L"closebtn"));
    EXPECT_EQ(CStdStringPtrMap::HashKey(nullptr), CStdStringPtrMap::HashKey(L""));

    // Changing any one character, or the order of two, changes the hash, in long keys too.
    const std::wstring key = L"a" + std::wstring(500, L'\x4E2D') + L"z";
    for (size_t at : {size_t(0), size_t(1), size_t(250), key.size() - 1}) {
        std::wstring changed = key;
        changed[at] = L'q';
        EXPECT_NE(CStdStringPtrMap::HashKey(changed.c_str()),
                  CStdStringPtrMap::HashKey(key.c_str()))
            << at;
    }
    EXPECT_NE(CStdStringPtrMap::HashKey(L"ab"), CStdStringPtrMap::HashKey(L"ba"));
    EXPECT_NE(CStdStringPtrMap::HashKey(L"button12"), CStdStringPtrMap::HashKey(L"button21"));

    // Names the way skins write them spread over the default buckets: none stays empty and
    // none holds more than three times its share.
    const int buckets = CStdStringPtrMap().GetBucketCount();
    std::vector<int> load(buckets, 0);
    const int names = 2000;
    for (int i = 0; i < names; ++i) {
        const std::wstring control = (i % 2 ? L"button" : L"label_") + std::to_wstring(i);
        ++load[CStdStringPtrMap::HashKey(control.c_str()) % buckets];
    }
    for (int b = 0; b < buckets; ++b) {
        EXPECT_GT(load[b], 0) << b;
        EXPECT_LE(load[b], 3 * names / buckets) << b;
    }
}

TEST(StdStringPtrMap, AnyBucketCountGivesAWorkingMap) {
    // Whatever a caller asks of the constructor, the map stores and finds.
    for (int bucketCount : {-3, 0, 1, 10, 200, 5000}) {
        CStdStringPtrMap map(bucketCount);
        EXPECT_GT(map.GetBucketCount(), 0) << bucketCount;
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(map.Insert(std::to_wstring(i).c_str(), Tag(i + 1))) << bucketCount;
        EXPECT_EQ(map.GetSize(), 300);
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(map.Find(std::to_wstring(i).c_str()), Tag(i + 1)) << bucketCount;
    }
    // Resizing drops the entries; any positive count works on, none stores nothing.
    CStdStringPtrMap map;
    map.Insert(L"a", Tag(1));
    map.Resize(7);
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.Find(L"a"), nullptr);
    EXPECT_TRUE(map.Insert(L"a", Tag(2)));
    EXPECT_EQ(map.Find(L"a"), Tag(2));
    map.Resize(-4);
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_FALSE(map.Insert(L"a", Tag(3)));
    EXPECT_EQ(map.Find(L"a"), nullptr);
}

TEST(StdStringPtrMap, InsertKeepsAndSetReplacesExistingData) {
    CStdStringPtrMap map;
    EXPECT_TRUE(map.Insert(L"button", Tag(1)));
    EXPECT_FALSE(map.Insert(L"button", Tag(2)));
    EXPECT_EQ(map.Find(L"button"), Tag(1));
    EXPECT_EQ(map.Set(L"button", Tag(3)), Tag(1));
    EXPECT_EQ(map.Find(L"button"), Tag(3));
    EXPECT_EQ(map.Set(L"label", Tag(4)), nullptr);
    EXPECT_EQ(map.GetSize(), 2);

    // Keys are case-sensitive copies; a null key is the empty key.
    std::wstring key = L"Button";
    EXPECT_TRUE(map.Insert(key.c_str(), Tag(5)));
    key[0] = L'X';
    EXPECT_EQ(map.Find(L"Button"), Tag(5));
    EXPECT_EQ(map.Find(L"BUTTON"), nullptr);
    EXPECT_TRUE(map.Insert(nullptr, Tag(6)));
    EXPECT_EQ(map.Find(L""), Tag(6));

    EXPECT_TRUE(map.Remove(L"button"));
    EXPECT_FALSE(map.Remove(L"button"));
    EXPECT_EQ(map.Find(L"button"), nullptr);
    EXPECT_EQ(map.GetSize(), 3);
    const int buckets = map.GetBucketCount();
    map.RemoveAll();
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.GetAt(0), nullptr);
    EXPECT_EQ(map.Find(L"label"), nullptr);
    EXPECT_EQ(map.GetBucketCount(), buckets);
    EXPECT_TRUE(map.Insert(L"label", Tag(7)));
    EXPECT_EQ(map.Find(L"label"), Tag(7));
}

TEST(StdStringPtrMap, WithoutBucketsStoresNothingAndNeverDividesByZero) {
    CStdStringPtrMap map;
    map.Insert(L"a", Tag(1));
    map.Resize(0);
    EXPECT_FALSE(map.Insert(L"a", Tag(1)));
    EXPECT_EQ(map.Set(L"a", Tag(2)), Tag(2));
    EXPECT_EQ(map.Find(L"a"), nullptr);
    EXPECT_EQ(map.Find(L"a", false), nullptr);
    EXPECT_FALSE(map.Remove(L"a"));
    EXPECT_EQ(map.GetAt(0), nullptr);
}

TEST(StdStringPtrMap, SharedBucketsStayIntactAsFoundKeysMove) {
    // One bucket: every key shares it, so every move and removal relinks one chain.
    CStdStringPtrMap map;
    map.Resize(1);
    const std::vector<std::wstring> keys = {L"b", L"e", L"r", L"u", L"x"};
    for (const std::wstring& key : keys)
        ASSERT_TRUE(map.Insert(key.c_str(), Tag(key[0])));
    auto keysInOrder = [&] {
        std::vector<std::wstring> found = Keys(map);
        EXPECT_EQ(std::set<std::wstring>(found.begin(), found.end()),
                  std::set<std::wstring>(keys.begin(), keys.end()));
        EXPECT_EQ(found.size(), keys.size());
        return found;
    };
    const std::vector<std::wstring> before = keysInOrder();

    // Peeking leaves the order; finding may reorder but loses nothing.
    for (const std::wstring& key : keys)
        EXPECT_EQ(map.Find(key.c_str(), false), Tag(key[0]));
    EXPECT_EQ(keysInOrder(), before);
    for (const wchar_t* key : {L"b", L"x", L"r", L"r", L"e"})
        EXPECT_EQ(map.Find(key), Tag(key[0]));
    keysInOrder();
    map.Set(L"u", Tag(1));
    EXPECT_EQ(map.Find(L"u", false), Tag(1));
    keysInOrder();
    EXPECT_EQ(map[static_cast<int>(keys.size())], nullptr);
    EXPECT_EQ(map[-1], nullptr);

    // Removing from the head, the middle and the tail of the chain.
    const std::vector<std::wstring> order = Keys(map);
    for (const std::wstring& key : {order.front(), order[2], order.back()})
        EXPECT_TRUE(map.Remove(key.c_str())) << key;
    EXPECT_EQ(map.GetSize(), 2);
    for (const std::wstring& key : {order[1], order[3]})
        EXPECT_NE(map.Find(key.c_str()), nullptr) << key;
    for (const std::wstring& key : {order[1], order[3]})
        EXPECT_TRUE(map.Remove(key.c_str()));
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.GetAt(0), nullptr);
}

TEST(StdStringPtrMap, IterationSurvivesFindAndBackwardRemoval) {
    CStdStringPtrMap map(16);
    for (int i = 0; i < 100; ++i)
        map.Insert(std::to_wstring(i).c_str(), Tag(i + 1));

    // Finding each key while iterating reorders only entries already visited.
    std::set<std::wstring> seen;
    for (int i = 0; i < map.GetSize(); ++i) {
        const std::wstring key = map.GetAt(i);
        EXPECT_NE(map.Find(key.c_str()), nullptr);
        seen.insert(key);
    }
    EXPECT_EQ(seen.size(), 100u);

    // Removing from the back, by the key text the map itself hands out.
    for (int i = map.GetSize() - 1; i >= 0; --i) {
        if (reinterpret_cast<uintptr_t>(map.Find(map.GetAt(i), false)) % 2 == 0) {
            EXPECT_TRUE(map.Remove(map.GetAt(i)));
        }
    }
    EXPECT_EQ(map.GetSize(), 50);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(map.Find(std::to_wstring(i).c_str()) != nullptr, i % 2 == 0) << i;
    }
}
