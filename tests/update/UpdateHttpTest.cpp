// Update jobs against a small HTTP server of the test: answers that
// URLDownloadToFileA reports as success, overlapping jobs, and a module
// unloaded while its update thread runs.
#include "LoopbackHttpServer.h"
#include "UpdateScenario.h"

TEST_F(UpdateScenario, HttpErrorAnswerIsAFailedDownload) {
    CLoopbackHttpServer server;
    ASSERT_TRUE(server.IsListening());
    RunUpdate("setup.exe", server.Url("/files/setup.exe"), "-x", 1);

    EXPECT_EQ(1, server.Requests());
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, ConnectionCutMidBodyIsAFailedDownload) {
    CLoopbackHttpServer server;
    ASSERT_TRUE(server.IsListening());
    HttpAnswer cut;
    cut.body = ProgramBytes();
    cut.sendOnly = cut.body.size() / 3;
    server.SetAnswer("/files/setup.exe", cut);
    RunUpdate("setup.exe", server.Url("/files/setup.exe"), "-x", 1);

    EXPECT_EQ(1, server.Requests());
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, TwoJobsForOneTargetDownloadOneAtATime) {
    CLoopbackHttpServer server;
    ASSERT_TRUE(server.IsListening());
    HttpAnswer slow;
    slow.body = ProgramBytes();
    slow.pieces = 20;
    slow.pause = 25;
    server.SetAnswer("/files/setup.exe", slow);
    RunUpdate("setup.exe", server.Url("/files/setup.exe"), "-x", 1, 2);

    EXPECT_EQ(2, server.Requests());
    EXPECT_EQ(1, server.MostAtOnce());
    EXPECT_EQ(2u, ProgramStarts().size());
    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}

TEST_F(UpdateScenario, EmptyFileNameDownloadsAndStartsNothing) {
    CLoopbackHttpServer server;
    ASSERT_TRUE(server.IsListening());
    HttpAnswer index;
    index.body = ProgramBytes();
    server.SetAnswer("/files/", index);
    RunUpdate("", server.Url("/files/"), "-x", 1);

    EXPECT_EQ(0, server.Requests());
    EXPECT_TRUE(FolderEntries(UpdateFolder()).empty());
    EXPECT_TRUE(ProgramStarts().empty());
}

TEST_F(UpdateScenario, UpdateThreadKeepsItsModuleLoadedUntilItEnds) {
    CLoopbackHttpServer server;
    ASSERT_TRUE(server.IsListening());
    HttpAnswer slow;
    slow.body = ProgramBytes();
    slow.pieces = 20;
    slow.pause = 25;
    server.SetAnswer("/files/setup.exe", slow);
    ASSERT_TRUE(CopyFileA(ToolPath("update_module.dll").c_str(),
                          (Folder() + "update_module.dll").c_str(), TRUE));
    RunUpdate("setup.exe", server.Url("/files/setup.exe"), "-x", 0, 1, "module");

    EXPECT_TRUE(FileHolds(ProgramBytes(), UpdateFolder() + "setup.exe"));
}
