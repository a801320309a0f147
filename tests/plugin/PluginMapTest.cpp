#include "PluginEntryMap.h"
#include "PluginIntMap.h"
#include "PluginMap.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

std::vector<std::wstring> WalkKeys(const CPluginMap& map) {
    std::vector<std::wstring> keys;
    CPluginString key;
    void* value = nullptr;
    for (POSITION position = map.GetStartPosition(); position;)
        if (map.GetNextAssoc(position, key, value))
            keys.push_back(Units(key));
    return keys;
}

std::vector<int> WalkKeys(const CPluginIntMap& map) {
    std::vector<int> keys;
    int key = 0;
    void* value = nullptr;
    for (POSITION position = map.GetStartPosition(); position;)
        if (map.GetNextAssoc(position, key, value))
            keys.push_back(key);
    return keys;
}

// Two different keys of the given bucket.
std::vector<std::wstring> KeysOfBucket(UINT bucket, size_t wanted) {
    std::vector<std::wstring> keys;
    for (int i = 0; keys.size() < wanted; ++i) {
        std::wstring key = L"K" + std::to_wstring(i);
        if (CPluginMap::HashKey(CPluginString(key.c_str())) % 17 == bucket)
            keys.push_back(key);
    }
    return keys;
}

int Handler(void*, CPluginCall*) {
    return 0;
}

} // namespace

TEST(PluginMap, NewMapHasNoTableAndFindsNothing) {
    CPluginMap map;
    int marker = 0;
    void* value = &marker;
    EXPECT_EQ(0, map.GetCount());
    EXPECT_FALSE(map.Lookup(L"KEY", value));
    EXPECT_EQ(&marker, value);
    EXPECT_FALSE(map.RemoveKey(L"KEY"));
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(0, map.GetBlockCount());
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

TEST(PluginMap, OneKeyBringsTableAndBlockAndTakesThemAway) {
    CPluginMap map;
    map.SetAt(L"KEY", nullptr);
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(1, map.GetBlockCount());
    EXPECT_TRUE(map.RemoveKey(L"KEY"));
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(0, map.GetBlockCount());
    map.SetAt(L"KEY", nullptr);
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(1, map.GetBlockCount());
    EXPECT_EQ(17u, map.GetHashTableSize());
}

TEST(PluginMap, ElevenKeysTakeASecondBlock) {
    CPluginMap map;
    for (int i = 0; i < 10; ++i)
        map.SetAt(std::to_wstring(i).c_str(), nullptr);
    EXPECT_EQ(1, map.GetBlockCount());
    map.SetAt(L"10", nullptr);
    EXPECT_EQ(2, map.GetBlockCount());
    for (int i = 0; i < 10; ++i)
        map.RemoveKey(std::to_wstring(i).c_str());
    EXPECT_EQ(2, map.GetBlockCount());
    map.RemoveKey(L"10");
    EXPECT_EQ(0, map.GetBlockCount());
    EXPECT_FALSE(map.HasHashTable());
}

TEST(PluginMap, FreedNodesAreReusedBeforeANewBlock) {
    CPluginMap map;
    for (int i = 0; i < 10; ++i)
        map.SetAt(std::to_wstring(i).c_str(), nullptr);
    map.RemoveKey(L"3");
    map.SetAt(L"new", nullptr);
    EXPECT_EQ(1, map.GetBlockCount());
    EXPECT_EQ(10, map.GetCount());
}

TEST(PluginMap, SetAtOnAnExistingKeyReplacesTheValue) {
    CPluginMap map;
    int first = 1, second = 2;
    map.SetAt(L"KEY", &first);
    map.SetAt(L"KEY", &second);
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(L"KEY", value));
    EXPECT_EQ(&second, value);
    EXPECT_EQ(1, map.GetCount());
    EXPECT_EQ(1, first);
}

TEST(PluginMap, KeysDifferingInCaseAreDistinct) {
    CPluginMap map;
    map.SetAt(L"ABC", nullptr);
    map.SetAt(L"abc", nullptr);
    EXPECT_EQ(2, map.GetCount());
    CPluginString lower(L"abc");
    map.SetAt(lower.MakeUpper(), nullptr);
    EXPECT_EQ(2, map.GetCount());
}

