#include "PageValues.h"
#include "ServiceAddress.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

ParamMap Record(std::initializer_list<std::pair<const char*, const char*>> entries) {
    ParamMap record;
    for (const auto& entry : entries)
        record[entry.first] = entry.second;
    return record;
}

CString UpToDate(ParamMap facts, int lastStatus = 0) {
    return BuildPageValues(std::move(facts), ParamMap(), lastStatus)["uptodate"];
}

} // namespace

TEST(MergeParams, PrimaryWinsAndBaseKeysStay) {
    ParamMap merged = MergeParams(Record({{"a", "primary"}, {"b", ""}}),
                                  Record({{"a", "base"}, {"b", "base b"}, {"c", "base c"}}));
    EXPECT_STREQ("primary", merged["a"]);
    EXPECT_STREQ("", merged["b"]);
    EXPECT_STREQ("base c", merged["c"]);
    EXPECT_EQ(3u, merged.size());
}

TEST(BuildPageValues, FactsOverlayUserValues) {
    ParamMap values = BuildPageValues(Record({{"p_company", "Fact"}}),
                                      Record({{"p_company", "User"}, {"u_only", "kept"}}), 0);
    EXPECT_STREQ("Fact", values["p_company"]);
    EXPECT_STREQ("kept", values["u_only"]);
}

TEST(BuildPageValues, EmptyValuesGetTheirDefaults) {
    ParamMap values = BuildPageValues(Record({{"n_aboutt", ""}}), ParamMap(), 0);
    EXPECT_STREQ("100", values["n_aboutt"]);
    EXPECT_STREQ("2012", values["n_copy"]);
    EXPECT_STREQ(theAboutTemplate, values["n_aboutb"]);
    EXPECT_STREQ(theDefaultAboutText, values["n_about"]);
    ASSERT_EQ(1u, values.count("n_abouts"));
    EXPECT_STREQ("", values["n_abouts"]);
}

TEST(BuildPageValues, ServiceValuesAreKept) {
    ParamMap values = BuildPageValues(Record({{"n_aboutt", "5"},
                                              {"n_copy", "1999"},
                                              {"n_aboutb", "<p>#n_about#</p>"},
                                              {"n_about", "Ours"},
                                              {"n_abouts", "More"}}),
                                      ParamMap(), 0);
    EXPECT_STREQ("5", values["n_aboutt"]);
    EXPECT_STREQ("1999", values["n_copy"]);
    EXPECT_STREQ("<p>#n_about#</p>", values["n_aboutb"]);
    EXPECT_STREQ("Ours", values["n_about"]);
    EXPECT_STREQ("More", values["n_abouts"]);
}

TEST(BuildPageValues, HelpAddressDefaultsToTheSiteAddress) {
    ParamMap values = BuildPageValues(Record({{"l_url", "http://site/"}}), ParamMap(), 0);
    EXPECT_STREQ("http://site/", values["l_help_url"]);

    values = BuildPageValues(ParamMap(), ParamMap(), 0);
    EXPECT_STREQ("", values["l_help_url"]);
    EXPECT_EQ(1u, values.count("l_url"));
}

TEST(BuildPageValues, HelpAddressSetLeavesAnAbsentSiteAddressAbsent) {
    ParamMap values = BuildPageValues(Record({{"l_help_url", "http://help/"}}), ParamMap(), 0);
    EXPECT_STREQ("http://help/", values["l_help_url"]);
    EXPECT_EQ(0u, values.count("l_url"));
}

TEST(BuildPageValues, EveryKeyReadIsPresentAfterwards) {
    ParamMap version;
    version["p_version"] = "1.0";
    ParamMap values = BuildPageValues(version, ParamMap(), 0);
    for (const char* key : {"n_copy", "n_aboutb", "n_about", "n_abouts", "n_aboutt", "l_help_url",
                            "l_url", "l_latest", "p_company", "p_software", "uptodate"})
        EXPECT_EQ(1u, values.count(key)) << key;
}

TEST(UpToDateLine, FailedExchangeGivesEmptyText) {
    EXPECT_STREQ("", UpToDate(Record({{"l_latest", "2.0"}, {"p_version", "1.0"}}), 7));
    EXPECT_STREQ("", UpToDate(Record({{"l_latest", "2.0"}, {"p_version", "2.0"}}), -12029));
}

TEST(UpToDateLine, EqualVersionsAreUpToDate) {
    EXPECT_STREQ("Version is up to date.",
                 UpToDate(Record({{"l_latest", "2.0"}, {"p_version", "2.0"}})));
    EXPECT_STREQ("Version is up to date.", UpToDate(ParamMap()));
}

