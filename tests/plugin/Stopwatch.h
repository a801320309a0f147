#pragma once
// Elapsed time from the performance counter: Wine's tick count follows its
// server's timer and lags behind when the machine is busy.

#include <windows.h>

class CStopwatch {
public:
    CStopwatch() { QueryPerformanceCounter(&m_start); }
    long long ElapsedMs() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return (now.QuadPart - m_start.QuadPart) * 1000 / frequency.QuadPart;
    }

private:
    LARGE_INTEGER m_start;
};
