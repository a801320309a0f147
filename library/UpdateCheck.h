#pragma once
// The update check: the caller's version against the latest one the web
// service lists, the user's answer, and the download handed on.

#include "CString.h"

#include <vector>

// The check behind CheckUpdate. Returns the current version, or the latest
// one when a different version is listed (whatever the user answered), as
// they stood before any box was shown: the boxes let go of the library lock.
CString CheckForUpdate(const char* company, const char* software, const char* version,
                       const char* options);

// Starts an update thread for the file at url, named by the address's last
// part; run is 1 to start or swap in the file after the download. An empty
// url, or a name IsSafeUpdateFileName refuses, starts nothing.
void StartUpdateDownload(CString url, CString command, int run);

// Everything after the last "/" of the address, a query part included;
// empty for an address that ends in "/".
CString UpdateFileName(const CString& url);

// The pieces of text between the occurrences of delimiter, left to right,
// empty ones included; the whole text when delimiter is empty.
std::vector<CString> SplitString(CString text, CString delimiter);
