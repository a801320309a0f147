#pragma once
// Every command runs on a worker thread of its own, which reports the
// handler's code and then cleans the call up.

#include "CommandEntry.h"
#include "PluginCall.h"
#include "UniqueHandle.h"

#include <memory>

// The worker's start record, owned by the worker once it runs.
struct CCommandThread {
    PluginCommandHandler handler = nullptr;
    void* aliasRecord = nullptr;
    std::unique_ptr<CPluginCall> call;
    // Borrowed from a synchronous caller, released when the call is done.
    HANDLE semaphore = nullptr;
    // Owned by whoever takes the thread out of the running-thread map.
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    // Keeps the module loaded until the worker has left its code.
    CModuleReference module;
};

// 1 when the worker runs; 0 when none could be created, after -6 has been
// reported on the call and the call destroyed (the semaphore is released).
int StartCommandThread(PluginCommandHandler handler, void* aliasRecord,
                       std::unique_ptr<CPluginCall> call, HANDLE semaphore);

DWORD WINAPI CommandThreadProc(LPVOID parameter);

// At module detach: forgets the workers still recorded and drops whatever
// their calls would still report.
void TerminateCommandThreads();
