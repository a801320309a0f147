#pragma once
// The update check: the caller's version against the latest one the web
// service lists, the user's answer, and the download handed on.

#include "CString.h"

#include <vector>

// The check behind CheckUpdate. Returns a pointer to theCurrentVersion, or
// to the l_latest value of theFacts when a different version is listed
// (whatever the user answered); valid until the next library call.
const char* CheckForUpdate(const char* company, const char* software, const char* version,
                           const char* options);

// Starts an update thread for the file at url, named by the address's last
// part; run is 1 to start or swap in the file after the download. An empty
// url starts nothing.
void StartUpdateDownload(CString url, CString command, int run);

// Everything after the last "/" of the address, a query part included;
// empty for an address that ends in "/".
CString UpdateFileName(const CString& url);

// The pieces of text between the occurrences of delimiter, left to right,
// empty ones included; the whole text when delimiter is empty.
std::vector<CString> SplitString(CString text, CString delimiter);
