// The browser window's control: created and sited by the control host, in
// place in the window's client area, and given back when the window goes.
#include "AxHost.h"
#include "BrowserTestSupport.h"
#include "ComPtr.h"
#include "FakeBrowserApi.h"
#include "ShowURLWindow.h"

#include <gtest/gtest.h>

#include <exdisp.h>

namespace {

CString theAddress;

HWND OpenWindow(const char* stem) {
    theAddress = UniqueAddress(stem).c_str();
    if (ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr, nullptr, 0,
                      WS_OVERLAPPEDWINDOW, nullptr) != 0)
        return nullptr;
    return WaitForProcessWindow(CaptionToken(theAddress.str()));
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool ChildFillsClientArea(HWND parent, HWND child) {
    RECT client = {};
    GetClientRect(parent, &client);
    return SameRect(client, ChildRect(child));
}

} // namespace

TEST(ControlHost, RegisteringTwiceIsHarmlessAndHostCreatesTheNamedControl) {
    FakeBrowserSetScript("");
    ASSERT_TRUE(AtlAxWinInit());
    ASSERT_TRUE(AtlAxWinInit());
    HWND host = CreateWindowExA(0, "AtlAxWin90", "{8856F961-340A-11D0-A96B-00C04FD705A2}",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host);
    {
        CComPtr<IUnknown> control;
        ASSERT_EQ(S_OK, AtlAxGetControl(host, control.ReleaseAndGetAddressOf()));
        CComPtr<IWebBrowser2> browser;
        EXPECT_EQ(S_OK, control.QueryInterface(browser.ReleaseAndGetAddressOf()));
        EXPECT_TRUE(FakeLogHas("CreateInstance scripted"));
        EXPECT_TRUE(FakeLogHas("SetClientSite"));
    }
    EXPECT_EQ(1, FakeBrowserLiveObjects());
    DestroyWindow(host);
    // The host gives the control back when its window goes.
    EXPECT_TRUE(FakeLogHas("SetClientSite null"));
    EXPECT_EQ(0, FakeBrowserLiveObjects());
}

TEST(ControlHost, UnknownControlLeavesAnEmptyHostWindow) {
    ASSERT_TRUE(AtlAxWinInit());
    HWND host = CreateWindowExA(0, "AtlAxWin90", "{00000000-1111-2222-3333-444444444444}",
                                WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, host);
    CComPtr<IUnknown> control;
    EXPECT_EQ(E_FAIL, AtlAxGetControl(host, control.ReleaseAndGetAddressOf()));
    EXPECT_EQ(nullptr, control.p);
    DestroyWindow(host);
}

TEST(BrowserWindow, ControlIsSilentInPlaceAndFillsTheClientArea) {
    FakeBrowserSetScript("never");
    HWND window = OpenWindow("inplace");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(FakeLogHas("put_Silent -1"));
    EXPECT_TRUE(FakeLogHas("DoVerb -5"));
    HWND view = FindChildOfClass(window, "BrcFakeBrowserView");
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(ChildFillsClientArea(window, view));
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(BrowserWindow, ControlFollowsTheWindowsResizing) {
    FakeBrowserSetScript("never");
    HWND window = OpenWindow("resize");
    ASSERT_NE(nullptr, window);
    HWND view = FindChildOfClass(window, "BrcFakeBrowserView");
    ASSERT_NE(nullptr, view);
    SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return ChildFillsClientArea(window, view); }, 2000));
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_LT(client.right, 640);
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(BrowserWindow, ClosingGivesEveryControlObjectBack) {
    FakeBrowserSetScript("");
    TempPage page("<html><body><p>loaded</p></body></html>");
    theAddress = page.Address().c_str();
    ASSERT_EQ(0, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                               nullptr, 0, WS_OVERLAPPEDWINDOW, nullptr));
    HWND window = WaitForProcessWindow(CaptionToken(page.Address()));
    ASSERT_NE(nullptr, window);
    // Loaded: the control now holds a document and its page.
    ASSERT_TRUE(
        WaitUntil([] { return FakeLog().find("DocumentComplete") != std::string::npos; }, 5000));
    EXPECT_GE(FakeBrowserLiveObjects(), 2);
    ASSERT_TRUE(CloseAndWait(window));
    EXPECT_TRUE(WaitUntil([] { return FakeBrowserLiveObjects() == 0; }, 2000));
    EXPECT_TRUE(FakeLogHas("InPlaceDeactivate"));
}

TEST(BrowserWindow, KeyMessagesToTheWindowItselfDoNothing) {
    FakeBrowserSetScript("never");
    HWND window = OpenWindow("altf4");
    ASSERT_NE(nullptr, window);
    // Alt+F4 aimed at the window itself: the default processing would close
    // it.
    const LPARAM altDown = (1 << 29) | 1;
    SendMessageA(window, WM_SYSKEYDOWN, VK_F4, altDown);
    SendMessageA(window, WM_SYSKEYUP, VK_F4, altDown | (1u << 30) | (1u << 31));
    Sleep(500);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(CloseAndWait(window));
}

TEST(BrowserWindow, OpensWithWinesOwnWebBrowserControl) {
    FakeBrowserSetScript("real");
    theAddress = UniqueAddress("realcontrol").c_str();
    const std::string token = CaptionToken(theAddress.str());
    ASSERT_EQ(0, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr,
                               nullptr, 0, WS_OVERLAPPEDWINDOW, nullptr));
    // The caption shows the address once the navigation was started. The
    // first navigation of Wine's control in a new prefix loads its HTML
    // engine, which has taken more than ten seconds.
    HWND window = WaitForProcessWindow(token, 60000);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(FakeLogHas("CreateInstance real"));
    EXPECT_EQ(0, FakeBrowserLiveObjects());
    // Wine's control shows its page area in a "Shell Embedding" child once
    // it is active in place.
    HWND embedding = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (embedding = FindChildOfClass(window, "Shell Embedding")) != nullptr; },
        3000));
    if (embedding) {
        RECT client = {};
        GetClientRect(window, &client);
        const RECT child = ChildRect(embedding);
        EXPECT_TRUE(ChildFillsClientArea(window, embedding))
            << "client " << client.right << "x" << client.bottom << ", control " << child.left
            << "," << child.top << "-" << child.right << "," << child.bottom;
    }
    // A navigation that failed to start would have closed it at once.
    Sleep(1000);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(CloseAndWait(window));
}
