#include "ModuleLifetime.h"

#include "CommandThread.h"
#include "MessageDispatcher.h"
#include "PluginRegistry.h"
#include "RunningThreads.h"

#include <atomic>

namespace {

// One object, so the order between the dispatcher and the map is the order
// of its members and not left to the linker. Its own hold on the shared maps
// keeps them until the dispatcher's final delivery is over, whichever order
// the linker gives the registrations: the host's window procedure may ask
// for a property while it receives a message.
struct CModuleObjects {
    CPluginRegistry registrations;
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
