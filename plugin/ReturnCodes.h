#pragma once
// The codes a dispatched call can end with besides a handler's own, and the
// texts the manifest gives the host for them.

enum {
    kCodeUnknownException = -1,
    kCodeNoAlias = -2,
    kCodeNoCommand = -3,
    kCodeComException = -4,
    kCodeAsyncOnly = -5,
    kCodeNoThread = -6,
};

// The text of a code from -1 to -6, else null.
const wchar_t* ReturnCodeText(int code);
