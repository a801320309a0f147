// Stands in for the command interpreter (the test points COMSPEC at it):
// Wine starts a batch file as "<COMSPEC> /s/c ""script" parameters"". It
// records how the script was started, then does what update.bat does, so
// that the replacement can be checked where Wine's interpreter would loop.
#include "RecordFile.h"

namespace {

// The quoted or bare tokens of the script's parameters.
std::vector<std::string> SplitTokens(const std::string& text) {
    std::vector<std::string> tokens;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        const bool quoted = text[at] == '"';
        const size_t first = quoted ? at + 1 : at;
        size_t end = text.find(quoted ? '"' : ' ', first);
        if (end == std::string::npos)
            end = text.size();
        tokens.push_back(text.substr(first, end - first));
        at = end + 1;
    }
    return tokens;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length && length < MAX_PATH ? std::string(full) : path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// update.bat: move the program aside, and once it is gone move the new
// file into its place; retried while the program cannot be moved, here for
// at most ten seconds so the recorder never outlives its test.
std::string Replace(const std::string& oldFile, const std::string& newFile) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        MoveFileExA(oldFile.c_str(), (oldFile + ".save").c_str(), MOVEFILE_REPLACE_EXISTING);
        if (!Exists(oldFile))
            return MoveFileA(newFile.c_str(), oldFile.c_str()) ? "replaced" : "new file not moved";
        Sleep(100);
    }
    return "program not moved";
}

} // namespace

int main() {
    const std::string line = GetCommandLineA();
    const std::string marker = "/s/c \"";
    const size_t at = line.find(marker);
    if (at == std::string::npos || line.back() != '"') {
        AppendRecord("script.txt", {{"unexpected", line}});
        return 2;
    }
    const std::string inner = line.substr(at + marker.size(), line.size() - at - marker.size() - 1);
    std::vector<std::string> tokens = SplitTokens(inner);
    std::string outcome = "too few arguments";
    if (tokens.size() >= 3)
        outcome = Replace(FullPath(tokens[1]), FullPath(tokens[2]));
    AppendRecord("script.txt", {{"script", tokens.empty() ? "" : tokens[0]},
                                {"parameters", AfterFirstToken(inner)},
                                {"directory", CurrentDirectory()},
                                {"show", ShowCommand()},
                                {"outcome", outcome}});
    return 0;
}
