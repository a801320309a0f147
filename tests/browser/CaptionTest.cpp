// The window caption from an address, and how pages and addresses are
// searched.
#include <gtest/gtest.h>

#include "PageCaption.h"
#include "PageSearch.h"

TEST(CaptionFromURL, DropsQuerySchemeAndCase) {
    EXPECT_EQ(CaptionFromURL("http://x/dir/page.htm?y=1"), "x/dir/page.htm");
    EXPECT_EQ(CaptionFromURL("HTTPS://X/A"), "x/a");
}

TEST(CaptionFromURL, LocalFileShowsItsNameAfterTheLastSlash) {
    EXPECT_EQ(CaptionFromURL("file:///C:/Programs/App/about.htm"), "/about.htm");
}

TEST(CaptionFromURL, QuestionMarkAtTheStartIsNotAQuery) {
    EXPECT_EQ(CaptionFromURL("?abc"), "?abc");
}

TEST(CaptionFromURL, MakerAddressesShowTheSiteName) {
    EXPECT_EQ(CaptionFromURL("http://www.BRINDLECODE.com/support.htm"),
              "www.BrindleCode.com/support.htm");
    EXPECT_EQ(CaptionFromURL("https://brindlecode.net/update/check.php?v=2"),
              "BrindleCode.com/update/check.php");
}

TEST(CaptionFromURL, FirstCaptionIsTheSiteNameAndStaysAsItIs) {
    EXPECT_STREQ(theFirstCaption, "BrindleCode.com/");
    EXPECT_EQ(CaptionFromURL(theFirstCaption), "BrindleCode.com/");
}

TEST(PageSearch, TextCountsOnlyAfterTheFirstCharacter) {
    EXPECT_TRUE(HoldsText("http://x/thanks.htm", "thanks"));
    EXPECT_FALSE(HoldsText("thanks.htm", "thanks"));
    // A later occurrence still counts when the text also starts with it.
    EXPECT_TRUE(HoldsText("thanks/thanks.htm", "thanks"));
    EXPECT_FALSE(HoldsText("http://x/Thanks.htm", "thanks"));
    EXPECT_FALSE(HoldsText("", "thanks"));
}

TEST(PageSearch, ErrorPageTextsInTheirOrder) {
    EXPECT_STREQ(theErrorPageTexts[0], "because you are offline");
    EXPECT_STREQ(theErrorPageTexts[1], "The webpage is unavailable");
    EXPECT_STREQ(theErrorPageTexts[2], "cannot display the webpage");
    EXPECT_STREQ(theErrorPageTexts[3], "Navigation to the webpage was canceled");
}

TEST(PageSearch, PageWithAnErrorTextIsAnErrorPage) {
    EXPECT_TRUE(HoldsErrorPageText("<body>Internet Explorer cannot display the webpage</body>"));
    EXPECT_TRUE(HoldsErrorPageText("<body>Navigation to the webpage was canceled</body>"));
    EXPECT_FALSE(HoldsErrorPageText("<body>thanks</body>"));
    EXPECT_FALSE(HoldsErrorPageText(""));
}
