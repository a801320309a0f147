#pragma once
// Public library function: the update check.

// Checks whether the web service lists a version of the product other than
// version, asks the user first when options hold "a" or "A", and hands the
// download to an update thread, which starts it or swaps it in for the
// program unless options hold "n" or "N". Returns the latest version when a
// different one is listed, else the current version, as text owned by the
// library and valid until the next call. Does not wait for the download.
const char* CheckUpdate(const char* company, const char* software, const char* version,
                        const char* options);
