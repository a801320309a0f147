#include "MessageDispatcher.h"

#include "ListEncoding.h"
#include "ThreadStart.h"

#include <climits>

const wchar_t kProtocolIdentifier[] = L"B9A8638E9F624A5796B7BAFF89AD132C";

namespace {

DWORD MsLeft(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now < deadline ? static_cast<DWORD>(deadline - now) : 0;
}

// Serves the messages sent to this thread's windows; posted ones stay for the
// owner's loop.
void ServeSentMessages() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool SentMessageWaiting() {
    return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
}

// True when one of the handles was signalled before the deadline. Messages
// sent to this thread's windows are answered meanwhile: the thread waited for
// may be inside a send to one of them.
bool WaitAnsweringSentMessages(const HANDLE* handles, DWORD count, ULONGLONG deadline) {
    for (;;) {
        ServeSentMessages();
        const DWORD left = MsLeft(deadline);
        // Waits for the handles, waking for each message sent to this thread.
        const DWORD result =
            MsgWaitForMultipleObjectsEx(count, handles, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result < WAIT_OBJECT_0 + count)
            return true;
        if (result != WAIT_OBJECT_0 + count || left == 0)
            return false;
    }
}

} // namespace

CMessageDispatcher::CMessageDispatcher() : m_queue(0) {
    m_queueSemaphore.Attach(CreateSemaphoreA(nullptr, 0, LONG_MAX, nullptr));
    m_stopSemaphore.Attach(CreateSemaphoreA(nullptr, 0, 1, nullptr));
    m_parked.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_entered.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_queueSemaphore || !m_stopSemaphore || !m_parked || !m_entered)
        return;
    bool anyFailed = false;
    m_thread.Attach(CreateSuspendedThread(SenderThreadProc, this, &m_threadId, &anyFailed));
    if (!m_thread)
        return;
    SetThreadPriority(m_thread, THREAD_PRIORITY_TIME_CRITICAL);
    // Resumed by the first message, not here: the module's construction runs
    // under the loader's lock, and a thread resumed now could not start
    // until the load is over. A host that lets the module go at once would
    // stop a sender that has not yet entered this module's code, and it would
    // enter it after the unload.
    m_running.store(1);
}

CMessageDispatcher::~CMessageDispatcher() {
    StopMessageSender();
    // m_queue's destruction, last of all, sends what is still queued.
}

void CMessageDispatcher::QueueMessage(const wchar_t* protocol, HWND window,
                                      const CPluginString& body) {
    if (!IsRunning())
        return;
    ResumeSenderOnce();
    std::unique_ptr<CCopyDataMessage> message(new CCopyDataMessage);
    message->window = window;
    message->text = CPluginString::Concat(CPluginString(protocol), body);
    m_queue.Add(std::move(message));
    // After the append, so the count never runs ahead of the queue.
    ReleaseSemaphore(m_queueSemaphore, 1, nullptr);
}

// Producers run outside the loader's lock (a worker, or the host's thread in
// an export), so the sender can start here; the first producer waits until
// it has, so that from then on a stop always finds it in this module's code.
void CMessageDispatcher::ResumeSenderOnce() {
    int suspended = kSenderSuspended;
    if (!m_senderState.compare_exchange_strong(suspended, kSenderResumed))
        return;
    ResumeThread(m_thread);
    // Bounded: the sender's first step is to set the event; the bound only
    // guards against a start held up by the system.
    WaitForSingleObject(m_entered, kStopWaitMs);
}

// The semaphores stay open until the destruction: a producer that saw the
// dispatcher running just before the stop may still release the queue's.
void CMessageDispatcher::StopMessageSender() {
    if (m_running.exchange(0) == 0)
        return;
    // One budget for the stop's waits and the final delivery's: all of them
    // may run under the loader's lock, which every other thread may need.
    const ULONGLONG deadline = GetTickCount64() + kStopWaitMs;
    m_queue.SetDeliveryDeadline(deadline);
    EndSenderThread(deadline);
}

// The sender ends only where it holds no lock and runs none of this module's
// code: parked in its last wait.
void CMessageDispatcher::EndSenderThread(ULONGLONG deadline) {
    int suspended = kSenderSuspended;
    if (m_senderState.compare_exchange_strong(suspended, kSenderNeverRan)) {
        // Never resumed, so it has run nothing and holds nothing.
        EndNeverResumedThread(m_thread, 1);
        m_thread.Close();
        return;
    }
    // A resumed sender has entered this module's code: its resumer waited.
    WaitForSingleObject(m_entered, MsLeft(deadline));
    // Before the stop, so that the sender finds its end waiting when it parks.
    const bool exitQueued = QueueSenderExit();
    m_exitQueued.store(true);
    ReleaseSemaphore(m_stopSemaphore, 1, nullptr);
    AnswerSendersMessage(deadline);
    const HANDLE waits[2] = {m_parked, m_thread};
    if (!WaitAnsweringSentMessages(waits, 2, deadline)) {
        // Still inside a send to a window that does not answer, where it must
        // not be ended: it keeps the handles it uses.
        m_thread.Detach();
        m_parked.Detach();
        m_queueSemaphore.Detach();
        m_stopSemaphore.Detach();
        return;
    }
    // Parked with no end waiting: it holds nothing there.
    if (!exitQueued)
        TerminateThread(m_thread, 1);
    m_thread.Close();
}

