// The browser window's caption through its life, its editing keys through
// its own message loop, and its icon, with the scripted control in it.
#include "BrowserTestSupport.h"
#include "FakeBrowserApi.h"
#include "ProductContext.h"
#include "ShowURLWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

CString theAddress;
int theNavigationLimit = 0;

// Every caption a window of the UI thread is given, in order: a message hook
// that the scripted control's creation installs on the thread creating it,
// before the window has any caption of its own.
std::mutex theCaptionsLock;
std::vector<std::pair<HWND, std::string>> theCaptions;

LRESULT CALLBACK RecordCaption(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SETTEXT && sent->lParam) {
        std::lock_guard<std::mutex> hold(theCaptionsLock);
        theCaptions.emplace_back(sent->hwnd, reinterpret_cast<const char*>(sent->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook goes with the thread it watches.
void __stdcall HookCreatingThread() {
    SetWindowsHookExA(WH_CALLWNDPROC, RecordCaption, nullptr, GetCurrentThreadId());
}

std::vector<std::string> CaptionsOf(HWND window) {
    std::lock_guard<std::mutex> hold(theCaptionsLock);
    std::vector<std::string> captions;
    for (const auto& caption : theCaptions)
        if (caption.first == window)
            captions.push_back(caption.second);
    return captions;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

HWND OpenWindow(const std::string& address) {
    theAddress = address.c_str();
    if (ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 60, 60, nullptr, nullptr, nullptr, 0,
                      WS_OVERLAPPEDWINDOW, nullptr) != 0)
        return nullptr;
    return WaitForProcessWindow(CaptionToken(address));
}

// The log lines of key commands and of characters that reached the page.
std::vector<std::string> KeyLog() {
    std::istringstream log(FakeLog());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("ExecWB", 0) == 0 || line.rfind("TranslateAccelerator", 0) == 0 ||
            line.rfind("ViewChar", 0) == 0)
            lines.push_back(line);
    return lines;
}

bool IconExists(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    // GetIconInfo hands out copies of the icon's bitmaps.
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// Every window writes "brc.ico" into the current directory, and browser
// tests run in parallel processes: a directory of its own keeps another
// process's writing from meeting this test's loading.
class OwnCurrentDirectory {
public:
    OwnCurrentDirectory() {
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        m_previous = previous;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_directory = std::string(temp) + "brcicon-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_directory.c_str(), nullptr);
        SetCurrentDirectoryA(m_directory.c_str());
    }
    OwnCurrentDirectory(const OwnCurrentDirectory&) = delete;
    OwnCurrentDirectory& operator=(const OwnCurrentDirectory&) = delete;
    ~OwnCurrentDirectory() {
        SetCurrentDirectoryA(m_previous.c_str());
        DeleteFileA((m_directory + "\\brc.ico").c_str());
        RemoveDirectoryA(m_directory.c_str());
    }

private:
    std::string m_previous;
    std::string m_directory;
};

class BrowserWindowLooks : public testing::Test {
protected:
    void TearDown() override {
        FakeBrowserSetCreateCallback(nullptr);
        EXPECT_TRUE(CloseBrowserWindows());
    }
};

} // namespace

TEST_F(BrowserWindowLooks, CaptionShowsTheSiteThenTheRequestedThenEachLoadedAddress) {
    TempPage next("<html><body><p>next</p></body></html>");
    FakeBrowserSetScript(("delay 300; follow " + next.Address()).c_str());
    FakeBrowserSetCreateCallback(HookCreatingThread);
    theAddress = theServiceBaseURL + "customerinfo.php?y=1";
    theNavigationLimit = 1;
    // Ends a second after the second page has loaded.
    ASSERT_EQ(0, ShowURLWindow(&theAddress, nullptr, nullptr, nullptr, 30, 60, nullptr, nullptr,
                               &theNavigationLimit, 1, WS_OVERLAPPEDWINDOW, nullptr));
    HWND window = FindBrowserWindow();
    ASSERT_NE(nullptr, window);
    const std::string served = Lower(theServiceBaseURL.str().substr(7) + "customerinfo.php");
    const std::vector<std::string> expected = {"BrindleCode.com/", served, served,
                                               "/" + CaptionToken(next.Address())};
    EXPECT_EQ(expected, CaptionsOf(window));
}

TEST_F(BrowserWindowLooks, EditingKeysReachTheControlAndAreStillDispatched) {
    FakeBrowserSetScript("never");
    HWND window = OpenWindow(UniqueAddress("keys"));
    ASSERT_NE(nullptr, window);
    HWND page = FindChildOfClass(window, "BrcFakeBrowserView");
    ASSERT_NE(nullptr, page);
    // Ctrl+C, Ctrl+P, Ctrl+S, Ctrl+B, posted as the keyboard would: through
    // the window thread's own message loop.
    for (WPARAM character : {3, 16, 19, 2})
        PostMessageA(page, WM_CHAR, character, 0);
    EXPECT_TRUE(WaitUntil([] { return FakeLogHas("ViewChar 2"); }, 5000));
    const std::vector<std::string> expected = {"ExecWB 12 2",
                                               "ViewChar 3",
                                               "ExecWB 7 2",
                                               "ViewChar 16",
                                               "ExecWB 4 2",
                                               "ViewChar 19",
                                               "TranslateAccelerator 258 2",
                                               "ViewChar 2"};
    EXPECT_EQ(expected, KeyLog());
}

TEST_F(BrowserWindowLooks, WindowHasItsIconUntilItIsGone) {
    OwnCurrentDirectory directory;
    FakeBrowserSetScript("never");
    HWND window = OpenWindow(UniqueAddress("icon"));
    ASSERT_NE(nullptr, window);
    const auto big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(nullptr, big);
    EXPECT_EQ(big, small);
    EXPECT_TRUE(IconExists(big));
    ASSERT_TRUE(CloseAndWait(window));
    // Destroyed by the window's thread once the window is gone.
    EXPECT_TRUE(WaitUntil([&] { return !IconExists(big); }, 3000));
}
