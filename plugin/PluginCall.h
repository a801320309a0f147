#pragma once
// The call a command handler receives: its arguments, and the ways it hands
// values and its code back to the host.

#include "PluginMap.h"
#include "PluginString.h"
#include "ResultList.h"

#include <memory>

class CCommandInfo;

struct CCallData {
    CCallData();
    // Frees the argument texts.
    ~CCallData();
    CCallData(const CCallData&) = delete;
    CCallData& operator=(const CCallData&) = delete;

    // Under the name trimmed and upper-cased; a later value replaces an
    // earlier one.
    void SetArgument(const CPluginString& name, const CPluginString& value);

    // Name (trimmed, upper-cased) to an owned CPluginString, under its lock.
    CPluginMap arguments;
    // The host's key for the call's code; may be empty.
    CPluginString identifier;
    // The command's declared parameters, or null when it has none.
    const CCommandInfo* description = nullptr;
    // Borrowed; set, and collecting, for a synchronous call only.
    CResultList* results = nullptr;
};

class CPluginCall {
public:
    // code: the synchronous caller's code variable, or null.
    CPluginCall(std::unique_ptr<CCallData> data, int* code);
    CPluginCall(const CPluginCall&) = delete;
    CPluginCall& operator=(const CPluginCall&) = delete;

    // The argument the host passed under that name (case and surrounding
    // blanks ignored), else the default of an IN parameter declared with
    // one, else null. *missing (when given) is 1 for null, 0 otherwise. The
    // text lives as long as the call.
    const wchar_t* GetArgument(const wchar_t* name, int* missing = nullptr);
    // Reports the value of an OUT parameter; a null text is the empty text.
    void SetResultString(const wchar_t* name, const wchar_t* text);
    void SetResultInt(const wchar_t* name, int value);

    // Keyed by the host's argument text for that parameter; dropped when the
    // host passed none.
    void PostResult(const CPluginString& name, const CPluginString& value);
    // Into the caller's variable for a synchronous call, else to the host
    // keyed by the call identifier.
    void ReportCode(int code);
    // Nothing for an empty key. Never throws: a value that cannot be
    // delivered is dropped.
    void DeliverValue(const CPluginString& key, const CPluginString& value);

    CCallData& Data() { return *m_data; }

private:
    std::unique_ptr<CCallData> m_data;
    int* m_code;
};

// The default text of the described command's parameter of that name, when
// it is an IN parameter with a default; else null.
const CPluginString* FindArgumentDefault(const CCommandInfo* description,
                                         const CPluginString& name);
