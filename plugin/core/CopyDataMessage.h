#pragma once
// One record bound for the host: a whole message text for a window, or, in
// the result list of a synchronous call, one name/value pair.

#include "PluginString.h"

struct CCopyDataMessage {
    HWND window = nullptr;
    CPluginString text;
    CPluginString name;
    CPluginString value;
    // What lParam points at while the text is sent. It lives in the record,
    // not on the sending thread's stack, so a record kept after its send
    // keeps the struct and the text valid together.
    COPYDATASTRUCT copyData = {};
};

// Hands the text to the record's window as WM_COPYDATA (dwData 0, cbData the
// text's bytes without a terminator) and waits until the window procedure
// returns. A window that does not exist receives nothing.
void SendCopyDataMessage(CCopyDataMessage& message);

enum class CopyDataSend {
    // Answered, or its window is gone: nothing reads the message any more.
    Done,
    // The deadline had passed before it was handed over.
    NotSent,
    // Handed over, and not answered in time: the window may still read it.
    TimedOut,
};

// As SendCopyDataMessage, but a window of another thread is given at most
// the time until the deadline (GetTickCount64): the caller may hold a lock
// that the window's thread is waiting for. A window of this thread, or none,
// needs no time and is always Done.
CopyDataSend SendCopyDataMessageBefore(CCopyDataMessage& message, ULONGLONG deadline);
