#include "UpdateScenario.h"

#include "ChildJob.h"

#include <windows.h>

#include <sstream>

std::vector<Record> ReadRecords(const std::string& path) {
    std::vector<Record> records;
    const std::string text = ReadWholeFile(path);
    if (text == "<missing>")
        return records;
    std::istringstream lines(text);
    std::string line;
    Record current;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            records.push_back(current);
            current.clear();
            continue;
        }
        const size_t equals = line.find('=');
        current[line.substr(0, equals)] =
            equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    return records;
}

void UpdateScenario::SetUp() {
    ASSERT_FALSE(Folder().empty());
    for (const char* name : {"work", "source", "records"})
        ASSERT_TRUE(CreateDirectoryA((Folder() + name).c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(ToolPath("update_runner.exe").c_str(), Program().c_str(), TRUE));
    // Inherited by the child and by what it starts.
    SetEnvironmentVariableA("COMSPEC", ToolPath("update_recorder.exe").c_str());
    SetEnvironmentVariableA("BRC_RECORD_DIR", (Folder() + "records").c_str());
}

std::string UpdateScenario::FileUrl(const std::string& name) const {
    std::string url = "file:///";
    for (char c : SourceFolder() + name) {
        if (c == '\\')
            url += '/';
        else if (c == ' ')
            url += "%20";
        else
            url += c;
    }
    return url;
}

void UpdateScenario::PlaceSource(const std::string& name) const {
    ASSERT_TRUE(
        CopyFileA(ToolPath("update_program.exe").c_str(), (SourceFolder() + name).c_str(), TRUE));
}

void UpdateScenario::PlaceInUpdateFolder(const std::string& name, const std::string& bytes) const {
    CreateDirectoryA(UpdateFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(UpdateFolder() + name, bytes));
}

void UpdateScenario::RunUpdate(const std::string& fileName, const std::string& url,
                               const std::string& command, int run, int jobs,
                               const std::string& mode) const {
    CChildJob child;
    ASSERT_TRUE(child.Start(
        Program(), {fileName, url, command, std::to_string(run), std::to_string(jobs), mode},
        WorkFolder()))
        << child.StartError();
    ASSERT_TRUE(child.WaitForAll(60000))
        << "the child or what it started did not end; " << child.AtTimeOut();
    EXPECT_EQ(0u, child.ExitCode()) << "see UpdateRunner.cpp";
}

std::vector<Record> UpdateScenario::ProgramStarts() const {
    return ReadRecords(Folder() + "records\\program.txt");
}

std::vector<Record> UpdateScenario::ScriptStarts() const {
    return ReadRecords(Folder() + "records\\script.txt");
}

std::string ToolPath(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::string UpdateScenario::ProgramBytes() {
    return ReadWholeFile(ToolPath("update_program.exe"));
}

std::string UpdateScenario::RunnerBytes() {
    return ReadWholeFile(ToolPath("update_runner.exe"));
}

testing::AssertionResult FileHolds(const std::string& bytes, const std::string& path) {
    const std::string actual = ReadWholeFile(path);
    if (actual == bytes)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << path << " holds " << actual.size() << " bytes ("
           << (actual == "<missing>" ? "missing" : "different") << "), expected " << bytes.size();
}

std::string ExpectedUpdateScript() {
    const char* const lines[] = {"SETLOCAL EnableExtensions ",
                                 "SET OldFile=\"%~f1\"",
                                 "SET NewFile=\"%~f2\"",
                                 "SET LogOffWhenDone=1",
                                 ":oReplace",
                                 "MOVE %OldFile% %OldFile%.save ",
                                 "IF NOT EXIST %OldFile% (",
                                 "MOVE %NewFile% %OldFile%",
                                 "ECHO File replaced successfully.",
                                 "GOTO :eof",
                                 ")",
                                 "TIMEOUT /T 20",
                                 "GOTO oReplace"};
    std::string script;
    for (const char* line : lines)
        script += std::string(line) + "\n";
    return script;
}
