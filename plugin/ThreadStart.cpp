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
