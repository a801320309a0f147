#include "CommandThread.h"

#include "ModuleLifetime.h"
#include "RunningThreads.h"
#include "ThreadStart.h"

#include <comdef.h>
#include <objbase.h>

#include <new>

namespace {

const DWORD kPauseAfterFailedTryMs = 10;

int RunHandler(CCommandThread& record) {
    try {
        return record.handler(record.aliasRecord, record.call.get());
    } catch (const _com_error&) {
        return -4;
    } catch (...) {
        return -1;
    }
}

// The code is in place and the call gone before a synchronous caller wakes,
// so it finds its code and the complete result list.
void CleanUp(CCommandThread& record) {
    const bool ownsHandle = record.thread && TheRunningThreads().Remove(record.threadId);
    record.call.reset();
    if (record.semaphore)
        ReleaseSemaphore(record.semaphore, 1, nullptr);
    if (ownsHandle)
        CloseHandle(record.thread);
}

void RunCommand(std::unique_ptr<CCommandThread> record) {
    const HRESULT com = CoInitialize(nullptr);
    record->call->ReportCode(RunHandler(*record));
    CleanUp(*record);
    record.reset();
    if (SUCCEEDED(com))
        CoUninitialize();
}

// The thread is recorded before it runs, so its own removal always follows
// its insertion. False leaves the thread suspended and unrecorded.
bool RecordAndResume(CCommandThread& record) {
    try {
        TheRunningThreads().Insert(record.threadId, record.thread);
    } catch (...) {
        return false;
    }
    ResumeThread(record.thread);
    return true;
}

} // namespace

int StartCommandThread(PluginCommandHandler handler, void* aliasRecord,
                       std::unique_ptr<CPluginCall> call, HANDLE semaphore) {
    std::unique_ptr<CCommandThread> record(new (std::nothrow) CCommandThread);
    if (!record) {
        call->ReportCode(-6);
        call.reset();
        if (semaphore)
            ReleaseSemaphore(semaphore, 1, nullptr);
        return 0;
    }
    record->handler = handler;
    record->aliasRecord = aliasRecord;
    record->call = std::move(call);
    record->semaphore = semaphore;
    record->module = ReferenceModuleAt(reinterpret_cast<const void*>(&CommandThreadProc));

    bool anyFailed = false;
    HANDLE thread = nullptr;
    if (record->module)
        thread =
            CreateSuspendedThread(CommandThreadProc, record.get(), &record->threadId, &anyFailed);
    if (anyFailed)
        Sleep(kPauseAfterFailedTryMs);
    if (thread) {
        record->thread = thread;
        if (RecordAndResume(*record)) {
            record.release();
            return 1;
        }
        // Never resumed, so it has run nothing and holds nothing.
        EndNeverResumedThread(thread, 0);
        CloseHandle(thread);
        record->thread = nullptr;
    }
    record->call->ReportCode(-6);
    CleanUp(*record);
    return 0;
}

DWORD WINAPI CommandThreadProc(LPVOID parameter) {
    if (!parameter)
        return 0;
    std::unique_ptr<CCommandThread> record(static_cast<CCommandThread*>(parameter));
    HMODULE module = record->module.Detach();
    RunCommand(std::move(record));
    // Drops the worker's reference only once no more of the module's code
    // runs on this thread: the module may unload at once.
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

// A worker holds a reference on the module while it runs, so when the module
// unloads through FreeLibrary none is left in the map; at process exit the
// system has already ended them, wherever they were. Either way none is
// ended here: the entries are forgotten, their handles closed, and whatever
// a call might still report is dropped.
void TerminateCommandThreads() {
    AbandonCalls();
    int left = TheRunningThreads().GetCount();
    DWORD threadId = 0;
    HANDLE thread = nullptr;
    while (left-- > 0 && TheRunningThreads().TakeFirst(threadId, thread))
        CloseHandle(thread);
}
