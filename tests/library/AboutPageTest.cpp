// The About page end to end: the record from the local web service, the page
// values and the written file. Each test writes a file of its own, since
// tests run in parallel from the same directory.
#include "PageFile.h"
#include "PageValues.h"
#include "ProductRecord.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string WriteAboutPage(const char* software, const char* version, const char* fileName) {
    LoadContext("BRC Test Co", software, version);
    RefreshProductRecord();
    ParamMap values = BuildPageValues(theFacts, theUserValues, theLastStatus);
    WritePageFile(values["n_aboutb"], fileName, values);
    std::ifstream file((GetModuleDirectory() + fileName).GetString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Has(const std::string& page, const std::string& text) {
    return page.find(text) != std::string::npos;
}

const char kUpToDateRow[] = "<td colspan=\"2\" align=\"center\">";

} // namespace

TEST(AboutPage, ListedProductShowsItsRecord) {
    const std::string page = WriteAboutPage("Listed One", "1.0", "about-listed.htm");
    ASSERT_EQ(0, theLastStatus);
    EXPECT_TRUE(Has(page, "<title>BRC Test Co Listed One</title>"));
    EXPECT_TRUE(Has(page, "Version: 1.0 by BRC Test Co"));
    EXPECT_TRUE(Has(page, "on " + theComputerName.str()));
    EXPECT_TRUE(Has(page, "&copy;&nbsp;2011-2013 BRC Test Co"));
    EXPECT_TRUE(Has(page, "Listed One keeps your Listed One notes tidy.\r\nSecond line. "
                          "Made with care.<br>"));
    EXPECT_TRUE(Has(page, "href=\"http://listed-one.example/\""));
    EXPECT_TRUE(Has(page, "href=\"http://listed-one.example/help/\""));
    EXPECT_TRUE(Has(page, "href=\"http://downloads.example/listed-one/setup-2.0.exe\""));
    EXPECT_TRUE(Has(page, "supportcontact.php?p_softwareid=1001\""));
    EXPECT_TRUE(Has(page, std::string(kUpToDateRow) + "There is a more recent version, (2.0)"));
    EXPECT_FALSE(Has(page, "#p_"));
    EXPECT_FALSE(Has(page, "#l_"));
    EXPECT_FALSE(Has(page, "#n_"));
}

TEST(AboutPage, LatestVersionIsUpToDate) {
    const std::string page = WriteAboutPage("Listed One", "2.0", "about-up-to-date.htm");
    EXPECT_TRUE(Has(page, std::string(kUpToDateRow) + "Version is up to date.</td>"));
}

TEST(AboutPage, UnlistedProductShowsTheNoticeAndDefaults) {
    const std::string page = WriteAboutPage("Never Listed", "1.0", "about-unlisted.htm");
    ASSERT_EQ(0, theLastStatus);
    EXPECT_TRUE(Has(page, std::string(kUpToDateRow) +
                              "<h3 style=\"color:#FF3FAA\">''BRC Test Co' has not listed their "
                              "software 'Never Listed' with "));
    EXPECT_TRUE(Has(page, "Please contact BRC Test Co customer support. "));
    EXPECT_TRUE(Has(page, "&copy;&nbsp;2012</td>"));
    EXPECT_TRUE(Has(page, "This page tells which version of Never Listed you have"));
    EXPECT_TRUE(Has(page, "supportcontact.php?p_softwareid=\""));
    EXPECT_FALSE(Has(page, "#p_"));
    EXPECT_FALSE(Has(page, "#l_"));
    EXPECT_FALSE(Has(page, "#n_"));
}

TEST(AboutPage, FailedExchangeGivesAnEmptyUpToDateRow) {
    const std::string page = WriteAboutPage("Server Error", "1.0", "about-failed.htm");
    EXPECT_EQ(500, theLastStatus);
    EXPECT_TRUE(Has(page, std::string(kUpToDateRow) + "</td>"));
    EXPECT_TRUE(Has(page, "Version: 1.0 by BRC Test Co"));
    EXPECT_TRUE(Has(page, "&copy;&nbsp;2012</td>"));
    // The record never held a software id, so its placeholder stays as written.
    EXPECT_TRUE(Has(page, "supportcontact.php?p_softwareid=#p_softwareid#\""));
    EXPECT_FALSE(Has(page, "#p_company#"));
    EXPECT_FALSE(Has(page, "#p_software#"));
    EXPECT_FALSE(Has(page, "#p_version#"));
    EXPECT_FALSE(Has(page, "#p_computer#"));
}

TEST(AboutPage, RecordWithItsOwnTemplateFillsThatTemplate) {
    const std::string page = WriteAboutPage("Own Template", "1.0", "about-own-template.htm");
    EXPECT_EQ(0u, page.find("<html><head><title>Own Own Template</title></head>\r\n"));
    EXPECT_TRUE(Has(page, "<td>Own Template does thing number 60 for BRC Test Co, on "));
    EXPECT_TRUE(Has(page, "<p>Version is up to date.</p>"));
    EXPECT_TRUE(Has(page, "<p>Time-out 100</p><p>#no_such_key#</p>"));
    EXPECT_GT(page.size(), 6000u);
}
