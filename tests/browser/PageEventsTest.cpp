// What the browser window makes of the pages the scripted control loads:
// where the watch text is found, which pages end the wait with an error,
// the navigation limit, and what is written back to the caller.
#include "BrowserTestSupport.h"
#include "FakeBrowserApi.h"
#include "ShowURLWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// What one request hands the window. Process-wide, as the window writes into
// it until it is gone; every test runs in a process of its own.
struct Request {
    CString address;
    CString pageText = "untouched";
    int width = 1000;
    int height = 700;
    int watchMode = 3;
    int navigationLimit = 1000;
};
Request theRequest;

// Blocks until the page's outcome; the window then lingers for the close
// delay.
int ShowAndWait(const std::string& address, const char* watchText, int watchMode,
                int timeoutSeconds, int navigationLimit = 1000, int closeDelaySeconds = 60) {
    theRequest.address = address.c_str();
    theRequest.watchMode = watchMode;
    theRequest.navigationLimit = navigationLimit;
    return ShowURLWindow(&theRequest.address, &theRequest.pageText, &theRequest.width,
                         &theRequest.height, timeoutSeconds, closeDelaySeconds, watchText,
                         &theRequest.watchMode, &theRequest.navigationLimit, 1, WS_OVERLAPPEDWINDOW,
                         nullptr);
}

std::string Page(const std::string& body) {
    return "<html><head><title>t</title></head><body>" + body + "</body></html>";
}

// The caption the window shows for a page of the temporary directory.
std::string FileCaption(const TempPage& page) {
    return "/" + CaptionToken(page.Address());
}

class PageEvents : public testing::Test {
protected:
    void SetUp() override { FakeBrowserSetScript(""); }
    void TearDown() override { EXPECT_TRUE(CloseBrowserWindows()); }
};

} // namespace

TEST_F(PageEvents, ModeOneFindsTheTextInTheAddressAndSetsOne) {
    TempPage page(Page("<p>nothing to see</p>"));
    EXPECT_EQ(0, ShowAndWait(page.Address(), "brcpage", 1, 10));
    EXPECT_EQ(1, theRequest.watchMode);
}

TEST_F(PageEvents, ModeOneDoesNotLookInThePage) {
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(1, ShowAndWait(page.Address(), "thanks", 1, 2));
    EXPECT_EQ(0, theRequest.watchMode);
    EXPECT_EQ(1, theRequest.navigationLimit);
}

TEST_F(PageEvents, ModeTwoFindsTheTextInThePageAndSetsTwo) {
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(0, ShowAndWait(page.Address(), "thanks", 2, 10));
    EXPECT_EQ(2, theRequest.watchMode);
}

TEST_F(PageEvents, ModeTwoDoesNotLookInTheAddress) {
    TempPage page(Page("<p>nothing to see</p>"));
    EXPECT_EQ(1, ShowAndWait(page.Address(), "brcpage", 2, 2));
    EXPECT_EQ(0, theRequest.watchMode);
    EXPECT_EQ(1, theRequest.navigationLimit);
}

TEST_F(PageEvents, ModeThreeLooksAtTheAddressFirst) {
    TempPage page(Page("<p>brcpage</p>"));
    EXPECT_EQ(0, ShowAndWait(page.Address(), "brcpage", 3, 10));
    EXPECT_EQ(1, theRequest.watchMode);
}

TEST_F(PageEvents, ModeThreeFindsATextOnlyInThePageAndSetsTwo) {
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(0, ShowAndWait(page.Address(), "thanks", 3, 10));
    EXPECT_EQ(2, theRequest.watchMode);
}

TEST_F(PageEvents, TextStandingOnlyAtTheVeryStartIsNotFound) {
    TempPage page(Page("<p>nothing to see</p>"));
    // The page's body HTML starts with "<body", its address with "file:".
    EXPECT_EQ(1, ShowAndWait(page.Address(), "<body", 2, 2));
    EXPECT_EQ(0, theRequest.watchMode);
    EXPECT_EQ(1, theRequest.navigationLimit);
    ASSERT_TRUE(CloseBrowserWindows());
    EXPECT_EQ(1, ShowAndWait(page.Address(), "file:", 1, 2));
    EXPECT_EQ(0, theRequest.watchMode);
    EXPECT_EQ(1, theRequest.navigationLimit);
}

TEST_F(PageEvents, FoundTextReturnsZeroAndTheWindowLingersForItsCloseDelay) {
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(0, ShowAndWait(page.Address(), "thanks", 2, 30, 1000, 2));
    const DWORD returned = GetTickCount();
    HWND window = FindBrowserWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(WaitForWindowGone(window, 6000));
    const DWORD lingered = GetTickCount() - returned;
    EXPECT_GE(lingered, 1500u);
    EXPECT_LT(lingered, 6000u);
}

TEST_F(PageEvents, ErrorPageEndsTheWaitWithMinusOneEvenWithTheWatchTextOnIt) {
    TempPage page(Page("<p>Internet Explorer cannot display the webpage</p><p>thanks</p>"));
    EXPECT_EQ(-1, ShowAndWait(page.Address(), "thanks", 3, 10));
    EXPECT_EQ(0, theRequest.watchMode);
}

