// Several About and web-address windows open at once: each writes into
// storage of its own, and each ends cleanly whichever closes first.
#include "AboutWindow.h"
#include "BrowserTestSupport.h"
#include "DisplayURL.h"
#include "FakeBrowserApi.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char kCompany[] = "Windows Test Co";
const char kPageCaption[] = "about.htm";

HWND OpenAbout(const std::vector<HWND>& known) {
    if (About(kCompany, "About Listed", "2.5") != 42)
        return nullptr;
    return WaitForNewProcessWindow(kPageCaption, known);
}

HWND OpenDisplay(const std::string& address, int closeDelaySeconds) {
    if (DisplayURL(address.c_str(), nullptr, nullptr, closeDelaySeconds) != 0)
        return nullptr;
    return WaitForProcessWindow(CaptionToken(address));
}

int CountLogLines(const std::string& line) {
    const std::string log = "\n" + FakeLog();
    int count = 0;
    for (size_t at = log.find("\n" + line + "\n"); at != std::string::npos;
         at = log.find("\n" + line + "\n", at + 1))
        ++count;
    return count;
}

} // namespace

// Which window closes first, second and third: 0 and 1 the About windows in
// the order they opened, 2 the web-address window.
class ThreeOpenWindows : public testing::TestWithParam<std::vector<int>> {};

TEST_P(ThreeOpenWindows, EveryWindowEndsCleanlyAndNoThreadOrHandleStaysBehind) {
    // The platform makes some objects once per process (OLE, window
    // classes, the service connection): the first windows take them.
    FakeBrowserSetScript("never");
    HWND warmUp = OpenAbout({});
    ASSERT_NE(nullptr, warmUp);
    ASSERT_TRUE(UserClose(warmUp));
    warmUp = OpenDisplay(UniqueAddress("warmup"), 1);
    ASSERT_NE(nullptr, warmUp);
    ASSERT_TRUE(UserClose(warmUp));
    // Until the warm-up windows' threads have ended (the web-address one
    // sleeps its close delay).
    int threads = CountProcessThreads();
    WaitUntil(
        [&] {
            Sleep(1000);
            const int now = CountProcessThreads();
            const bool settled = now == threads;
            threads = now;
            return settled;
        },
        15000);
    const int baseThreads = CountProcessThreads();
    const DWORD baseHandles = ProcessHandleCount();

    FakeBrowserSetScript("");
    std::vector<HWND> windows;
    windows.push_back(OpenAbout({}));
    windows.push_back(OpenAbout(windows));
    windows.push_back(OpenDisplay(UniqueAddress("threeopen"), 8));
    for (HWND window : windows)
        ASSERT_NE(nullptr, window);
    for (int which : GetParam())
        EXPECT_TRUE(UserClose(windows[which])) << "window " << which;

    EXPECT_EQ(3, CountLogLines("Quit"));
    // The web-address window's navigation thread sleeps out its close delay.
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= baseThreads; }, 15000))
        << CountProcessThreads() << " threads, " << baseThreads << " before";
    EXPECT_TRUE(WaitUntil([&] { return ProcessHandleCount() <= baseHandles; }, 10000))
        << ProcessHandleCount() << " handles, " << baseHandles << " before";
    EXPECT_EQ(0, FakeBrowserLiveObjects());
}

std::string CloseOrderName(const testing::TestParamInfo<std::vector<int>>& info) {
    static const char* const kNames[] = {"FirstAbout", "SecondAbout", "WebAddress"};
    std::string name;
    for (int which : info.param)
        name += kNames[which];
    return name;
}

INSTANTIATE_TEST_SUITE_P(CloseOrders, ThreeOpenWindows,
                         testing::Values(std::vector<int>{1, 2, 0}, std::vector<int>{2, 0, 1},
                                         std::vector<int>{0, 1, 2}),
                         CloseOrderName);

TEST(OpenWindows, TwoAboutWindowsWriteIntoStorageOfTheirOwn) {
    FakeBrowserSetScript("never");
    LaunchRecorder recorder;
    HWND first = OpenAbout({});
    HWND second = OpenAbout({first});
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_NE(requests[0].addressOut, requests[1].addressOut);
    EXPECT_NE(static_cast<const void*>(&theAboutPageURL), requests[0].addressOut);
    EXPECT_NE(static_cast<const void*>(&theAboutPageURL), requests[1].addressOut);
    EXPECT_NE(requests[0].widthOut, requests[1].widthOut);
    EXPECT_NE(static_cast<const void*>(&theAboutWindowSize.width), requests[0].widthOut);
    EXPECT_TRUE(UserClose(first));
    EXPECT_TRUE(UserClose(second));
}

TEST(OpenWindows, TwoAboutWindowsLeaveTheSizeOfTheLastClosedForTheNext) {
    FakeBrowserSetScript("never");
    HWND first = OpenAbout({});
    HWND second = OpenAbout({first});
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(Resize(first, 700, 500));
    ASSERT_TRUE(Resize(second, 640, 480));
    ASSERT_TRUE(UserClose(second));
    ASSERT_TRUE(UserClose(first));
    EXPECT_EQ(700, theAboutWindowSize.width);
    EXPECT_EQ(500, theAboutWindowSize.height);

    HWND next = OpenAbout({first, second});
    ASSERT_NE(nullptr, next);
    const SIZE size = OuterSize(next);
    EXPECT_EQ(700, size.cx);
    EXPECT_EQ(500, size.cy);
    EXPECT_TRUE(UserClose(next));
}
