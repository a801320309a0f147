#pragma once
// Starts command calls the way the dispatcher does, for tests that register
// handlers of their own.

#include "CommandThread.h"

#include <string>
#include <utility>
#include <vector>

using Arguments = std::vector<std::pair<std::wstring, std::wstring>>;

std::unique_ptr<CCallData> MakeCallData(const std::wstring& identifier, const Arguments& arguments);

// As Dispatch: the code goes to the host window. StartCommandThread's result.
int StartAsyncCall(PluginCommandHandler handler, const std::wstring& identifier,
                   const Arguments& arguments);

// As DispatchSync: waits (bounded) for the call and returns its code; the
// encoded result list goes to *encoded. -1000 when the call did not finish.
int RunSyncCall(PluginCommandHandler handler, const Arguments& arguments, std::wstring* encoded,
                const CCommandInfo* description = nullptr);

// Starts an asynchronous call and waits (bounded) until its worker is done.
bool RunAsyncCallToEnd(PluginCommandHandler handler, const std::wstring& identifier,
                       const Arguments& arguments);
