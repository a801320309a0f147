#include "WaitTime.h"

DWORD WaitMillisecondsFromSeconds(int seconds) {
    const ULONGLONG milliseconds = static_cast<ULONGLONG>(static_cast<DWORD>(seconds)) * 1000;
    return milliseconds > kLongestFiniteWaitMs ? kLongestFiniteWaitMs
                                               : static_cast<DWORD>(milliseconds);
}