// Ended by the system's own ExitThread, run as an APC in its parked wait:
// no code of this module runs on it again, and it gets a thread's normal
// cleanup, which TerminateThread skips (the window system's message queue
// of a thread that has sent a message would stay open, one handle a load).
// Under the loader's lock its exit waits for that lock, after the unload;
// so it is not waited for. Fails when the thread has ended already, as at
// the process's exit.
bool CMessageDispatcher::QueueSenderExit() {
    const FARPROC exitThread = GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitThread");
    const PAPCFUNC routine = reinterpret_cast<PAPCFUNC>(reinterpret_cast<void*>(exitThread));
    return routine && QueueUserAPC(routine, m_thread, 1);
}

// A stop from inside the window procedure that the sender waits for (the
// host lets the module go while it handles the module's message) would wait
// for itself: that message is answered now, as its reply is not used. A
// message of another host thread keeps the answer its window procedure
// gives. No call names the sender of the message being handled, so it counts
// as the sender's when the sender is inside its send to this thread, the
// message was sent with SendMessage and is not yet answered, and no sent
// message waits in this thread's queue on two looks kConfirmMs apart: the
// sender marks its send just before its message reaches the queue, and a
// message found waiting is served here first. A known limit: a host whose
// handler sends to another of its threads, which sends back to this one and
// lets the module go inside that inner message, gets the early answer for
// the inner message, not the sender's.
void CMessageDispatcher::AnswerSendersMessage(ULONGLONG deadline) {
    if ((InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) != ISMEX_SEND)
        return;
    int looks = 0;
    while (m_sendingTo.load() == GetCurrentThreadId()) {
        if (SentMessageWaiting()) {
            ServeSentMessages();
            looks = 0;
        } else if (++looks == 2) {
            m_answeredEarly.store(true);
            ReplyMessage(0);
            return;
        }
        const DWORD left = MsLeft(deadline);
        if (left == 0)
            return;
        // Gives a marked send time to reach the queue; wakes for a message
        // sent to this thread.
        MsgWaitForMultipleObjectsEx(0, nullptr, left < kConfirmMs ? left : kConfirmMs,
                                    QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    }
}

DWORD WINAPI CMessageDispatcher::SenderThreadProc(LPVOID parameter) {
    CMessageDispatcher* dispatcher = static_cast<CMessageDispatcher*>(parameter);
    SetEvent(dispatcher->m_entered);
    dispatcher->SendUntilStopped();
    dispatcher->WaitForQueuedExit();
    dispatcher->Park();
}

void CMessageDispatcher::SendUntilStopped() {
    const HANDLE handles[2] = {m_stopSemaphore, m_queueSemaphore};
    DWORD waitCount = 2;
    for (;;) {
        // Sleeps until a message is queued or the stop comes; with both
        // signalled the stop, the first handle, is the one reported.
        const DWORD result = WaitForMultipleObjects(waitCount, handles, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        // After a failure the rest stays queued for the destruction.
        if (!SendFirst())
            waitCount = 1;
    }
}

bool CMessageDispatcher::SendFirst() {
    try {
        if (m_queue.IsEmpty())
            return true;
        std::unique_ptr<CCopyDataMessage> record = m_queue.TakeFirst();
        if (!record)
            return true;
        m_sendingTo.store(GetWindowThreadProcessId(record->window, nullptr));
        SendCopyDataMessage(*record);
        m_sendingTo.store(0);
        // The window procedure answered early may still read the struct and
        // the text, which the record holds: it is left to the process.
        if (m_answeredEarly.load())
            record.release();
        return true;
    } catch (...) {
        return false;
    }
}

// Only a failed wait leaves the send loop before the stop; the sender then
// waits here for its end to be queued, without an alertable wait.
void CMessageDispatcher::WaitForQueuedExit() {
    while (!m_exitQueued.load())
        Sleep(kExitPollMs);
}

void CMessageDispatcher::Park() {
    // The end is queued already, so this wait runs it at once: the event is
    // set in the same step as the wait begins and the thread never returns
    // here, so the stopper never finds it still in the module's code. (An
    // end queued to a thread asleep in this wait would wake it, and under
    // Wine its wait is made again, the event set again: after the unload
    // that handle may be closed, or another object's.) The wait is for this
    // thread's own end, which is never satisfied.
    SignalObjectAndWait(m_parked, GetCurrentThread(), INFINITE, TRUE);
    for (;;)
        SleepEx(INFINITE, TRUE);
}

void SendAsyncMessage(CMessageDispatcher& dispatcher, HWND window, const CPluginString& key,
                      const CPluginString& value, CResultList* results) {
    if (results && results->IsCollecting()) {
        results->AddPair(key, value);
        return;
    }
    CPluginString body;
    EncodeList(body, {&key, &value});
    dispatcher.QueueMessage(kProtocolIdentifier, window, body);
}
