// The real DLL under load: a host window that answers slowly, a host window
// that changes while values are on their way, unloading with calls running.
#include "HostFixture.h"
#include "HostWindowStub.h"
#include "WindowSearch.h"

#include <string>

namespace {

class HostUnderLoad : public Host {
protected:
    int Number(const wchar_t* property) const {
        int status = -1;
        m_host.Get(property, &status);
        return status;
    }

    void SetWindow(const CHostWindowStub* window) const {
        m_host.Set(L"Plugin_Window", std::to_wstring(window ? window->HandleValue() : 0));
    }

    // Call n of a test; once its worker is gone, its value and its code are
    // queued, so the calls reach the queue in the order they were made.
    bool DispatchAndWaitForWorker(int n) const {
        const std::wstring suffix = std::to_wstring(n);
        if (m_host.Dispatch(WhatIs(L"Acme " + suffix, L"id" + suffix, L"var" + suffix)) != 0)
            return false;
        return WaitUntil([&] { return Number(L"Plugin_Commands_Pending") == 0; }, 10000);
    }

    // Loads the DLL when it is not loaded, starts 50 calls and lets the DLL
    // go at once; the calls still running at that moment, by the DLL's count.
    int UnloadWithFiftyCallsInFlight(const CHostWindowStub& window) {
        if (!m_host.Module()) {
            EXPECT_TRUE(m_host.Load(PluginPath()));
            EXPECT_EQ(0, m_host.OnLoad(kAlias));
        }
        SetWindow(&window);
        for (int n = 0; n < 50; ++n)
            m_host.Dispatch(WhatIs(L"Acme " + std::to_wstring(n), L"id" + std::to_wstring(n)));
        const int inFlight = Number(L"Plugin_Commands_Pending");
        m_host.Unload();
        return inFlight;
    }
};

// Every message of calls first..last, value before code, in call order.
void ExpectCallsInOrder(const std::vector<CReceivedMessage>& messages, size_t at, int first,
                        int last) {
    for (int n = first; n <= last; ++n, at += 2) {
        ASSERT_LT(at + 1, messages.size());
        const std::wstring suffix = std::to_wstring(n);
        EXPECT_EQ((CKeyValue{L"var" + suffix, L"Acme " + suffix}), ParseMessage(messages[at].text));
        EXPECT_EQ((CKeyValue{L"id" + suffix, L"0"}), ParseMessage(messages[at + 1].text));
    }
}

const DWORD kSlowAnswerMs = 50;

} // namespace

TEST_F(HostUnderLoad, ASlowWindowGetsEveryValueInOrderAndThePendingCountIsTheBacklog) {
    const int calls = 15;
    CHostWindowStub window(true, kSlowAnswerMs);
    SetWindow(&window);
    for (int n = 0; n < calls; ++n)
        ASSERT_TRUE(DispatchAndWaitForWorker(n)) << n;

    // Every message is now received, queued, or the one the window is
    // answering.
    const int pending = Number(L"Plugin_Messages_Pending");
    const int received = static_cast<int>(window.Count());
    EXPECT_GT(pending, 0);
    EXPECT_GE(pending + received, 2 * calls - 1);
    EXPECT_LE(pending + received, 2 * calls);

    ASSERT_TRUE(window.WaitForCount(2 * calls, 30000));
    EXPECT_TRUE(WaitUntil([&] { return Number(L"Plugin_Messages_Pending") == 0; }, 5000));
    const auto messages = window.Messages();
    EXPECT_EQ(static_cast<size_t>(2 * calls), messages.size());
    ExpectCallsInOrder(messages, 0, 0, calls - 1);
    SetWindow(nullptr);
}

TEST_F(HostUnderLoad, EachValueGoesToTheWindowSetWhenItWasDelivered) {
    CHostWindowStub first(true, kSlowAnswerMs), second;
    SetWindow(&first);
    for (int n = 0; n < 5; ++n)
        ASSERT_TRUE(DispatchAndWaitForWorker(n)) << n;
    // The first window's values are still queued when the window changes.
    EXPECT_GT(Number(L"Plugin_Messages_Pending"), 0);
    SetWindow(&second);
    for (int n = 5; n < 10; ++n)
        ASSERT_TRUE(DispatchAndWaitForWorker(n)) << n;
    SetWindow(&first);
    for (int n = 10; n < 15; ++n)
        ASSERT_TRUE(DispatchAndWaitForWorker(n)) << n;

    ASSERT_TRUE(first.WaitForCount(20, 30000));
    ASSERT_TRUE(second.WaitForCount(10, 30000));
    EXPECT_TRUE(WaitUntil([&] { return Number(L"Plugin_Messages_Pending") == 0; }, 5000));
    const auto toFirst = first.Messages();
    const auto toSecond = second.Messages();
    EXPECT_EQ(20u, toFirst.size());
    EXPECT_EQ(10u, toSecond.size());
    ExpectCallsInOrder(toFirst, 0, 0, 4);
    ExpectCallsInOrder(toFirst, 10, 10, 14);
    ExpectCallsInOrder(toSecond, 0, 5, 9);
    SetWindow(nullptr);
}

TEST_F(HostUnderLoad, UnloadingWithFiftyCallsInFlightTwentyTimesLeavesNoThreadOrHandleBehind) {
    CHostWindowStub window;
    // With the DLL loaded: its sender thread is counted too.
    const int threads = CountProcessThreads();
    // Calls let go run to their end and unload the DLL with the last of them.
    auto settled = [&] {
        return WaitUntil([&] { return CountProcessThreads() < threads; }, 20000);
    };
    // The first round lets Wine set up what it keeps for the process.
    EXPECT_GT(UnloadWithFiftyCallsInFlight(window), 0) << "no call running";
    ASSERT_TRUE(settled());
    const DWORD handles = ProcessHandleCount();
    ASSERT_GT(handles, 0u);
    for (int r = 0; r < 20; ++r) {
        EXPECT_GT(UnloadWithFiftyCallsInFlight(window), 0) << "round " << r << ": no call running";
        ASSERT_TRUE(settled()) << "round " << r << ": " << CountProcessThreads() << " threads, "
                               << threads << " with the DLL loaded";
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"BrindlecodeFlash.dll"));
    EXPECT_LE(ProcessHandleCount(), handles) << handles << " handles after the first round";
}

// A sender thread resumed while the load holds the loader's lock would not
// yet run when the unload stops it, and would start in the unloaded module.
TEST_F(HostUnderLoad, UnloadingRightAfterTheLoadLeavesNoThreadToRunInIt) {
    for (int r = 0; r < 20; ++r) {
        m_host.Unload();
        ASSERT_TRUE(m_host.Load(PluginPath())) << r;
    }
}
