#include "AboutWindow.h"

#include "LaunchURLWindow.h"
#include "LibraryLock.h"
#include "PageFile.h"
#include "PageValues.h"
#include "ProductRecord.h"

#include <cstdlib>
#include <memory>

CString theAboutPageURL;
WindowSize theAboutWindowSize = {600, 400};

namespace {

const int kDefaultTimeoutSeconds = 100;
const int kCloseDelaySeconds = 1;
const DWORD kAboutStyle = WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

} // namespace

int AboutTimeoutSeconds(const CString& text) {
    const int seconds = std::atoi(text.GetString());
    return seconds < 1 ? kDefaultTimeoutSeconds : seconds;
}

int ShowAboutPage(const char* company, const char* software, const char* version) {
    CLibraryLock hold;
    LoadContext(company, software, version);
    RefreshProductRecord();
    ParamMap values = BuildPageValues(theFacts, theUserValues, theLastStatus);
    theAboutPageURL = WritePageFile(values["n_aboutb"], "about.htm", values);
    const int timeoutSeconds = AboutTimeoutSeconds(values["n_aboutt"]);

    // The window writes its address and size back until it is gone, which
    // may be after the next About: into storage of its own, not the globals.
    std::unique_ptr<CWindowStorage> storage(new CWindowStorage());
    storage->m_address = theAboutPageURL;
    storage->ShareSize(theAboutWindowSize);
    CWindowStorage& window = *storage;
    LaunchURLWindow(std::move(storage), &window.m_address, nullptr, &window.m_size.width,
                    &window.m_size.height, timeoutSeconds, kCloseDelaySeconds, nullptr, nullptr,
                    nullptr, 0, kAboutStyle, nullptr);
    return ServiceResultValue();
}

int About(const char* company, const char* software, const char* version) {
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        return ShowAboutPage(company, software, version);
    } catch (...) {
        // As for a record without the value: About has no failure result.
        return 0;
    }
}
