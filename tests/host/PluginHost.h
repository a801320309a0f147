#pragma once
// Loads the plug-in DLL the way SWF Studio does and calls its six exports:
// found by name, checked against their ordinals, texts passed as BSTRs.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

using Items = std::vector<std::wstring>;
using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

// The "%010d" list of the items, and back; a text that is not a whole list
// decodes to what can be read of it.
std::wstring EncodeItems(const Items& items);
Items DecodeItems(const std::wstring& text);
// "alias.command," followed by the list of the identifier and the pairs.
std::wstring CallText(const std::wstring& alias, const std::wstring& command,
                      const std::wstring& identifier, const Pairs& arguments);

class CPluginHost {
public:
    CPluginHost() = default;
    ~CPluginHost() { Unload(); }
    CPluginHost(const CPluginHost&) = delete;
    CPluginHost& operator=(const CPluginHost&) = delete;

    // False when the DLL cannot be loaded or an export is missing, or is not
    // the same function by name and by ordinal.
    bool Load(const std::wstring& path);
    void Unload();
    HMODULE Module() const { return m_module; }

    std::wstring Get(const std::wstring& name, int* status = nullptr) const;
    int Set(const std::wstring& name, const std::wstring& value) const;
    int OnLoad(const std::wstring& alias) const;
    int OnUnload(const std::wstring& alias) const;
    int Dispatch(const std::wstring& callText) const;
    // The code; *result gets the decoded result list when given.
    int DispatchSync(const std::wstring& callText, Items* result = nullptr) const;

    // The exports themselves, for cases the wrappers above cannot make.
    using GetFunction = int(WINAPI*)(const wchar_t*, BSTR*);
    using SetFunction = int(WINAPI*)(const wchar_t*, BSTR);
    using AliasFunction = int(WINAPI*)(const wchar_t*);
    using DispatchFunction = int(WINAPI*)(BSTR);
    using DispatchSyncFunction = int(WINAPI*)(BSTR, BSTR*);
    GetFunction RawGet() const { return m_get; }
    DispatchSyncFunction RawDispatchSync() const { return m_dispatchSync; }

private:
    template <class T> bool Find(const char* name, WORD ordinal, T& function);

    HMODULE m_module = nullptr;
    GetFunction m_get = nullptr;
    SetFunction m_set = nullptr;
    AliasFunction m_onLoad = nullptr;
    AliasFunction m_onUnload = nullptr;
    DispatchFunction m_dispatch = nullptr;
    DispatchSyncFunction m_dispatchSync = nullptr;
};

// The path of the plug-in DLL this build made.
std::wstring PluginPath();
