#pragma once
// The one entry of the browser window: shows an address in a window of its
// own and reports how the page ended.
//
// The window writes back through the pointers given here until it is gone,
// which may be long after this returns: every object they point to must
// live until then.

#include "AppModule.h"
#include "CString.h"

#include <windows.h>

// Where a watch text is looked for, and where it was found. A request with
// any value but kWatchAddress or kWatchPageText looks in both, the address
// first; the window writes kWatchNotFound at launch.
enum WatchMode {
    kWatchNotFound = 0,
    kWatchAddress = 1,
    kWatchPageText = 2,
    kWatchAddressAndPage = 3,
};

struct WindowSize {
    int width;
    int height;
};

// Default address of a new window and target of its address write-back.
extern CString theDefaultURL;
// The size of every window opened without a width or height; such a window
// writes its size back here after each top-level load and as it is
// destroyed, both numbers at once (WindowStorage.h).
extern WindowSize theDefaultWindowSize;
extern CAppModule theAppModule;

// Returns 0 when not waiting or when the page ended the wait (watch text
// found, navigation limit passed), 1 when the time-out ran out, -1 on an
// error (window not ready, navigation not started, navigation error, error
// page, offline, or the user closed the window while waiting).
int ShowURLWindow(CString* address, CString* pageTextOut, int* width, int* height,
                  int timeoutSeconds, int closeDelaySeconds, const char* watchText, int* watchMode,
                  int* navigationLimit, int wait, DWORD style, HWND* parentWindow);

// EnumThreadWindows callback: keeps the first real window in *found.
BOOL CALLBACK FindThreadWindowProc(HWND window, LPARAM found);
