// Test entry point shared by every test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <type_traits>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct WatchdogRecord {
    DWORD seconds;
    HANDLE testsDone;
};

// A hung test must fail, not hold the whole run until the outer time-out.
DWORD WINAPI Watchdog(void* param) {
    const WatchdogRecord* record = static_cast<const WatchdogRecord*>(param);
    // Waits for the tests to end, at most the time a test may take.
    if (WaitForSingleObject(record->testsDone, record->seconds * 1000) != WAIT_TIMEOUT)
        return 0;
    std::fprintf(stderr, "watchdog: test still running after %lu s, failing it\n", record->seconds);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);

    DWORD seconds = 100;
    if (const char* text = std::getenv("BRC_TEST_WATCHDOG"))
        seconds = static_cast<DWORD>(std::atoi(text));
    Handle testsDone(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    WatchdogRecord record{seconds, testsDone.get()};
    Handle watchdog;
    if (seconds > 0 && testsDone)
        watchdog.reset(CreateThread(nullptr, 0, Watchdog, &record, 0, nullptr));

    const int result = RUN_ALL_TESTS();
    // Under Wine a process that exits while another of its threads still
    // runs now and then dies of a segmentation fault after its tests passed:
    // the watchdog is ended first.
    if (watchdog) {
        SetEvent(testsDone.get());
        // The watchdog returns as soon as it sees the event.
        WaitForSingleObject(watchdog.get(), INFINITE);
    }
    return result;
}
