#include "HttpFetch.h"
#include "ServiceAddress.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <string>

namespace {

CString ServiceURL(const char* path) {
    return CString(theDefaultServiceBaseURL) + path;
}

// The bytes the local service generates for download/<n>.bin.
std::string GeneratedBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

// Its single label is longer than a DNS label may be, so the resolver refuses
// it on the spot, without asking a name server.
const char kUnresolvableURL[] =
    "http://no-such-host-xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.invalid/";

} // namespace

TEST(HttpGet, ReadsABodyLongerThanOneChunkWhole) {
    CString body;
    EXPECT_EQ(0, HttpGet(body, ServiceURL("download/25000.bin")));
    ASSERT_EQ(25000, body.GetLength());
    EXPECT_EQ(GeneratedBytes(25000), body.str());
}

TEST(HttpGet, ErrorPageIsABodyWithStatusZero) {
    CString body;
    EXPECT_EQ(0, HttpGet(body, ServiceURL("no-such-page.php")));
    EXPECT_NE(-1, body.Find("404 Not Found"));
}

TEST(HttpGet, UnresolvableHostGivesTheNegatedErrorAndKeepsTheOutput) {
    CString body = "kept";
    EXPECT_EQ(-ERROR_INTERNET_NAME_NOT_RESOLVED, HttpGet(body, kUnresolvableURL));
    EXPECT_STREQ("kept", body);
}

TEST(HttpGet, ClosedPortGivesTheNegatedError) {
    CString body;
    // Port 1 on the loopback: nothing of ours listens there.
    EXPECT_EQ(-ERROR_INTERNET_CANNOT_CONNECT, HttpGet(body, "http://127.0.0.1:1/"));
}

TEST(HttpGet, BodyCutOffMidWayIsAFailureNotAText) {
    CString body = "kept";
    EXPECT_EQ(-ERROR_INTERNET_CONNECTION_RESET, HttpGet(body, ServiceURL("fault/cut/30000")));
    EXPECT_STREQ("kept", body);
}

TEST(HttpGet, WaitsForASlowBody) {
    CString body;
    EXPECT_EQ(0, HttpGet(body, ServiceURL("fault/slow/2")));
    EXPECT_STREQ("slow reply", body);
}

TEST(HttpGetResponse, ReportsTheHttpStatusCode) {
    CString body;
    int code = 0;
    EXPECT_EQ(0, HttpGetResponse(body, ServiceURL("fault/status/500"), &code));
    EXPECT_EQ(500, code);
    EXPECT_EQ(0, HttpGetResponse(body, ServiceURL("download/10.bin"), &code));
    EXPECT_EQ(200, code);
}

TEST(FetchURL, LeavesTheStatusInLastStatus) {
    theLastStatus = 1;
    EXPECT_EQ(GeneratedBytes(10), FetchURL(ServiceURL("download/10.bin")).str());
    EXPECT_EQ(0, theLastStatus);
    EXPECT_STREQ("", FetchURL(kUnresolvableURL));
    EXPECT_EQ(-ERROR_INTERNET_NAME_NOT_RESOLVED, theLastStatus);
}

TEST(brcGetURL, BodyWithAZeroByteKeepsItsFullLength) {
    int length = -1;
    const char* text = brcGetURL(ServiceURL("fault/zero"), &length);
    EXPECT_EQ(5, length);
    EXPECT_STREQ("ab", text);
    EXPECT_EQ(std::string("ab\0cd", 5), std::string(text, 5));
}

TEST(brcGetURL, UnresolvableHostGivesEmptyTextAndLengthZero) {
    int length = -1;
    EXPECT_STREQ("", brcGetURL(kUnresolvableURL, &length));
    EXPECT_EQ(0, length);
    EXPECT_EQ(-ERROR_INTERNET_NAME_NOT_RESOLVED, theLastStatus);
}

TEST(brcGetURL, NullLengthPointerStillReturnsTheText) {
    const char* text = brcGetURL(ServiceURL("download/25000.bin"), nullptr);
    EXPECT_EQ(GeneratedBytes(250), std::string(text, 250));
    EXPECT_EQ(0, theLastStatus);
}

TEST(brcGetURL, EachCallReturnsItsOwnAddressesText) {
    int length = 0;
    brcGetURL(ServiceURL("download/25000.bin"), &length);
    EXPECT_EQ(25000, length);
    const char* text = brcGetURL(ServiceURL("fault/status/404"), &length);
    EXPECT_EQ(static_cast<int>(strlen(text)), length);
    EXPECT_NE(nullptr, strstr(text, "Status 404"));
}

TEST(LocalService, ContactFormCarriesTheSoftwareId) {
    const CString page = FetchURL(ServiceURL("supportcontact.php?p_softwareid=1001"));
    EXPECT_NE(-1, page.Find("<form method=\"post\" action=\"supportcontact.php\">"));
    EXPECT_NE(-1, page.Find("name=\"p_softwareid\" value=\"1001\""));
}

TEST(LocalService, SentFormThanksWithTheServicesHostName) {
    const CString page = FetchURL(ServiceURL("supportcontact.php?p_softwareid=1001&message=Hello"));
    EXPECT_NE(-1, page.Find(CString("Thank you for using ") + theServiceHostName));
}
