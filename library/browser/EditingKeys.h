#pragma once
// The browser window's message filter: the control gets the usual editing
// and page keys, and translates its other keys itself.

#include <windows.h>
#include <exdisp.h>

// For a WM_CHAR: a key of the table runs its command through
// IWebBrowser2::ExecWB without prompting; any other character goes to the
// control's IOleInPlaceActiveObject::TranslateAccelerator. Always FALSE, so
// the message loop still translates and dispatches the message.
BOOL HandleBrowserKey(MSG* message, IWebBrowser2* control);
