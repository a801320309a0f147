#include "GetURL.h"

#include "HttpFetch.h"
#include "LibraryLock.h"

namespace {

// The text of the last call, kept for the caller until the next one.
CString theGetURLResult;

} // namespace

const char* brcGetURL(const char* url, int* length) {
    CLibraryLock hold;
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        theGetURLResult = FetchURL(url);
    } catch (...) {
        theGetURLResult.Empty();
        theLastStatus = kHttpStatusException;
    }
    if (length)
        *length = theGetURLResult.GetLength();
    return theGetURLResult;
}
