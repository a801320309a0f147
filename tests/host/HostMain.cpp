// Stands in for SWF Studio, to try the plug-in by hand:
//   host.exe call "<alias>.<command>" [name=value ...]
// loads BrindlecodeFlash.dll from the program's folder, loads the alias,
// runs the call with DispatchSync and prints its code and its values.
#include "PluginHost.h"

#include <cstdio>
#include <cwchar>

namespace {

int Usage() {
    std::fwprintf(stderr, L"usage: host.exe call \"<alias>.<command>\" [name=value ...]\n");
    return 2;
}

std::wstring AliasOf(const std::wstring& target) {
    return target.substr(0, target.find(L'.'));
}

std::wstring CommandOf(const std::wstring& target) {
    size_t dot = target.find(L'.');
    return dot == std::wstring::npos ? std::wstring() : target.substr(dot + 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || std::wcscmp(argv[1], L"call") != 0)
        return Usage();
    Pairs arguments;
    for (int i = 3; i < argc; ++i) {
        std::wstring argument(argv[i]);
        size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos)
            return Usage();
        arguments.emplace_back(argument.substr(0, equals), argument.substr(equals + 1));
    }
    CPluginHost host;
    if (!host.Load(PluginPath())) {
        std::fwprintf(stderr, L"cannot load %ls\n", PluginPath().c_str());
        return 1;
    }
    const std::wstring target(argv[2]);
    host.OnLoad(AliasOf(target));
    Items result;
    const int code =
        host.DispatchSync(CallText(AliasOf(target), CommandOf(target), L"", arguments), &result);
    std::wprintf(L"code: %d\n", code);
    for (size_t i = 0; i + 1 < result.size(); i += 2)
        std::wprintf(L"%ls = %ls\n", result[i].c_str(), result[i + 1].c_str());
    host.OnUnload(AliasOf(target));
    return 0;
}
