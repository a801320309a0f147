// CheckUpdate end to end in the child program: the local web service lists
// the products of tests/service/records/check-*.txt and serves the stand-in
// download program as app.exe and setup.exe.
#include "CheckScenario.h"

namespace {

const char kCompany[] = "Check Flow Co";
const char kArguments[] = "-silent \"two words\" /x=1";
const char kQuestion[] = "Update?";

} // namespace

TEST_F(CheckScenario, NewerVersionIsDownloadedAndStartedWithTheCommandsArguments) {
    RunCheck(kCompany, "Arguments", "1.0", "");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
    const std::vector<Record> starts = ProgramStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(UpdateFolder() + "setup.exe", starts[0].at("program"));
    EXPECT_EQ(kArguments, starts[0].at("arguments"));
    EXPECT_EQ("5", starts[0].at("show"));
    EXPECT_TRUE(ScriptStarts().empty());
}

TEST_F(CheckScenario, ReplaceSwapsTheDownloadInForTheProgramThroughTheScript) {
    RunCheck(kCompany, "Replace", "1.0", "");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    const std::string script = ReadWholeFile(UpdateFolder() + "update.bat");
    EXPECT_EQ(250u, script.size());
    EXPECT_EQ(ExpectedUpdateScript(), script);
    const std::vector<Record> starts = ScriptStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(UpdateFolder() + "update.bat", starts[0].at("script"));
    EXPECT_EQ("\"" + Program() + "\" \"" + UpdateFolder() + "app.exe\"",
              starts[0].at("parameters"));
    EXPECT_EQ("0", starts[0].at("show"));
    EXPECT_EQ("replaced", starts[0].at("outcome"));
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program() + ".save"));
    EXPECT_TRUE(FileHolds(ProgramBytes(), Program()));
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(CheckScenario, QuestionAnsweredNoDownloadsNothingAndReturnsTheLatest) {
    const char kDownload[] = "/download/check-ask-no/setup.exe";
    ResetCountsAtService(kDownload);
    StartCheck(kCompany, "Ask No", "1.0", "a");
    HWND box = WaitForBox(kQuestion);
    ASSERT_TRUE(box);
    EXPECT_EQ("A newer version of Ask No is available.\nDo you want to download the update?",
              BoxText(box));
    EXPECT_TRUE(HasButton(box, IDYES));
    EXPECT_TRUE(HasButton(box, IDNO));
    EXPECT_FALSE(HasButton(box, IDOK));
    EXPECT_FALSE(HasButton(box, IDCANCEL));
    PressButton(box, IDNO);
    FinishCheck();

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_FALSE(PathExists(UpdateFolder()));
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(CheckScenario, QuestionAnsweredYesDownloadsAndStarts) {
    StartCheck(kCompany, "Ask Yes", "1.0", "A");
    HWND box = WaitForBox(kQuestion);
    ASSERT_TRUE(box);
    PressButton(box, IDYES);
    FinishCheck();

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
    const std::vector<Record> starts = ProgramStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(kArguments, starts[0].at("arguments"));
}

TEST_F(CheckScenario, AskAndDownloadOnlyAnsweredYesDownloadsWithoutReplacing) {
    StartCheck(kCompany, "Ask Download Only", "1.0", "aN");
    HWND box = WaitForBox(kQuestion);
    ASSERT_TRUE(box);
    PressButton(box, IDYES);
    FinishCheck();

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "app.exe"));
    EXPECT_FALSE(PathExists(UpdateFolder() + "update.bat"));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
}

TEST_F(CheckScenario, DownloadOnlyDownloadsWithoutAskingOrReplacing) {
    RunCheck(kCompany, "Download Only", "1.0", "n");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "app.exe"));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
}

TEST_F(CheckScenario, DownloadStopMarkerStopsTheCheckedDownload) {
    const char kDownload[] = "/download/check-no-download/app.exe";
    ResetCountsAtService(kDownload);
    PlaceInUpdateFolder("nodownload.txt", "");
    RunCheck(kCompany, "No Download", "1.0", "");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_EQ(std::vector<std::string>{"nodownload.txt"}, FolderEntries(UpdateFolder()));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
}

