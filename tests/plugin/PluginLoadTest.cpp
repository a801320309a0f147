#include "CallDriver.h"
#include "HostWindow.h"
#include "HostWindowStub.h"
#include "MessageDispatcher.h"
#include "ModuleLifetime.h"
#include "RunningThreads.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace {

const int kThreads = 8;
const int kCallsPerThread = 500;

// Posts its "payload" argument and returns its "code" argument.
int PostPayload(void*, CPluginCall* call) {
    call->SetResultString(L"result", call->GetArgument(L"payload"));
    return _wtoi(call->GetArgument(L"code"));
}

void StartCalls(int thread, std::atomic<int>* started) {
    for (int i = 0; i < kCallsPerThread; ++i) {
        const std::wstring n = std::to_wstring(thread) + L"-" + std::to_wstring(i);
        if (StartAsyncCall(PostPayload, L"call" + n,
                           {{L"result", L"var" + n},
                            {L"payload", L"payload" + n},
                            {L"code", std::to_wstring(thread * kCallsPerThread + i)}}))
            ++*started;
    }
}

} // namespace

TEST(PluginLoad, EveryValueAndCodeArrivesOnceValuesFirstAndTheCountsReturnToZero) {
    CHostWindowStub host;
    SetHostWindow(host.HandleValue());
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(StartCalls, t, &started);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(kThreads * kCallsPerThread, started.load());

    const size_t expected = 2 * kThreads * kCallsPerThread;
    EXPECT_TRUE(host.WaitForCount(expected, 60000));
    EXPECT_TRUE(WaitUntil([] { return TheRunningThreads().GetCount() == 0; }, 10000));
    EXPECT_EQ(0, TheMessageDispatcher().GetPendingCount());
    SetHostWindow(0);

    std::map<std::wstring, size_t> position;
    std::map<std::wstring, std::wstring> value;
    const auto messages = host.Messages();
    ASSERT_EQ(expected, messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        const CKeyValue pair = ParseMessage(messages[i].text);
        EXPECT_TRUE(position.emplace(pair.key, i).second) << "a key arrived twice";
        value[pair.key] = pair.value;
    }
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kCallsPerThread; ++i) {
            const std::wstring n = std::to_wstring(t) + L"-" + std::to_wstring(i);
            ASSERT_EQ(1u, position.count(L"var" + n));
            ASSERT_EQ(1u, position.count(L"call" + n));
            EXPECT_EQ(L"payload" + n, value[L"var" + n]);
            EXPECT_EQ(std::to_wstring(t * kCallsPerThread + i), value[L"call" + n]);
            EXPECT_LT(position[L"var" + n], position[L"call" + n]);
        }
    }
}
