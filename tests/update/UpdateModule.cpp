// A module that runs update threads, as the plug-in does, so that a test can
// unload it while one of them runs.
#include "UpdateThread.h"

extern "C" __declspec(dllexport) int StartModuleUpdate(const char* fileName, const char* url,
                                                       const char* command, int run) {
    return StartUpdateThread(fileName, url, command, run);
}
