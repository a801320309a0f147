#pragma once
// The update threads: each runs one CUpdateJob, one job at a time.

#include <windows.h>

// Starts an update thread for the job; returns 1 when it was created, 0
// when not. The caller neither waits for it nor keeps its handle.
int StartUpdateThread(const char* fileName, const char* url, const char* command, int run);

// Runs the CUpdateJob it is handed, owns it and frees it. The exit code is
// the download's result, or 0 when no download was made.
DWORD WINAPI UpdateThreadProc(LPVOID job);

// Waits until no update thread is running any more, at most timeout
// milliseconds; true when none is. For an orderly end of the program.
// Not for DllMain: an update thread holds a reference on the module that
// runs its code, so the module is not unloaded under it, and at process
// exit the system has already ended it.
bool WaitForUpdateThreads(DWORD timeout);