TEST(PluginMap, EmptyKeyHashesToZeroAndIsAValidKey) {
    CPluginMap map;
    EXPECT_EQ(0u, CPluginMap::HashKey(CPluginString()));
    int marker = 0;
    map.SetAt(CPluginString(), &marker);
    map.SetAt(L"\u0011", nullptr); // 17: also bucket 0, inserted later
    EXPECT_EQ((std::vector<std::wstring>{L"\u0011", L""}), WalkKeys(map));
}

TEST(PluginMap, HashIsTimesThirtyThreePlusUnitOverTheTextUpToItsZeroUnit) {
    EXPECT_EQ(65u * 33 + 66, CPluginMap::HashKey(CPluginString(L"AB")));
    EXPECT_EQ(CPluginMap::HashKey(CPluginString(L"AB")),
              CPluginMap::HashKey(CPluginString(L"AB\0C", 4)));
    CPluginString wraps(L'\uFFFF', 8);
    UINT expected = 0;
    for (int i = 0; i < 8; ++i)
        expected = expected * 33 + 0xFFFF;
    EXPECT_EQ(expected, CPluginMap::HashKey(wraps));
}

TEST(PluginMap, WalkGoesThroughBucketsInOrderNewestFirstWithinOne) {
    CPluginMap map;
    std::vector<std::wstring> low = KeysOfBucket(2, 2);
    std::vector<std::wstring> high = KeysOfBucket(11, 1);
    map.SetAt(high[0].c_str(), nullptr);
    map.SetAt(low[0].c_str(), nullptr);
    map.SetAt(low[1].c_str(), nullptr);
    EXPECT_EQ((std::vector<std::wstring>{low[1], low[0], high[0]}), WalkKeys(map));
}

TEST(PluginMap, AStepFromARemovedEntryEndsTheWalk) {
    CPluginMap map;
    std::vector<std::wstring> keys = KeysOfBucket(4, 2);
    map.SetAt(keys[0].c_str(), nullptr);
    map.SetAt(keys[1].c_str(), nullptr);
    map.SetAt(L"other", nullptr);
    POSITION position = map.GetStartPosition();
    CPluginString key;
    void* value = nullptr;
    ASSERT_TRUE(map.GetNextAssoc(position, key, value));
    EXPECT_EQ(keys[1], Units(key));
    map.RemoveKey(keys[0].c_str()); // the entry the position names
    EXPECT_FALSE(map.GetNextAssoc(position, key, value));
    EXPECT_EQ(nullptr, position);
}

TEST(PluginMap, LockedOperationsWorkAndCloseEmptiesTheMap) {
    CPluginMap map;
    ASSERT_TRUE(map.CreateLock());
    int marker = 0;
    map.LockedSetAt(L"KEY", &marker);
    void* value = nullptr;
    EXPECT_TRUE(map.LockedLookup(L"KEY", value));
    EXPECT_EQ(&marker, value);
    EXPECT_EQ(1, map.LockedGetCount());
    // The holder of the mutex may take it again.
    map.Lock();
    EXPECT_EQ(1, map.LockedGetCount());
    map.Unlock();
    EXPECT_TRUE(map.LockedRemoveKey(L"KEY"));
    map.LockedSetAt(L"KEY", &marker);
    map.Close();
    EXPECT_EQ(0, map.GetCount());
    EXPECT_FALSE(map.HasHashTable());
}

namespace {

// A key whose copy fails on demand, as a key string's allocation can; its
// bucket is chosen by the test.
struct FailingKey {
    static bool failNextCopy;
    int id;
    UINT bucket;
    FailingKey(int keyId, UINT keyBucket) : id(keyId), bucket(keyBucket) {}
    FailingKey(const FailingKey& other) : id(other.id), bucket(other.bucket) {
        if (failNextCopy) {
            failNextCopy = false;
            throw std::bad_alloc();
        }
    }
};
bool FailingKey::failNextCopy = false;

struct FailingKeyTraits {
    static UINT Hash(const FailingKey& key) { return key.bucket; }
    static bool Equal(const FailingKey& a, const FailingKey& b) { return a.id == b.id; }
};

} // namespace

