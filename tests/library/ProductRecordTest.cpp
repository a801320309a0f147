#include "ProductRecord.h"
#include "ServiceAddress.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <string>

namespace {

void Refresh(const char* company, const char* software, const char* version = "1.0") {
    LoadContext(company, software, version);
    RefreshProductRecord();
}

ParamMap ServiceValues() {
    ParamMap values;
    for (int i = 0; i < theServiceKeyCount; ++i)
        values[theServiceKeys[i]] = theFacts[theServiceKeys[i]];
    return values;
}

} // namespace

TEST(GetProductRecordURL, PercentEncodesEachArgument) {
    EXPECT_EQ(std::string(theDefaultServiceBaseURL) +
                  "product.php?company=Me%20%26%20You%2C%20Inc.&software=Zw%F6lf%201%2F2%2B"
                  "&version=1.0~beta_%3D%25",
              GetProductRecordURL("Me & You, Inc.",
                                  "Zw\xF6"
                                  "lf 1/2+",
                                  "1.0~beta_=%")
                  .str());
}

TEST(ParseProductRecord, ReadsServiceKeysAndDecodesEscapes) {
    ParamMap values;
    ASSERT_TRUE(ParseProductRecord("brindlecode-record 1\r\nl_latest=2.0\r\n"
                                   "n_about=a\\nb\\rc\\\\n=d\r\nend\r\n",
                                   values));
    EXPECT_STREQ("2.0", values["l_latest"]);
    EXPECT_STREQ("a\nb\rc\\n=d", values["n_about"]);
}

TEST(ParseProductRecord, SkipsMalformedLinesAndForeignKeys) {
    ParamMap values;
    static const char kReply[] = "brindlecode-record 1\n"
                                 "no equals sign\n"
                                 "=no key\n"
                                 "l_url=bad \\x escape\n"
                                 "l_help_url=lone backslash \\\n"
                                 "p_company=not a service key\n"
                                 "n_copy=zero \0 byte\n"
                                 "l_latest=3.0\n"
                                 "end\n";
    const std::string reply(kReply, sizeof kReply - 1);
    ASSERT_TRUE(ParseProductRecord(reply, values));
    EXPECT_EQ(1u, values.size());
    EXPECT_STREQ("3.0", values["l_latest"]);
}

TEST(ParseProductRecord, NeedsTheHeaderAndTheEndLine) {
    ParamMap values;
    EXPECT_FALSE(ParseProductRecord("l_latest=2.0\nend\n", values));
    EXPECT_FALSE(ParseProductRecord("<html>brindlecode-record 1\nend\n", values));
    EXPECT_FALSE(ParseProductRecord("brindlecode-record 1\nl_latest=2.0\n", values));
    EXPECT_FALSE(ParseProductRecord("brindlecode-record 1\nl_latest=2.0\nen", values));
    EXPECT_FALSE(ParseProductRecord("", values));
    EXPECT_TRUE(ParseProductRecord("brindlecode-record 1\nend", values));
}

TEST(ParseProductRecord, IgnoresLinesAfterTheEnd) {
    ParamMap values;
    ASSERT_TRUE(
        ParseProductRecord("brindlecode-record 1\nl_latest=2.0\nend\nl_latest=9\n", values));
    EXPECT_STREQ("2.0", values["l_latest"]);
}

TEST(RefreshProductRecord, ListedProductFillsEveryServiceKey) {
    Refresh("BRC Test Co", "Listed One");
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("2.0", theFacts["l_latest"]);
    EXPECT_STREQ("http://downloads.example/listed-one/setup-2.0.exe", theFacts["l_exe_url"]);
    EXPECT_STREQ("/silent", theFacts["l_command"]);
    EXPECT_STREQ("http://listed-one.example/", theFacts["l_url"]);
    EXPECT_STREQ("http://listed-one.example/help/", theFacts["l_help_url"]);
    EXPECT_STREQ("Listed One keeps your #p_software# notes tidy.\nSecond line.",
                 theFacts["n_about"]);
    EXPECT_STREQ("Made with care.", theFacts["n_abouts"]);
    EXPECT_STREQ("30", theFacts["n_aboutt"]);
    EXPECT_STREQ("2011-2013 BRC Test Co", theFacts["n_copy"]);
    EXPECT_STREQ("7", theFacts["n_result"]);
    EXPECT_STREQ("1001", theFacts["p_softwareid"]);
}

