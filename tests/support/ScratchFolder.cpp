#include "ScratchFolder.h"

#include "UniqueHandle.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

void RemoveTree(const std::string& folder) {
    for (const std::string& name : FolderEntries(folder)) {
        const std::string path = folder + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            RemoveTree(path + "\\");
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

CScratchFolder::CScratchFolder() {
    char temp[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, temp))
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = std::string(temp) + "brc update " +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(attempt) + "\\";
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            m_path = path;
            return;
        }
    }
}

CScratchFolder::~CScratchFolder() {
    if (!m_path.empty())
        RemoveTree(m_path);
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string& path) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return "<missing>";
    std::string bytes;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const CFindHandle find(FindFirstFileA((folder + "*").c_str(), &found));
    if (!find)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find.Get(), &found));
    return names;
}
