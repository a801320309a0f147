// CheckUpdate in this process: the pieces of the check, the icon of its
// boxes (an icon handle can only be compared within one process), and the
// results of checks in a row.
#include "CheckScenario.h"
#include "CheckUpdate.h"
#include "LibraryLock.h"
#include "ProductContext.h"
#include "ProductRecord.h"
#include "SafeFileName.h"
#include "UpdateCheck.h"
#include "UpdateThread.h"
#include "WhatIs.h"

#include <chrono>
#include <future>

namespace {

const char kCompany[] = "Check Flow Co";

std::vector<std::string> Split(const char* text, const char* delimiter) {
    std::vector<std::string> pieces;
    for (const CString& piece : SplitString(text, delimiter))
        pieces.push_back(piece.str());
    return pieces;
}

// Runs CheckUpdate on a thread of its own, so that the test can answer the
// boxes it shows, or find one that should not be there.
class CheckOnThread {
public:
    CheckOnThread(const char* company, const char* software, const char* version,
                  const char* options)
        : m_result(std::async(std::launch::async, [=] {
              return std::string(CheckUpdate(company, software, version, options));
          })) {}

    bool Running() const {
        return m_result.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    }
    HWND WaitForBox(const char* caption) const {
        return WaitForBoxOf(GetCurrentProcessId(), caption, [this] { return Running(); });
    }
    // The result once the check has ended; a box shown meanwhile fails the
    // test and is closed.
    std::string Result() {
        if (HWND box = WaitForBox(nullptr)) {
            ADD_FAILURE() << "unexpected box: " << BoxText(box);
            PressButton(box, HasButton(box, IDOK) ? IDOK : IDNO);
        }
        return m_result.get();
    }

private:
    std::future<std::string> m_result;
};

HICON BoxIcon(HWND box) {
    HICON icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    return icon;
}

} // namespace

TEST(SplitString, CutsAtEveryDelimiterKeepingEmptyPieces) {
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), Split("a//b", "/"));
    EXPECT_EQ((std::vector<std::string>{"http:", "", "host", "setup.exe"}),
              Split("http://host/setup.exe", "/"));
}

TEST(SplitString, TextEndingInTheDelimiterEndsWithAnEmptyPiece) {
    EXPECT_EQ((std::vector<std::string>{"a", "b", ""}), Split("a/b/", "/"));
}

TEST(SplitString, TextWithoutTheDelimiterIsOnePiece) {
    EXPECT_EQ(std::vector<std::string>{"setup.exe"}, Split("setup.exe", "/"));
    EXPECT_EQ(std::vector<std::string>{""}, Split("", "/"));
}

TEST(SplitString, EmptyDelimiterGivesTheWholeText) {
    EXPECT_EQ(std::vector<std::string>{"a/b"}, Split("a/b", ""));
}

TEST(SplitString, DelimiterMayBeLongerThanOneCharacter) {
    EXPECT_EQ((std::vector<std::string>{"one", "two", "", "x:"}), Split("one::two::::x:", "::"));
}

TEST(UpdateFileName, IsTheLastPartOfTheAddressWithItsQuery) {
    EXPECT_STREQ("setup.exe?x=1", UpdateFileName("http://host/files/setup.exe?x=1"));
    EXPECT_STREQ("", UpdateFileName("http://host/files/"));
}

TEST(IsSafeUpdateFileName, OrdinaryNamesAreKept) {
    for (const char* name : {"setup.exe", "setup.exe?x=1", "app.exe.", " app.exe", "console.exe",
                             "nullable.txt", "COM10.exe", "LPT.exe", "a.b.c", "update.bat.exe",
                             "noupdate.txt.exe", "xnodownload.txt", "setup.part.exe", "part"})
        EXPECT_TRUE(IsSafeUpdateFileName(name)) << name;
}

TEST(IsSafeUpdateFileName, UpdateFoldersOwnFilesAreRefusedInAnyLetterCase) {
    for (const char* name :
         {"nodownload.txt", "NoDownload.TXT", "noupdate.txt", "NOUPDATE.TXT", "update.bat",
          "Update.Bat", " update.bat. ", "setup.exe.part", "app.PART", ".part", "setup.part.."})
        EXPECT_FALSE(IsSafeUpdateFileName(name)) << name;
}

