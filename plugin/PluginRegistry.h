#pragma once
// The plug-in's process-wide tables: what it offers (properties, commands
// and their descriptions) and what the host has told it (the loaded alias,
// its monikers). Static registration objects fill them while the module
// loads; the first one creates the maps and the last one to go frees them.

#include "CommandEntry.h"
#include "CommandInfo.h"
#include "PluginEntryMap.h"
#include "PluginIntMap.h"
#include "PluginMap.h"

// Each map has its own mutex; all are null while no registration lives.
// Alias map: trimmed, upper-cased alias to its alias record.
extern CPluginMap* theAliasMap;
// Trimmed, upper-cased command name to its entry.
extern CPluginEntryMap* theCommandMap;
// Upper-cased command name to its RegisterCommandInfo object (not owned).
extern CPluginMap* theCommandInfoMap;
// Upper-cased property name to an owned CPluginString.
extern CPluginMap* thePropertyMap;
// Upper-cased name to an owned CPluginString.
extern CPluginMap* theAddedVersionMap;
// Error code to an owned CPluginString description.
extern CPluginIntMap* theErrorMap;
// Moniker as the host gave it to an owned CPluginString path.
extern CPluginMap* theMonikerMap;

// The first call creates the seven maps; the registration count says how
// many calls are not yet matched by Release.
void Acquire();
// The call that brings the count to 0 frees the maps and what they own.
void Release();
int GetRegistrationCount();

// The common base of the registration objects; it holds no data.
class CPluginRegistry {
public:
    CPluginRegistry() { Acquire(); }
    ~CPluginRegistry() { Release(); }
    CPluginRegistry(const CPluginRegistry&) = delete;
    CPluginRegistry& operator=(const CPluginRegistry&) = delete;
};

// Stores a copy of the value under the name upper-cased; a later
// registration of the same key replaces it.
class RegisterProperty : public CPluginRegistry {
public:
    RegisterProperty(const wchar_t* name, const wchar_t* value);
};

// Stores the command's entry under the name trimmed and upper-cased.
class RegisterCommand : public CPluginRegistry {
public:
    RegisterCommand(const wchar_t* name, PluginCommandHandler handler, int async);
};

class RegisterCommandInfo;
// Declares the command's parameters through AddParameter, in order.
using DescribeCallback = void (*)(RegisterCommandInfo& registration);

// Creates the command's description, lets describe declare its parameters
// and then stores this object under the name upper-cased.
class RegisterCommandInfo : public CPluginRegistry {
public:
    RegisterCommandInfo(const wchar_t* name, DescribeCallback describe, const wchar_t* description);
    ~RegisterCommandInfo();

    void AddParameter(const wchar_t* name, const wchar_t* description, int filespec, int kind,
                      int hasDefault, const wchar_t* defaultValue, const wchar_t* values);
    CCommandInfo* GetInfo() const { return m_info; }

private:
    CCommandInfo* m_info;
};

// The description of the command with the given (upper-cased) key, or null.
CCommandInfo* LookupCommandInfo(const CPluginString& key);

// The added-version text of the name upper-cased, or the default; *missing
// (when given) tells which.
CPluginString LookupAddedVersion(const wchar_t* name, const wchar_t* defaultValue, int* missing);

// A name as the maps key it: upper-cased, and trimmed first when asked.
CPluginString MakeKey(const wchar_t* name, bool trim);

// The one-byte record of a loaded alias, handed unread to every handler of
// a call under that alias. FreeAliasRecord accepts null.
void* NewAliasRecord();
void FreeAliasRecord(void* record);
