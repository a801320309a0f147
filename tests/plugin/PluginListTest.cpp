#include "PluginList.h"
#include "PluginString.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<int> Values(const CPluginList<int>& list) {
    std::vector<int> values;
    for (POSITION position = list.GetHeadPosition(); position;)
        values.push_back(list.GetNext(position));
    return values;
}

// A value whose copy fails, to make a locked operation throw inside.
struct CFailingCopy {
    CFailingCopy() = default;
    CFailingCopy(const CFailingCopy&) { throw std::runtime_error("copy"); }
};

} // namespace

TEST(PluginList, RemovingFromAnEmptyListGivesZeroOrEmptyText) {
    CPluginList<void*> pointers;
    CPluginList<CPluginString> strings;
    EXPECT_EQ(nullptr, pointers.RemoveHead());
    EXPECT_EQ(nullptr, pointers.RemoveTail());
    EXPECT_TRUE(strings.RemoveHead().IsEmpty());
    EXPECT_EQ(0, pointers.GetCount());
    EXPECT_EQ(0, strings.GetCount());
    EXPECT_TRUE(strings.IsEmpty());
}

TEST(PluginList, AddTailAndRemoveHeadMakeAQueueOfCopies) {
    CPluginList<CPluginString> strings;
    CPluginString a(L"a");
    strings.AddTail(a);
    strings.AddTail(CPluginString(L"b"));
    a.Assign(L"changed");
    EXPECT_EQ(2, strings.GetCount());
    EXPECT_EQ(0, strings.RemoveHead().Compare(L"a"));
    EXPECT_EQ(0, strings.RemoveHead().Compare(L"b"));
    EXPECT_TRUE(strings.IsEmpty());
}

TEST(PluginList, RemoveTailTakesTheNewest) {
    CPluginList<int> list;
    for (int value : {1, 2, 3})
        list.AddTail(value);
    EXPECT_EQ(3, list.RemoveTail());
    EXPECT_EQ(1, list.RemoveHead());
    EXPECT_EQ(2, list.RemoveTail());
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(4);
    EXPECT_EQ((std::vector<int>{4}), Values(list));
}

TEST(PluginList, SortOrdersSignedValuesAscending) {
    CPluginList<int> list;
    for (int value : {3, -1, 2})
        list.AddTail(value);
    list.Sort();
    EXPECT_EQ((std::vector<int>{-1, 2, 3}), Values(list));
    CPluginList<int> empty;
    empty.Sort();
    EXPECT_TRUE(empty.IsEmpty());
    CPluginList<int> one;
    one.AddTail(-6);
    one.Sort();
    EXPECT_EQ((std::vector<int>{-6}), Values(one));
}

TEST(PluginList, StringsAreBuiltInTheNodeFromUnits) {
    CPluginList<CPluginString> strings;
    strings.AddTail(L"abc\0d", 5);
    CPluginString item = strings.RemoveHead();
    EXPECT_EQ(std::wstring(L"abc\0d", 5), std::wstring(item.GetBSTR(), item.GetLength()));
}

TEST(PluginList, ALockedOperationThatThrowsReleasesTheMutex) {
    CPluginList<CFailingCopy> list;
    ASSERT_TRUE(list.CreateLock());
    CFailingCopy value;
    EXPECT_THROW(list.LockedAddTail(value), std::runtime_error);
    bool empty = false;
    // Another thread gets the mutex only if it was released.
    std::thread other([&] { empty = list.LockedIsEmpty(); });
    other.join();
    EXPECT_TRUE(empty);
}
