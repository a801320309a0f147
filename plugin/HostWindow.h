#pragma once
// The host's window for asynchronous results: a 32-bit value the host sets
// as signed decimal text, 0 until it does. Window handles carry 32
// significant bits also in 64-bit processes, where the value is widened with
// its sign, as the system widens handles itself.

#include <windows.h>

void SetHostWindow(LONG value);
// The value as the host gave it.
LONG GetHostWindowValue();
// Read afresh for every delivery: the host may set another window at any
// time.
HWND GetHostWindow();
