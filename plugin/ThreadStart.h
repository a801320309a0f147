#pragma once
// Creation of the plug-in's own threads, suspended, with the retries that
// ride out a short shortage of system resources, and the end of one that
// was never resumed.

#include <windows.h>

// CreateThread's shape. Tests put a function of their own here to make
// creation fail; everything else leaves it alone.
using CreateThreadFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE,
                                             LPVOID, DWORD, LPDWORD);
void SetCreateThreadFunction(CreateThreadFunction function);

// Up to ten tries, 10 ms apart after each failed one. The thread is created
// suspended, default security and stack. Null when every try failed;
// *anyFailed tells whether any try failed.
HANDLE CreateSuspendedThread(LPTHREAD_START_ROUTINE start, void* parameter, DWORD* threadId,
                             bool* anyFailed);

// Ends a thread made by CreateSuspendedThread that was never resumed, once it
// has finished starting up: under 32-bit Wine an end that reaches a thread
// still starting up crashes the process.
void EndNeverResumedThread(HANDLE thread, DWORD exitCode);
