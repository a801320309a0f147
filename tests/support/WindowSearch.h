#pragma once
// What tests of several folders share about windows, threads and handles of
// their own process: waiting for a condition, finding and closing windows by
// caption, and counting threads and handles.

#include <windows.h>

#include <functional>
#include <string>

// Polls condition every 20 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// As WaitUntil, dispatching this thread's messages meanwhile.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The first top-level window of this process whose caption holds text
// (ignoring case), or null. Other tests run in other processes and cannot
// disturb this.
HWND FindProcessWindow(const std::string& text);
HWND WaitForProcessWindow(const std::string& text, DWORD timeoutMs = 10000);
bool WaitForWindowGone(HWND window, DWORD timeoutMs);
// Closes the window as its close box would and waits until it is gone.
bool CloseAndWait(HWND window, DWORD timeoutMs = 5000);
// The first child window of the given class, or null.
HWND FindChildOfClass(HWND parent, const char* className);
std::string CaptionOf(HWND window);

// Returns once the window's thread has finished what it was doing: a sent
// message is served only between two pieces of its work.
bool SyncWithWindowThread(HWND window);

int CountProcessThreads();
DWORD ProcessHandleCount();
