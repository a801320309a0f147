// The library lock on its own: re-entrant holds, and letting go for a wait.
#include "LibraryLock.h"
#include "WhatIs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Takes the lock on another thread and lets it go at once.
std::future<void> TakeOnAnotherThread() {
    return std::async(std::launch::async, [] { CLibraryLock hold; });
}

bool Done(std::future<void>& taken, std::chrono::milliseconds within) {
    return taken.wait_for(within) == std::future_status::ready;
}

} // namespace

TEST(LibraryLock, OtherThreadsWaitUntilTheLastLevelIsLetGo) {
    std::future<void> taken;
    {
        CLibraryLock outer;
        {
            CLibraryLock inner;
            EXPECT_EQ(2, LibraryLockDepth());
            taken = TakeOnAnotherThread();
        }
        EXPECT_EQ(1, LibraryLockDepth());
        EXPECT_FALSE(Done(taken, 200ms));
    }
    EXPECT_EQ(0, LibraryLockDepth());
    EXPECT_TRUE(Done(taken, 10s));
}

TEST(LibraryLock, LettingGoForAWaitFreesEveryLevelAndTakesThemBack) {
    std::future<void> blocked;
    {
        CLibraryLock outer;
        CLibraryLock inner;
        {
            CLibraryUnlockForWait wait;
            EXPECT_EQ(0, LibraryLockDepth());
            std::future<void> taken = TakeOnAnotherThread();
            EXPECT_TRUE(Done(taken, 10s));
            // A second library call of this thread inside the wait.
            CLibraryLock nested;
            EXPECT_EQ(1, LibraryLockDepth());
        }
        EXPECT_EQ(2, LibraryLockDepth());
        blocked = TakeOnAnotherThread();
        EXPECT_FALSE(Done(blocked, 200ms));
    }
    EXPECT_TRUE(Done(blocked, 10s));
}

TEST(LibraryLock, LettingGoWithoutHoldingChangesNothing) {
    {
        CLibraryUnlockForWait wait;
        EXPECT_EQ(0, LibraryLockDepth());
    }
    EXPECT_EQ(0, LibraryLockDepth());
}

TEST(LibraryLock, OverlappingWhatIsCallsEachGetTheirOwnCompanysAnswer) {
    std::vector<std::future<int>> threads;
    for (int thread = 0; thread < 8; ++thread) {
        threads.push_back(std::async(std::launch::async, [thread] {
            const std::string company = "Lock Test Company " + std::to_string(thread);
            int wrong = 0;
            for (int call = 0; call < 200; ++call) {
                std::string answer;
                {
                    // As a plug-in command: the call and the copy in one hold.
                    CLibraryLock hold;
                    answer = WhatIs(company.c_str(), "", "companyname");
                }
                wrong += answer != company;
            }
            return wrong;
        }));
    }
    for (std::future<int>& thread : threads)
        EXPECT_EQ(0, thread.get());
}
