#include "HostWindowStub.h"
#include "Stopwatch.h"
#include "MessageDispatcher.h"
#include "ThreadStart.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

CPluginString Text(const std::wstring& units) {
    return CPluginString(units.c_str(), static_cast<int>(units.size()));
}

void Queue(CMessageDispatcher& dispatcher, HWND window, const std::wstring& key) {
    SendAsyncMessage(dispatcher, window, Text(key), Text(L"v"), nullptr);
}

std::vector<std::wstring> KeysOf(const CHostWindowStub& host) {
    std::vector<std::wstring> keys;
    for (const auto& message : host.Messages())
        keys.push_back(ParseMessage(message.text).key);
    return keys;
}

HANDLE WINAPI NeverCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                DWORD, LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool SentMessageWaiting() {
    return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
}

std::unique_ptr<CCopyDataMessage> RecordFor(HWND window, const std::wstring& key) {
    std::unique_ptr<CCopyDataMessage> record(new CCopyDataMessage);
    record->window = window;
    record->text = Text(ExpectedMessage(key, L"v"));
    return record;
}

// A large block's own pages go back to the system when it is freed.
bool GivenBack(const void* block) {
    MEMORY_BASIC_INFORMATION info = {};
    return !VirtualQuery(block, &info, sizeof info) || info.State != MEM_COMMIT;
}

} // namespace

TEST(ResultList, CountsAndHandsOutWholeRecordsOldestFirst) {
    CResultList list(0);
    for (const wchar_t* text : {L"a", L"b", L"c"}) {
        std::unique_ptr<CCopyDataMessage> record(new CCopyDataMessage);
        record->text = CPluginString(text);
        list.Add(std::move(record));
    }
    EXPECT_EQ(3, list.LockedGetCount());
    EXPECT_EQ(0, list.TakeFirst()->text.Compare(L"a"));
    EXPECT_EQ(2, list.LockedGetCount());
}

TEST(ResultList, DestructionSendsTheRecordsLeftInOrder) {
    CHostWindowStub host;
    {
        CResultList list(0);
        for (const wchar_t* key : {L"first", L"second"})
            list.Add(RecordFor(host.Window(), key));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"second"}), KeysOf(host));
}

// A window of another thread that runs out of the time costs no more than
// the time: the delivering thread's own window, needing no wait, still gets
// the message queued after it.
TEST(ResultList, DestructionStillSendsToItsOwnThreadsWindowAfterAnotherRanOutOfTime) {
    CHostWindowStub hung(true, 2000), own(false);
    const CStopwatch stopwatch;
    {
        CResultList list(0);
        list.Add(RecordFor(hung.Window(), L"hung"));
        list.Add(RecordFor(own.Window(), L"own"));
        list.SetDeliveryDeadline(GetTickCount64() + 300);
    }
    EXPECT_LT(stopwatch.ElapsedMs(), 300 + 1000);
    EXPECT_EQ((std::vector<std::wstring>{L"own"}), KeysOf(own));
}

// With the time gone a record for another thread's window is never handed
// over, so nothing can be reading it: it is freed, however large, and not
// sent.
TEST(ResultList, DestructionWithNoTimeLeftFreesWhatItCannotSendAndServesItsOwnThread) {
    CHostWindowStub other(true, 0), own(false);
    const void* body = nullptr;
    {
        CResultList list(0);
        std::unique_ptr<CCopyDataMessage> large =
            RecordFor(other.Window(), std::wstring(4 << 20, L'x'));
        body = large->text.GetBSTR();
        list.Add(std::move(large));
        list.Add(RecordFor(own.Window(), L"own"));
        list.SetDeliveryDeadline(1);
    }
    EXPECT_EQ(0u, other.Count());
    EXPECT_TRUE(GivenBack(body));
    EXPECT_EQ((std::vector<std::wstring>{L"own"}), KeysOf(own));
}

TEST(SendAsyncMessage, LengthsCountZeroUnitsInsideKeyAndValue) {
    CHostWindowStub host;
    const std::wstring key(L"k\0ey", 4), value(L"\0", 1);
    {
        CMessageDispatcher dispatcher;
        SendAsyncMessage(dispatcher, host.Window(), Text(key), Text(value), nullptr);
        ASSERT_TRUE(host.WaitForCount(1, 10000));
    }
    EXPECT_EQ(ExpectedMessage(key, value), host.Messages()[0].text);
    EXPECT_EQ(2u * (62 + 4 + 1), host.Messages()[0].cbData);
}

