#include "ModuleLifetime.h"

#include "CommandThread.h"
#include "MessageDispatcher.h"
#include "PluginRegistry.h"
#include "RunningThreads.h"

#include <atomic>

namespace {

// A hold on the shared maps, taken at detach while every registration is
// still there and given back after the dispatcher's final delivery: the
// host's window procedure may ask for a property while it receives a
// message, whichever order the linker gives the registrations' destroyers.
class CRegistrationsHold {
public:
    CRegistrationsHold() = default;
    ~CRegistrationsHold() {
        if (m_taken)
            Release();
    }
    CRegistrationsHold(const CRegistrationsHold&) = delete;
    CRegistrationsHold& operator=(const CRegistrationsHold&) = delete;

    void Take() {
        if (!m_taken && GetRegistrationCount() > 0) {
            Acquire();
            m_taken = true;
        }
    }

private:
    bool m_taken = false;
};

// One object, so the order between the dispatcher and the map is the order
// of its members and not left to the linker.
struct CModuleObjects {
    CRegistrationsHold registrations;
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
    theModuleObjects.registrations.Take();
    TerminateCommandThreads();
    theModuleObjects.dispatcher.StopMessageSender();
}

void AbandonCalls() {
    theCallsAbandoned.store(true);
}

bool CallsAbandoned() {
    return theCallsAbandoned.load();
}
