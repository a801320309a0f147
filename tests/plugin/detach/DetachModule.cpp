// A module built from the plug-in's library, with test commands that are
// busy in different ways when the test lets the module go.
#include "CallDriver.h"
#include "HostWindow.h"
#include "ModuleLifetime.h"
#include "RunningThreads.h"

namespace {

HANDLE theGate = nullptr;
const int kPostsPerCall = 20;

// Blocked in the handler until the test, having let the module go, opens
// the gate.
int WaitThenPost(void*, CPluginCall* call) {
    // Bounded: the test opens the gate right after its FreeLibrary.
    WaitForSingleObject(theGate, 20000);
    call->SetResultString(L"result", call->GetArgument(L"payload"));
    return 0;
}

// Keeps taking the argument map's lock, the queue's lock and the heap's.
int PostMany(void*, CPluginCall* call) {
    for (int i = 0; i < kPostsPerCall; ++i)
        call->SetResultString(L"result", call->GetArgument(L"payload"));
    return 0;
}

int PostOnce(void*, CPluginCall* call) {
    call->SetResultString(L"result", call->GetArgument(L"payload"));
    return 0;
}

const PluginCommandHandler theHandlers[] = {WaitThenPost, PostMany, PostOnce};

} // namespace

// Starts the calls "call<i>" with "result" = "var<i>", "payload" =
// "payload<i>"; returns how many started.
extern "C" __declspec(dllexport) int DetachTestStart(LONG window, int mode, int calls,
                                                     HANDLE gate) {
    SetHostWindow(window);
    theGate = gate;
    int started = 0;
    for (int i = 0; i < calls; ++i) {
        const std::wstring n = std::to_wstring(i);
        started += StartAsyncCall(theHandlers[mode], L"call" + n,
                                  {{L"result", L"var" + n}, {L"payload", L"payload" + n}});
    }
    return started;
}

extern "C" __declspec(dllexport) int DetachTestRunning() {
    return TheRunningThreads().GetCount();
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        ModuleAttach(module);
    else if (reason == DLL_PROCESS_DETACH)
        ModuleDetach();
    return TRUE;
}
