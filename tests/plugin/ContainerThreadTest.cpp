// Two threads working one locked map and one locked list at once.
#include "PluginList.h"
#include "PluginMap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kRounds = 6000;
const int kWindow = 40;
const int kWalkEvery = 100;

// Both threads start together, so their work overlaps from the first round.
class CStartGate {
public:
    void Open() { m_open = true; }
    void Pass() const {
        while (!m_open)
            std::this_thread::yield();
    }

private:
    std::atomic<bool> m_open{false};
};

CPluginString KeyOf(wchar_t tag, int i) {
    CPluginString key;
    key.Format(L"%c%d", tag, i);
    return key;
}

void* ValueOf(wchar_t tag, int i) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>((tag << 20) | i));
}

// Each thread keeps every key below kWindow behind the newest, and of the
// older ones those divisible by 20.
bool Survives(int i) {
    return i >= kRounds - kWindow || i % 20 == 0;
}

bool EntryIsWhole(const CPluginString& key, void* value) {
    wchar_t tag = key.GetAt(0);
    int i = _wtoi(key.GetBSTR() + 1);
    return value == ValueOf(tag, i);
}

struct CMapWorker {
    CMapWorker(CPluginMap* map, wchar_t tag) : map(map), tag(tag) {}

    CPluginMap* map;
    wchar_t tag;
    int walks = 0;
    int torn = 0;

    // One step per hold of the mutex, as the plug-in walks its maps.
    void Walk() {
        map->Lock();
        POSITION position = map->GetStartPosition();
        map->Unlock();
        CPluginString key;
        void* value = nullptr;
        while (position) {
            map->Lock();
            bool found = map->GetNextAssoc(position, key, value);
            map->Unlock();
            if (found && !EntryIsWhole(key, value))
                ++torn;
        }
        ++walks;
    }

    void Run(const CStartGate& gate) {
        gate.Pass();
        for (int i = 0; i < kRounds; ++i) {
            map->LockedSetAt(KeyOf(tag, i), ValueOf(tag, i));
            int old = i - kWindow;
            if (old >= 0 && !Survives(old))
                map->LockedRemoveKey(KeyOf(tag, old));
            if (i % kWalkEvery == 0)
                Walk();
        }
    }
};

struct CListWorker {
    CListWorker(CPluginList<int>* list, int tag) : list(list), tag(tag) {}

    CPluginList<int>* list;
    int tag;
    std::vector<int> taken;
    int badWalks = 0;

    void Run(const CStartGate& gate) {
        gate.Pass();
        for (int i = 0; i < kRounds; ++i) {
            list->LockedAddTail(tag | i);
            if (i % 2) {
                int value = list->LockedRemoveHead();
                if (value)
                    taken.push_back(value);
            }
            if (i % 100 == 0)
                CheckLinks();
        }
    }

    // A list walk holds the mutex throughout: its nodes may be freed.
    void CheckLinks() {
        list->Lock();
        int nodes = 0;
        for (POSITION position = list->GetHeadPosition(); position; ++nodes)
            list->GetNext(position);
        if (nodes != list->GetCount())
            ++badWalks;
        list->Unlock();
    }
};

} // namespace

TEST(LockedContainers, MapStaysWholeUnderTwoThreads) {
    CPluginMap map;
    ASSERT_TRUE(map.CreateLock());
    CMapWorker a(&map, L'A'), b(&map, L'B');
    CStartGate gate;
    std::thread first([&] { a.Run(gate); });
    std::thread second([&] { b.Run(gate); });
    gate.Open();
    first.join();
    second.join();

    EXPECT_EQ(0, a.torn + b.torn);
    EXPECT_EQ(2 * (kRounds / kWalkEvery), a.walks + b.walks);
    int expected = 0;
    for (wchar_t tag : {L'A', L'B'}) {
        for (int i = 0; i < kRounds; ++i) {
            void* value = nullptr;
            bool present = map.LockedLookup(KeyOf(tag, i), value);
            ASSERT_EQ(Survives(i), present) << char(tag) << i;
            if (present) {
                EXPECT_EQ(ValueOf(tag, i), value);
                ++expected;
            }
        }
    }
    EXPECT_EQ(expected, map.LockedGetCount());

    std::set<std::wstring> walked;
    CPluginString key;
    void* value = nullptr;
    for (POSITION position = map.GetStartPosition(); position;)
        if (map.GetNextAssoc(position, key, value))
            walked.insert(std::wstring(key.GetBSTR(), key.GetLength()));
    EXPECT_EQ(static_cast<size_t>(expected), walked.size());

    // Drained one entry at a time from the start, as at unload.
    while (map.LockedGetCount() > 0) {
        map.Lock();
        POSITION position = map.GetStartPosition();
        map.GetNextAssoc(position, key, value);
        map.RemoveKey(key);
        map.Unlock();
    }
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(0, map.GetBlockCount());
    map.Close();
}

TEST(LockedContainers, ListLosesNothingUnderTwoThreads) {
    CPluginList<int> list;
    ASSERT_TRUE(list.CreateLock());
    CListWorker a(&list, 1 << 20), b(&list, 2 << 20);
    CStartGate gate;
    std::thread first([&] { a.Run(gate); });
    std::thread second([&] { b.Run(gate); });
    gate.Open();
    first.join();
    second.join();

    EXPECT_EQ(0, a.badWalks + b.badWalks);
    std::vector<int> seen(2 * kRounds, 0);
    auto count = [&](int value) { ++seen[((value >> 20) - 1) * kRounds + (value & 0xFFFFF)]; };
    // Each consumer sees each producer's values in the order they were added.
    for (const CListWorker* worker : {&a, &b}) {
        int last[2] = {-1, -1};
        for (int value : worker->taken) {
            int producer = (value >> 20) - 1;
            EXPECT_LT(last[producer], value & 0xFFFFF);
            last[producer] = value & 0xFFFFF;
            count(value);
        }
    }
    EXPECT_EQ(2 * kRounds - static_cast<int>(a.taken.size() + b.taken.size()), list.GetCount());
    while (!list.IsEmpty())
        count(list.RemoveHead());
    for (int i = 0; i < 2 * kRounds; ++i)
        ASSERT_EQ(1, seen[i]) << i;
    list.Close();
}
