#pragma once
// A window's time-out and close delay, given in seconds, as the milliseconds
// a wait takes.

#include <windows.h>

// The longest wait that still ends; INFINITE itself never would.
const DWORD kLongestFiniteWaitMs = INFINITE - 1;

// In 64 bits, so a long time in seconds cannot wrap round into a short wait,
// and capped at the longest finite wait. The seconds are read as unsigned,
// as the waits always have, so a negative count is a long wait, not none.
DWORD WaitMillisecondsFromSeconds(int seconds);
