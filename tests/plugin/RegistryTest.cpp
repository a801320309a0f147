#include "Aliases.h"
#include "ListEncoding.h"
#include "Monikers.h"
#include "PluginRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

int FirstHandler(void*, CPluginCall*) {
    return 1;
}

int SecondHandler(void*, CPluginCall*) {
    return 2;
}

// Holds the maps for one test; they are gone again when it ends.
class Registry : public ::testing::Test {
protected:
    CPluginRegistry m_hold;
};

void DescribeTwo(RegisterCommandInfo& registration) {
    registration.AddParameter(L"Result", L"out", 0, 1, 0, L"", L"");
    registration.AddParameter(L"folder", L"in", 1, 0, 0, L"", L"");
}

void SetMonikers(std::vector<const wchar_t*> items) {
    CPluginList<CPluginString> list;
    for (const wchar_t* item : items)
        list.AddTail(item);
    CPluginString text;
    EncodeList(text, list);
    StoreMonikers(text.GetBSTR());
}

std::wstring Argument(CCallData& call, const wchar_t* key) {
    void* value = nullptr;
    if (!call.arguments.LockedLookup(key, value))
        return L"(none)";
    return Units(*static_cast<CPluginString*>(value));
}

} // namespace

TEST(RegistryLifetime, TheFirstRegistrationCreatesTheMapsAndTheLastFreesThem) {
    ASSERT_EQ(0, GetRegistrationCount());
    {
        RegisterProperty name(L"Plugin_Name", L"Test");
        ASSERT_NE(nullptr, theMonikerMap);
        {
            RegisterProperty version(L"Plugin_Version", L"1");
            EXPECT_EQ(2, GetRegistrationCount());
        }
        EXPECT_NE(nullptr, thePropertyMap);
        LoadAlias(L"left behind");
        SetMonikers({L"M", L"C:\\"});
    }
    EXPECT_EQ(0, GetRegistrationCount());
    for (const void* map :
         {static_cast<const void*>(theAliasMap), static_cast<const void*>(theCommandMap),
          static_cast<const void*>(theCommandInfoMap), static_cast<const void*>(thePropertyMap),
          static_cast<const void*>(theAddedVersionMap), static_cast<const void*>(theErrorMap),
          static_cast<const void*>(theMonikerMap)})
        EXPECT_EQ(nullptr, map);
}

TEST_F(Registry, ACommandRegisteredTwiceUnderOneKeyKeepsTheLaterEntry) {
    RegisterCommand first(L"MyCommand", FirstHandler, 0);
    RegisterCommand second(L"  mYCOMMAND\t", SecondHandler, 1);
    EXPECT_EQ(1, theCommandMap->GetCount());
    CCommandEntry entry;
    ASSERT_TRUE(theCommandMap->LockedLookup(L"MYCOMMAND", entry));
    EXPECT_EQ(L"  mYCOMMAND\t", Units(entry.name));
    EXPECT_EQ(&SecondHandler, entry.handler);
    EXPECT_EQ(1, entry.async);
}

TEST_F(Registry, ADescriptionKeepsItsParametersInOrderWithLowerFirstUnits) {
    RegisterCommandInfo info(L"BrcTest", DescribeTwo, L"Does a test.");
    CCommandInfo* found = LookupCommandInfo(L"BRCTEST");
    ASSERT_EQ(info.GetInfo(), found);
    EXPECT_EQ(L"brcTest", Units(found->name));
    ASSERT_EQ(2, found->parameters.GetCount());
    POSITION position = found->parameters.GetHeadPosition();
    const CParameterInfo* result = found->parameters.GetNext(position);
    const CParameterInfo* folder = found->parameters.GetNext(position);
    EXPECT_EQ(L"result", Units(result->name));
    EXPECT_EQ(found, result->owner);
    EXPECT_EQ(1, result->kind);
    EXPECT_EQ(L"folder", Units(folder->name));
    EXPECT_EQ(folder, found->FindParameter(L"FOLDER"));
    EXPECT_EQ(nullptr, LookupCommandInfo(L"brcTest"));
}

TEST_F(Registry, AddedVersionFallsBackToTheDefault) {
    int missing = 0;
    EXPECT_EQ(L"none", Units(LookupAddedVersion(L"Added", L"none", &missing)));
    EXPECT_EQ(1, missing);
    theAddedVersionMap->LockedSetAt(L"ADDED", new CPluginString(L"2.0"));
    EXPECT_EQ(L"2.0", Units(LookupAddedVersion(L"added", L"none", &missing)));
    EXPECT_EQ(0, missing);
}