TEST(RefreshProductRecord, SecondProductNeverShowsTheFirstOnesValues) {
    Refresh("BRC Test Co", "Listed One");
    ASSERT_EQ(0, theLastStatus);
    Refresh("BRC Test Co", "Listed Two");
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("5.1", theFacts["l_latest"]);
    EXPECT_STREQ("http://listed-two.example/", theFacts["l_url"]);
    EXPECT_STREQ("1002", theFacts["p_softwareid"]);
    for (const char* key : {"l_exe_url", "l_command", "l_help_url", "n_about", "n_abouts",
                            "n_aboutt", "n_result", "n_aboutb"})
        EXPECT_STREQ("", theFacts[key]) << key;
}

TEST(RefreshProductRecord, UnlistedProductGetsAnEmptyRecord) {
    Refresh("BRC Test Co", "Listed One");
    Refresh("BRC Test Co", "Never Listed");
    EXPECT_EQ(0, theLastStatus);
    for (int i = 0; i < theServiceKeyCount; ++i) {
        ASSERT_EQ(1u, theFacts.count(theServiceKeys[i])) << theServiceKeys[i];
        EXPECT_STREQ("", theFacts[theServiceKeys[i]]) << theServiceKeys[i];
    }
}

TEST(RefreshProductRecord, ServerErrorIsAFailedExchangeThatChangesNothing) {
    Refresh("BRC Test Co", "Listed One");
    const ParamMap before = ServiceValues();
    Refresh("BRC Test Co", "Server Error");
    EXPECT_EQ(500, theLastStatus);
    EXPECT_EQ(before, ServiceValues());
}

TEST(RefreshProductRecord, ReplyCutOffMidBodyIsAFailedExchange) {
    Refresh("BRC Test Co", "Listed One");
    const ParamMap before = ServiceValues();
    Refresh("BRC Test Co", "Cut Off");
    EXPECT_EQ(-ERROR_INTERNET_CONNECTION_RESET, theLastStatus);
    EXPECT_EQ(before, ServiceValues());
}

TEST(RefreshProductRecord, ReplyThatIsNoRecordIsAFailedExchange) {
    Refresh("BRC Test Co", "Listed One");
    const ParamMap before = ServiceValues();
    Refresh("BRC Test Co", "Not A Record");
    EXPECT_EQ(kRecordStatusUnreadable, theLastStatus);
    EXPECT_EQ(before, ServiceValues());
}

TEST(RefreshProductRecord, UnreachableServiceIsAFailedExchange) {
    Refresh("BRC Test Co", "Listed One");
    const ParamMap before = ServiceValues();
    const CString saved = theServiceBaseURL;
    theServiceBaseURL = "http://127.0.0.1:1/";
    Refresh("BRC Test Co", "Listed Two");
    theServiceBaseURL = saved;
    EXPECT_EQ(-ERROR_INTERNET_CANNOT_CONNECT, theLastStatus);
    EXPECT_EQ(before, ServiceValues());
}

TEST(RefreshProductRecord, MalformedLinesAreSkippedAndTheRestTaken) {
    Refresh("BRC Test Co", "Malformed Lines");
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("4.0", theFacts["l_latest"]);
    EXPECT_STREQ("run\\now", theFacts["l_command"]);
    EXPECT_STREQ("2014", theFacts["n_copy"]);
    EXPECT_STREQ("1006", theFacts["p_softwareid"]);
    EXPECT_STREQ("", theFacts["l_url"]);
    EXPECT_STREQ("", theFacts["l_help_url"]);
    EXPECT_STREQ("BRC Test Co", theFacts["p_company"]);
    EXPECT_EQ(0u, theFacts.count("unknown_key"));
}

TEST(RefreshProductRecord, NamesAreSentPercentEncoded) {
    Refresh("Me & You, Inc.", "Zw\xF6"
                              "lf Tools 1/2+");
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("1.2", theFacts["l_latest"]);
    EXPECT_STREQ("1007", theFacts["p_softwareid"]);
}

TEST(RefreshProductRecord, WaitsForASlowReply) {
    Refresh("BRC Test Co", "Slow Reply");
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("3.0", theFacts["l_latest"]);
}

TEST(RefreshProductRecord, TemplateOfSeveralKilobytesArrivesWhole) {
    Refresh("BRC Test Co", "Own Template");
    EXPECT_EQ(0, theLastStatus);
    const CString page = theFacts["n_aboutb"];
    EXPECT_EQ(7106, page.GetLength());
    EXPECT_EQ(0, page.Find("<html><head><title>Own #p_software#</title></head>\n<body>"));
    EXPECT_EQ(page.GetLength() - 14, page.Find("</body></html>"));
}
