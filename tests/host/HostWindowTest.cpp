// The commands that open windows, through the real DLL, with the scripted
// browser control in place of the real one.
#include "FakeBrowserApi.h"
#include "PluginHost.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const wchar_t kAlias[] = L"brc";

const wchar_t kDll[] = L"BrindlecodeFlash.dll";

bool DllLoaded() {
    return GetModuleHandleW(kDll) != nullptr;
}

class HostWindows : public ::testing::Test {
protected:
    void SetUp() override {
        FakeBrowserSetScript("never");
        ASSERT_TRUE(m_host.Load(PluginPath()));
        ASSERT_EQ(0, m_host.OnLoad(kAlias));
    }
    void TearDown() override {
        if (m_host.Module())
            m_host.OnUnload(kAlias);
    }

    // As the projector lets a plug-in go.
    void LetTheDllGo() {
        m_host.OnUnload(kAlias);
        m_host.Unload();
    }

    // The DLL, let go while the window is open, stays until close() has
    // closed the window, then goes with the window's navigation and UI
    // threads and its own message sender.
    template <class Close> void ExpectDllKeptUntilClosed(HWND window, Close close) {
        const int threadsWhileOpen = CountProcessThreads();
        LetTheDllGo();
        EXPECT_TRUE(DllLoaded()) << "unloaded under the open window";
        EXPECT_TRUE(close(window));
        EXPECT_TRUE(WaitUntil([] { return !DllLoaded(); }, 5000));
        EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= threadsWhileOpen - 3; }, 5000))
            << CountProcessThreads() << " threads, " << threadsWhileOpen << " while open";
    }

    static std::wstring Call(const wchar_t* command, const wchar_t* software, bool withResult) {
        Pairs arguments{{L"company_name", L"Windows Test Co"},
                        {L"software_name", software},
                        {L"current_version", L"2.5"}};
        if (withResult)
            arguments.emplace_back(L"result", L"r");
        return CallText(kAlias, command, L"", arguments);
    }

    CPluginHost m_host;
};

bool CloseAsTheUserWould(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForWindowGone(window, 10000);
}

} // namespace

TEST_F(HostWindows, AboutWithoutAResultArgumentShowsThePageAndSendsNoValue) {
    Items result{L"old"};
    EXPECT_EQ(0, m_host.DispatchSync(Call(L"brcAbout", L"About Listed", false), &result));
    EXPECT_EQ(Items{}, result);
    const HWND window = WaitForProcessWindow("about.htm");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(CloseAsTheUserWould(window));
}

TEST_F(HostWindows, WhatIsCompletesWhileAContactSupportWindowIsOpen) {
    Items contact;
    int contactCode = -100;
    std::thread call([&] {
        contactCode =
            m_host.DispatchSync(Call(L"brcContactSupport", L"Contact Listed", true), &contact);
    });
    const HWND window = WaitForProcessWindow("supportcontact.php", 30000);
    EXPECT_NE(nullptr, window);
    Items answer;
    EXPECT_EQ(0, m_host.DispatchSync(CallText(kAlias, L"brcWhatIs", L"",
                                              {{L"company_name", L"Acme Meanwhile"},
                                               {L"information_query", L"companyname"},
                                               {L"result", L"answer"}}),
                                     &answer));
    EXPECT_EQ((Items{L"answer", L"Acme Meanwhile"}), answer);
    if (window) {
        EXPECT_TRUE(CloseAsTheUserWould(window));
    }
    // The contact call returns once its window has reported the user's close.
    call.join();
    EXPECT_EQ(0, contactCode);
    ASSERT_EQ(2u, contact.size());
    EXPECT_EQ(L"r", contact[0]);
}

// The window's two threads run the DLL's code until they end, well after the
// command has returned.
TEST_F(HostWindows, AnAboutWindowKeepsTheDllUntilItClosesByItself) {
    FakeBrowserSetScript("");
    // Its time-out is 5 s.
    ASSERT_EQ(0, m_host.DispatchSync(Call(L"brcAbout", L"About Five", false)));
    const HWND window = WaitForProcessWindow("about.htm");
    ASSERT_NE(nullptr, window);
    ExpectDllKeptUntilClosed(window, [](HWND open) {
        EXPECT_TRUE(IsWindow(open));
        return WaitForWindowGone(open, 15000);
    });
}

TEST_F(HostWindows, AContactWindowInItsCloseDelayKeepsTheDllUntilTheUserClosesIt) {
    FakeBrowserSetScript("submit message=Please help");
    // Returns once the thank-you page has loaded; the window stays 10 s more.
    ASSERT_EQ(0, m_host.DispatchSync(Call(L"brcContactSupport", L"Contact Listed", false)));
    const HWND window = FindProcessWindow("supportcontact.php");
    ASSERT_NE(nullptr, window);
    ExpectDllKeptUntilClosed(window, CloseAsTheUserWould);
}