TEST(UpToDateLine, OtherVersionIsAMoreRecentOne) {
    EXPECT_STREQ("There is a more recent version, (2.0)",
                 UpToDate(Record({{"l_latest", "2.0"}, {"p_version", "1.0"}})));
    EXPECT_STREQ("There is a more recent version, (2.00)",
                 UpToDate(Record({{"l_latest", "2.00"}, {"p_version", "2.0"}})));
    EXPECT_STREQ("There is a more recent version, (2.0A)",
                 UpToDate(Record({{"l_latest", "2.0A"}, {"p_version", "2.0a"}})));
}

TEST(UpToDateLine, UnlistedProductGetsTheNotListedNotice) {
    const std::string host = theServiceHostName;
    const std::string expected =
        "<h3 style=\"color:#FF3FAA\">''Me Inc' has not listed their software 'Merry Marmots' "
        "with " +
        host +
        ". </h3><p style=\"color:#FF3FAA\">Please contact Me Inc customer support. <br><i>"
        "Listing software products is a free service of " +
        host + ". </i></p>";
    EXPECT_EQ(expected, UpToDate(Record({{"p_company", "Me Inc"},
                                         {"p_software", "Merry Marmots"},
                                         {"p_version", "1.0"}}))
                            .str());
}

TEST(UpToDateLine, RecordValueNamedUptodateNeverReachesThePage) {
    EXPECT_STREQ("Version is up to date.", UpToDate(Record({{"uptodate", "forged"}})));
}

TEST(ReplacePlaceholders, ReplacesEveryOccurrenceAndLeavesUnknownKeys) {
    CString text = "#a# and #a#, #b#, #unknown#, ##";
    ReplacePlaceholders(text, Record({{"a", "1"}, {"b", ""}}));
    EXPECT_STREQ("1 and 1, , #unknown#, ##", text);
}

TEST(ReplacePlaceholders, InsertedValueIsNotSearchedAgainForItsOwnKey) {
    CString text = "#a#";
    ReplacePlaceholders(text, Record({{"a", "x#a#y"}}));
    EXPECT_STREQ("x#a#y", text);
}

TEST(ReplacePlaceholders, LaterKeysAreReplacedInsideEarlierValuesOnly) {
    CString text = "#n_about#|#p_company#";
    ReplacePlaceholders(text, Record({{"n_about", "for #p_software#"},
                                      {"p_company", "by #l_url#"},
                                      {"p_software", "Tool"},
                                      {"l_url", "http://site/"}}));
    EXPECT_STREQ("for Tool|by #l_url#", text);
}

TEST(ReplacePlaceholders, ValuesGoInRaw) {
    CString text = "<td>#v#</td>";
    ReplacePlaceholders(text, Record({{"v", "<b>a&b</b> %20"}}));
    EXPECT_STREQ("<td><b>a&b</b> %20</td>", text);
}

TEST(AboutTemplate, IsOneLineOfHtml401Transitional) {
    const std::string page = theAboutTemplate;
    EXPECT_EQ(std::string::npos, page.find_first_of("\r\n"));
    EXPECT_EQ(0u, page.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\""));
    EXPECT_NE(std::string::npos, page.find("<meta http-equiv=\"Content-Type\" "
                                           "content=\"text/html;charset=iso-8859-1\">"));
    EXPECT_NE(std::string::npos, page.find("<title>#p_company# #p_software#</title>"));
}

TEST(AboutTemplate, HoldsEveryPlaceholderOfThePage) {
    const std::string page = theAboutTemplate;
    for (const char* text :
         {"#p_software#", "Version: #p_version#", "by #p_company#", "on #p_computer#",
          "&copy;&nbsp;#n_copy#", "#n_about# #n_abouts#<br>", "#uptodate#",
          "href=\"#l_url#\" target=\"_blank\">Www #p_software#</a>",
          "href=\"#l_help_url#\" target=\"_blank\">Help</a>",
          "href=\"#l_exe_url#\" target=\"_blank\">Download</a>"})
        EXPECT_NE(std::string::npos, page.find(text)) << text;
}

TEST(AboutTemplate, SupportAndFooterLinksNameTheService) {
    const std::string page = theAboutTemplate;
    const std::string base = theDefaultServiceBaseURL;
    EXPECT_NE(std::string::npos, page.find("href=\"" + base +
                                           "supportcontact.php?p_softwareid=#p_softwareid#\" "
                                           "target=\"_blank\">Support</a>"));
    EXPECT_NE(std::string::npos,
              page.find("<p class=\"footer\">powered by <a class=\"footer\" href=\"" + base +
                        "customerinfo.php\" target=\"_blank\">" + theServiceHostName + "</a>"));
}
