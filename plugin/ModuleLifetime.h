#pragma once
// The module's process-wide objects and the steps that start and stop them,
// shared by every module built from this library. The registrations come
// first, by their own static objects; then the message dispatcher, then the
// running-thread map, so they are destroyed in the reverse order: the map,
// then the dispatcher, whose destruction sends what is still queued while
// the registrations are still there.

#include <windows.h>

class CMessageDispatcher;
class CRunningThreads;

CMessageDispatcher& TheMessageDispatcher();
CRunningThreads& TheRunningThreads();

// DLL_PROCESS_ATTACH: keeps the module handle and gives back the record the
// module's thread support made for the loading thread, which the module's
// unload would leave behind.
void ModuleAttach(HINSTANCE module);
HINSTANCE GetModuleInstance();

// DLL_PROCESS_DETACH: keeps the shared maps until the final delivery of
// queued messages is over, forgets the command threads still recorded, then
// stops the message sender. Runs under the loader's lock, so it waits for nothing
// without a bound.
void ModuleDetach();

// From the detach on, calls report nothing more.
void AbandonCalls();
bool CallsAbandoned();
