#include "Monikers.h"

#include "ListEncoding.h"
#include "PluginRegistry.h"

namespace {

void StoreMoniker(const CPluginString& moniker, const CPluginString& path) {
    CPluginString* stored = new CPluginString(path);
    void* earlier = nullptr;
    theMonikerMap->Lock();
    theMonikerMap->Lookup(moniker, earlier);
    theMonikerMap->SetAt(moniker, stored);
    theMonikerMap->Unlock();
    delete static_cast<CPluginString*>(earlier);
}

// The first moniker in map order that value begins with, ignoring case.
bool FindMoniker(const CPluginString& value, CPluginString& moniker, CPluginString& path) {
    if (theMonikerMap->LockedGetCount() == 0)
        return false;
    theMonikerMap->Lock();
    POSITION position = theMonikerMap->GetStartPosition();
    theMonikerMap->Unlock();
    while (position) {
        bool matched = false;
        theMonikerMap->Lock();
        void* stored = nullptr;
        if (theMonikerMap->GetNextAssoc(position, moniker, stored)) {
            matched = value.Left(moniker.GetLength()).CompareNoCase(moniker) == 0;
            if (matched)
                path = *static_cast<CPluginString*>(stored);
        } else {
            position = nullptr;
        }
        theMonikerMap->Unlock();
        if (matched)
            return true;
    }
    return false;
}

bool EndsWithBackslash(const CPluginString& text) {
    return !text.IsEmpty() && text.GetAt(text.GetLength() - 1) == L'\\';
}

} // namespace

void StoreMonikers(BSTR list) {
    CPluginList<CPluginString> items;
    DecodeList(list, 0, items);
    while (!items.IsEmpty()) {
        CPluginString moniker = items.RemoveHead();
        CPluginString path = items.RemoveHead();
        if (!moniker.IsEmpty())
            StoreMoniker(moniker, path);
    }
}

CPluginString ResolveMoniker(const CPluginString& value) {
    CPluginString moniker;
    CPluginString path;
    if (!FindMoniker(value, moniker, path))
        return value;
    CPluginString rest = value.Mid(moniker.GetLength());
    CPluginString result(path);
    if (!EndsWithBackslash(path) && rest.GetAt(0) != L'\\')
        result.AppendChar(L'\\');
    result.Append(rest);
    return result;
}

void ResolveFilespecArguments(CCallData& call) {
    const CCommandInfo* description = call.description;
    CPluginMap& arguments = call.arguments;
    if (!description || arguments.LockedGetCount() == 0)
        return;
    arguments.Lock();
    POSITION position = arguments.GetStartPosition();
    arguments.Unlock();
    while (position) {
        CPluginString name;
        void* value = nullptr;
        arguments.Lock();
        bool stepped = arguments.GetNextAssoc(position, name, value);
        if (stepped) {
            const CParameterInfo* parameter = description->FindParameter(name);
            if (parameter && parameter->filespec && value) {
                CPluginString* argument = static_cast<CPluginString*>(value);
                *argument = ResolveMoniker(*argument);
            }
        }
        arguments.Unlock();
        if (!stepped)
            break;
    }
}
