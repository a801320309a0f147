#include "CallDispatch.h"

#include "Aliases.h"
#include "CommandThread.h"
#include "ListEncoding.h"
#include "Monikers.h"
#include "PluginRegistry.h"
#include "ReturnCodes.h"
#include "UniqueHandle.h"

#include <cwctype>

namespace {

int SkipWhiteSpace(const wchar_t* text, int at, int length) {
    while (at < length && iswspace(text[at]))
        ++at;
    return at;
}

// Copies units up to the stop unit or the end; returns the stop's position.
int CopyUntil(const wchar_t* text, int at, int length, wchar_t stop, CPluginString& out) {
    int end = at;
    while (end < length && text[end] != stop)
        ++end;
    out.Assign(text + at, end - at);
    return end;
}

// A call that never reaches a worker: the code goes where the worker would
// have put it, and the call is destroyed.
int Refuse(std::unique_ptr<CPluginCall> call, int code) {
    call->ReportCode(code);
    return 0;
}

// *result gets the encoded list; the old text is released. Everything that
// allocates comes first: should it throw, the host's text is untouched.
void StoreResult(CResultList& results, BSTR* result) {
    CPluginString encoded;
    EncodeResultList(results, encoded);
    if (!result)
        return;
    BSTR fresh = encoded.Detach();
    SysFreeString(*result);
    *result = fresh;
}

} // namespace

void ParseCallText(BSTR text, CPluginString& alias, CPluginString& command, CCallData& call) {
    const int length = static_cast<int>(SysStringLen(text));
    int at = SkipWhiteSpace(text, 0, length);
    at = CopyUntil(text, at, length, L'.', alias);
    if (at < length)
        at = CopyUntil(text, at + 1, length, L',', command);
    if (at < length)
        at = SkipWhiteSpace(text, at + 1, length);

    CPluginList<CPluginString> items;
    DecodeList(text, at, items);
    call.identifier = items.RemoveHead();
    while (!items.IsEmpty()) {
        CPluginString name = items.RemoveHead();
        CPluginString value = items.RemoveHead();
        call.SetArgument(name, value);
    }
}

int DispatchCall(BSTR text, int* code, BSTR* result) {
    if (!text)
        return 0;
    const bool synchronous = code != nullptr;
    std::unique_ptr<CCallData> data(new CCallData);
    CPluginString alias, command;
    ParseCallText(text, alias, command, *data);
    CCallData& callData = *data;
    std::unique_ptr<CPluginCall> call(new CPluginCall(std::move(data), code));

    void* aliasRecord = nullptr;
    if (!LookupAlias(MakeKey(alias.GetBSTR(), true), aliasRecord))
        return Refuse(std::move(call), kCodeNoAlias);
    const CPluginString commandKey = MakeKey(command.GetBSTR(), true);
    CCommandEntry entry;
    if (!theCommandMap->LockedLookup(commandKey, entry))
        return Refuse(std::move(call), kCodeNoCommand);
    if (synchronous && entry.async)
        return Refuse(std::move(call), kCodeAsyncOnly);

    callData.description = LookupCommandInfo(commandKey);
    ResolveFilespecArguments(callData);

    if (!synchronous)
        return StartCommandThread(entry.handler, aliasRecord, std::move(call), nullptr)
                   ? 0
                   : kCodeNoThread;

    // Without its semaphore the caller could not know when the worker is
    // done with *code, so the call is not started: a resource failure like
    // a thread that cannot be created.
    CHandle done(CreateSemaphoreA(nullptr, 0, 1, nullptr));
    CResultList results(1);
    if (!done) {
        call->ReportCode(kCodeNoThread);
        StoreResult(results, result);
        return kCodeNoThread;
    }
    callData.results = &results;
    const int started = StartCommandThread(entry.handler, aliasRecord, std::move(call), done.Get());
    // Unbounded: the worker releases the semaphore in its cleanup whatever
    // the handler did, also when it could not be started; until then it
    // writes into *code and the result list, which live in this frame.
    WaitForSingleObject(done.Get(), INFINITE);
    StoreResult(results, result);
    return started ? 0 : kCodeNoThread;
}
