// Windows on any address: returned from at once, closed after their
// one-second wait and the caller's close delay.
#include "BrowserTestSupport.h"
#include "DisplayURL.h"
#include "FakeBrowserApi.h"
#include "ShowURLWindow.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

namespace {

DWORD MillisecondsSince(DWORD start) {
    return GetTickCount() - start;
}

// Opens address without a size and returns its window.
HWND DisplayWithoutSize(const std::string& address, int closeDelaySeconds = 60) {
    if (DisplayURL(address.c_str(), nullptr, nullptr, closeDelaySeconds) != 0)
        return nullptr;
    return WaitForProcessWindow(CaptionToken(address));
}

} // namespace

TEST(DisplayURL, ReturnsZeroAtOnce) {
    FakeBrowserSetScript("never");
    const std::string address = UniqueAddress("display");
    const DWORD start = GetTickCount();
    EXPECT_EQ(0, DisplayURL(address.c_str(), nullptr, nullptr, 60));
    EXPECT_LT(MillisecondsSince(start), 2000u);
    EXPECT_EQ(address, theDisplayURL.str());
    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
}

TEST(DisplayURL, WithoutWidthAndHeightOpensAtTheBrowserWindowsDefaultSize) {
    FakeBrowserSetScript("never");
    ASSERT_EQ(1000, theDefaultWindowSize.width);
    ASSERT_EQ(700, theDefaultWindowSize.height);
    HWND window = DisplayWithoutSize(UniqueAddress("defaultsize"));
    ASSERT_NE(nullptr, window);
    const SIZE size = OuterSize(window);
    EXPECT_EQ(1000, size.cx);
    EXPECT_EQ(700, size.cy);
    EXPECT_TRUE(UserClose(window));
}

TEST(DisplayURL, GivenSizeOpensAtItAndReceivesTheFinalSize) {
    FakeBrowserSetScript("never");
    // The window writes into these until it is gone.
    static int width = 640;
    static int height = 480;
    const std::string address = UniqueAddress("givensize");
    ASSERT_EQ(0, DisplayURL(address.c_str(), &width, &height, 60));
    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    const SIZE size = OuterSize(window);
    EXPECT_EQ(640, size.cx);
    EXPECT_EQ(480, size.cy);
    ASSERT_TRUE(Resize(window, 700, 450));
    ASSERT_TRUE(UserClose(window));
    EXPECT_EQ(700, width);
    EXPECT_EQ(450, height);
    EXPECT_EQ(1000, theDefaultWindowSize.width);
    EXPECT_EQ(700, theDefaultWindowSize.height);
}

TEST(DisplayURL, HandsItsWindowValuesToTheWindow) {
    FakeBrowserSetScript("never");
    LaunchRecorder recorder;
    const std::string address = UniqueAddress("values");
    HWND window = DisplayWithoutSize(address, 7);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
    const std::string defaultDelay = UniqueAddress("defaultdelay");
    window = DisplayWithoutSize(defaultDelay, 0);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));

    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(address, requests[0].address);
    EXPECT_EQ(1, requests[0].timeoutSeconds);
    EXPECT_EQ(7, requests[0].closeDelaySeconds);
    EXPECT_EQ("", requests[0].watchText);
    EXPECT_EQ(nullptr, requests[0].watchModeOut);
    EXPECT_FALSE(requests[0].pageTextOut);
    EXPECT_FALSE(requests[0].navigationLimitOut);
    EXPECT_EQ(0, requests[0].wait);
    EXPECT_EQ(0xCF0000u, requests[0].style);
    // A close delay of 0 is the window's own default.
    EXPECT_EQ(1000, requests[1].closeDelaySeconds);
}

TEST(DisplayURL, ClosesAfterItsOneSecondWaitAndTheCloseDelay) {
    FakeBrowserSetScript("");
    TempPage page("<body>shown for three seconds</body>");
    HWND window = DisplayWithoutSize(page.Address(), 2);
    ASSERT_NE(nullptr, window);
    const DWORD opened = GetTickCount();
    ASSERT_TRUE(WaitForWindowGone(window, 10000));
    const DWORD open = MillisecondsSince(opened);
    EXPECT_GE(open, 2500u);
    EXPECT_LT(open, 6000u);
}

// 4294968 s, about fifty days, once wrapped round in 32 bits to 704 ms.
TEST(DisplayURL, ACloseDelayOfFiftyDaysKeepsTheWindowOpen) {
    FakeBrowserSetScript("");
    TempPage page("<body>shown for fifty days</body>");
    HWND window = DisplayWithoutSize(page.Address(), 4294968);
    ASSERT_NE(nullptr, window);
    // Past the one-second wait and the wrapped delay.
    Sleep(3000);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(UserClose(window));
}

TEST(DisplayURL, TheCallsAddressStaysWhileTheWindowGoesOnLoading) {
    TempPage next("<body>the next page</body>");
    FakeBrowserSetScript(("follow " + next.Address()).c_str());
    TempPage first("<body>the first page</body>");
    HWND window = DisplayWithoutSize(first.Address());
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitUntil([&] { return FakeLogHas("DocumentComplete " + next.Address()); }, 5000));
    EXPECT_EQ(first.Address(), theDisplayURL.str());
    EXPECT_TRUE(UserClose(window));
}

TEST(DisplayURL, TwoWindowsWithoutSizeLeaveTheDefaultAtTheSizeOfTheLastClosed) {
    FakeBrowserSetScript("never");
    HWND first = DisplayWithoutSize(UniqueAddress("firstofboth"));
    HWND second = DisplayWithoutSize(UniqueAddress("secondofboth"));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(Resize(first, 810, 610));
    ASSERT_TRUE(Resize(second, 720, 520));
    ASSERT_TRUE(UserClose(second));
    EXPECT_EQ(720, theDefaultWindowSize.width);
    EXPECT_EQ(520, theDefaultWindowSize.height);
    ASSERT_TRUE(UserClose(first));
    EXPECT_EQ(810, theDefaultWindowSize.width);
    EXPECT_EQ(610, theDefaultWindowSize.height);

    HWND third = DisplayWithoutSize(UniqueAddress("thirdofboth"));
    ASSERT_NE(nullptr, third);
    const SIZE size = OuterSize(third);
    EXPECT_EQ(810, size.cx);
    EXPECT_EQ(610, size.cy);
    EXPECT_TRUE(UserClose(third));
}
