#include "ProductContext.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(SanitizeName, KeepsLettersDigitsDashAndDotLowerCased) {
    EXPECT_STREQ("meinc", SanitizeName("Me Inc"));
    EXPECT_STREQ("merrymarmots2.0", SanitizeName("Merry Marmots 2.0"));
    EXPECT_STREQ("b-cd", SanitizeName("\xC4"
                                      "b-C_d"));
    EXPECT_STREQ("", SanitizeName(""));
}

TEST(SanitizeName, DropsBytesAfterAZeroByteToo) {
    EXPECT_STREQ("ab", SanitizeName(CString("a\0b", 3)));
}

TEST(GetRegistryKeyPath, JoinsSanitisedCompanyAndSoftware) {
    EXPECT_STREQ("Software\\Brindlecode\\mycompanyinc.\\tool2",
                 GetRegistryKeyPath("My Company, Inc.", "Tool 2"));
}

TEST(GetRegistryKeyPath, EmptySoftwareEndsAfterCompany) {
    EXPECT_STREQ("Software\\Brindlecode\\meinc", GetRegistryKeyPath("Me Inc", ""));
    EXPECT_STREQ("Software\\Brindlecode\\meinc", GetRegistryKeyPath("Me Inc", nullptr));
}

TEST(GetRegistryKeyPath, SoftwareThatSanitisesToNothingEndsInBackslash) {
    EXPECT_STREQ("Software\\Brindlecode\\meinc\\", GetRegistryKeyPath("Me Inc", " , ,"));
}

TEST(GetModuleDirectory, NamesTheTestProgramsDirectoryWithBackslash) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string expected(path);
    expected.erase(expected.rfind('\\') + 1);

    const CString directory = GetModuleDirectory();
    EXPECT_EQ(expected, directory.str());
    ASSERT_FALSE(directory.IsEmpty());
    EXPECT_EQ('\\', directory[directory.GetLength() - 1]);
}

TEST(LoadContext, EmptyArgumentsKeepTheRememberedProduct) {
    LoadContext("Me Inc", "Merry Marmots", "1.0");
    LoadContext("", "", "");
    EXPECT_STREQ("Me Inc", theFacts["p_company"]);
    EXPECT_STREQ("Merry Marmots", theFacts["p_software"]);
    EXPECT_STREQ("1.0", theFacts["p_version"]);
    EXPECT_STREQ("Software\\Brindlecode\\meinc\\merrymarmots", theContextKey);
}

TEST(LoadContext, OverwritesLocalFactsARefreshStored) {
    LoadContext("Me Inc", "Merry Marmots", "1.0");
    theFacts["p_company"] = "Someone Else";
    theFacts["l_latest"] = "2.0";
    LoadContext("", "", "");
    EXPECT_STREQ("Me Inc", theFacts["p_company"]);
    EXPECT_STREQ("2.0", theFacts["l_latest"]) << "service values stay until overwritten";
}

TEST(LoadContext, FirstCallOfTheProcessClearsTheLastStatus) {
    if (theMachineInfoCollected)
        GTEST_SKIP() << "needs a process in which no library call ran yet";
    theLastStatus = -12029;
    LoadContext("Me Inc", "", "");
    EXPECT_EQ(0, theLastStatus);
    theLastStatus = -8;
    LoadContext("Me Inc", "", "");
    EXPECT_EQ(-8, theLastStatus) << "later calls leave the status alone";
}

TEST(LoadContext, MachineFactsComeFromThePlatform) {
    LoadContext("Me Inc", "", "");
    char computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    EXPECT_STREQ(computer, theFacts["p_computer"]);
    char user[501];
    DWORD userSize = sizeof user;
    ASSERT_TRUE(GetUserNameA(user, &userSize));
    EXPECT_STREQ(user, theFacts["p_pcuser"]);

    char today[12];
    Date().SignedText(today);
    EXPECT_STREQ(today, theFacts["p_now"]);
}

TEST(ParamMap, KeysSortByUnsignedBytes) {
    ParamMap map;
    map["uptodate"];
    map["p_software"];
    map["n_copy"];
    map["l_url"];
    map["Z"];
    map["\xC4"];
    std::string order;
    for (const auto& entry : map)
        order += entry.first.str() + "|";
    EXPECT_EQ("Z|l_url|n_copy|p_software|uptodate|\xC4|", order);
}

TEST(ParamMap, ReadingAnAbsentKeyAddsItEmpty) {
    ParamMap map;
    EXPECT_STREQ("", map["l_latest"]);
    EXPECT_EQ(1u, map.count("l_latest"));
}
