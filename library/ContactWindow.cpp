#include "ContactWindow.h"

#include "LaunchURLWindow.h"
#include "ProductRecord.h"
#include "ServiceAddress.h"

#include <memory>

WindowSize theContactWindowSize = {800, 565};

namespace {

const int kTimeoutSeconds = 1000;
// Long enough to read the thank-you page.
const int kCloseDelaySeconds = 10;
const DWORD kContactStyle = WS_OVERLAPPEDWINDOW;

} // namespace

int ShowContactSupport(const char* company, const char* software, const char* version) {
    LoadContext(company, software, version);
    RefreshProductRecord();
    if (theServiceBaseURL.IsEmpty())
        theServiceBaseURL = theDefaultServiceBaseURL;
    // The thank-you page names the host the form was sent to.
    const CString watchText = CString("Thank you for using ") + theServiceHostName;

    // The window lingers for its close delay after this returns and keeps
    // writing its address, the place of the find and its size: into storage
    // that goes with the window.
    std::unique_ptr<CWindowStorage> storage(new CWindowStorage());
    storage->m_address =
        theServiceBaseURL + "supportcontact.php?" + "p_softwareid=" + theFacts["p_softwareid"];
    storage->m_watchMode = kWatchPageText;
    storage->ShareSize(theContactWindowSize);
    CWindowStorage& window = *storage;
    theLastStatus =
        LaunchURLWindow(std::move(storage), &window.m_address, nullptr, &window.m_size.width,
                        &window.m_size.height, kTimeoutSeconds, kCloseDelaySeconds, watchText,
                        &window.m_watchMode, nullptr, 1, kContactStyle, nullptr);
    return ServiceResultValue();
}

int ContactSupport(const char* company, const char* software, const char* version) {
    return ShowContactSupport(company, software, version);
}
