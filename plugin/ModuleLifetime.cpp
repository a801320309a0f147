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

// The thread support linked into the module keeps a record for each thread
// that uses it (an event and a handle on the thread) and gives it back from
// the module's TLS callbacks when that thread ends. The 32-bit unwinder's
// registration of the module's frames makes one for the loading thread, the
// host's, which outlives the module: every unload would leave those two
// handles behind. It is given back now, as at that thread's end; a later use
// on that thread makes a new one.
void EndLoadingThreadsRecords(HINSTANCE module) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
    if (entry.VirtualAddress == 0)
        return;
    const auto* tls = reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
    for (auto* callback = reinterpret_cast<const PIMAGE_TLS_CALLBACK*>(tls->AddressOfCallBacks);
         callback && *callback; ++callback)
        (*callback)(module, DLL_THREAD_DETACH, nullptr);
}

} // namespace

CMessageDispatcher& TheMessageDispatcher() {
    return theModuleObjects.dispatcher;
}

CRunningThreads& TheRunningThreads() {
    return theModuleObjects.runningThreads;
}

void ModuleAttach(HINSTANCE module) {
    theModuleInstance = module;
    EndLoadingThreadsRecords(module);
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
