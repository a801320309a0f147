#pragma once
// From a call text to a running command: the parse, the lookups of alias
// and command, and the start of the worker.

#include "PluginCall.h"

// Leading white space skipped; the alias up to the first ".", the command up
// to the first ","; after white space the rest is a list of the identifier
// followed by name/value pairs, which go into the call's data.
void ParseCallText(BSTR text, CPluginString& alias, CPluginString& command, CCallData& call);

// Runs the call: asynchronously when code is null, otherwise synchronously,
// returning when the worker is done with *code; then the result list goes to
// *result when result is not null. Returns 0, or -6 when no worker could be
// started. A null text does nothing.
int DispatchCall(BSTR text, int* code, BSTR* result);
