// The About window end to end: the record from the local web service, the
// page beside the program, and the window the scripted control shows it in.
#include "AboutWindow.h"
#include "BrowserTestSupport.h"
#include "FakeBrowserApi.h"
#include "ProductContext.h"
#include "WindowStorage.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace {

const char kCompany[] = "Windows Test Co";
const char kPageCaption[] = "about.htm";

DWORD MillisecondsSince(DWORD start) {
    return GetTickCount() - start;
}

std::string AboutPagePath() {
    return GetModuleDirectory().str() + "about.htm";
}

std::string FileAddress(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return "file://" + path;
}

// Opens the next About window, expects it at 700 by 500 and closes it.
void ExpectTheNextAboutAt700By500(HWND last) {
    About(kCompany, "About Listed", "2.5");
    HWND second = WaitForNewProcessWindow(kPageCaption, {last});
    ASSERT_NE(nullptr, second);
    const SIZE size = OuterSize(second);
    EXPECT_EQ(700, size.cx);
    EXPECT_EQ(500, size.cy);
    EXPECT_TRUE(UserClose(second));
}

} // namespace

TEST(AboutWindow, WritesTheRecordsPageBesideTheProgramAndReturnsTheServiceValue) {
    FakeBrowserSetScript("never");
    DeleteFileA(AboutPagePath().c_str());
    const DWORD start = GetTickCount();
    EXPECT_EQ(42, About(kCompany, "About Listed", "2.5"));
    EXPECT_LT(MillisecondsSince(start), 5000u);
    EXPECT_EQ(0, theLastStatus);

    const std::string page = ReadWholeFile(AboutPagePath());
    EXPECT_TRUE(Has(page, "<title>Windows Test Co About Listed</title>"));
    EXPECT_TRUE(Has(page, "Version: 2.5 by Windows Test Co"));
    EXPECT_TRUE(Has(page, "About Listed sorts your About Listed windows. Built for tests.<br>"));
    EXPECT_TRUE(Has(page, "&copy;&nbsp;2020 Windows Test Co"));
    EXPECT_TRUE(Has(page, "supportcontact.php?p_softwareid=W-42\""));
    EXPECT_TRUE(Has(page, "There is a more recent version, (3.0)"));
    EXPECT_EQ(FileAddress(AboutPagePath()), theAboutPageURL.str());

    // Returned while its window is still open.
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
}

TEST(AboutWindow, OpensA600By400WindowOnThePagesAddress) {
    FakeBrowserSetScript("");
    About(kCompany, "About Listed", "2.5");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    const SIZE size = OuterSize(window);
    EXPECT_EQ(600, size.cx);
    EXPECT_EQ(400, size.cy);
    EXPECT_TRUE(WaitUntil([] { return FakeLogHas("Navigate " + theAboutPageURL.str()); }, 5000));
    EXPECT_TRUE(UserClose(window));
}

TEST(AboutWindow, NextAboutOpensAtTheSizeTheLastOneEndedWith) {
    FakeBrowserSetScript("never");
    About(kCompany, "About Listed", "2.5");
    HWND first = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(Resize(first, 700, 500));
    ASSERT_TRUE(UserClose(first));
    EXPECT_EQ(700, theAboutWindowSize.width);
    EXPECT_EQ(500, theAboutWindowSize.height);
    ExpectTheNextAboutAt700By500(first);
}

// A minimised window's own rectangle is its icon's.
TEST(AboutWindow, AWindowClosedWhileMinimisedLeavesTheNextAtItsNormalSize) {
    FakeBrowserSetScript("never");
    About(kCompany, "About Listed", "2.5");
    HWND first = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(Resize(first, 700, 500));
    ShowWindowAsync(first, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(first) != FALSE; }, 5000));
    ASSERT_TRUE(UserClose(first));
    EXPECT_EQ(700, theAboutWindowSize.width);
    EXPECT_EQ(500, theAboutWindowSize.height);
    ExpectTheNextAboutAt700By500(first);
}

TEST(AboutWindow, AboutOpenedWhileTheLastIsStillOpenTakesTheSizeOfItsLastLoad) {
    // Slow enough to resize the window before its page completes.
    FakeBrowserSetScript("delay 3000");
    About(kCompany, "About Listed", "2.5");
    HWND first = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(Resize(first, 700, 500));
    EXPECT_TRUE(WaitUntil(
        [] {
            const WindowSize shared = ReadSharedWindowSize(theAboutWindowSize);
            return shared.width == 700 && shared.height == 500;
        },
        10000));

    ExpectTheNextAboutAt700By500(first);
    EXPECT_TRUE(UserClose(first));
}

