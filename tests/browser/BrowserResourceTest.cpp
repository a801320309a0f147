// Windows opened and closed one after the other leave no thread, event,
// handle or control object behind.
#include "BrowserTestSupport.h"
#include "FakeBrowserApi.h"
#include "ShowURLWindow.h"

#include <gtest/gtest.h>

namespace {

CString theAddress;

// One window whose navigation fails to start: the caller gets -1 and the
// window closes by itself at once.
int OpenRefusedWindow() {
    FakeBrowserSetScript("refuse");
    theAddress = UniqueAddress("refused").c_str();
    return ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr, nullptr,
                         1, WS_OVERLAPPEDWINDOW, nullptr);
}

// One window the user closes while it loads.
bool OpenAndCloseWindow() {
    FakeBrowserSetScript("never");
    theAddress = UniqueAddress("closed").c_str();
    if (ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr, nullptr, 0,
                      WS_OVERLAPPEDWINDOW, nullptr) != 0)
        return false;
    HWND window = WaitForProcessWindow(CaptionToken(theAddress.str()));
    return window && CloseAndWait(window);
}

} // namespace

TEST(BrowserWindowResources, TwentyWindowsLeaveNoThreadOrHandleBehind) {
    // The platform creates some objects once per process (OLE, classes,
    // type libraries): the first window takes them.
    ASSERT_EQ(-1, OpenRefusedWindow());
    ASSERT_TRUE(OpenAndCloseWindow());
    const int threads = CountProcessThreads();
    ASSERT_TRUE(WaitUntil([&] { return CountProcessThreads() <= threads; }, 5000));
    const int baseThreads = CountProcessThreads();
    const DWORD baseHandles = ProcessHandleCount();
    ASSERT_GT(baseThreads, 0);
    ASSERT_GT(baseHandles, 0u);

    for (int i = 0; i < 20; ++i) {
        if (i % 2 == 0)
            ASSERT_EQ(-1, OpenRefusedWindow()) << "window " << i;
        else
            ASSERT_TRUE(OpenAndCloseWindow()) << "window " << i;
    }

    // Each window's two threads end shortly after it closes.
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= baseThreads; }, 10000))
        << CountProcessThreads() << " threads, " << baseThreads << " before";
    EXPECT_TRUE(WaitUntil([&] { return ProcessHandleCount() <= baseHandles; }, 5000))
        << ProcessHandleCount() << " handles, " << baseHandles << " before";
    EXPECT_EQ(0, FakeBrowserLiveObjects());
}

TEST(BrowserWindowResources, ClosingALingeringWindowEndsItsThreadsAtOnce) {
    ASSERT_TRUE(OpenAndCloseWindow());
    ASSERT_TRUE(WaitUntil([] { return CountProcessThreads() > 0; }, 1000));
    const int threads = CountProcessThreads();

    // The page outcome comes after a second (the time-out); the window would
    // then linger for a minute.
    FakeBrowserSetScript("never");
    theAddress = UniqueAddress("lingering").c_str();
    ASSERT_EQ(1, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 1, 60, nullptr, nullptr,
                               nullptr, 1, WS_OVERLAPPEDWINDOW, nullptr));
    HWND window = FindProcessWindow(CaptionToken(theAddress.str()));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(CloseAndWait(window));

    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= threads; }, 5000))
        << CountProcessThreads() << " threads, " << threads << " before";
}
