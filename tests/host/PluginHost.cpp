#include "PluginHost.h"

#include <cwchar>

namespace {

// Owns one BSTR.
class CBstr {
public:
    explicit CBstr(const std::wstring& text)
        : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    CBstr() = default;
    ~CBstr() { SysFreeString(m_text); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    BSTR Get() const { return m_text; }
    BSTR* Receive() { return &m_text; }
    std::wstring Text() const { return std::wstring(m_text ? m_text : L"", SysStringLen(m_text)); }

private:
    BSTR m_text = nullptr;
};

std::wstring Field(size_t value) {
    wchar_t text[16];
    swprintf(text, 16, L"%010u", static_cast<unsigned>(value));
    return text;
}

size_t ReadField(const std::wstring& text, size_t at) {
    return at + 10 <= text.size() ? wcstoul(text.substr(at, 10).c_str(), nullptr, 10) : 0;
}

} // namespace

std::wstring EncodeItems(const Items& items) {
    std::wstring text = Field(items.size());
    for (const std::wstring& item : items)
        text += Field(item.size()) + item;
    return text;
}

Items DecodeItems(const std::wstring& text) {
    Items items;
    const size_t count = ReadField(text, 0);
    size_t at = 10;
    for (size_t i = 0; i < count && at + 10 <= text.size(); ++i) {
        const size_t length = ReadField(text, at);
        items.push_back(text.substr(at + 10, length));
        at += 10 + length;
    }
    return items;
}

std::wstring CallText(const std::wstring& alias, const std::wstring& command,
                      const std::wstring& identifier, const Pairs& arguments) {
    Items items{identifier};
    for (const auto& argument : arguments) {
        items.push_back(argument.first);
        items.push_back(argument.second);
    }
    return alias + L"." + command + L"," + EncodeItems(items);
}

template <class T> bool CPluginHost::Find(const char* name, WORD ordinal, T& function) {
    FARPROC byName = GetProcAddress(m_module, name);
    FARPROC byOrdinal = GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal));
    function = reinterpret_cast<T>(reinterpret_cast<void*>(byName));
    return byName && byName == byOrdinal;
}

bool CPluginHost::Load(const std::wstring& path) {
    Unload();
    m_module = LoadLibraryW(path.c_str());
    if (!m_module)
        return false;
    bool found = Find("Get", 1, m_get) & Find("Set", 2, m_set) & Find("OnLoad", 3, m_onLoad) &
                 Find("OnUnload", 4, m_onUnload) & Find("Dispatch", 5, m_dispatch) &
                 Find("DispatchSync", 6, m_dispatchSync);
    if (!found)
        Unload();
    return found;
}

void CPluginHost::Unload() {
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
}

std::wstring CPluginHost::Get(const std::wstring& name, int* status) const {
    CBstr value;
    int result = m_get(name.c_str(), value.Receive());
    if (status)
        *status = result;
    return value.Text();
}

int CPluginHost::Set(const std::wstring& name, const std::wstring& value) const {
    CBstr text(value);
    return m_set(name.c_str(), text.Get());
}

int CPluginHost::OnLoad(const std::wstring& alias) const {
    return m_onLoad(alias.c_str());
}

int CPluginHost::OnUnload(const std::wstring& alias) const {
    return m_onUnload(alias.c_str());
}

int CPluginHost::Dispatch(const std::wstring& callText) const {
    CBstr text(callText);
    return m_dispatch(text.Get());
}

int CPluginHost::DispatchSync(const std::wstring& callText, Items* result) const {
    CBstr text(callText);
    // A result the call leaves alone keeps what the caller had in it.
    CBstr list(result && !result->empty() ? EncodeItems(*result) : std::wstring());
    int code = m_dispatchSync(text.Get(), list.Receive());
    if (result)
        *result = DecodeItems(list.Text());
    return code;
}

std::wstring PluginPath() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"BrindlecodeFlash.dll";
}
