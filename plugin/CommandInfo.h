#pragma once
// What the manifest and the calls know of a described command: its texts,
// flags and declared parameters.

#include "PluginList.h"
#include "PluginString.h"

class CCommandInfo;

// A registered name as commands and parameters keep it: the first unit
// lower-cased (A-Z only), the rest as given.
CPluginString LowerFirstUnit(const wchar_t* name);

// Parameter kinds.
enum { kParameterIn = 0, kParameterOut = 1 };

class CParameterInfo {
public:
    CParameterInfo(CCommandInfo* owner, const wchar_t* name, const wchar_t* description,
                   int filespec, int kind, int hasDefault, const wchar_t* defaultValue,
                   const wchar_t* values);

    CCommandInfo* owner;
    CPluginString name;
    CPluginString description;
    // Non-zero: a file path, rewritten through the host's monikers.
    int filespec;
    int kind;
    // Exactly 1 lets a missing IN argument fall back to the default.
    int hasDefault;
    CPluginString defaultValue;
    // The allowed values, empty when any value goes.
    CPluginString values;
};

class CCommandInfo {
public:
    CCommandInfo(const wchar_t* name, const wchar_t* description);
    ~CCommandInfo();
    CCommandInfo(const CCommandInfo&) = delete;
    CCommandInfo& operator=(const CCommandInfo&) = delete;

    // The parameter belongs to this command from here on.
    void AddParameter(CParameterInfo* parameter) { parameters.AddTail(parameter); }
    // The first parameter whose name equals the given one ignoring case, or
    // null.
    const CParameterInfo* FindParameter(const CPluginString& name) const;

    CPluginString name;
    CPluginString description;
    CPluginString replacement;
    CPluginString deprecated;
    CPluginString added;
    int excludedFromAs3 = 0;
    int hidden = 0;
    // Owned, in the order they were added.
    CPluginList<CParameterInfo*> parameters;
    CPluginList<int> errors;
};
