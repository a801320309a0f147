#pragma once
// The sender of asynchronous results: producers on any thread queue whole
// WM_COPYDATA messages, and one sender thread per module hands them to their
// windows one at a time, in the order they were queued.

#include "ResultList.h"
#include "UniqueHandle.h"

#include <atomic>

// Leads every message text; the host recognises the plug-in's messages by it.
extern const wchar_t kProtocolIdentifier[];

class CMessageDispatcher {
public:
    // Starts the sender thread at time-critical priority; without one every
    // message is dropped for the life of the dispatcher.
    CMessageDispatcher();
    // Stops the sender and sends what is still queued on this thread.
    ~CMessageDispatcher();
    CMessageDispatcher(const CMessageDispatcher&) = delete;
    CMessageDispatcher& operator=(const CMessageDispatcher&) = delete;

    // Dropped when the dispatcher is not running; otherwise the text is the
    // identifier followed by the body.
    void QueueMessage(const wchar_t* protocol, HWND window, const CPluginString& body);
    // Ends the sender thread without ending it inside a lock or a send; the
    // queue is kept for the destruction. Safe under the loader's lock.
    void StopMessageSender();

    bool IsRunning() const { return m_running.load() != 0; }
    int GetPendingCount() const { return m_queue.LockedGetCount(); }

    // How long a stop waits in all: for the sender's start, for it to finish
    // the message it is sending, and for the final delivery of what is left.
    static const DWORD kStopWaitMs = 5000;

private:
    // How often a sender that left its loop after a failed wait looks for
    // its end.
    static const DWORD kExitPollMs = 10;
    // How far apart the stop's two looks at its thread's queue are before it
    // answers the sender's message early.
    static const DWORD kConfirmMs = 50;

    static DWORD WINAPI SenderThreadProc(LPVOID parameter);
    void SendUntilStopped();
    bool SendFirst();
    void WaitForQueuedExit();
    [[noreturn]] void Park();
    void ResumeSenderOnce();
    void EndSenderThread(ULONGLONG deadline);
    bool QueueSenderExit();
    void AnswerSendersMessage(ULONGLONG deadline);

    enum { kSenderSuspended, kSenderResumed, kSenderNeverRan };

    // Declared first, so it is destroyed last, after the stop.
    CResultList m_queue;
    std::atomic<int> m_running{0};
    CHandle m_queueSemaphore;
    CHandle m_stopSemaphore;
    // Set by the sender, in one step with its last wait, once none of this
    // module's code will run on it again.
    CHandle m_parked;
    // Set by the sender as its first step in this module's code.
    CHandle m_entered;
    CHandle m_thread;
    DWORD m_threadId = 0;
    // Resumed by the first message, or ended unresumed by a stop that came
    // first; one exchange decides which.
    std::atomic<int> m_senderState{kSenderSuspended};
    // The thread of the window the sender is sending to, 0 between sends.
    std::atomic<DWORD> m_sendingTo{0};
    // Set by the stop once the sender's end is queued (or cannot be).
    std::atomic<bool> m_exitQueued{false};
    // Set when the stop answered the sender's message early: its text may
    // still be read by the window procedure.
    std::atomic<bool> m_answeredEarly{false};
};

// The value goes to the result list when one is given and collects;
// otherwise the body (the list of key and value) is queued for the window.
void SendAsyncMessage(CMessageDispatcher& dispatcher, HWND window, const CPluginString& key,
                      const CPluginString& value, CResultList* results);
