// Update jobs against the local web service: answers that URLDownloadToFileA
// reports as success, overlapping jobs, and a module unloaded while its
// update thread runs. Each test counts the requests of a path of its own.
#include "ServiceCounts.h"
#include "UpdateScenario.h"

#include <windows.h>

namespace {

// The download's path at the service, its counts started afresh.
std::string FreshPath(const std::string& path) {
    ResetCountsAtService("/" + path);
    return path;
}

} // namespace

TEST_F(UpdateScenario, HttpErrorAnswerIsAFailedDownload) {
    const std::string path = FreshPath("download/http-error/missing-setup.exe");
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 1);

    EXPECT_EQ(1, CountsAtService("/" + path).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, ConnectionCutMidBodyIsAFailedDownload) {
    const std::string path = FreshPath("download/cut-mid-body/cut/setup.exe");
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 1);

    EXPECT_EQ(1, CountsAtService("/" + path).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, TwoJobsForOneTargetDownloadOneAtATime) {
    const std::string path = FreshPath("download/two-jobs/pace-500/setup.exe");
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 1, 2);

    const ServiceCounts counts = CountsAtService("/" + path);
    EXPECT_EQ(2, counts.requests);
    EXPECT_EQ(1, counts.mostAtOnce);
    EXPECT_EQ(2u, ProgramStarts().size());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}

TEST_F(UpdateScenario, EmptyFileNameDownloadsAndStartsNothing) {
    const std::string path = FreshPath("download/empty-name/");
    RunUpdate("", ServiceAddress(path), "-x", 1);

    EXPECT_EQ(0, CountsAtService("/" + path).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, UpdateThreadKeepsItsModuleLoadedUntilItEnds) {
    const std::string path = FreshPath("download/module-unload/pace-500/setup.exe");
    ASSERT_TRUE(CopyFileA(ToolPath("update_module.dll").c_str(),
                          (Folder() + "update_module.dll").c_str(), TRUE));
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 0, 1, "module");

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}

TEST_F(UpdateScenario, DownloadThatStallsIsAbortedAsAFailedDownload) {
    const std::string path = FreshPath("download/stalled/stall/setup.exe");
    SetEnvironmentVariableA("BRC_STALL_LIMIT_MS", "2000");
    const ULONGLONG start = GetTickCount64();
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 1);
    SetEnvironmentVariableA("BRC_STALL_LIMIT_MS", nullptr);

    EXPECT_LT(GetTickCount64() - start, 30000u);
    EXPECT_EQ(1, CountsAtService("/" + path).requests);
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, SlowDownloadThatKeepsReceivingIsNotAborted) {
    const std::string path = FreshPath("download/slow-not-stalled/pace-4000/setup.exe");
    SetEnvironmentVariableA("BRC_STALL_LIMIT_MS", "1000");
    RunUpdate("setup.exe", ServiceAddress(path), "-x", 0);
    SetEnvironmentVariableA("BRC_STALL_LIMIT_MS", nullptr);

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}

// The file name comes from the service; each kind of name that could reach
// outside the update folder or the program's folder.
TEST_F(UpdateScenario, FileNamesReachingOutsideTheFoldersDownloadAndStartNothing) {
    const char* const names[] = {"..\\app.exe", "sub\\app.exe", "..",      "app..exe", "C:app.exe",
                                 "C:",          "CON",          "nul.txt", "NUL .txt", "com1",
                                 "LPT9.exe",    "   ",          " . ",     ""};
    int kind = 0;
    for (const char* name : names) {
        SCOPED_TRACE(std::string("file name '") + name + "'");
        const std::string path =
            FreshPath("download/unsafe-name-" + std::to_string(kind++) + "/setup.exe");
        RunUpdate(name, ServiceAddress(path), "REPLACE", 1);

        EXPECT_EQ(0, CountsAtService("/" + path).requests);
        EXPECT_FALSE(PathExists(UpdateFolder()));
        EXPECT_TRUE(ProgramStarts().empty());
        EXPECT_TRUE(ScriptStarts().empty());
    }
}
