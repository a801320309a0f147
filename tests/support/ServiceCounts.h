#pragma once
// What the local web service counted for one of its paths: how often it was
// asked, and the most requests in progress at once.

#include <string>

struct ServiceCounts {
    int requests = -1;
    int mostAtOnce = -1;
};

// The counts for a path of the local service, such as "/download/x/app.exe",
// since the last reset.
ServiceCounts CountsAtService(const std::string& path);
// Starts the path's counts afresh: a test that counts its downloads may run
// more than once in one service's life.
void ResetCountsAtService(const std::string& path);
// The address of a path of the local service, such as "download/x/app.exe".
std::string ServiceAddress(const std::string& path);
