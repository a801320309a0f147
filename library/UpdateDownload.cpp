#include "UpdateDownload.h"

#include "DownloadStatus.h"
#include "StallWatch.h"

#include <urlmon.h>

#include <atomic>

namespace {

std::atomic<DWORD> theStallLimit{kDownloadStallLimitMs};

} // namespace

void SetDownloadStallLimit(DWORD milliseconds) {
    theStallLimit = milliseconds;
}

CString PartialDownloadPath(const CString& target) {
    return target + ".part";
}

HRESULT DownloadUpdateFile(const CString& url, const CString& target) {
    CComPtr<CDownloadStatus> status = CDownloadStatus::Create();
    if (!status)
        return E_OUTOFMEMORY;
    const CString partial = PartialDownloadPath(target);
    HRESULT result = S_OK;
    {
        CStallWatch watch(*status, theStallLimit);
        result = URLDownloadToFileA(nullptr, url, partial, 0, status);
    }
    // URLDownloadToFileA saves an HTTP error page, or whatever arrived before
    // the connection broke or the download was aborted, and may still report
    // success.
    if (result == S_OK && status->ServerFailed())
        result = INET_E_DOWNLOAD_FAILURE;
    if (result == S_OK && !MoveFileExA(partial, target, MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        result = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    if (result != S_OK)
        DeleteFileA(partial);
    return result;
}
