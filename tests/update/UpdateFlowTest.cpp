// The update thread end to end in a child program, with file addresses.
#include "UpdateScenario.h"

namespace {

const char kArguments[] = "-silent \"two words\" /x=1";

} // namespace

TEST_F(UpdateScenario, CommandArgumentsStartTheDownloadWithExactlyThem) {
    PlaceSource("setup.exe");
    RunUpdate("setup.exe", FileUrl("setup.exe"), kArguments, 1);

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
    const std::vector<Record> starts = ProgramStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(UpdateFolder() + "setup.exe", starts[0].at("program"));
    EXPECT_EQ(kArguments, starts[0].at("arguments"));
    EXPECT_EQ(WorkFolder(), starts[0].at("directory"));
    EXPECT_EQ("5", starts[0].at("show"));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_FALSE(PathExists(UpdateFolder() + "update.bat"));
}

TEST_F(UpdateScenario, EmptyCommandStartsTheDownloadWithoutArguments) {
    PlaceSource("setup.exe");
    RunUpdate("setup.exe", FileUrl("setup.exe"), "", 1);

    const std::vector<Record> starts = ProgramStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("", starts[0].at("arguments"));
}

TEST_F(UpdateScenario, ReplaceWritesTheThirteenLineScriptByteForByte) {
    PlaceSource("app.exe");
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 1);

    const std::string script = ReadWholeFile(UpdateFolder() + "update.bat");
    EXPECT_EQ(250u, script.size());
    EXPECT_EQ(ExpectedUpdateScript(), script);
}

TEST_F(UpdateScenario, ReplaceStartsTheScriptHiddenWithBothPathsQuoted) {
    PlaceSource("app.exe");
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 1);

    const std::vector<Record> starts = ScriptStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(UpdateFolder() + "update.bat", starts[0].at("script"));
    EXPECT_EQ("\"" + Program() + "\" \"" + UpdateFolder() + "app.exe\"",
              starts[0].at("parameters"));
    EXPECT_EQ(WorkFolder(), starts[0].at("directory"));
    EXPECT_EQ("0", starts[0].at("show"));
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, ReplaceLeavesTheProgramAsSaveAndTheDownloadInItsPlace) {
    PlaceSource("app.exe");
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 1);

    const std::vector<Record> starts = ScriptStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("replaced", starts[0].at("outcome"));
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program() + ".save"));
    EXPECT_TRUE(FileHolds(ProgramBytes(), Program()));
    EXPECT_FALSE(PathExists(UpdateFolder() + "app.exe"));
}

TEST_F(UpdateScenario, LowerCaseReplaceIsAnArgumentNotTheReplaceWord) {
    PlaceSource("app.exe");
    RunUpdate("app.exe", FileUrl("app.exe"), "replace", 1);

    const std::vector<Record> starts = ProgramStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ("replace", starts[0].at("arguments"));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_FALSE(PathExists(UpdateFolder() + "update.bat"));
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
}

TEST_F(UpdateScenario, DownloadStopMarkerStopsDownloadStartAndScript) {
    PlaceSource("app.exe");
    PlaceInUpdateFolder("nodownload.txt", "");
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 1);

    EXPECT_EQ(std::vector<std::string>{"nodownload.txt"}, FolderEntries(UpdateFolder()));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, RunStopMarkerDownloadsButStartsNothing) {
    PlaceSource("setup.exe");
    PlaceInUpdateFolder("noupdate.txt", "");
    RunUpdate("setup.exe", FileUrl("setup.exe"), kArguments, 1);

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, RunFlagZeroDownloadsOnly) {
    PlaceSource("app.exe");
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 0);

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "app.exe"));
    EXPECT_FALSE(PathExists(UpdateFolder() + "update.bat"));
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
}

TEST_F(UpdateScenario, FailedDownloadStartsNothingAndLeavesNoFile) {
    RunUpdate("setup.exe", FileUrl("setup.exe"), kArguments, 1);

    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, FailedDownloadDoesNotStartAnEarlierFileAtTheTarget) {
    PlaceInUpdateFolder("setup.exe", ProgramBytes());
    RunUpdate("setup.exe", FileUrl("setup.exe"), kArguments, 1);

    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, FailedDownloadWithReplaceWritesAndReplacesNothing) {
    RunUpdate("app.exe", FileUrl("app.exe"), "REPLACE", 1);

    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ScriptStarts().empty());
    EXPECT_TRUE(FileHolds(RunnerBytes(), Program()));
    EXPECT_FALSE(PathExists(Program() + ".save"));
}
