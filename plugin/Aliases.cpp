#include "Aliases.h"

#include "LockedWalk.h"
#include "PluginRegistry.h"
#include "UniqueHandle.h"

#include <objbase.h>

namespace {

enum class LoadOutcome { Refused, Replaced, Loaded };

// Under the alias map's lock. Every new load and every unload counts, so a
// load can tell that an unload overtook it, and the count of a load names it.
unsigned theLoadsAndUnloads = 0;

// On the thread whose COM a load started, the count of that load; empty on
// every other thread (a host thread already in the multithreaded apartment
// keeps its own). A slot of the thread itself, not its ID: an ID is given
// again to a later thread, whose own COM an unload would then end.
const CTlsIndex theComLoad(TlsAlloc());

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

void* MarkOf(unsigned count) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(count));
}

// False when the alias was unloaded since the load counted as the given one,
// or when this thread cannot keep the mark.
bool RememberComLoad(unsigned count) {
    theAliasMap->Lock();
    const bool kept = count == theLoadsAndUnloads && TlsSetValue(theComLoad, MarkOf(count));
    theAliasMap->Unlock();
    return kept;
}

// True, and the mark gone, when this thread's COM was started by the load
// with that count.
bool ForgetComLoad(unsigned count) {
    if (TlsGetValue(theComLoad) != MarkOf(count))
        return false;
    TlsSetValue(theComLoad, nullptr);
    return true;
}

// COM outside the lock: CoInitialize may load DLLs, and a detach takes the
// map's lock while it holds the loader lock. An unload that came in between
// found nothing to give back, so the load gives its own back at once.
void StartCom(unsigned count) {
    if (SUCCEEDED(CoInitialize(nullptr)) && !RememberComLoad(count))
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
    unsigned loadCount = 0;
    theAliasMap->Lock();
    bool found = theAliasMap->Lookup(key, record) && theAliasMap->RemoveKey(key);
    // The loaded alias's load was the last count: replacing it counts none.
    if (found)
        loadCount = theLoadsAndUnloads++;
    theAliasMap->Unlock();
    if (!found)
        return 1;
    FreeAliasRecord(record);
    // Another thread's COM cannot be ended from here; it stays until that
    // thread ends.
    if (ForgetComLoad(loadCount))
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
