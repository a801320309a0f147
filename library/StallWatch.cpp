#include "StallWatch.h"

#include <memory>
#include <new>

namespace {

// How long the destructor waits for the watching thread to end. The thread
// holds its own references to the download's status and to this module, so
// one that is late (inside the abort) does no harm when left to end alone.
const DWORD kStopWaitMs = 10000;

// The watching thread's own record, which it frees.
struct CWatchJob {
    CComPtr<CDownloadStatus> status;
    DWORD limit = 0;
    CHandle stop;
    CModuleReference codeModule;
};

DWORD WINAPI WatchThreadProc(LPVOID param) {
    std::unique_ptr<CWatchJob> job(static_cast<CWatchJob*>(param));
    // Several looks per limit, so a stall is caught soon after it passes.
    const DWORD interval =
        job->limit / 4 < 10 ? 10 : (job->limit / 4 > 1000 ? 1000 : job->limit / 4);
    // Sleeps between looks at the download; the stop event ends it at once.
    while (WaitForSingleObject(job->stop, interval) == WAIT_TIMEOUT) {
        if (job->status->AbortIfStalled(job->limit))
            break;
    }
    HMODULE module = job->codeModule.Detach();
    job.reset();
    // Drops the thread's module reference only once none of its code is
    // left to run.
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

CStallWatch::CStallWatch(CDownloadStatus& status, DWORD limit) {
    std::unique_ptr<CWatchJob> job(new (std::nothrow) CWatchJob());
    if (!job)
        return;
    job->status = CComPtr<CDownloadStatus>(&status);
    job->limit = limit;
    job->stop.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    job->codeModule = ReferenceModuleAt(reinterpret_cast<const void*>(&WatchThreadProc));
    HANDLE stop = nullptr;
    if (!job->stop || !job->codeModule ||
        !DuplicateHandle(GetCurrentProcess(), job->stop, GetCurrentProcess(), &stop, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return;
    m_stop.Attach(stop);
    m_thread.Attach(CreateThread(nullptr, 0, WatchThreadProc, job.get(), 0, nullptr));
    if (m_thread)
        job.release();
}

CStallWatch::~CStallWatch() {
    if (!m_thread)
        return;
    SetEvent(m_stop);
    // Until the watch has seen the stop; bounded, see kStopWaitMs.
    WaitForSingleObject(m_thread, kStopWaitMs);
}
