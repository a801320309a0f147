// The show-address launcher and the window's placement, results and size,
// with the scripted WebBrowser control in the window.
#include "BrowserTestSupport.h"
#include "FakeBrowserApi.h"
#include "IENavigator.h"
#include "ShowURLWindow.h"
#include "WindowStorage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The window writes back through these until it is gone: process-wide, as
// the callers of the launcher keep them.
CString theAddress;
int theWidth = 0;
int theHeight = 0;

const DWORD kStyle = WS_OVERLAPPEDWINDOW;

RECT RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

int ShowWithoutWait(const std::string& address, HWND* parent = nullptr) {
    theAddress = address.c_str();
    theWidth = 1000;
    theHeight = 700;
    return ShowURLWindow(&theAddress, nullptr, &theWidth, &theHeight, 60, 60, nullptr, nullptr,
                         nullptr, 0, kStyle, parent);
}

DWORD MillisecondsSince(DWORD start) {
    return GetTickCount() - start;
}

// A waiting ShowURLWindow on a thread with a window of its own, as the
// sample calls ContactSupport from its dialog; the page never completes, so
// it runs out after a few seconds.
struct WaitingCallOnWindowThread {
    explicit WaitingCallOnWindowThread(const std::string& address) {
        theAddress = address.c_str();
        thread = std::thread([this] {
            PlacingWindow placing(10, 20, 300, 200);
            window = placing.Handle();
            result = ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 3, 1, nullptr, nullptr,
                                   nullptr, 1, kStyle, nullptr);
            returned = true;
            MSG posted = {};
            postedStillQueued = PeekMessageA(&posted, window, WM_APP, WM_APP, PM_REMOVE);
        });
    }
    ~WaitingCallOnWindowThread() {
        if (thread.joinable())
            thread.join();
    }

    std::atomic<HWND> window{nullptr};
    std::atomic<bool> returned{false};
    int result = -2;
    bool postedStillQueued = false;
    std::thread thread;
};

// Holds the UI thread of the next window when the navigation start reaches
// it: a message hook that the scripted control's creation installs on the
// thread creating it.
const DWORD kHoldMs = 8000;

LRESULT CALLBACK HoldNavigationStart(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == kStartNavigationMessage)
        Sleep(kHoldMs);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook goes with the thread it watches.
void __stdcall HookCreatingThread() {
    SetWindowsHookExA(WH_CALLWNDPROC, HoldNavigationStart, nullptr, GetCurrentThreadId());
}

} // namespace

