// Every public library function keeps its exceptions to itself and answers
// as it does for its own failures. The exception is provoked the way it
// comes in practice: an allocation that fails. This program's own operator
// new fails, on the calling thread only, while a FailingAllocations lives.
#include "ProductContext.h"
#include "SupportLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {

thread_local bool theAllocationsFail = false;

class FailingAllocations {
public:
    FailingAllocations() { theAllocationsFail = true; }
    ~FailingAllocations() { theAllocationsFail = false; }
};

} // namespace

void* operator new(std::size_t size) {
    if (theAllocationsFail)
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

TEST(NoThrowBoundary, WhatIsGivesEmptyText) {
    const char* answer = nullptr;
    {
        FailingAllocations failing;
        answer = WhatIs("Boundary Test Company", "Boundary Test Software", "companyname");
    }
    ASSERT_NE(nullptr, answer);
    EXPECT_STREQ("", answer);
}

TEST(NoThrowBoundary, CheckUpdateGivesTheRememberedVersion) {
    LoadContext("Boundary Test Company", "Boundary Test Software", "1.5");
    const char* result = nullptr;
    {
        FailingAllocations failing;
        result = CheckUpdate("", "", "", "");
    }
    EXPECT_STREQ("1.5", result);
}

TEST(NoThrowBoundary, ContactSupportGivesZeroAndTheWindowsErrorInTheLastStatus) {
    theLastStatus = 0;
    int result = -2;
    {
        FailingAllocations failing;
        result = ContactSupport("Boundary Test Company", "Boundary Test Software", "1.5");
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ(-1, theLastStatus);
}

TEST(NoThrowBoundary, DisplayURLGivesTheWindowsError) {
    int result = -2;
    {
        FailingAllocations failing;
        result = DisplayURL("about:blank", nullptr, nullptr, 1);
    }
    EXPECT_EQ(-1, result);
}
