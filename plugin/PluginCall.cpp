#include "PluginCall.h"

#include "HostWindow.h"
#include "MessageDispatcher.h"
#include "ModuleLifetime.h"

namespace {

// Holds a locked container's mutex for one scope.
template <class T> class CLockHold {
public:
    explicit CLockHold(T& locked) : m_locked(locked) { m_locked.Lock(); }
    ~CLockHold() { m_locked.Unlock(); }
    CLockHold(const CLockHold&) = delete;
    CLockHold& operator=(const CLockHold&) = delete;

private:
    T& m_locked;
};

CPluginString ArgumentKey(const CPluginString& name) {
    CPluginString key(name);
    key.Trim();
    key.MakeUpper();
    return key;
}

} // namespace

CCallData::CCallData() {
    arguments.CreateLock();
}

CCallData::~CCallData() {
    CPluginString name;
    void* value = nullptr;
    for (POSITION position = arguments.GetStartPosition(); position;)
        if (arguments.GetNextAssoc(position, name, value))
            delete static_cast<CPluginString*>(value);
    arguments.Close();
}

void CCallData::SetArgument(const CPluginString& name, const CPluginString& value) {
    const CPluginString key = ArgumentKey(name);
    std::unique_ptr<CPluginString> copy(new CPluginString(value));
    CLockHold<CPluginMap> hold(arguments);
    void*& slot = arguments[key];
    delete static_cast<CPluginString*>(slot);
    slot = copy.release();
}

CPluginCall::CPluginCall(std::unique_ptr<CCallData> data, int* code)
    : m_data(std::move(data)), m_code(code) {}

const wchar_t* CPluginCall::GetArgument(const wchar_t* name, int* missing) {
    const CPluginString key = ArgumentKey(CPluginString(name));
    void* found = nullptr;
    const CPluginString* text = nullptr;
    if (m_data->arguments.LockedLookup(key, found))
        text = static_cast<const CPluginString*>(found);
    else
        text = FindArgumentDefault(m_data->description, key);
    if (missing)
        *missing = text ? 0 : 1;
    return text ? text->GetBSTR() : nullptr;
}

void CPluginCall::SetResultString(const wchar_t* name, const wchar_t* text) {
    PostResult(CPluginString(name), CPluginString(text));
}

void CPluginCall::SetResultInt(const wchar_t* name, int value) {
    CPluginString text;
    text.Format(L"%d", value);
    PostResult(CPluginString(name), text);
}

void CPluginCall::PostResult(const CPluginString& name, const CPluginString& value) {
    CPluginString key(name);
    key.MakeUpper();
    void* found = nullptr;
    if (m_data->arguments.LockedLookup(key, found))
        DeliverValue(*static_cast<const CPluginString*>(found), value);
}

void CPluginCall::ReportCode(int code) {
    if (m_code) {
        *m_code = code;
        return;
    }
    try {
        CPluginString text;
        text.Format(L"%d", code);
        DeliverValue(m_data->identifier, text);
    } catch (...) {
        // Without memory for the text the code cannot reach the host.
    }
}

void CPluginCall::DeliverValue(const CPluginString& key, const CPluginString& value) {
    if (key.IsEmpty() || CallsAbandoned())
        return;
    try {
        SendAsyncMessage(TheMessageDispatcher(), GetHostWindow(), key, value, m_data->results);
    } catch (...) {
        // A value without memory to carry it is lost, as one sent to no window.
    }
}
