#include "Aliases.h"

#include "LockedWalk.h"
#include "PluginRegistry.h"

#include <objbase.h>

namespace {

enum class LoadOutcome { Refused, Replaced, Loaded };

// The test of the one-alias limit and the insert are one step under the
// lock: two threads loading different aliases at once cannot both pass.
LoadOutcome InsertAlias(const CPluginString& key, void* record, void*& replaced) {
    LoadOutcome outcome = LoadOutcome::Refused;
    theAliasMap->Lock();
    if (theAliasMap->Lookup(key, replaced)) {
        theAliasMap->SetAt(key, record);
        outcome = LoadOutcome::Replaced;
    } else if (theAliasMap->GetCount() == 0) {
        theAliasMap->SetAt(key, record);
        outcome = LoadOutcome::Loaded;
    }
    theAliasMap->Unlock();
    return outcome;
}

} // namespace

int LoadAlias(const wchar_t* alias) {
    CPluginString key = MakeKey(alias, true);
    void* record = NewAliasRecord();
    void* replaced = nullptr;
    LoadOutcome outcome = InsertAlias(key, record, replaced);
    switch (outcome) {
    case LoadOutcome::Refused:
        FreeAliasRecord(record);
        return 1;
    case LoadOutcome::Replaced:
        // Same alias again: COM was already started by the first load.
        FreeAliasRecord(replaced);
        return 0;
    case LoadOutcome::Loaded:
        CoInitialize(nullptr);
        return 0;
    }
    return 1;
}

int UnloadAlias(const wchar_t* alias) {
    CPluginString key = MakeKey(alias, true);
    void* record = nullptr;
    theAliasMap->Lock();
    bool found = theAliasMap->Lookup(key, record) && theAliasMap->RemoveKey(key);
    theAliasMap->Unlock();
    if (!found)
        return 1;
    FreeAliasRecord(record);
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
