#pragma once
// The control-host window class "AtlAxWin90": while a window of it handles
// WM_CREATE it creates the ActiveX control its window text names (a class
// identifier such as "{8856F961-340A-11D0-A96B-00C04FD705A2}" or a ProgID)
// and sites it, so the control can be activated in place and fills the
// window's client area. OLE is initialised on the window's thread while the
// window exists.

#include "Window.h"

#include <windows.h>
#include <ole2.h>

// Registers the class; registering again is harmless.
BOOL AtlAxWinInit();

// The hosted control's IUnknown, with a reference for the caller.
HRESULT AtlAxGetControl(HWND host, IUnknown** control);

template <class TBase = CWindow> class CAxWindowT : public TBase {
public:
    static const char* GetWndClassName() { return "AtlAxWin90"; }
};
