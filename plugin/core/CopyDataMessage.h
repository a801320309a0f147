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

// As SendCopyDataMessage, but a window of another thread is given at most
// the time until the deadline (GetTickCount64): the caller may hold a lock
// that the window's thread is waiting for. False when the window did not
// answer in time: it may then still read the message.
bool SendCopyDataMessageBefore(CCopyDataMessage& message, ULONGLONG deadline);
