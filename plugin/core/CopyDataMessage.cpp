#include "CopyDataMessage.h"

namespace {

COPYDATASTRUCT CopyDataOf(const CCopyDataMessage& message) {
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(message.text.GetLength()) * sizeof(wchar_t);
    data.lpData = message.text.GetBSTR();
    return data;
}

} // namespace

void SendCopyDataMessage(const CCopyDataMessage& message) {
    COPYDATASTRUCT data = CopyDataOf(message);
    // The reply carries nothing the host promises.
    SendMessageA(message.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

bool SendCopyDataMessageBefore(const CCopyDataMessage& message, ULONGLONG deadline) {
    if (!message.window ||
        GetWindowThreadProcessId(message.window, nullptr) == GetCurrentThreadId()) {
        SendCopyDataMessage(message);
        return true;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return false;
    COPYDATASTRUCT data = CopyDataOf(message);
    DWORD_PTR reply = 0;
    // Bounded: the window's thread may itself wait for a lock this thread
    // holds, and would then never answer.
    if (SendMessageTimeoutA(message.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_NORMAL, static_cast<UINT>(deadline - now), &reply))
        return true;
    return GetLastError() != ERROR_TIMEOUT;
}
