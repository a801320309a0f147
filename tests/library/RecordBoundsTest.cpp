// The record exchange's bounds against replies that never end, end slowly or
// are far too long, with the bounds shortened for the test.
#include "HttpFetch.h"
#include "LibraryLock.h"
#include "ProductRecord.h"
#include "WhatIs.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <future>
#include <string>

namespace {

// Wine's WinINet honours no receive time-out, so there the exchange's own
// limit is what ends a stalled reply.
const DWORD kReceiveMs = 1000;
const DWORD kExchangeMs = 4000;
// Wine's own start-up of a request and a loaded machine.
const ULONGLONG kMarginMs = 2000;

struct CTimedRefresh {
    int status;
    ULONGLONG refreshMs;
    ULONGLONG whatIsMs;
};

class RecordExchangeBounds : public testing::Test {
protected:
    void SetUp() override {
        SetFetchTimeouts({kReceiveMs, kReceiveMs, kReceiveMs});
        SetRecordExchangeLimit(kExchangeMs);
    }
    void TearDown() override {
        SetFetchTimeouts(kFetchTimeouts);
        SetRecordExchangeLimit(kRecordExchangeLimitMs);
    }

    // Refreshes the record of software on another thread, holding the library
    // lock as a library call does, while this thread asks a WhatIs.
    static CTimedRefresh RefreshBesideWhatIs(const char* software) {
        std::promise<void> holding;
        std::future<void> held = holding.get_future();
        std::future<std::pair<int, ULONGLONG>> refresh =
            std::async(std::launch::async, [&holding, software] {
                CLibraryLock hold;
                holding.set_value();
                const ULONGLONG start = GetTickCount64();
                LoadContext("BRC Test Co", software, "1.0");
                RefreshProductRecord();
                return std::make_pair(theLastStatus, GetTickCount64() - start);
            });
        held.wait();
        const ULONGLONG start = GetTickCount64();
        WhatIs("BRC Test Co", "", "companyname");
        const ULONGLONG whatIsMs = GetTickCount64() - start;
        const std::pair<int, ULONGLONG> result = refresh.get();
        return {result.first, result.second, whatIsMs};
    }
};

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? counters.PeakWorkingSetSize
               : 0;
}

} // namespace

// A stalled reply, one slow to start and one fed a byte at a time.
class SlowRecordReply : public RecordExchangeBounds,
                        public testing::WithParamInterface<const char*> {};

TEST_P(SlowRecordReply, EndsWithinTheLimitAndSoDoesAWaitingWhatIs) {
    const CTimedRefresh timed = RefreshBesideWhatIs(GetParam());
    EXPECT_EQ(-ERROR_INTERNET_TIMEOUT, timed.status);
    EXPECT_LT(timed.refreshMs, kExchangeMs + kMarginMs);
    EXPECT_LT(timed.whatIsMs, kExchangeMs + kMarginMs);
}

INSTANTIATE_TEST_SUITE_P(RecordExchangeBounds, SlowRecordReply,
                         testing::Values("Stalled Reply", "Very Slow Reply", "Drip Fed"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

TEST_F(RecordExchangeBounds, PageThatIsNoRecordIsRefusedWithoutWaitingForItsEnd) {
    const CTimedRefresh timed = RefreshBesideWhatIs("Stalled Page");
    EXPECT_EQ(kRecordStatusUnreadable, timed.status);
    EXPECT_LT(timed.refreshMs, kMarginMs);
}

TEST_F(RecordExchangeBounds, HugeReplyIsRefusedAfterTheFirstMebibyteWithoutReadingItAll) {
    const SIZE_T peakBefore = PeakWorkingSet();
    ASSERT_NE(0u, peakBefore);
    LoadContext("BRC Test Co", "Huge Reply", "1.0");
    RefreshProductRecord();
    EXPECT_EQ(kRecordStatusUnreadable, theLastStatus);
    // The 300 MB reply read whole would take hundreds of megabytes.
    EXPECT_LT(PeakWorkingSet() - peakBefore, 32u << 20);
}
