// Test entry point shared by every test program.
#include <gtest/gtest.h>

#include <windows.h>

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
        // Straight to the handle: a hung test may hold the runtime's stream
        // lock, and the watchdog must not wait for it.
        char text[96];
        const int length = wsprintfA(text, "watchdog: test still running after %lu s, failing it\r\n",
                                     record->seconds);
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written,
                  nullptr);
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
