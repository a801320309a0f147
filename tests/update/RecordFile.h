#pragma once
// Records that the tools of the update tests leave for the test to read: a
// block of "name=value" lines ended by an empty line, appended to a file in
// the folder that BRC_RECORD_DIR names.

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using RecordLines = std::vector<std::pair<std::string, std::string>>;

inline void AppendRecord(const char* fileName, const RecordLines& lines) {
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("BRC_RECORD_DIR", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::string text;
    for (const auto& line : lines)
        text += line.first + "=" + line.second + "\n";
    text += "\n";
    const std::string path = std::string(folder) + "\\" + fileName;
    if (FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

inline std::string CurrentDirectory() {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    return directory;
}

// How the process was asked to show its window.
inline std::string ShowCommand() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return "none";
    return std::to_string(startup.wShowWindow);
}

// Text after the first token of a command line (quoted or not) and the
// blanks that follow it.
inline std::string AfterFirstToken(const std::string& line) {
    size_t at = 0;
    if (!line.empty() && line[0] == '"') {
        at = line.find('"', 1);
        at = at == std::string::npos ? line.size() : at + 1;
    } else {
        at = line.find(' ');
        at = at == std::string::npos ? line.size() : at;
    }
    while (at < line.size() && line[at] == ' ')
        ++at;
    return line.substr(at);
}
