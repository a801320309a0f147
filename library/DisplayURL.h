#pragma once
// A browser window on any address, for the calling application.

#include "CString.h"

// The address the last DisplayURL call opened.
extern CString theDisplayURL;

// Opens url without waiting and returns 0 (the launcher's result). width
// and height, each may be null, are the window's outer size in and out:
// they must stay valid until the window has closed. Null ones use the
// browser window's default size. The window closes closeDelaySeconds (0:
// the window's default) after its one-second wait, or when the user closes
// it.
int DisplayURL(const char* url, int* width, int* height, int closeDelaySeconds);
