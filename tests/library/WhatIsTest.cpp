#include "WhatIs.h"

#include <gtest/gtest.h>

#include <string>

TEST(WhatIs, AnswersFromTheRememberedCompany) {
    EXPECT_STREQ("Me Inc", WhatIs("Me Inc", "Merry Marmots", "companyname"));
    EXPECT_STREQ("Me Inc", WhatIs("", "", "companyname"));
    EXPECT_STREQ("Me Inc", WhatIs(nullptr, nullptr, "companyname"));
}

TEST(WhatIs, QuestionNamesAreSanitised) {
    EXPECT_STREQ("Me Inc", WhatIs("Me Inc", "Merry Marmots", "CompanyName"));
    EXPECT_STREQ("Me Inc", WhatIs("Me Inc", "Merry Marmots", " company name "));
    EXPECT_STREQ("Error, WhatIs string unrecognized:company-name",
                 WhatIs("Me Inc", "Merry Marmots", "Company-Name"));
}

TEST(WhatIs, UnrecognisedQuestionGivesTheErrorTextOnEveryCall) {
    EXPECT_STREQ("Error, WhatIs string unrecognized:badkey", WhatIs("Me Inc", "", "badkey"));
    WhatIs("Me Inc", "", "companyname");
    EXPECT_STREQ("Error, WhatIs string unrecognized:badkey", WhatIs("Me Inc", "", "badkey"));
    EXPECT_STREQ("Error, WhatIs string unrecognized:", WhatIs("Me Inc", "", ""));
    EXPECT_STREQ("Error, WhatIs string unrecognized:", WhatIs("Me Inc", "", nullptr));
}

TEST(WhatIs, JulianTodayIsTodaysDayNumber) {
    const int before = TodayDayNumber();
    const std::string answer = WhatIs("Me Inc", "", "juliantoday");
    const int after = TodayDayNumber();
    EXPECT_TRUE(answer == std::to_string(before) || answer == std::to_string(after)) << answer;
}

TEST(WhatIs, LatestVersionBeforeAnyRefreshIsEmptyAndAddsTheKey) {
    theFacts.erase("l_latest");
    EXPECT_STREQ("", WhatIs("Me Inc", "Merry Marmots", "latestversion"));
    ASSERT_EQ(1u, theFacts.count("l_latest"));
    EXPECT_STREQ("", theFacts["l_latest"]);
}

TEST(WhatIs, EveryAliasReadsItsRecordKey) {
    LoadContext("Me Inc", "Merry Marmots", "3.1");
    theFacts["l_latest"] = "4.0";
    theFacts["l_exe_url"] = "http://example.invalid/app.exe";
    theFacts["l_command"] = "REPLACE";
    EXPECT_STREQ("Merry Marmots", WhatIs("", "", "softwarename"));
    EXPECT_STREQ("3.1", WhatIs("", "", "currentversion"));
    EXPECT_STREQ("4.0", WhatIs("", "", "latestversion"));
    EXPECT_STREQ("http://example.invalid/app.exe", WhatIs("", "", "latestdownload"));
    EXPECT_STREQ("REPLACE", WhatIs("", "", "latestdownloadargs"));
    EXPECT_STREQ(theComputerName, WhatIs("", "", "computername"));
    EXPECT_STREQ(theUserName, WhatIs("", "", "currentuser"));
}

TEST(WhatIs, NeverChangesTheRememberedVersion) {
    LoadContext("Me Inc", "Merry Marmots", "1.0");
    WhatIs("Other Co", "Other App", "companyname");
    EXPECT_STREQ("1.0", WhatIs("", "", "currentversion"));
}

TEST(WhatIs, EarlierAnswersStayReadable) {
    const char* company = WhatIs("Me Inc", "Merry Marmots", "companyname");
    const char* software = WhatIs("Me Inc", "Merry Marmots", "softwarename");
    EXPECT_STREQ("Me Inc", company);
    EXPECT_STREQ("Merry Marmots", software);

    const char* first = WhatIs("First Co", "App", "companyname");
    const char* second = WhatIs("Second Co", "App", "companyname");
    EXPECT_STREQ("First Co", first);
    EXPECT_STREQ("Second Co", second);
}

TEST(WhatIs, StoresAnswersUnderContextKeyAndQuestion) {
    WhatIs("Me Inc", "Merry Marmots", "Company Name");
    auto entry = theWhatIsResults.find("Software\\Brindlecode\\meinc\\merrymarmots/companyname");
    ASSERT_NE(theWhatIsResults.end(), entry);
    EXPECT_STREQ("Me Inc", entry->second);
}
