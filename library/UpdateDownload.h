#pragma once
// Fetches an update file into the update folder.

#include "CString.h"

#include <windows.h>

// Downloads url into target. The file is fetched under a temporary name
// beside the target and renamed only once it is known to be whole, so a
// failed, cut-off or refused download never leaves a file at the target.
// A download that receives nothing for the stall limit is aborted.
// Returns S_OK when the whole file stands at the target, else the failure:
// URLDownloadToFileA's own, INET_E_DOWNLOAD_FAILURE for an HTTP error, a
// cut-off answer or a stall, or the rename's error.
HRESULT DownloadUpdateFile(const CString& url, const CString& target);

// How long a download may receive nothing before it is aborted.
const DWORD kDownloadStallLimitMs = 60000;
// Sets that limit for the downloads that start from now on.
void SetDownloadStallLimit(DWORD milliseconds);

// The temporary name a download of target is fetched under.
CString PartialDownloadPath(const CString& target);
