// Time-outs and close delays in seconds as the milliseconds of a wait.
#include <gtest/gtest.h>

#include "WaitTime.h"

TEST(WaitMillisecondsFromSeconds, GivesAThousandMillisecondsASecond) {
    EXPECT_EQ(1000u, WaitMillisecondsFromSeconds(1));
    EXPECT_EQ(100000u, WaitMillisecondsFromSeconds(100));
    EXPECT_EQ(4294967000u, WaitMillisecondsFromSeconds(4294967));
}

// 4294968 s in 32 bits wrapped round to 704 ms.
TEST(WaitMillisecondsFromSeconds, LongerThanAWaitCanBeIsTheLongestFiniteWait) {
    EXPECT_EQ(0xFFFFFFFEu, WaitMillisecondsFromSeconds(4294968));
    EXPECT_EQ(0xFFFFFFFEu, WaitMillisecondsFromSeconds(0x7FFFFFFF));
    EXPECT_EQ(0xFFFFFFFEu, WaitMillisecondsFromSeconds(-1));
}
