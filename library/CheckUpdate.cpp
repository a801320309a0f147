#include "CheckUpdate.h"

#include "CString.h"
#include "LibraryLock.h"
#include "ProductContext.h"
#include "UpdateCheck.h"

namespace {

// The text of the last call, kept for the caller until the next one.
CString theCheckUpdateResult;

} // namespace

const char* CheckUpdate(const char* company, const char* software, const char* version,
                        const char* options) {
    CLibraryLock hold;
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        theCheckUpdateResult = CheckForUpdate(company, software, version, options);
    } catch (...) {
        // As when the service could not be asked: nothing to fetch.
        try {
            theCheckUpdateResult = theCurrentVersion;
        } catch (...) {
            theCheckUpdateResult.Empty();
        }
    }
    return theCheckUpdateResult;
}
