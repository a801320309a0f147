#include "ContactWindow.h"

#include "LaunchURLWindow.h"
#include "LibraryLock.h"
#include "ProductRecord.h"
#include "ServiceAddress.h"

#include <memory>

WindowSize theContactWindowSize = {800, 565};

namespace {

const int kTimeoutSeconds = 1000;
// Long enough to read the thank-you page.
const int kCloseDelaySeconds = 10;
const DWORD kContactStyle = WS_OVERLAPPEDWINDOW;
const int kWindowError = -1;

} // namespace

int ShowContactSupport(const char* company, const char* software, const char* version) {
    CLibraryLock hold;
    LoadContext(company, software, version);
    RefreshProductRecord();
    if (theServiceBaseURL.IsEmpty())
        theServiceBaseURL = theDefaultServiceBaseURL;
    // The thank-you page names the host the form was sent to.
    const CString watchText = CString("Thank you for using ") + theServiceHostName;
    // Read before the wait, during which other calls may load another
    // product's record.
    const int serviceResult = ServiceResultValue();

    // The window lingers for its close delay after this returns and keeps
    // writing its address, the place of the find and its size: into storage
    // that goes with the window.
    std::unique_ptr<CWindowStorage> storage(new CWindowStorage());
    storage->m_address =
        theServiceBaseURL + "supportcontact.php?" + "p_softwareid=" + theFacts["p_softwareid"];
    storage->m_watchMode = kWatchPageText;
    storage->ShareSize(theContactWindowSize);
    CWindowStorage& window = *storage;
    int windowResult = kWindowError;
    {
        // The wait lasts until the user has sent the form or closed the
        // window: other threads' library calls go on meanwhile. The launcher
        // touches only this window's own storage, the shared sizes (which
        // have a lock of their own) and the window classes, whose set-up
        // the threads of several windows already run at once.
        CLibraryUnlockForWait wait;
        windowResult =
            LaunchURLWindow(std::move(storage), &window.m_address, nullptr, &window.m_size.width,
                            &window.m_size.height, kTimeoutSeconds, kCloseDelaySeconds, watchText,
                            &window.m_watchMode, nullptr, 1, kContactStyle, nullptr);
    }
    theLastStatus = windowResult;
    return serviceResult;
}

int ContactSupport(const char* company, const char* software, const char* version) {
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        return ShowContactSupport(company, software, version);
    } catch (...) {
        // Reported as the window's error result, the only failure
        // ContactSupport passes on; the return value is the one for a
        // record without the value.
        CLibraryLock hold;
        theLastStatus = kWindowError;
        return 0;
    }
}