TEST_F(PageEvents, OfflineControlEndsTheWaitWithMinusOneAtTheFirstCompletion) {
    FakeBrowserSetScript("offline");
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(-1, ShowAndWait(page.Address(), "thanks", 3, 10));
    EXPECT_TRUE(FakeLogHas("DocumentComplete " + page.Address()));
    EXPECT_EQ(0, theRequest.watchMode);
    EXPECT_EQ(0, theRequest.navigationLimit);
}

TEST_F(PageEvents, NavigateErrorEndsTheWaitWithMinusOne) {
    FakeBrowserSetScript("error 404");
    TempPage page(Page("<p>thanks</p>"));
    EXPECT_EQ(-1, ShowAndWait(page.Address(), "thanks", 3, 10));
    EXPECT_TRUE(FakeLogHas("NavigateError 404"));
    EXPECT_EQ(0, theRequest.watchMode);
}

TEST_F(PageEvents, NothingIsWrittenBackAfterTheFirstError) {
    TempPage page(Page("<p>first page</p>"));
    FakeBrowserSetScript(("follow " + UniqueAddress("missing")).c_str());
    EXPECT_EQ(-1, ShowAndWait(page.Address(), nullptr, 3, 10));
    // After the error the control shows its own error page; that page's
    // completion must change nothing.
    ASSERT_TRUE(WaitUntil(
        [] { return FakeLogHas("DocumentComplete res://ieframe.dll/dnserror.htm"); }, 5000));
    HWND window = FindBrowserWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(SyncWithWindowThread(window));
    EXPECT_EQ(1, theRequest.navigationLimit);
    EXPECT_EQ(page.Address(), theRequest.address.str());
    EXPECT_EQ("<body><p>first page</p></body>", theRequest.pageText.str());
    EXPECT_EQ(FileCaption(page), CaptionOf(window));
}

TEST_F(PageEvents, FrameCompletionIsSearchedButNeitherCountedNorWrittenBack) {
    TempPage page(Page("<p>the page</p>"));
    // The frame completes; the page around it never does.
    FakeBrowserSetScript("frame http://127.0.0.1/ads/adframe.htm; stall");
    EXPECT_EQ(0, ShowAndWait(page.Address(), "adframe", 3, 10));
    EXPECT_EQ(1, theRequest.watchMode);
    HWND window = FindBrowserWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(SyncWithWindowThread(window));
    EXPECT_EQ(0, theRequest.navigationLimit);
    EXPECT_EQ(page.Address(), theRequest.address.str());
    EXPECT_EQ("untouched", theRequest.pageText.str());
    EXPECT_EQ(FileCaption(page), CaptionOf(window));
}

TEST_F(PageEvents, ThirdTopLevelLoadPassesLimitTwoAndEndsTheWaitASecondLater) {
    TempPage first(Page("<p>one</p>"));
    TempPage second(Page("<p>two</p>"));
    TempPage third(Page("<p>three</p>"));
    FakeBrowserSetScript(("follow " + second.Address() + "; follow " + third.Address()).c_str());
    int result = -2;
    DWORD returned = 0;
    std::thread caller([&] {
        result = ShowAndWait(first.Address(), nullptr, 3, 30, 2);
        returned = GetTickCount();
    });
    const bool thirdCompleted =
        WaitUntil([&] { return FakeLogHas("DocumentComplete " + third.Address()); }, 10000);
    const DWORD completed = GetTickCount();
    caller.join();
    ASSERT_TRUE(thirdCompleted);
    EXPECT_EQ(0, result);
    EXPECT_EQ(3, theRequest.navigationLimit);
    const DWORD after = returned - completed;
    EXPECT_GE(after, 900u);
    EXPECT_LT(after, 2500u);
}

TEST_F(PageEvents, EachTopLevelLoadWritesPageTextAddressAndSizeBack) {
    TempPage first(Page("<p>first page</p>"));
    TempPage second(Page("<p>second page, thanks</p>"));
    FakeBrowserSetScript(("delay 1000; follow " + second.Address()).c_str());
    int result = -2;
    std::thread caller([&] { result = ShowAndWait(first.Address(), "thanks", 2, 30); });
    // Each page takes a second to load: time to resize the window first.
    HWND window = WaitForProcessWindow(CaptionToken(first.Address()));
    if (window) {
        SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_TRUE(
            WaitUntil([&] { return FakeLogHas("DocumentComplete " + first.Address()); }, 5000));
        EXPECT_TRUE(SyncWithWindowThread(window));
        EXPECT_EQ("<body><p>first page</p></body>", theRequest.pageText.str());
        EXPECT_EQ(1, theRequest.navigationLimit);
        EXPECT_EQ(640, theRequest.width);
        EXPECT_EQ(480, theRequest.height);
        SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    }
    caller.join();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, result);
    EXPECT_EQ(second.Address(), theRequest.address.str());
    EXPECT_EQ("<body><p>second page, thanks</p></body>", theRequest.pageText.str());
    EXPECT_EQ(2, theRequest.navigationLimit);
    EXPECT_EQ(700, theRequest.width);
    EXPECT_EQ(500, theRequest.height);
}
