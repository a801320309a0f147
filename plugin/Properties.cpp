#include "Properties.h"

#include "Aliases.h"
#include "HostWindow.h"
#include "LockedWalk.h"
#include "Manifest.h"
#include "MessageDispatcher.h"
#include "ModuleLifetime.h"
#include "Monikers.h"
#include "PluginRegistry.h"
#include "RunningThreads.h"

#include <cwchar>

namespace {

bool SameName(const wchar_t* a, const wchar_t* b) {
    return CPluginString(a).CompareNoCase(b) == 0;
}

bool LookupProperty(const wchar_t* name, CPluginString& value) {
    CPluginString key = MakeKey(name, false);
    bool found = false;
    thePropertyMap->Lock();
    void* stored = nullptr;
    if (thePropertyMap->Lookup(key, stored) && stored) {
        value = *static_cast<CPluginString*>(stored);
        found = true;
    }
    thePropertyMap->Unlock();
    return found;
}

// The three properties whose value is a number read at the moment.
bool ReadNumber(const wchar_t* name, int& number) {
    if (SameName(name, L"Plugin_Commands_Pending"))
        number = TheRunningThreads().GetCount();
    else if (SameName(name, L"Plugin_Messages_Pending"))
        number = TheMessageDispatcher().GetPendingCount();
    else if (SameName(name, L"Plugin_Window"))
        number = static_cast<int>(GetHostWindowValue());
    else
        return false;
    return true;
}

} // namespace

CPluginString GetSpecialProperty(const wchar_t* name, const wchar_t* defaultValue, int* status) {
    CPluginString value;
    if (LookupProperty(name, value)) {
        if (status)
            *status = 0;
        return value;
    }
    int number = 0;
    if (ReadNumber(name, number)) {
        value.Format(L"%d", number);
        if (status)
            *status = number;
        return value;
    }
    if (status)
        *status = 1;
    return CPluginString(defaultValue);
}

void ListCommands(CPluginString& out) {
    out.Empty();
    WalkLocked<CPluginEntryMap, CPluginString, CCommandEntry>(
        *theCommandMap, [&](const CPluginString&, const CCommandEntry& entry) {
            if (!out.IsEmpty())
                out.AppendChar(L',');
            out.Append(entry.name);
        });
}

int GetProperty(const wchar_t* name, CPluginString& value) {
    if (SameName(name, L"Plugin_Commands")) {
        ListCommands(value);
    } else if (SameName(name, L"Plugin_Manifest")) {
        BuildManifest(value);
    } else if (SameName(name, L"Plugin_Aliases")) {
        ListAliases(value);
    } else if (SameName(name, L"Min_Studio_Ver")) {
        value = CPluginString(L"03.01.0000");
    } else {
        int status = 1;
        value = GetSpecialProperty(name, L"", &status);
        return status;
    }
    return 0;
}

LONG ReadWindowNumber(const wchar_t* text) {
    // long is 32 bits on Windows, so this keeps the number's 32-bit meaning
    // on either build.
    return text ? wcstol(text, nullptr, 10) : 0;
}

int SetProperty(const wchar_t* name, BSTR value) {
    if (SameName(name, L"Plugin_Window")) {
        SetHostWindow(ReadWindowNumber(value));
        return 0;
    }
    if (SameName(name, L"Plugin_Moniker")) {
        StoreMonikers(value);
        return 0;
    }
    return 1;
}
