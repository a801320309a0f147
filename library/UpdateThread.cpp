#include "UpdateThread.h"

#include "UniqueHandle.h"
#include "UpdateJob.h"

#include <memory>
#include <new>

namespace {

// Held by a job for its whole run: two jobs would otherwise download to the
// same target and write the same script at once.
SRWLOCK theJobLock = SRWLOCK_INIT;

// Counts the update threads that have been started and not yet finished.
SRWLOCK theCountLock = SRWLOCK_INIT;
CONDITION_VARIABLE theCountChanged = CONDITION_VARIABLE_INIT;
int theRunningCount = 0;

void ChangeRunningCount(int change) {
    AcquireSRWLockExclusive(&theCountLock);
    theRunningCount += change;
    ReleaseSRWLockExclusive(&theCountLock);
    WakeAllConditionVariable(&theCountChanged);
}

class CJobLock {
public:
    // Waits for an earlier update thread to finish its job: both would write
    // the same download target and the same script.
    CJobLock() { AcquireSRWLockExclusive(&theJobLock); }
    ~CJobLock() { ReleaseSRWLockExclusive(&theJobLock); }
    CJobLock(const CJobLock&) = delete;
    CJobLock& operator=(const CJobLock&) = delete;
};

// The thread's own code: no exception may leave the thread.
HRESULT RunJob(const CUpdateJob& job) {
    try {
        CJobLock lock;
        return job.Run();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

} // namespace

int StartUpdateThread(const char* fileName, const char* url, const char* command, int run) {
    try {
        std::unique_ptr<CUpdateJob> job(new CUpdateJob(fileName, url, command, run));
        job->m_codeModule = ReferenceModuleAt(reinterpret_cast<const void*>(&UpdateThreadProc));
        if (!job->m_codeModule)
            return 0;
        ChangeRunningCount(+1);
        CHandle thread(CreateThread(nullptr, 0, UpdateThreadProc, job.get(), 0, nullptr));
        if (!thread) {
            ChangeRunningCount(-1);
            return 0;
        }
        job.release();
        return 1;
    } catch (...) {
        return 0;
    }
}

DWORD WINAPI UpdateThreadProc(LPVOID param) {
    std::unique_ptr<CUpdateJob> job(static_cast<CUpdateJob*>(param));
    const HRESULT result = RunJob(*job);
    HMODULE module = job->m_codeModule.Detach();
    job.reset();
    ChangeRunningCount(-1);
    // Drops the thread's reference on the module only once no more of its
    // code runs on this thread: an unload may follow at once.
    FreeLibraryAndExitThread(module, static_cast<DWORD>(result));
}

bool WaitForUpdateThreads(DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    AcquireSRWLockExclusive(&theCountLock);
    while (theRunningCount > 0) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        // Waits for an update thread to finish, at most until the deadline.
        SleepConditionVariableSRW(&theCountChanged, &theCountLock,
                                  static_cast<DWORD>(deadline - now), 0);
    }
    const bool none = theRunningCount == 0;
    ReleaseSRWLockExclusive(&theCountLock);
    return none;
}