TEST(AboutWindow, HandsItsWindowValuesToTheWindow) {
    FakeBrowserSetScript("never");
    LaunchRecorder recorder;
    About(kCompany, "About Listed", "2.5");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));

    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(1u, requests.size());
    const LaunchedRequest& request = requests[0];
    EXPECT_EQ(theAboutPageURL.str(), request.address);
    EXPECT_EQ(600, request.width);
    EXPECT_EQ(400, request.height);
    EXPECT_EQ(60, request.timeoutSeconds);
    EXPECT_EQ(1, request.closeDelaySeconds);
    EXPECT_EQ("", request.watchText);
    EXPECT_EQ(nullptr, request.watchModeOut);
    EXPECT_FALSE(request.pageTextOut);
    EXPECT_FALSE(request.navigationLimitOut);
    EXPECT_EQ(0, request.wait);
    EXPECT_EQ(0xE0000u, request.style);
}

TEST(AboutWindow, TimeOutFiveClosesTheWindowAboutSixSecondsAfterItOpened) {
    FakeBrowserSetScript("");
    EXPECT_EQ(5, About(kCompany, "About Five", "1.0"));
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    const DWORD opened = GetTickCount();
    ASSERT_TRUE(WaitForWindowGone(window, 15000));
    const DWORD open = MillisecondsSince(opened);
    EXPECT_GE(open, 5000u);
    EXPECT_LT(open, 9000u);
}

// 4294968 s, about fifty days, once wrapped round in 32 bits to 704 ms.
TEST(AboutWindow, TimeOutOfFiftyDaysKeepsTheWindowOpen) {
    FakeBrowserSetScript("");
    EXPECT_EQ(8, About(kCompany, "About Fifty Days", "1.0"));
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    // Past the wrapped time-out and the one-second close delay.
    Sleep(3000);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(UserClose(window));
}

TEST(AboutWindow, RecordWithoutAnIntegerValueReturnsZero) {
    FakeBrowserSetScript("never");
    EXPECT_EQ(0, About(kCompany, "About No Result", "1.0"));
    EXPECT_EQ(0, About(kCompany, "About Text Result", "1.0"));
    EXPECT_TRUE(WaitUntil([] { return ProcessWindowsWith(kPageCaption).size() == 2; }, 10000));
    for (HWND window : ProcessWindowsWith(kPageCaption))
        EXPECT_TRUE(UserClose(window));
}

// An 839-byte record whose template holds ten placeholders of a key that
// holds ten of the next, seven links deep: filled in full, 100,000,000 bytes.
TEST(AboutWindow, RecordThatMultipliesItsPageGetsABoundedBuiltInPageAndItsValue) {
    FakeBrowserSetScript("never");
    DeleteFileA(AboutPagePath().c_str());
    EXPECT_EQ(7, About(kCompany, "About Chain", "1.0"));

    const std::string page = ReadWholeFile(AboutPagePath());
    EXPECT_LE(page.size(), 1048576u);
    EXPECT_EQ(0u, page.find("<!DOCTYPE HTML PUBLIC"));
    EXPECT_TRUE(Has(page, "<title>Windows Test Co About Chain</title>"));
    // The copyright, last link of the chain, would take the page past the
    // bound even in the built-in template, so it is left out.
    EXPECT_TRUE(Has(page, "&copy;&nbsp;</td>"));
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
}

struct TimeoutCase {
    const char* software;
    int seconds;
};

void PrintTo(const TimeoutCase& timeout, std::ostream* out) {
    *out << '"' << timeout.software << "\" " << timeout.seconds << " s";
}

std::string TimeoutCaseName(const testing::TestParamInfo<TimeoutCase>& info) {
    std::string name = info.param.software;
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name;
}

class AboutTimeout : public testing::TestWithParam<TimeoutCase> {};

TEST_P(AboutTimeout, RecordsTimeOutTextGivesTheWindowsTimeOut) {
    FakeBrowserSetScript("never");
    LaunchRecorder recorder;
    About(kCompany, GetParam().software, "1.0");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(GetParam().seconds, requests[0].timeoutSeconds);
}

INSTANTIATE_TEST_SUITE_P(NotAPositiveNumber, AboutTimeout,
                         testing::Values(TimeoutCase{"About Zero", 100},
                                         TimeoutCase{"About Negative", 100},
                                         TimeoutCase{"About Letters", 100},
                                         TimeoutCase{"About Empty", 100}),
                         TimeoutCaseName);
INSTANTIATE_TEST_SUITE_P(LeadingBlanksAndTrailingText, AboutTimeout,
                         testing::Values(TimeoutCase{"About Leading Blanks", 12}), TimeoutCaseName);

TEST(AboutTimeoutSeconds, ReadsTheTextAsAtoiDoes) {
    EXPECT_EQ(100, AboutTimeoutSeconds(""));
    EXPECT_EQ(100, AboutTimeoutSeconds("0"));
    EXPECT_EQ(100, AboutTimeoutSeconds("-3"));
    EXPECT_EQ(100, AboutTimeoutSeconds("abc"));
    EXPECT_EQ(1, AboutTimeoutSeconds("1"));
    EXPECT_EQ(12, AboutTimeoutSeconds("  +12 seconds"));
}
