#pragma once
// What the command map holds for one registered command.

#include "PluginString.h"

class CPluginCall;

// Runs one command: the alias record of the call's alias and the call.
// The result is the command's code.
using PluginCommandHandler = int (*)(void* aliasRecord, CPluginCall* call);

struct CCommandEntry {
    // As registered, with its first unit lower-cased.
    CPluginString name;
    PluginCommandHandler handler = nullptr;
    // 1: the command may only be dispatched asynchronously.
    int async = 0;
};
