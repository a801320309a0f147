#pragma once
// Fetches an update file into the update folder.

#include "CString.h"

#include <windows.h>

// Downloads url into target. The file is fetched under a temporary name
// beside the target and renamed only once it is known to be whole, so a
// failed, cut-off or refused download never leaves a file at the target.
// Returns S_OK when the whole file stands at the target, else the failure:
// URLDownloadToFileA's own, INET_E_DOWNLOAD_FAILURE for an HTTP error or a
// cut-off answer, or the rename's error.
HRESULT DownloadUpdateFile(const CString& url, const CString& target);

// The temporary name a download of target is fetched under.
CString PartialDownloadPath(const CString& target);
