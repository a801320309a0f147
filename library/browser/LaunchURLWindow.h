#pragma once
// The launcher behind ShowURLWindow, for the library's own windows: the
// request's window takes over storage of its own and frees it when the
// window object goes, so the pointers into it stay good for the window's
// whole life.

#include "ShowURLWindow.h"
#include "WindowStorage.h"

#include <memory>

class CIENavigator;

// As ShowURLWindow; storage may be null. A request without a width or a
// height gets its own from storage (made when there is none), started from
// theDefaultWindowSize and given back there each time the window writes its
// size.
int LaunchURLWindow(std::unique_ptr<CWindowStorage> storage, CString* address, CString* pageTextOut,
                    int* width, int* height, int timeoutSeconds, int closeDelaySeconds,
                    const char* watchText, int* watchMode, int* navigationLimit, int wait,
                    DWORD style, HWND* parentWindow);

// Tests only: called on the caller's thread with each request as the window
// will start it, before its threads start.
extern void (*theLaunchObserver)(const CIENavigator& request);
