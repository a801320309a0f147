#include "PluginRegistry.h"

CPluginMap* theAliasMap = nullptr;
CPluginEntryMap* theCommandMap = nullptr;
CPluginMap* theCommandInfoMap = nullptr;
CPluginMap* thePropertyMap = nullptr;
CPluginMap* theAddedVersionMap = nullptr;
CPluginIntMap* theErrorMap = nullptr;
CPluginMap* theMonikerMap = nullptr;

namespace {

const int kNodeBlock = 10;

// Registration and the last release run on the loader thread while no other
// thread of the module runs, so the count needs no lock.
int theRegistrationCount = 0;

template <class TMap> TMap* NewLockedMap() {
    TMap* map = new TMap(kNodeBlock);
    map->CreateLock();
    return map;
}

// Takes entries out one per hold of the lock and frees each value with
// free; the key type follows the map.
template <class TMap, class TKey, class TFree> void Drain(TMap* map, TFree free) {
    for (;;) {
        TKey key{};
        void* value = nullptr;
        map->Lock();
        POSITION position = map->GetStartPosition();
        bool found = position && map->GetNextAssoc(position, key, value);
        if (found)
            map->RemoveKey(key);
        map->Unlock();
        if (!found)
            return;
        free(value);
    }
}

void FreeString(void* value) {
    delete static_cast<CPluginString*>(value);
}

template <class TMap> void CloseMap(TMap*& map) {
    map->Close();
    delete map;
    map = nullptr;
}

void CreateMaps() {
    theAliasMap = NewLockedMap<CPluginMap>();
    theCommandMap = NewLockedMap<CPluginEntryMap>();
    theCommandInfoMap = NewLockedMap<CPluginMap>();
    thePropertyMap = NewLockedMap<CPluginMap>();
    theAddedVersionMap = NewLockedMap<CPluginMap>();
    theErrorMap = NewLockedMap<CPluginIntMap>();
    theMonikerMap = NewLockedMap<CPluginMap>();
}

// The command description map's values are the registration objects
// themselves, which their owners destroy; the command map holds its
// entries by value.
void FreeMaps() {
    Drain<CPluginMap, CPluginString>(theAliasMap, FreeAliasRecord);
    Drain<CPluginMap, CPluginString>(thePropertyMap, FreeString);
    Drain<CPluginMap, CPluginString>(theAddedVersionMap, FreeString);
    Drain<CPluginIntMap, int>(theErrorMap, FreeString);
    Drain<CPluginMap, CPluginString>(theMonikerMap, FreeString);
    CloseMap(theAliasMap);
    CloseMap(theCommandMap);
    CloseMap(theCommandInfoMap);
    CloseMap(thePropertyMap);
    CloseMap(theAddedVersionMap);
    CloseMap(theErrorMap);
    CloseMap(theMonikerMap);
}

} // namespace

void Acquire() {
    if (theRegistrationCount == 0)
        CreateMaps();
    ++theRegistrationCount;
}

void Release() {
    if (theRegistrationCount <= 0)
        return;
    if (--theRegistrationCount == 0)
        FreeMaps();
}

int GetRegistrationCount() {
    return theRegistrationCount;
}

CPluginString MakeKey(const wchar_t* name, bool trim) {
    CPluginString key(name);
    if (trim)
        key.Trim();
    key.MakeUpper();
    return key;
}

RegisterProperty::RegisterProperty(const wchar_t* name, const wchar_t* value) {
    CPluginString key = MakeKey(name, false);
    CPluginString* stored = new CPluginString(value);
    void* earlier = nullptr;
    thePropertyMap->Lock();
    thePropertyMap->Lookup(key, earlier);
    thePropertyMap->SetAt(key, stored);
    thePropertyMap->Unlock();
    FreeString(earlier);
}

RegisterCommand::RegisterCommand(const wchar_t* name, PluginCommandHandler handler, int async) {
    CCommandEntry entry;
    entry.name = LowerFirstUnit(name);
    entry.handler = handler;
    entry.async = async;
    theCommandMap->LockedSetAt(MakeKey(name, true), entry);
}

RegisterCommandInfo::RegisterCommandInfo(const wchar_t* name, DescribeCallback describe,
                                         const wchar_t* description)
    : m_info(new CCommandInfo(name, description)) {
    if (describe)
        describe(*this);
    theCommandInfoMap->LockedSetAt(MakeKey(name, false), this);
}

RegisterCommandInfo::~RegisterCommandInfo() {
    delete m_info;
}

void RegisterCommandInfo::AddParameter(const wchar_t* name, const wchar_t* description,
                                       int filespec, int kind, int hasDefault,
                                       const wchar_t* defaultValue, const wchar_t* values) {
    m_info->AddParameter(new CParameterInfo(m_info, name, description, filespec, kind, hasDefault,
                                            defaultValue, values));
}

CCommandInfo* LookupCommandInfo(const CPluginString& key) {
    void* registration = nullptr;
    if (!theCommandInfoMap || !theCommandInfoMap->LockedLookup(key, registration))
        return nullptr;
    return static_cast<RegisterCommandInfo*>(registration)->GetInfo();
}

CPluginString LookupAddedVersion(const wchar_t* name, const wchar_t* defaultValue, int* missing) {
    CPluginString key = MakeKey(name, false);
    CPluginString result(defaultValue);
    bool found = false;
    theAddedVersionMap->Lock();
    void* value = nullptr;
    if (theAddedVersionMap->Lookup(key, value)) {
        result = *static_cast<CPluginString*>(value);
        found = true;
    }
    theAddedVersionMap->Unlock();
    if (missing)
        *missing = found ? 0 : 1;
    return result;
}

void* NewAliasRecord() {
    return new char[1];
}

void FreeAliasRecord(void* record) {
    delete[] static_cast<char*>(record);
}