TEST(BrowserWindowPlacement, WithoutPlacingWindowOpensAt500And300) {
    FakeBrowserSetScript("never");
    const std::string address = UniqueAddress("placement");
    // A thread without windows of its own, so nothing places the window.
    int result = -2;
    std::thread caller([&] { result = ShowWithoutWait(address); });
    caller.join();
    EXPECT_EQ(0, result);

    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    const RECT rect = RectOf(window);
    EXPECT_EQ(500, rect.left);
    EXPECT_EQ(300, rect.top);
    EXPECT_EQ(1500, rect.right);
    EXPECT_EQ(1000, rect.bottom);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(BrowserWindowPlacement, GivenPlacingWindowPlacesIt50PixelsRightAndDown) {
    FakeBrowserSetScript("never");
    PlacingWindow placing(10, 20, 300, 200);
    ASSERT_NE(nullptr, placing.Handle());
    const std::string address = UniqueAddress("placed");
    HWND parent = placing.Handle();
    EXPECT_EQ(0, ShowWithoutWait(address, &parent));
    EXPECT_EQ(placing.Handle(), parent);

    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    const RECT rect = RectOf(window);
    EXPECT_EQ(60, rect.left);
    EXPECT_EQ(70, rect.top);
    EXPECT_EQ(1060, rect.right);
    EXPECT_EQ(770, rect.bottom);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(BrowserWindowPlacement, ParentValueHoldingZeroReceivesCallingThreadsFirstWindow) {
    FakeBrowserSetScript("never");
    const std::string address = UniqueAddress("firstwindow");
    HWND placingHandle = nullptr;
    HWND parent = nullptr;
    std::thread caller([&] {
        PlacingWindow placing(10, 20, 300, 200);
        placingHandle = placing.Handle();
        ShowWithoutWait(address, &parent);
        // The browser window reads the placing window's corner on its own
        // thread: keep it until the browser window is there.
        WaitForProcessWindow(CaptionToken(address));
    });
    caller.join();
    ASSERT_NE(nullptr, placingHandle);
    EXPECT_EQ(placingHandle, parent);

    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    const RECT rect = RectOf(window);
    EXPECT_EQ(60, rect.left);
    EXPECT_EQ(70, rect.top);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(ShowURLWindowWithoutWait, ReturnsZeroAtOnceForAnAddressThatCannotLoad) {
    FakeBrowserSetScript("");
    const std::string address = UniqueAddress("cannotload");
    const DWORD start = GetTickCount();
    EXPECT_EQ(0, ShowWithoutWait(address));
    EXPECT_LT(MillisecondsSince(start), 2000u);

    HWND window = WaitForProcessWindow(CaptionToken(address));
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(ShowURLWindowWithWait, TimeOutReturnsOneAndWindowClosesAfterCloseDelay) {
    FakeBrowserSetScript("never");
    theAddress = UniqueAddress("timeout").c_str();
    const std::string token = CaptionToken(theAddress.str());
    const DWORD start = GetTickCount();
    const int result = ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 5, 2, nullptr, nullptr,
                                     nullptr, 1, kStyle, nullptr);
    const DWORD waited = MillisecondsSince(start);
    EXPECT_EQ(1, result);
    EXPECT_GE(waited, 4900u);
    EXPECT_LT(waited, 9000u);

    // Lingering for its close delay, then gone.
    HWND window = FindProcessWindow(token);
    ASSERT_NE(nullptr, window);
    const DWORD returned = GetTickCount();
    EXPECT_TRUE(WaitForWindowGone(window, 5000));
    const DWORD lingered = MillisecondsSince(returned);
    EXPECT_GE(lingered, 1500u);
    EXPECT_LT(lingered, 6000u);
}

TEST(ShowURLWindowWithWait, UserCloseWhileWaitingReturnsMinusOneAndWritesSizeBack) {
    FakeBrowserSetScript("never");
    theAddress = UniqueAddress("userclose").c_str();
    theWidth = 700;
    theHeight = 500;
    const std::string token = CaptionToken(theAddress.str());
    std::thread user([&] {
        HWND window = WaitForProcessWindow(token);
        if (!window)
            return;
        SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        // Sent from another thread while the navigation thread waits.
        SendMessageA(window, WM_CLOSE, 0, 0);
    });
    const DWORD start = GetTickCount();
    const int result = ShowURLWindow(&theAddress, nullptr, &theWidth, &theHeight, 60, 60, nullptr,
                                     nullptr, nullptr, 1, kStyle, nullptr);
    user.join();
    EXPECT_EQ(-1, result);
    EXPECT_LT(MillisecondsSince(start), 10000u);
    EXPECT_EQ(640, theWidth);
    EXPECT_EQ(480, theHeight);
    EXPECT_TRUE(FakeLogHas("Stop"));
    EXPECT_TRUE(FakeLogHas("Quit"));
}

TEST(ShowURLWindowWithWait, NavigationThatFailsToStartReturnsMinusOneAndClosesAtOnce) {
    FakeBrowserSetScript("refuse");
    theAddress = UniqueAddress("refused").c_str();
    const std::string token = CaptionToken(theAddress.str());
    HWND seen = nullptr;
    std::thread watcher([&] { seen = WaitForProcessWindow(token, 10000); });
    const DWORD start = GetTickCount();
    const int result = ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 30, nullptr,
                                     nullptr, nullptr, 1, kStyle, nullptr);
    EXPECT_EQ(-1, result);
    EXPECT_LT(MillisecondsSince(start), 5000u);
    watcher.join();
    ASSERT_NE(nullptr, seen);
    // No close delay (30 s here) after a navigation that never started.
    EXPECT_TRUE(WaitForWindowGone(seen, 5000));
}

TEST(ShowURLWindowWithWait, HeldUIThreadReleasesTheCallerWithinTheNavigationStartLimit) {
    FakeBrowserSetScript("never");
    FakeBrowserSetCreateCallback(HookCreatingThread);
    theNavigationStartLimitMs = 1000;
    theAddress = UniqueAddress("heldstart").c_str();
    const DWORD start = GetTickCount();
    const int result = ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr,
                                     nullptr, nullptr, 1, kStyle, nullptr);
    const DWORD waited = MillisecondsSince(start);
    FakeBrowserSetCreateCallback(nullptr);
    EXPECT_EQ(-1, result);
    // The limit and the window's creation, well before the hold ends.
    EXPECT_LT(waited, kHoldMs / 2);
    // Once the hold ends the window closes: the start failed.
    HWND window = FindBrowserWindow();
    EXPECT_TRUE(window == nullptr || WaitForWindowGone(window, kHoldMs + 5000));
}

TEST(ShowURLWindowWithWait, WaitingCallServesMessagesSentToItsThread) {
    FakeBrowserSetScript("never");
    const std::string address = UniqueAddress("servessent");
    WaitingCallOnWindowThread call(address);
    ASSERT_NE(nullptr, WaitForProcessWindow(CaptionToken(address)));
    DWORD_PTR answer = 0;
    const LRESULT served =
        SendMessageTimeoutA(call.window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer);
    EXPECT_FALSE(call.returned);
    EXPECT_NE(0, served);
    call.thread.join();
    EXPECT_EQ(1, call.result);
}

TEST(ShowURLWindowWithWait, WaitingCallTakesNoPostedMessage) {
    FakeBrowserSetScript("never");
    const std::string address = UniqueAddress("takesnothing");
    WaitingCallOnWindowThread call(address);
    ASSERT_NE(nullptr, WaitForProcessWindow(CaptionToken(address)));
    // As a click would be queued for the caller's window meanwhile.
    ASSERT_TRUE(PostMessageA(call.window, WM_APP, 0, 0));
    call.thread.join();
    EXPECT_EQ(1, call.result);
    EXPECT_TRUE(call.postedStillQueued);
}

TEST(ShowURLWindowSize, SecondRequestWithoutSizeOpensAtSizeFirstEndedWith) {
    FakeBrowserSetScript("never");
    ASSERT_EQ(1000, theDefaultWindowSize.width);
    ASSERT_EQ(700, theDefaultWindowSize.height);

    theAddress = UniqueAddress("firstsize").c_str();
    ASSERT_EQ(0, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                               nullptr, 0, kStyle, nullptr));
    HWND first = WaitForProcessWindow(CaptionToken(theAddress.str()));
    ASSERT_NE(nullptr, first);
    SetWindowPos(first, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(CloseAndWait(first));
    EXPECT_EQ(800, theDefaultWindowSize.width);
    EXPECT_EQ(600, theDefaultWindowSize.height);

    static CString secondAddress;
    secondAddress = UniqueAddress("secondsize").c_str();
    ASSERT_EQ(0, ShowURLWindow(&secondAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                               nullptr, 0, kStyle, nullptr));
    HWND second = WaitForProcessWindow(CaptionToken(secondAddress.str()));
    ASSERT_NE(nullptr, second);
    const RECT rect = RectOf(second);
    EXPECT_EQ(800, rect.right - rect.left);
    EXPECT_EQ(600, rect.bottom - rect.top);
    EXPECT_TRUE(CloseAndWait(second));
}

TEST(ShowURLWindowSize, TopLevelLoadWritesTheSizeIntoTheSharedDefaultWhileTheWindowIsOpen) {
    // Slow enough to resize the window before its page completes.
    FakeBrowserSetScript("delay 3000");
    TempPage page("<html><body>sized</body></html>");
    theAddress = page.Address().c_str();
    static int loads = 1000;
    ASSERT_EQ(0, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                               &loads, 0, kStyle, nullptr));
    HWND window = WaitForProcessWindow(CaptionToken(page.Address()));
    ASSERT_NE(nullptr, window);
    SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([] { return loads == 1; }, 10000));

    const WindowSize shared = ReadSharedWindowSize(theDefaultWindowSize);
    EXPECT_EQ(800, shared.width);
    EXPECT_EQ(600, shared.height);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(ShowURLWindowWithWait, WindowThatCannotBeCreatedReturnsMinusOneWithoutWaitingForIt) {
    FakeBrowserSetScript("never");
    theAddress = UniqueAddress("nostyle").c_str();
    const DWORD start = GetTickCount();
    // Style 0 leaves the class's own style, a child window, which cannot be
    // a top-level window.
    const int result = ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr,
                                     nullptr, nullptr, 1, 0, nullptr);
    EXPECT_EQ(-1, result);
    // Well before the 10-second readiness limit.
    EXPECT_LT(MillisecondsSince(start), 8000u);
    EXPECT_EQ(nullptr, FindProcessWindow(CaptionToken(theAddress.str())));
}

TEST(ShowURLWindowWithWait, CloseAsTheNavigationStartsReturnsMinusOneAndEndsItsThreads) {
    // The first window takes what the platform keeps for the process.
    FakeBrowserSetScript("refuse");
    theAddress = UniqueAddress("warmup").c_str();
    ASSERT_EQ(-1, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                                nullptr, 1, kStyle, nullptr));
    const int threads = CountProcessThreads();
    ASSERT_TRUE(WaitUntil([&] { return CountProcessThreads() < threads; }, 5000));
    const int baseThreads = CountProcessThreads();

    // Closed before the navigation thread can begin to wait for the page.
    FakeBrowserSetScript("close");
    theAddress = UniqueAddress("closedatonce").c_str();
    const DWORD start = GetTickCount();
    EXPECT_EQ(-1, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                                nullptr, 1, kStyle, nullptr));
    EXPECT_LT(MillisecondsSince(start), 5000u);
    // Neither thread waits out the 60-second time-out for a window that is
    // gone.
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= baseThreads; }, 5000))
        << CountProcessThreads() << " threads, " << baseThreads << " before";
}
