// The contact-support window: the local web service's contact form, sent by
// the scripted control, and the caller blocked until the outcome is known.
#include "BrowserTestSupport.h"
#include "ContactWindow.h"
#include "FakeBrowserApi.h"
#include "LibraryLock.h"
#include "PageValues.h"
#include "ProductContext.h"
#include "ProductRecord.h"
#include "ServiceAddress.h"
#include "WhatIs.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

const char kCompany[] = "Windows Test Co";
const char kSoftware[] = "Contact Listed";
const char kPageCaption[] = "supportcontact.php";

} // namespace

TEST(ContactWindow, ReturnsWhenTheThankYouPageHasLoadedWithZeroInTheLastStatus) {
    FakeBrowserSetScript("submit message=Please help");
    ContactCall call(kCompany, kSoftware, "1.0");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(call.WaitDone(30000)) << "still waiting; the control's log:\n" << FakeLog();
    const std::string thanks = ContactAddress("C-77") + "&email=&message=Please+help";
    // The thank-you page had loaded when the call returned.
    EXPECT_TRUE(FakeLogHas("DocumentComplete " + thanks));
    EXPECT_TRUE(FakeLogHas("Navigate " + ContactAddress("C-77")));
    EXPECT_EQ(77, call.Result());
    EXPECT_EQ(0, call.LastStatus());
    // It stays for its close delay.
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(UserClose(window));
}

TEST(ContactWindow, HandsItsWindowValuesToTheWindow) {
    FakeBrowserSetScript("never");
    LaunchRecorder recorder;
    {
        ContactCall call(kCompany, kSoftware, "1.0");
        HWND window = WaitForProcessWindow(kPageCaption);
        ASSERT_NE(nullptr, window);
        EXPECT_FALSE(call.WaitDone(0));
        EXPECT_TRUE(UserClose(window));
    }
    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(1u, requests.size());
    const LaunchedRequest& request = requests[0];
    EXPECT_EQ(ContactAddress("C-77"), request.address);
    EXPECT_EQ(800, request.width);
    EXPECT_EQ(565, request.height);
    EXPECT_EQ(1000, request.timeoutSeconds);
    EXPECT_EQ(10, request.closeDelaySeconds);
    EXPECT_EQ(std::string("Thank you for using ") + theServiceHostName, request.watchText);
    EXPECT_EQ(2, request.watchMode);
    EXPECT_NE(nullptr, request.watchModeOut);
    EXPECT_FALSE(request.pageTextOut);
    EXPECT_FALSE(request.navigationLimitOut);
    EXPECT_EQ(1, request.wait);
    EXPECT_EQ(0xCF0000u, request.style);
}

TEST(ContactWindow, UsersCloseGivesMinusOneInTheLastStatus) {
    FakeBrowserSetScript("never");
    ContactCall call(kCompany, kSoftware, "1.0");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(UserClose(window));
    ASSERT_TRUE(call.WaitDone(10000));
    EXPECT_EQ(77, call.Result());
    EXPECT_EQ(-1, call.LastStatus());
}

TEST(ContactWindow, UsersCloseAsTheFormStartsLoadingGivesMinusOneAtOnce) {
    // The close may land before the window's wait for the page has begun.
    FakeBrowserSetScript("close");
    ContactCall call(kCompany, kSoftware, "1.0");
    ASSERT_TRUE(call.WaitDone(15000)) << "the close went unnoticed; the control's log:\n"
                                      << FakeLog();
    EXPECT_TRUE(FakeLogHas("Quit"));
    EXPECT_EQ(77, call.Result());
    EXPECT_EQ(-1, call.LastStatus());
}

// The About page is built from theLastStatus; About itself asks the service
// first, which sets it afresh.
TEST(ContactWindow, AfterTheUsersCloseAPageBuiltBeforeTheNextExchangeHasNoUpToDateLine) {
    FakeBrowserSetScript("never");
    {
        ContactCall call(kCompany, kSoftware, "1.0");
        HWND window = WaitForProcessWindow(kPageCaption);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(UserClose(window));
        ASSERT_TRUE(call.WaitDone(10000));
    }
    ASSERT_EQ(-1, theLastStatus);
    ParamMap values = BuildPageValues(theFacts, theUserValues, theLastStatus);
    // The record lists 1.0 as the latest version: "Version is up to date."
    // were it not for the window's result.
    EXPECT_EQ("1.0", values["l_latest"].str());
    EXPECT_EQ("", values["uptodate"].str());
}

TEST(ContactWindow, WithoutABaseAddressStartsFromTheDefaultOne) {
    FakeBrowserSetScript("never");
    theServiceBaseURL = "";
    LaunchRecorder recorder;
    {
        ContactCall call(kCompany, kSoftware, "1.0");
        HWND window = WaitForProcessWindow(kPageCaption);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(UserClose(window));
        ASSERT_TRUE(call.WaitDone(10000));
    }
    EXPECT_EQ(theDefaultServiceBaseURL, theServiceBaseURL.str());
    const std::vector<LaunchedRequest> requests = recorder.Requests();
    ASSERT_EQ(1u, requests.size());
    // The service could not be asked without an address: the record holds
    // no software id, and its pair stays empty.
    EXPECT_EQ(std::string(theDefaultServiceBaseURL) + "supportcontact.php?p_softwareid=",
              requests[0].address);
}

TEST(ContactWindow, WhatIsOnAnotherThreadCompletesWhileTheWindowIsOpen) {
    FakeBrowserSetScript("never");
    ContactCall call(kCompany, kSoftware, "1.0");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    std::future<std::string> answer = std::async(std::launch::async, [] {
        CLibraryLock hold;
        return std::string(WhatIs("Contact Lock Co", "", "companyname"));
    });
    const std::future_status status = answer.wait_for(std::chrono::seconds(10));
    EXPECT_TRUE(UserClose(window));
    EXPECT_EQ(std::future_status::ready, status);
    EXPECT_EQ("Contact Lock Co", answer.get());
    EXPECT_TRUE(call.WaitDone(10000));
}

TEST(ContactWindow, ResultIsTheRecordsAsItStoodWhenTheWindowOpened) {
    FakeBrowserSetScript("never");
    ContactCall call(kCompany, kSoftware, "1.0");
    HWND window = WaitForProcessWindow(kPageCaption);
    ASSERT_NE(nullptr, window);
    {
        // Another product's record, loaded while the window is open.
        CLibraryLock hold;
        LoadContext(kCompany, "About Listed", "1.0");
        RefreshProductRecord();
        EXPECT_EQ(42, ServiceResultValue());
    }
    EXPECT_TRUE(UserClose(window));
    ASSERT_TRUE(call.WaitDone(10000));
    EXPECT_EQ(77, call.Result());
}
