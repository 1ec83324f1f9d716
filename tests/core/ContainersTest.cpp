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

TEST(StdPtrArray, GrowsFrom11ByDoublingAndKeepsAFreeSlot) {
    CStdPtrArray array;
    EXPECT_EQ(array.GetAllocatedSize(), 0);
    std::vector<int> allocatedAfterAdd;
    for (uintptr_t i = 1; i <= 22; ++i) {
        ASSERT_TRUE(array.Add(Tag(i)));
        allocatedAfterAdd.push_back(array.GetAllocatedSize());
    }
    EXPECT_EQ(allocatedAfterAdd[0], 11);
    EXPECT_EQ(allocatedAfterAdd[9], 11);
    EXPECT_EQ(allocatedAfterAdd[10], 22);
    EXPECT_EQ(allocatedAfterAdd[20], 22);
    EXPECT_EQ(allocatedAfterAdd[21], 44);
    EXPECT_EQ(array.Find(Tag(22)), 21);
    EXPECT_EQ(array.Find(Tag(99)), -1);

    // A preallocated block doubles too; nonsense preallocations are ignored.
    CStdPtrArray preallocated(4);
    EXPECT_EQ(preallocated.GetAllocatedSize(), 4);
    for (uintptr_t i = 0; i < 4; ++i)
        preallocated.Add(Tag(i));
    EXPECT_EQ(preallocated.GetAllocatedSize(), 8);
    CStdPtrArray negative(-5);
    EXPECT_EQ(negative.GetAllocatedSize(), 0);
    EXPECT_TRUE(negative.Add(Tag(1)));
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
    EXPECT_EQ(array.GetAllocatedSize(), 44);
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

TEST(StdStringPtrMap, HashesFromTheLastCharacterByThirtyThree) {
    EXPECT_EQ(CStdStringPtrMap::HashKey(L"a"), 97u);
    EXPECT_EQ(CStdStringPtrMap::HashKey(L"ab"), 3331u);
    EXPECT_EQ(CStdStringPtrMap::HashKey(L""), 0u);
    EXPECT_EQ(CStdStringPtrMap::HashKey(nullptr), 0u);
    // Long keys wrap in 32 bits: h(x + rest) = h(rest) * 33 + x.
    const std::wstring rest(500, L'\x4E2D');
    EXPECT_EQ(CStdStringPtrMap::HashKey((L"q" + rest).c_str()),
              CStdStringPtrMap::HashKey(rest.c_str()) * 33u + L'q');
}

TEST(StdStringPtrMap, BucketCountHasAFloorOf16InTheConstructorOnly) {
    EXPECT_EQ(CStdStringPtrMap().GetBucketCount(), 83);
    EXPECT_EQ(CStdStringPtrMap(10).GetBucketCount(), 16);
    EXPECT_EQ(CStdStringPtrMap(-3).GetBucketCount(), 16);
    EXPECT_EQ(CStdStringPtrMap(200).GetBucketCount(), 200);
    CStdStringPtrMap map;
    map.Insert(L"a", Tag(1));
    map.Resize(7);
    EXPECT_EQ(map.GetBucketCount(), 7);
    EXPECT_EQ(map.Find(L"a"), nullptr);
    map.Resize(-4);
    EXPECT_EQ(map.GetBucketCount(), 0);
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
    map.RemoveAll();
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.GetBucketCount(), 83);
    EXPECT_TRUE(map.Insert(L"label", Tag(7)));
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

TEST(StdStringPtrMap, IteratesBucketsFromLastToFirstAndMovesFoundKeysToFront) {
    // With 16 buckets a one-character key lands in bucket (code % 16):
    // 'b' and 'r' in bucket 2, 'e' and 'u' in bucket 5.
    CStdStringPtrMap map(16);
    for (const wchar_t* key : {L"b", L"e", L"r", L"u"})
        map.Insert(key, Tag(key[0]));
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"u", L"e", L"r", L"b"}));

    EXPECT_EQ(map.Find(L"b", false), Tag(L'b'));
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"u", L"e", L"r", L"b"}));
    EXPECT_EQ(map.Find(L"b"), Tag(L'b'));
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"u", L"e", L"b", L"r"}));
    map.Set(L"e", Tag(1));
    EXPECT_EQ(Keys(map), (std::vector<std::wstring>{L"e", L"u", L"b", L"r"}));
    EXPECT_EQ(map[4], nullptr);
    EXPECT_EQ(map[-1], nullptr);

    // The chains stay linked after moves: every key is still found, then removed.
    for (const wchar_t* key : {L"r", L"u", L"b", L"e"})
        EXPECT_EQ(map.Find(key), map.Find(key, false));
    for (const wchar_t* key : {L"u", L"r", L"e", L"b"})
        EXPECT_TRUE(map.Remove(key));
    EXPECT_EQ(map.GetSize(), 0);
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
