// Registers the scripted WebBrowser control for a test run, or removes it:
//   fakebrowser_setup register|unregister
// The WebBrowser class identifier is made to treat as the scripted control's
// own class, so CoCreateInstance on any thread of any process of the prefix
// creates it, while the WebBrowser control's own registration stays as it
// was for the one test that asks for Wine's control.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "UniqueHandle.h"

namespace {

const char kScriptedClassKey[] = "Software\\Classes\\CLSID\\{6E1F2C3A-8B4D-4F5E-9A7B-1C2D3E4F5A6B}";
const char kScriptedClassId[] = "{6E1F2C3A-8B4D-4F5E-9A7B-1C2D3E4F5A6B}";
const char kTreatAsKey[] =
    "Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\TreatAs";

CRegistryKey CreateMachineKey(const std::string& path) {
    CRegistryKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        key.Close();
    return key;
}

bool SetText(HKEY key, const char* name, const std::string& value) {
    return key && RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string ServerPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + "fakebrowser.dll";
}

int Register() {
    const std::string server = ServerPath();
    if (GetFileAttributesA(server.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "fakebrowser_setup: %s is missing\n", server.c_str());
        return 1;
    }
    const CRegistryKey inproc =
        CreateMachineKey(std::string(kScriptedClassKey) + "\\InprocServer32");
    const CRegistryKey treatAs = CreateMachineKey(kTreatAsKey);
    const bool done = SetText(inproc, nullptr, server) &&
                      SetText(inproc, "ThreadingModel", "Apartment") &&
                      SetText(treatAs, nullptr, kScriptedClassId);
    if (!done)
        std::fprintf(stderr, "fakebrowser_setup: cannot write the registry\n");
    return done ? 0 : 1;
}

int Unregister() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTreatAsKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScriptedClassKey);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "register") == 0)
        return Register();
    if (argc == 2 && std::strcmp(argv[1], "unregister") == 0)
        return Unregister();
    std::fprintf(stderr, "usage: fakebrowser_setup register|unregister\n");
    return 2;
}
