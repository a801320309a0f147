// The replacement script, the marker paths and FileExists, in process.
#include "ScratchFolder.h"
#include "UpdateJob.h"
#include "UpdateScenario.h"
#include "UpdateScript.h"

#include <windows.h>

TEST(UpdateScript, IsTheThirteenLinesIn250Bytes) {
    EXPECT_EQ(250, UpdateScriptLength());
    EXPECT_EQ(ExpectedUpdateScript(), std::string(UpdateScriptText(), UpdateScriptLength()));
}

TEST(WriteUpdateScript, WritesLineFeedsUntranslated) {
    CScratchFolder folder;
    const std::string path = folder.Path() + "update.bat";
    ASSERT_TRUE(WriteUpdateScript(path.c_str()));
    EXPECT_EQ(ExpectedUpdateScript(), ReadWholeFile(path));
}

TEST(WriteUpdateScript, EmptiesALongerScriptFirst) {
    CScratchFolder folder;
    const std::string path = folder.Path() + "update.bat";
    ASSERT_TRUE(WriteWholeFile(path, std::string(1000, 'x')));
    ASSERT_TRUE(WriteUpdateScript(path.c_str()));
    EXPECT_EQ(ExpectedUpdateScript(), ReadWholeFile(path));
}

TEST(UpdateJobPaths, AreTheUpdateFolderBesideTheProgramAndItsFiles) {
    const CUpdateJob job("app.exe", "http://host/app.exe", "REPLACE", 1);
    const std::string directory = ToolPath("");
    EXPECT_EQ(directory + "update\\", job.UpdateFolder().str());
    EXPECT_EQ(directory + "update\\app.exe", job.DownloadTarget().str());
    EXPECT_EQ(directory + "update\\nodownload.txt", job.DownloadStopMarker().str());
    EXPECT_EQ(directory + "update\\noupdate.txt", job.RunStopMarker().str());
    EXPECT_EQ(directory + "update\\update.bat", job.ReplacementScript().str());
    EXPECT_EQ(directory + "app.exe", job.ProgramFile().str());
}

TEST(FileExists, CountsFilesAndFoldersButNotMissingNames) {
    CScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.Path() + "noupdate.txt", ""));
    EXPECT_TRUE(FileExists((folder.Path() + "noupdate.txt").c_str()));
    EXPECT_TRUE(FileExists(folder.Path().substr(0, folder.Path().size() - 1).c_str()));
    EXPECT_FALSE(FileExists((folder.Path() + "nodownload.txt").c_str()));
}
