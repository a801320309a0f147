// Test entry point shared by every test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace {

struct WatchdogRecord {
    HANDLE stop;
    DWORD seconds;
};

// A hung test must fail, not hold the whole run until the outer time-out.
DWORD WINAPI Watchdog(void* param) {
    auto* record = static_cast<WatchdogRecord*>(param);
    // Waits for the tests to finish; running out means they hang.
    if (WaitForSingleObject(record->stop, record->seconds * 1000) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "watchdog: test still running after %lu s, failing it\n",
                     record->seconds);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

DWORD WatchdogSeconds() {
    const char* text = std::getenv("BRC_TEST_WATCHDOG");
    return text ? static_cast<DWORD>(std::atoi(text)) : 100;
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);

    WatchdogRecord record{CreateEventA(nullptr, TRUE, FALSE, nullptr), WatchdogSeconds()};
    HANDLE watchdog = nullptr;
    if (record.stop && record.seconds > 0)
        watchdog = CreateThread(nullptr, 0, Watchdog, &record, 0, nullptr);

    const int result = RUN_ALL_TESTS();

    // The watchdog ends before the process does: a thread still sleeping
    // while the process exits has been seen to crash Wine at exit.
    if (watchdog) {
        SetEvent(record.stop);
        // Waits for the watchdog to see the stop event; it does nothing else.
        WaitForSingleObject(watchdog, INFINITE);
        CloseHandle(watchdog);
    }
    if (record.stop)
        CloseHandle(record.stop);
    return result;
}