TEST(PluginHashTable, AnInsertWhoseKeyCopyFailsLeavesTheMapAsItWas) {
    CPluginHashTable<FailingKey, int, FailingKeyTraits> map(10);
    map.SetAt(FailingKey(1, 0), 10);
    map.SetAt(FailingKey(2, 0), 20);
    FailingKey::failNextCopy = true;
    EXPECT_THROW(map.SetAt(FailingKey(3, 0), 30), std::bad_alloc);
    EXPECT_EQ(2, map.GetCount());
    // The next two nodes come from the free list: neither may be a live one.
    map.SetAt(FailingKey(4, 1), 40);
    map.SetAt(FailingKey(5, 1), 50);
    EXPECT_EQ(4, map.GetCount());
    for (int id : {1, 2, 4, 5}) {
        int value = 0;
        EXPECT_TRUE(map.Lookup(FailingKey(id, id < 3 ? 0 : 1), value)) << id;
        EXPECT_EQ(id * 10, value) << id;
    }
    int value = 0;
    EXPECT_FALSE(map.Lookup(FailingKey(3, 0), value));
}

TEST(PluginEntryMap, EntriesAreCopiedInAndOutWhole) {
    CPluginEntryMap map;
    CCommandEntry entry;
    entry.name = CPluginString(L"brcAbout");
    entry.handler = Handler;
    entry.async = 1;
    map.SetAt(L"BRCABOUT", entry);
    entry.name = CPluginString(L"changed");
    CCommandEntry found;
    ASSERT_TRUE(map.LockedLookup(L"BRCABOUT", found));
    EXPECT_EQ(L"brcAbout", Units(found.name));
    EXPECT_EQ(&Handler, found.handler);
    EXPECT_EQ(1, found.async);
}

TEST(PluginEntryMap, IndexingAnAbsentKeyInsertsAnEmptyEntry) {
    CPluginEntryMap map;
    CCommandEntry& slot = map[L"NEW"];
    EXPECT_TRUE(slot.name.IsEmpty());
    EXPECT_EQ(nullptr, slot.handler);
    EXPECT_EQ(0, slot.async);
    EXPECT_EQ(1, map.GetCount());
}

TEST(PluginEntryMap, TheFourCommandsWalkInTheirBucketOrder) {
    CPluginEntryMap map;
    for (const wchar_t* key : {L"BRCABOUT", L"BRCCONTACTSUPPORT", L"BRCCHECKUPDATE", L"BRCWHATIS"})
        map.SetAt(key, CCommandEntry());
    std::vector<std::wstring> order;
    CPluginString key;
    CCommandEntry entry;
    for (POSITION position = map.GetStartPosition(); position;)
        if (map.GetNextAssoc(position, key, entry))
            order.push_back(Units(key));
    EXPECT_EQ((std::vector<std::wstring>{L"BRCCONTACTSUPPORT", L"BRCCHECKUPDATE", L"BRCWHATIS",
                                         L"BRCABOUT"}),
              order);
}

TEST(PluginIntMap, BucketIsTheKeyShiftedByFourModSeventeen) {
    CPluginIntMap map;
    // 3, 15 and 272 (272 >> 4 = 17) share bucket 0; 17 goes to bucket 1.
    for (int key : {17, 3, 272, 15})
        map.SetAt(key, nullptr);
    EXPECT_EQ((std::vector<int>{15, 272, 3, 17}), WalkKeys(map));
}

TEST(PluginIntMap, NegativeKeysBucketAsUnsigned) {
    CPluginIntMap map;
    // -1 is 0xFFFFFFFF: (0x0FFFFFFF mod 17) = 15, after bucket 1 of key 16.
    map.SetAt(-1, nullptr);
    map.SetAt(16, nullptr);
    EXPECT_EQ((std::vector<int>{16, -1}), WalkKeys(map));
    EXPECT_TRUE(map.LockedRemoveKey(-1));
    EXPECT_EQ(1, map.GetCount());
}
