// The program whose update the tests watch: the test copies it into a fresh
// folder, so the update folder and the replacement happen beside the copy.
//   update_runner FILE-NAME URL COMMAND RUN-FLAG [JOB-COUNT [module]]
//   update_runner check COMPANY SOFTWARE VERSION OPTIONS [CHECK-COUNT]
// With "module" the job is started by update_module.dll beside the program,
// which is unloaded at once. With "check" the program runs CheckUpdate the
// given number of times in a row and records each result in check.txt.
// Exit code: 0 all jobs started and finished, 1 usage, 2 a start failed,
// 3 the jobs did not finish in time, 4 the module was unloaded under its
// running thread, 5 it stayed loaded after it. BRC_STALL_LIMIT_MS in the
// environment sets the downloads' stall limit.
#include "CheckUpdate.h"
#include "RecordFile.h"
#include "UpdateDownload.h"
#include "UpdateThread.h"

#include <cstdlib>
#include <cstring>

namespace {

using StartFunction = int (*)(const char*, const char*, const char*, int);

int RunInModule(char** argv) {
    HMODULE module = LoadLibraryA("update_module.dll");
    const auto start = module ? reinterpret_cast<StartFunction>(reinterpret_cast<void*>(
                                    GetProcAddress(module, "StartModuleUpdate")))
                              : nullptr;
    if (!start || start(argv[1], argv[2], argv[3], std::atoi(argv[4])) != 1)
        return 2;
    FreeLibrary(module);
    if (!GetModuleHandleA("update_module.dll"))
        return 4;
    for (int i = 0; i < 300; ++i) {
        if (!GetModuleHandleA("update_module.dll"))
            return 0;
        // Polls for the unload that the thread's end brings.
        Sleep(100);
    }
    return 5;
}

int RunChecks(int argc, char** argv) {
    if (argc < 6)
        return 1;
    const int count = argc > 6 ? std::atoi(argv[6]) : 1;
    for (int i = 0; i < count; ++i)
        AppendRecord("check.txt", {{"result", CheckUpdate(argv[2], argv[3], argv[4], argv[5])}});
    return WaitForUpdateThreads(60000) ? 0 : 3;
}

} // namespace

int main(int argc, char** argv) {
    char limit[16] = {};
    const DWORD length = GetEnvironmentVariableA("BRC_STALL_LIMIT_MS", limit, sizeof limit);
    if (length > 0 && length < sizeof limit)
        SetDownloadStallLimit(static_cast<DWORD>(std::atol(limit)));
    if (argc > 1 && std::strcmp(argv[1], "check") == 0)
        return RunChecks(argc, argv);
    if (argc < 5)
        return 1;
    if (argc > 6 && std::strcmp(argv[6], "module") == 0)
        return RunInModule(argv);
    const int count = argc > 5 ? std::atoi(argv[5]) : 1;
    for (int i = 0; i < count; ++i) {
        if (StartUpdateThread(argv[1], argv[2], argv[3], std::atoi(argv[4])) != 1)
            return 2;
    }
    return WaitForUpdateThreads(30000) ? 0 : 3;
}
