// Stands in for a downloaded update: records how it was started.
#include "RecordFile.h"

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    AppendRecord("program.txt", {{"program", path},
                                 {"arguments", AfterFirstToken(GetCommandLineA())},
                                 {"directory", CurrentDirectory()},
                                 {"show", ShowCommand()}});
    return 0;
}
