#include "Aliases.h"

#include "LockedWalk.h"
#include "PluginRegistry.h"

#include <objbase.h>

namespace {

enum class LoadOutcome { Refused, Replaced, Loaded };

// Both under the alias map's lock. The thread whose COM the loaded alias
// started, 0 when it started none: a host thread already in the
// multithreaded apartment keeps its own. Every new load and every unload
// counts, so a load can tell that an unload overtook it.
DWORD theComThread = 0;
unsigned theLoadsAndUnloads = 0;

// The test of the one-alias limit and the insert are one step under the
// lock: two threads loading different aliases at once cannot both pass.
LoadOutcome InsertAlias(const CPluginString& key, void* record, void*& replaced, unsigned& count) {
    LoadOutcome outcome = LoadOutcome::Refused;
    theAliasMap->Lock();
    if (theAliasMap->Lookup(key, replaced)) {
        theAliasMap->SetAt(key, record);
        outcome = LoadOutcome::Replaced;
    } else if (theAliasMap->GetCount() == 0) {
        theAliasMap->SetAt(key, record);
        outcome = LoadOutcome::Loaded;
        count = ++theLoadsAndUnloads;
    }
    theAliasMap->Unlock();
    return outcome;
}

// False when the alias was unloaded since the load counted as the given one.
bool RememberComThread(unsigned count) {
    theAliasMap->Lock();
    const bool current = count == theLoadsAndUnloads;
    if (current)
        theComThread = GetCurrentThreadId();
    theAliasMap->Unlock();
    return current;
}

// COM outside the lock: CoInitialize may load DLLs, and a detach takes the
// map's lock while it holds the loader lock. An unload that came in between
// found nothing to give back, so the load gives its own back at once.
void StartCom(unsigned count) {
    if (SUCCEEDED(CoInitialize(nullptr)) && !RememberComThread(count))
        CoUninitialize();
}

} // namespace

int LoadAlias(const wchar_t* alias) {
    CPluginString key = MakeKey(alias, true);
    void* record = NewAliasRecord();
    void* replaced = nullptr;
    unsigned count = 0;
    LoadOutcome outcome = InsertAlias(key, record, replaced, count);
    switch (outcome) {
    case LoadOutcome::Refused:
        FreeAliasRecord(record);
        return 1;
    case LoadOutcome::Replaced:
        // Same alias again: COM was already started by the first load.
        FreeAliasRecord(replaced);
        return 0;
    case LoadOutcome::Loaded:
        StartCom(count);
        return 0;
    }
    return 1;
}

int UnloadAlias(const wchar_t* alias) {
    CPluginString key = MakeKey(alias, true);
    void* record = nullptr;
    DWORD comThread = 0;
    theAliasMap->Lock();
    bool found = theAliasMap->Lookup(key, record) && theAliasMap->RemoveKey(key);
    if (found) {
        ++theLoadsAndUnloads;
        comThread = theComThread;
        theComThread = 0;
    }
    theAliasMap->Unlock();
    if (!found)
        return 1;
    FreeAliasRecord(record);
    // Another thread's COM cannot be ended from here; it stays until that
    // thread ends.
    if (comThread == GetCurrentThreadId())
        CoUninitialize();
    return 0;
}

void ListAliases(CPluginString& out) {
    out.Empty();
    WalkLocked<CPluginMap, CPluginString, void*>(*theAliasMap,
                                                 [&](const CPluginString& key, void*) {
                                                     if (!out.IsEmpty())
                                                         out.AppendChar(L',');
                                                     out.Append(key);
                                                 });
}

bool LookupAlias(const CPluginString& key, void*& record) {
    return theAliasMap->LockedLookup(key, record);
}
