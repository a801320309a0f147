#include "ServiceCounts.h"

#include "HttpFetch.h"
#include "ProductContext.h"

#include <gtest/gtest.h>

#include <cstdio>

ServiceCounts CountsAtService(const std::string& path) {
    ServiceCounts counts;
    CString reply;
    if (HttpGet(reply, theServiceBaseURL + "counts" + path.c_str()) != 0)
        return counts;
    std::sscanf(reply, "requests=%d\nmost-at-once=%d", &counts.requests, &counts.mostAtOnce);
    return counts;
}

void ResetCountsAtService(const std::string& path) {
    CString reply;
    ASSERT_EQ(0, HttpGet(reply, theServiceBaseURL + "counts" + path.c_str() + "?reset"));
}

std::string ServiceAddress(const std::string& path) {
    return theServiceBaseURL.str() + path;
}
