#pragma once
// Runs update jobs in a child program: a copy of update_runner placed as
// app.exe in a fresh folder with a blank in its path, so the update folder
// and any replacement happen beside a disposable program. COMSPEC points at
// the script recorder for the child, so a started update.bat is recorded
// and acted out instead of run by Wine's interpreter.

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using Record = std::map<std::string, std::string>;

class UpdateScenario : public testing::Test {
protected:
    void SetUp() override;

    std::string Folder() const { return m_folder.Path(); }
    std::string Program() const { return Folder() + "app.exe"; }
    std::string WorkFolder() const { return Folder() + "work"; }
    std::string UpdateFolder() const { return Folder() + "update\\"; }
    std::string SourceFolder() const { return Folder() + "source\\"; }
    // A file address for a name in the source folder.
    std::string FileUrl(const std::string& name) const;

    // Puts the stand-in download program into the source folder.
    void PlaceSource(const std::string& name) const;
    void PlaceInUpdateFolder(const std::string& name, const std::string& bytes) const;

    // Runs the child with these job values and waits for it and for all it
    // started; the child starts the job count times in a row, or once from
    // a module it unloads at once when the mode is "module".
    void RunUpdate(const std::string& fileName, const std::string& url, const std::string& command,
                   int run, int jobs = 1, const std::string& mode = "") const;

    std::vector<Record> ProgramStarts() const;
    std::vector<Record> ScriptStarts() const;

    static std::string ProgramBytes();
    static std::string RunnerBytes();

private:
    CScratchFolder m_folder;
};

// The records a test tool appended to a file, in order.
std::vector<Record> ReadRecords(const std::string& path);

// A file beside the test program, where the test tools are built.
std::string ToolPath(const std::string& name);

// Whether the file holds exactly these bytes; says only the sizes otherwise,
// as a program's bytes make no readable message.
testing::AssertionResult FileHolds(const std::string& bytes, const std::string& path);

// The 13 lines of update.bat as they must stand, each ending in a line feed.
std::string ExpectedUpdateScript();
