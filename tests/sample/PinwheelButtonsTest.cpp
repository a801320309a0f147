// The buttons of Pinwheel: what each one shows in the result box.
#include "PinwheelDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char kFirstText[] = "Click button to test";

std::string ServiceAddress(const std::string& path) {
    const char* port = std::getenv("BRC_SERVICE_PORT");
    return std::string("http://127.0.0.1:") + (port ? port : "0") + "/" + path;
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ::GetComputerNameA(name, &size);
    return name;
}

std::string UserName() {
    char name[256] = {};
    DWORD size = sizeof(name);
    ::GetUserNameA(name, &size);
    return name;
}

std::string WhatIsAllText(const std::string& company, const std::string& software) {
    return "What Is All:\r\n"
           "companyname =" +
           company +
           "\r\n"
           "softwarename =" +
           software +
           "\r\n"
           "currentversion =\r\n"
           "latestversion =\r\n"
           "currentuser =" +
           UserName() +
           "\r\n"
           "latestdownload =\r\n"
           "latestdownloadargs =\r\n"
           "computername =" +
           ComputerName() +
           "\r\n"
           "badkey =Error, WhatIs string unrecognized:badkey\r\n"
           "<emptykey> =Error, WhatIs string unrecognized:";
}

class PinwheelButtons : public testing::Test {
protected:
    void SetUp() override { DeleteSampleKey(); }
    void TearDown() override { DeleteSampleKey(); }
};

TEST_F(PinwheelButtons, WhatIsWithTheDefaultsShowsTheCompany) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    ASSERT_TRUE(pinwheel.Click(kWhatIs));
    EXPECT_EQ("WhatIs(Me Inc,Merry Marmots,companyname) returns\r\n string: 'Me Inc'",
              pinwheel.Text(kResult));
}

TEST_F(PinwheelButtons, WhatIsAllEndsWithTheEmptyKeysAnswerWithoutALineBreak) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    ASSERT_TRUE(pinwheel.Click(kWhatIsAll));
    EXPECT_EQ(WhatIsAllText("Me Inc", "Merry Marmots"), pinwheel.Text(kResult));
}

TEST_F(PinwheelButtons, WhatIsAllAfterTypingANewCompanyListsThePreviousOneAndStoresNothing) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.Type(kCompany, "Other Inc");
    ASSERT_TRUE(pinwheel.Click(kWhatIsAll));
    EXPECT_EQ(WhatIsAllText("Me Inc", "Merry Marmots"), pinwheel.Text(kResult));
    EXPECT_EQ("Me Inc", StoredText("cn"));
}

TEST_F(PinwheelButtons, ChangingOnlyTheLetterCaseOfTheCompanyStoresItAgain) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.Type(kCompany, "ME INC");
    pinwheel.Type(kVersion, "9.9");
    ASSERT_TRUE(pinwheel.Click(kWhatIs));
    EXPECT_EQ("ME INC", StoredText("cn"));
    EXPECT_EQ("Merry Marmots", StoredText("sn"));
}

TEST_F(PinwheelButtons, GetURLOfAnAddressThatCannotBeReachedShowsNothingAfterTheLabel) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.Type(kURL, "http://127.0.0.1:1/nothing");
    ASSERT_TRUE(pinwheel.Click(kGetURL));
    EXPECT_EQ("brcGetURL returns :\r\n", pinwheel.Text(kResult));
}

TEST_F(PinwheelButtons, DisplayURLShowsStatusZero) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    const std::string address = ServiceAddress("customerinfo.php");
    pinwheel.Type(kURL, address);
    ASSERT_TRUE(pinwheel.Click(kDisplayURL));
    EXPECT_EQ("DislayURL(" + address + ") returns\r\n status: 0 (0 means S_OK)",
              pinwheel.Text(kResult));
}

TEST_F(PinwheelButtons, CheckUpdateAsksAndShowsTheListedLatestVersion) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.ClickLater(kCheckUpdate);
    const HWND question = pinwheel.WaitForWindow("Update?");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("A newer version of Merry Marmots is available.\nDo you want to download the update?",
              MessageBoxText(question));
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    EXPECT_EQ("CheckUpdate(Me Inc,Merry Marmots,1.0,a) returns\r\nLatest Version: <2.0>\r\n"
              "  No Window will show if up to date.",
              pinwheel.WaitForResultOtherThan(kFirstText));
}