TEST_F(Registry, MonikersRewriteTheStartOfAValue) {
    struct Case {
        const wchar_t* path;
        const wchar_t* value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Data", L"docs\\a.txt", L"C:\\Data\\a.txt"},
        {L"C:\\Data", L"DOCS\\a.txt", L"C:\\Data\\a.txt"},
        {L"C:\\Data", L"docsa.txt", L"C:\\Data\\a.txt"},
        {L"C:\\Data", L"docs", L"C:\\Data\\"},
        {L"C:\\Data\\", L"docsa.txt", L"C:\\Data\\a.txt"},
        {L"C:\\Data\\", L"docs\\a.txt", L"C:\\Data\\\\a.txt"},
        {L"C:\\Data", L"other\\docs", L"other\\docs"},
        {L"C:\\Data", L"doc", L"doc"},
    };
    for (const Case& c : cases) {
        SetMonikers({L"docs", c.path});
        EXPECT_EQ(c.expected, Units(ResolveMoniker(c.value))) << c.path << " " << c.value;
    }
}

TEST_F(Registry, WithoutMonikersValuesPassUnchanged) {
    EXPECT_EQ(L"docs\\a.txt", Units(ResolveMoniker(L"docs\\a.txt")));
}

TEST_F(Registry, MonikerListsPairItemsAndSkipEmptyMonikers) {
    SetMonikers({L"a", L"A:", L"", L"E:", L"b"});
    EXPECT_EQ(2, theMonikerMap->GetCount());
    void* path = nullptr;
    ASSERT_TRUE(theMonikerMap->LockedLookup(L"b", path));
    EXPECT_EQ(L"", Units(*static_cast<CPluginString*>(path)));
    ASSERT_TRUE(theMonikerMap->LockedLookup(L"a", path));
    EXPECT_EQ(L"A:", Units(*static_cast<CPluginString*>(path)));
    SetMonikers({L"a", L"Z:"});
    ASSERT_TRUE(theMonikerMap->LockedLookup(L"a", path));
    EXPECT_EQ(L"Z:", Units(*static_cast<CPluginString*>(path)));
    EXPECT_FALSE(theMonikerMap->LockedLookup(L"A", path));
}

TEST_F(Registry, OnlyFilespecArgumentsAreRewritten) {
    RegisterCommandInfo info(L"brcTest", DescribeTwo, L"");
    SetMonikers({L"docs", L"C:\\Data"});
    CCallData call;
    call.SetArgument(L"folder", L"docs\\x");
    call.SetArgument(L"result", L"docs\\y");
    ResolveFilespecArguments(call);
    EXPECT_EQ(L"docs\\x", Argument(call, L"FOLDER"));
    call.description = info.GetInfo();
    ResolveFilespecArguments(call);
    EXPECT_EQ(L"C:\\Data\\x", Argument(call, L"FOLDER"));
    EXPECT_EQ(L"docs\\y", Argument(call, L"RESULT"));
}

TEST_F(Registry, OneAliasAtATimeMatchedIgnoringCaseAndBlanks) {
    CPluginString aliases(L"stale");
    ListAliases(aliases);
    EXPECT_EQ(L"", Units(aliases));
    EXPECT_EQ(0, LoadAlias(L" myAlias"));
    void* first = nullptr;
    ASSERT_TRUE(LookupAlias(L"MYALIAS", first));
    EXPECT_EQ(0, LoadAlias(L"MYALIAS "));
    void* second = nullptr;
    ASSERT_TRUE(LookupAlias(L"MYALIAS", second));
    EXPECT_EQ(1, theAliasMap->GetCount());
    EXPECT_EQ(1, LoadAlias(L"other"));
    EXPECT_EQ(1, UnloadAlias(L"other"));
    ListAliases(aliases);
    EXPECT_EQ(L"MYALIAS", Units(aliases));
    EXPECT_EQ(0, UnloadAlias(L"myalias"));
    EXPECT_EQ(1, UnloadAlias(L"myalias"));
    EXPECT_EQ(0, theAliasMap->GetCount());
}

TEST_F(Registry, TwoThreadsLoadingDifferentAliasesNeverBothSucceed) {
    for (int round = 0; round < 200; ++round) {
        std::atomic<int> go{0};
        int results[2] = {-1, -1};
        auto load = [&](int index, const wchar_t* alias) {
            while (!go.load()) {
            }
            results[index] = LoadAlias(alias);
        };
        std::thread a(load, 0, L"first"), b(load, 1, L"second");
        go = 1;
        a.join();
        b.join();
        ASSERT_EQ(1, results[0] + results[1]) << "round " << round;
        ASSERT_EQ(1, theAliasMap->GetCount());
        UnloadAlias(results[0] == 0 ? L"first" : L"second");
    }
}