// The first message holds the sender in the slow window while the others
// queue up and the stop comes; with the stop and the queue both signalled
// the sender stops, and the destruction sends the rest in order.
TEST(MessageDispatcher, StopLeavesTheQueueToTheDestructionWhichSendsItInOrder) {
    CHostWindowStub host(true, 300);
    {
        CMessageDispatcher dispatcher;
        Queue(dispatcher, host.Window(), L"1");
        ASSERT_TRUE(WaitUntil([&] { return dispatcher.GetPendingCount() == 0; }, 5000));
        Queue(dispatcher, host.Window(), L"2");
        Queue(dispatcher, host.Window(), L"3");
        dispatcher.StopMessageSender();
        EXPECT_FALSE(dispatcher.IsRunning());
        EXPECT_EQ(1u, host.Count());
        EXPECT_EQ(2, dispatcher.GetPendingCount());
        Queue(dispatcher, host.Window(), L"after stop");
        EXPECT_EQ(2, dispatcher.GetPendingCount());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), KeysOf(host));
}

// The stopping thread answers the message the sender is sending to its own
// window, or the sender could never stop.
TEST(MessageDispatcher, StopsWhileSendingToAWindowOfTheStoppingThread) {
    CHostWindowStub host(false, 100);
    {
        CMessageDispatcher dispatcher;
        for (const wchar_t* key : {L"1", L"2", L"3", L"4"})
            Queue(dispatcher, host.Window(), key);
        ASSERT_TRUE(WaitUntil([&] { return dispatcher.GetPendingCount() < 4; }, 5000));
        dispatcher.StopMessageSender();
    }
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3", L"4"}), KeysOf(host));
}

// The stop runs inside the window procedure's handling of another thread's
// message while the sender's own message still waits in the queue: the
// other thread's answer is the window procedure's, not an early one.
TEST(MessageDispatcher, StopInsideAnotherThreadsMessageLeavesThatMessageItsOwnAnswer) {
    CHostWindowStub host(false, 0);
    CMessageDispatcher dispatcher;
    std::atomic<bool> armed{true}, senderWaited{false}, answered{false};
    host.OnMessage([&](const COPYDATASTRUCT&) {
        if (!armed.exchange(false))
            return;
        Queue(dispatcher, host.Window(), L"1");
        senderWaited = WaitUntil(SentMessageWaiting, 5000);
        dispatcher.StopMessageSender();
    });
    LRESULT answer = -1;
    std::thread other([&] {
        const std::wstring text = ExpectedMessage(L"other", L"v");
        COPYDATASTRUCT data = {0, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                               const_cast<wchar_t*>(text.data())};
        answer = SendMessageW(host.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        answered = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return answered.load(); }, 10000));
    other.join();

    EXPECT_TRUE(senderWaited.load());
    EXPECT_EQ(TRUE, answer);
    EXPECT_EQ((std::vector<std::wstring>{L"other", L"1"}), KeysOf(host));
}

// A dispatcher stopped before its first message ends a sender that never
// ran, right after it was created: under 32-bit Wine an end that reached the
// thread while it was still starting up crashed the process.
TEST(MessageDispatcher, StoppingBeforeTheFirstMessageEndsTheSenderThatNeverRan) {
    const int threads = CountProcessThreads();
    for (int r = 0; r < 100; ++r)
        CMessageDispatcher().StopMessageSender();
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() <= threads; }, 5000))
        << CountProcessThreads() << " threads, " << threads << " before";
}

TEST(MessageDispatcher, WithoutASenderThreadEveryMessageIsDropped) {
    CHostWindowStub host;
    SetCreateThreadFunction(NeverCreateThread);
    const CStopwatch stopwatch;
    std::unique_ptr<CMessageDispatcher> dispatcher(new CMessageDispatcher);
    const long long elapsed = stopwatch.ElapsedMs();
    SetCreateThreadFunction(nullptr);
    EXPECT_GE(elapsed, 100);
    EXPECT_FALSE(dispatcher->IsRunning());
    Queue(*dispatcher, host.Window(), L"dropped");
    EXPECT_EQ(0, dispatcher->GetPendingCount());
    dispatcher.reset();
    EXPECT_EQ(0u, host.Count());
}
