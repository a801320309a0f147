#pragma once
// A fresh folder for one test, with a blank in its name, removed with all it
// holds when the test ends.

#include <string>
#include <vector>

class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    // The folder's path, ending in a backslash; empty when it could not be made.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

bool PathExists(const std::string& path);
// The whole file, or "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Names of the entries of a folder, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder);
