#pragma once
// Monikers: short names that the host sets for folders, and the rewriting
// of file-path arguments through them.

#include "CommandInfo.h"
#include "PluginCall.h"

// Stores the moniker/path pairs of a list text ("Plugin_Moniker"); a last
// moniker without a path gets an empty one, an empty moniker is skipped.
void StoreMonikers(BSTR list);

// The value with the first moniker it begins with (ignoring case) replaced
// by that moniker's path, one "\" between them; unchanged when none fits.
CPluginString ResolveMoniker(const CPluginString& value);

// Rewrites in place the arguments of the call's file-path parameters, as
// its description declares them.
void ResolveFilespecArguments(CCallData& call);
