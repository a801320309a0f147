#pragma once
// The host's alias: at most one is loaded at a time.

#include "PluginString.h"

// Loads the alias (trimmed, upper-cased) or gives the loaded one a fresh
// record. Returns 0, or 1 when another alias is loaded. The thread that
// loads a new alias gets COM, unless it is in another apartment already.
int LoadAlias(const wchar_t* alias);
// Returns 0 when the alias was loaded, else 1. Ends the COM that the load
// started, when this is the thread that started it; an unload on another
// thread leaves both threads' COM as it is.
int UnloadAlias(const wchar_t* alias);
// The keys of the alias map joined by ",".
void ListAliases(CPluginString& out);
// The record of the loaded alias with this key, held by the alias map.
bool LookupAlias(const CPluginString& key, void*& record);
