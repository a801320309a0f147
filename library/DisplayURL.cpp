#include "DisplayURL.h"

#include "LaunchURLWindow.h"
#include "LibraryLock.h"

#include <memory>

CString theDisplayURL;

namespace {

const int kTimeoutSeconds = 1;
const DWORD kDisplayStyle = WS_OVERLAPPEDWINDOW;
const int kWindowError = -1;

} // namespace

int DisplayURL(const char* url, int* width, int* height, int closeDelaySeconds) {
    CLibraryLock hold;
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        theDisplayURL = url;
        // Several such windows may be open at once: each writes its last
        // address into a string of its own, which goes with the window.
        std::unique_ptr<CWindowStorage> storage(new CWindowStorage());
        storage->m_address = theDisplayURL;
        CString& address = storage->m_address;
        return LaunchURLWindow(std::move(storage), &address, nullptr, width, height,
                               kTimeoutSeconds, closeDelaySeconds, nullptr, nullptr, nullptr, 0,
                               kDisplayStyle, nullptr);
    } catch (...) {
        // The launcher's own error result: no window could be shown.
        return kWindowError;
    }
}
