#include "UpdateScript.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

// Line feeds alone: the script is written in binary mode and must stay
// byte for byte what Windows' command interpreter is known to run.
const char kUpdateScript[] = "SETLOCAL EnableExtensions \n"
                             "SET OldFile=\"%~f1\"\n"
                             "SET NewFile=\"%~f2\"\n"
                             "SET LogOffWhenDone=1\n"
                             ":oReplace\n"
                             "MOVE %OldFile% %OldFile%.save \n"
                             "IF NOT EXIST %OldFile% (\n"
                             "MOVE %NewFile% %OldFile%\n"
                             "ECHO File replaced successfully.\n"
                             "GOTO :eof\n"
                             ")\n"
                             "TIMEOUT /T 20\n"
                             "GOTO oReplace\n";

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

const char* UpdateScriptText() {
    return kUpdateScript;
}

int UpdateScriptLength() {
    return static_cast<int>(sizeof kUpdateScript - 1);
}

bool WriteUpdateScript(const CString& path) {
    FILE* opened = std::fopen(path, "wb");
    if (!opened)
        return false;
    std::unique_ptr<FILE, FileCloser> file(opened);
    const size_t length = static_cast<size_t>(UpdateScriptLength());
    bool whole = std::fwrite(kUpdateScript, 1, length, file.get()) == length;
    whole = std::fclose(file.release()) == 0 && whole;
    if (!whole)
        DeleteFileA(path);
    return whole;
}