TEST_F(CheckScenario, RunStopMarkerDownloadsTheCheckedFileButStartsNothing) {
    PlaceInUpdateFolder("noupdate.txt", "");
    RunCheck(kCompany, "No Update", "1.0", "");

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(CheckScenario, NotListedProductShowsTheContactBoxAndReturnsTheVersion) {
    StartCheck("Unlisted Check Co", "Nowhere Listed", "1.5", "");
    HWND box = WaitForBox("Contact Unlisted Check Co");
    ASSERT_TRUE(box);
    const std::string host = ServiceHost();
    EXPECT_EQ("'Unlisted Check Co' has not listed their software 'Nowhere Listed' with " + host +
                  ". \nPlease contact Unlisted Check Co customer support. \n"
                  "Listing software products is a free service of " +
                  host + ". ",
              BoxText(box));
    EXPECT_TRUE(HasButton(box, IDOK));
    EXPECT_FALSE(HasButton(box, IDYES));
    PressButton(box, IDOK);
    FinishCheck();

    EXPECT_EQ(std::vector<std::string>{"1.5"}, Results());
    EXPECT_FALSE(PathExists(UpdateFolder()));
}

TEST_F(CheckScenario, FailedExchangeShowsNothingDownloadsNothingAndReturnsTheVersion) {
    const char kDownload[] = "/download/check-server-error/setup.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Server Error", "1.0", "a");

    EXPECT_EQ(std::vector<std::string>{"1.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_FALSE(PathExists(UpdateFolder()));
}

TEST_F(CheckScenario, SameVersionShowsNothingAndDownloadsNothing) {
    const char kDownload[] = "/download/check-same-version/setup.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Same Version", "2.0", "a");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_FALSE(PathExists(UpdateFolder()));
}

TEST_F(CheckScenario, LaterVersionIsStillOfferedTheLatest) {
    StartCheck(kCompany, "Later", "2.1", "a");
    HWND box = WaitForBox(kQuestion);
    ASSERT_TRUE(box);
    PressButton(box, IDNO);
    FinishCheck();

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
}

TEST_F(CheckScenario, DownloadAnsweredNotFoundStartsAndReplacesNothing) {
    const char kDownload[] = "/missing/check-missing-file/app.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Missing File", "1.0", "");

    EXPECT_EQ(1, CountsAtService(kDownload).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
    EXPECT_FALSE(PathExists(Program() + ".save"));
}

TEST_F(CheckScenario, DownloadFromAClosedPortStartsNothing) {
    RunCheck(kCompany, "Closed Port", "1.0", "");

    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(CheckScenario, DownloadCutMidBodyStartsAndReplacesNothing) {
    const char kDownload[] = "/download/check-cut-file/cut/app.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Cut File", "1.0", "");

    EXPECT_EQ(1, CountsAtService(kDownload).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
    EXPECT_FALSE(PathExists(Program() + ".save"));
}

TEST_F(CheckScenario, TwoChecksInARowDownloadOneAtATimeAndBothComplete) {
    const char kDownload[] = "/download/check-twice/pace-1500/setup.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Twice", "1.0", "", 2);

    EXPECT_EQ((std::vector<std::string>{"2.0", "2.0"}), Results());
    const ServiceCounts counts = CountsAtService(kDownload);
    EXPECT_EQ(2, counts.requests);
    EXPECT_EQ(1, counts.mostAtOnce);
    EXPECT_EQ(2u, ProgramStarts().size());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}

TEST_F(CheckScenario, DownloadNamedOutsideTheUpdateFolderIsRefusedAndTheLatestStillReturned) {
    const char kDownload[] = "/download/check-unsafe-name/NUL.exe";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Unsafe Name", "1.0", "");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_FALSE(PathExists(UpdateFolder()));
    EXPECT_TRUE(ProgramStarts().empty());
    EXPECT_TRUE(ScriptStarts().empty());
}

// Downloaded, this name would be the stop marker, and every later update on
// the machine would silently do nothing.
TEST_F(CheckScenario, DownloadNamedAsTheUpdateFoldersOwnFileIsRefusedAndTheLatestStillReturned) {
    const char kDownload[] = "/download/check-own-name/NoDownload.TXT";
    ResetCountsAtService(kDownload);
    RunCheck(kCompany, "Own Name", "1.0", "");

    EXPECT_EQ(std::vector<std::string>{"2.0"}, Results());
    EXPECT_EQ(0, CountsAtService(kDownload).requests);
    EXPECT_FALSE(PathExists(UpdateFolder()));
    EXPECT_TRUE(ProgramStarts().empty());
    EXPECT_TRUE(ScriptStarts().empty());
}
