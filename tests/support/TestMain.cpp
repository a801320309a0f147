// Test entry point shared by every test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace {

// A hung test must fail, not hold the whole run until the outer time-out.
DWORD WINAPI Watchdog(void* param) {
    const DWORD seconds = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(param));
    Sleep(seconds * 1000);
    std::fprintf(stderr, "watchdog: test still running after %lu s, failing it\n", seconds);
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
    if (seconds > 0) {
        HANDLE thread = CreateThread(nullptr, 0, Watchdog,
                                     reinterpret_cast<void*>(static_cast<UINT_PTR>(seconds)), 0,
                                     nullptr);
        if (thread)
            CloseHandle(thread);
    }
    return RUN_ALL_TESTS();
}
