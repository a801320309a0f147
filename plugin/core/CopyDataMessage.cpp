#include "CopyDataMessage.h"

namespace {

LPARAM CopyDataOf(CCopyDataMessage& message) {
    COPYDATASTRUCT& data = message.copyData;
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(message.text.GetLength()) * sizeof(wchar_t);
    data.lpData = message.text.GetBSTR();
    return reinterpret_cast<LPARAM>(&data);
}

} // namespace

void SendCopyDataMessage(CCopyDataMessage& message) {
    // The reply carries nothing the host promises.
    SendMessageA(message.window, WM_COPYDATA, 0, CopyDataOf(message));
}

CopyDataSend SendCopyDataMessageBefore(CCopyDataMessage& message, ULONGLONG deadline) {
    if (!message.window ||
        GetWindowThreadProcessId(message.window, nullptr) == GetCurrentThreadId()) {
        SendCopyDataMessage(message);
        return CopyDataSend::Done;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return CopyDataSend::NotSent;
    DWORD_PTR reply = 0;
    // Bounded: the window's thread may itself wait for a lock this thread
    // holds, and would then never answer.
    if (SendMessageTimeoutA(message.window, WM_COPYDATA, 0, CopyDataOf(message), SMTO_NORMAL,
                            static_cast<UINT>(deadline - now), &reply) ||
        GetLastError() != ERROR_TIMEOUT)
        return CopyDataSend::Done;
    return CopyDataSend::TimedOut;
}
