#include "HostWindow.h"

#include <atomic>

namespace {

// Written by the host's Set and read by whichever thread delivers a value.
std::atomic<LONG> theHostWindow{0};

} // namespace

void SetHostWindow(LONG value) {
    theHostWindow.store(value);
}

LONG GetHostWindowValue() {
    return theHostWindow.load();
}

HWND GetHostWindow() {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(theHostWindow.load()));
}
