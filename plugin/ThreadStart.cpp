#include "ThreadStart.h"

#include <atomic>

namespace {

const int kTries = 10;
const DWORD kPauseMs = 10;

std::atomic<CreateThreadFunction> theCreateThread{&CreateThread};

} // namespace

void SetCreateThreadFunction(CreateThreadFunction function) {
    theCreateThread.store(function ? function : &CreateThread);
}

HANDLE CreateSuspendedThread(LPTHREAD_START_ROUTINE start, void* parameter, DWORD* threadId,
                             bool* anyFailed) {
    *anyFailed = false;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        HANDLE thread =
            theCreateThread.load()(nullptr, 0, start, parameter, CREATE_SUSPENDED, threadId);
        if (thread)
            return thread;
        *anyFailed = true;
        Sleep(kPauseMs);
    }
    return nullptr;
}

void EndNeverResumedThread(HANDLE thread, DWORD exitCode) {
    // Waits until the thread has reached its first suspension, past its own
    // start: Wine gives a suspended thread's context only from there (Windows
    // at once). That start takes no lock, so this is safe under the loader's.
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread, &context);
    TerminateThread(thread, exitCode);
}