TEST(CheckUpdate, QuestionBoxShowsTheQuestionIcon) {
    CheckOnThread check(kCompany, "Later", "2.1", "a");
    HWND box = check.WaitForBox("Update?");
    ASSERT_TRUE(box);
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), BoxIcon(box));
    PressButton(box, IDNO);
    EXPECT_EQ("2.0", check.Result());
}

TEST(CheckUpdate, NotListedBoxShowsTheQuestionIcon) {
    CheckOnThread check("Unlisted In Process Co", "Nowhere", "1.0", "");
    HWND box = check.WaitForBox("Contact Unlisted In Process Co");
    ASSERT_TRUE(box);
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), BoxIcon(box));
    PressButton(box, IDOK);
    EXPECT_EQ("1.0", check.Result());
}

TEST(CheckUpdate, VersionsDifferingInLetterCaseAreDifferent) {
    EXPECT_EQ("1.0A", CheckOnThread(kCompany, "Case", "1.0a", "").Result());
}

TEST(CheckUpdate, EmptyVersionOfAnUnlistedProductReturnsTheRememberedOneQuietly) {
    EXPECT_EQ("1.0A", CheckOnThread(kCompany, "Case", "1.0A", "").Result());
    EXPECT_EQ("1.0A", CheckOnThread("Unlisted In Process Co", "Nowhere", "", "").Result());
}

TEST(CheckUpdate, SecondCallForAnotherProductReturnsItsOwnResult) {
    EXPECT_EQ("1.0A", CheckOnThread(kCompany, "Case", "1.0", "").Result());
    EXPECT_EQ("7.0", CheckOnThread(kCompany, "Other", "1.0", "").Result());
}

TEST(CheckUpdate, QuestionNamesTheCallsOwnSoftwareNameEvenWhenEmpty) {
    EXPECT_EQ("2.0", CheckOnThread(kCompany, "Later", "2.0", "").Result());
    CheckOnThread check("", "", "2.1", "a");
    HWND box = check.WaitForBox("Update?");
    ASSERT_TRUE(box);
    EXPECT_EQ("A newer version of  is available.\nDo you want to download the update?",
              BoxText(box));
    PressButton(box, IDNO);
    EXPECT_EQ("2.0", check.Result());
}

TEST(CheckUpdate, ResultStaysAsReturnedWhenTheRememberedVersionChanges) {
    const char* result = CheckUpdate(kCompany, "Same Version", "2.0", "");
    LoadContext("", "", "3.0");
    EXPECT_STREQ("2.0", result);
}

TEST(CheckUpdate, DownloadIsTheAskedProductsThoughTheRecordChangedWhileTheQuestionWasUp) {
    const std::string first = "/download/check-copy-first/missing-first.exe";
    const std::string second = "/download/check-copy-second/missing-second.exe";
    ResetCountsAtService(first);
    ResetCountsAtService(second);
    CheckOnThread check(kCompany, "Copy First", "1.0", "aN");
    HWND box = check.WaitForBox("Update?");
    ASSERT_TRUE(box);
    {
        // Another library call, as the caller's window or another thread
        // could make while the box is up.
        CLibraryLock hold;
        LoadContext(kCompany, "Copy Second", "1.0");
        RefreshProductRecord();
        EXPECT_STREQ("3.0", theFacts["l_latest"]);
    }
    PressButton(box, IDYES);
    EXPECT_EQ("2.0", check.Result());
    ASSERT_TRUE(WaitForUpdateThreads(30000));
    // The failed download left the update folder beside this program empty.
    RemoveDirectoryA(ToolPath("update").c_str());
    EXPECT_EQ(1, CountsAtService(first).requests);
    EXPECT_EQ(0, CountsAtService(second).requests);
}

TEST(CheckUpdate, WhatIsOnAnotherThreadCompletesWhileTheQuestionIsUp) {
    CheckOnThread check(kCompany, "Later", "2.1", "a");
    HWND box = check.WaitForBox("Update?");
    ASSERT_TRUE(box);
    std::future<std::string> answer = std::async(std::launch::async, [] {
        CLibraryLock hold;
        return std::string(WhatIs("Question Lock Co", "", "companyname"));
    });
    const std::future_status status = answer.wait_for(std::chrono::seconds(10));
    PressButton(box, IDNO);
    EXPECT_EQ(std::future_status::ready, status);
    EXPECT_EQ("Question Lock Co", answer.get());
    EXPECT_EQ("2.0", check.Result());
}
