#include "ModuleLifetime.h"

#include "CommandThread.h"
#include "MessageDispatcher.h"
#include "RunningThreads.h"

#include <atomic>

namespace {

// One object, so the order between the dispatcher and the map is the order
// of its members and not left to the linker.
struct CModuleObjects {
    CMessageDispatcher dispatcher;
    CRunningThreads runningThreads;
};

CModuleObjects theModuleObjects;

HINSTANCE theModuleInstance = nullptr;
std::atomic<bool> theCallsAbandoned{false};

} // namespace

CMessageDispatcher& TheMessageDispatcher() {
    return theModuleObjects.dispatcher;
}

CRunningThreads& TheRunningThreads() {
    return theModuleObjects.runningThreads;
}

void ModuleAttach(HINSTANCE module) {
    theModuleInstance = module;
}

HINSTANCE GetModuleInstance() {
    return theModuleInstance;
}

void ModuleDetach() {
    TerminateCommandThreads();
    theModuleObjects.dispatcher.StopMessageSender();
}

void AbandonCalls() {
    theCallsAbandoned.store(true);
}

bool CallsAbandoned() {
    return theCallsAbandoned.load();
}
