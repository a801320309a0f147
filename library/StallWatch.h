#pragma once
// Aborts a download that has stopped receiving: a server that stops sending
// without closing the connection would otherwise hold the update thread, and
// every later update waiting behind it, for good.

#include "DownloadStatus.h"
#include "UniqueHandle.h"

#include <windows.h>

class CStallWatch {
public:
    // Starts watching the download that reports to status; aborts it once
    // nothing has arrived for limit milliseconds. When no watching thread
    // can be started the download runs unwatched.
    CStallWatch(CDownloadStatus& status, DWORD limit);
    // Stops the watch.
    ~CStallWatch();
    CStallWatch(const CStallWatch&) = delete;
    CStallWatch& operator=(const CStallWatch&) = delete;

private:
    CHandle m_stop;
    CHandle m_thread;
};
