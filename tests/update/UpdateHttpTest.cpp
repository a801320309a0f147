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