TEST_F(PinwheelButtons, AClickWhileTheUpdateQuestionIsUpStartsNoSecondCall) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.ClickLater(kCheckUpdate);
    const HWND question = pinwheel.WaitForWindow("Update?");
    ASSERT_NE(nullptr, question);
    pinwheel.Type(kCompany, "Second Call Inc");
    ASSERT_TRUE(pinwheel.Click(kWhatIs));
    // Neither the click's result nor its take-over of the edit boxes.
    EXPECT_EQ(kFirstText, pinwheel.Text(kResult));
    EXPECT_EQ("Me Inc", StoredText("cn"));
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    EXPECT_EQ("CheckUpdate(Me Inc,Merry Marmots,1.0,a) returns\r\nLatest Version: <2.0>\r\n"
              "  No Window will show if up to date.",
              pinwheel.WaitForResultOtherThan(kFirstText));
    // The buttons work again once the call has returned.
    ASSERT_TRUE(pinwheel.Click(kWhatIs));
    EXPECT_EQ("WhatIs(Second Call Inc,Merry Marmots,companyname) returns\r\n"
              " string: 'Second Call Inc'",
              pinwheel.Text(kResult));
}

TEST_F(PinwheelButtons, ContactSupportShowsTheReturnedIntOnceTheFormIsSent) {
    CPinwheel pinwheel("submit message=Sent from Pinwheel");
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.ClickLater(kContactSupport);
    const HWND contact = pinwheel.WaitForWindow("supportcontact.php");
    ASSERT_NE(nullptr, contact);
    // Placed by the dialog it was opened from.
    RECT dialogRect = {}, contactRect = {};
    ::GetWindowRect(pinwheel.Dialog(), &dialogRect);
    ::GetWindowRect(contact, &contactRect);
    EXPECT_EQ(dialogRect.left + 50, contactRect.left);
    EXPECT_EQ(dialogRect.top + 50, contactRect.top);

    EXPECT_EQ("ContactSupport(Me Inc,Merry Marmots,1.0) returns\r\n7",
              pinwheel.WaitForResultOtherThan(kFirstText, 40000));
    // Neither the dialog's thread nor the window's is held.
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(
        ::SendMessageTimeoutA(pinwheel.Dialog(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
    EXPECT_TRUE(::SendMessageTimeoutA(contact, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
}

// Company names are arguments of the result texts, never part of a format.
struct PercentCase {
    const char* name;
    int button;
    std::string result;
};

void PrintTo(const PercentCase& c, std::ostream* out) {
    *out << c.name;
}

class PinwheelPercentCompany : public testing::TestWithParam<PercentCase> {
protected:
    void SetUp() override { DeleteSampleKey(); }
    void TearDown() override { DeleteSampleKey(); }
};

const char kPercentCompany[] = "50% %s Co";

TEST_P(PinwheelPercentCompany, IsPrintedAsTyped) {
    const PercentCase& c = GetParam();
    CPinwheel pinwheel("submit message=Percent");
    ASSERT_NE(nullptr, pinwheel.Dialog());
    pinwheel.Type(kCompany, kPercentCompany);
    // What Is * uses the company as last taken over.
    ASSERT_TRUE(pinwheel.Click(kWhatIs));
    pinwheel.ClickLater(c.button);
    if (c.button == kCheckUpdate) {
        // The product is not listed: the library says so first.
        const HWND notListed = pinwheel.WaitForWindow(std::string("Contact ") + kPercentCompany);
        ASSERT_NE(nullptr, notListed);
        AnswerMessageBox(notListed, IDOK);
    }
    const std::string before = "WhatIs(50% %s Co,Merry Marmots,companyname) returns\r\n"
                               " string: '50% %s Co'";
    if (c.button == kWhatIs)
        EXPECT_EQ(c.result, pinwheel.Text(kResult));
    else
        EXPECT_EQ(c.result, pinwheel.WaitForResultOtherThan(before, 40000));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PinwheelPercentCompany,
    testing::Values(
        PercentCase{"WhatIs", kWhatIs,
                    "WhatIs(50% %s Co,Merry Marmots,companyname) returns\r\n"
                    " string: '50% %s Co'"},
        PercentCase{"WhatIsAll", kWhatIsAll, WhatIsAllText(kPercentCompany, "Merry Marmots")},
        PercentCase{"About", kAbout, "About(50% %s Co,Merry Marmots,1.0) returns\r\n0"},
        PercentCase{"ContactSupport", kContactSupport,
                    "ContactSupport(50% %s Co,Merry Marmots,1.0) returns\r\n0"},
        PercentCase{"CheckUpdate", kCheckUpdate,
                    "CheckUpdate(50% %s Co,Merry Marmots,1.0,a) returns\r\nLatest Version: "
                    "<1.0>\r\n  No Window will show if up to date."}),
    [](const testing::TestParamInfo<PercentCase>& info) { return std::string(info.param.name); });

} // namespace
