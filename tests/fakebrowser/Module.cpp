// The DLL's entry points, its class object and the test exports.
#include "FakeBrowser.h"
#include "FakeBrowserApi.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>

namespace {

// {6E1F2C3A-8B4D-4F5E-9A7B-1C2D3E4F5A6B}: the scripted control's own class;
// the test run makes the WebBrowser class identifier treat as it.
const CLSID kScriptedClassId = {
    0x6E1F2C3A, 0x8B4D, 0x4F5E, {0x9A, 0x7B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};

HINSTANCE g_instance = nullptr;
std::mutex g_lock;
Script g_script;
std::deque<NextStep> g_nextSteps;
std::string g_log;
LONG g_liveObjects = 0;
std::atomic<FakeBrowserCreateCallback> g_createCallback{nullptr};
bool g_scriptChosen = false;

std::vector<std::string> SplitDirectives(const char* text) {
    std::vector<std::string> directives;
    std::string current;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n' || *c == ';') {
            directives.push_back(current);
            current.clear();
        } else if (*c != '\r') {
            current += *c;
        }
    }
    directives.push_back(current);
    return directives;
}

void ApplyDirective(const std::string& directive, Script& script, std::deque<NextStep>& nextSteps) {
    std::istringstream words(directive);
    std::string verb, argument;
    words >> verb;
    // A form's value may hold blanks: the rest of the directive.
    if (verb == "submit")
        std::getline(words >> std::ws, argument);
    else
        words >> argument;
    if (verb == "refuse")
        script.refuse = true;
    else if (verb == "never")
        script.never = true;
    else if (verb == "stall")
        script.stall = true;
    else if (verb == "close")
        script.close = true;
    else if (verb == "offline")
        script.offline = true;
    else if (verb == "real")
        script.real = true;
    else if (verb == "delay")
        script.delay = static_cast<DWORD>(std::strtoul(argument.c_str(), nullptr, 10));
    else if (verb == "error")
        script.errorCode = std::strtol(argument.c_str(), nullptr, 0);
    else if (verb == "frame")
        script.frames.push_back(argument);
    else if (verb == "follow" || verb == "submit")
        nextSteps.push_back({verb == "submit", argument});
    else if (!verb.empty()) {
        std::fprintf(stderr, "fakebrowser: unknown script directive \"%s\"\n", directive.c_str());
        std::fflush(stderr);
        std::abort();
    }
}

// Wine's own WebBrowser control, from the DLL its class is registered with.
HRESULT CreateRealControl(REFIID iid, void** out) {
    static HMODULE module = nullptr;
    if (!module) {
        char path[MAX_PATH] = {};
        LONG size = sizeof(path);
        if (RegQueryValueA(HKEY_CLASSES_ROOT,
                           "CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32", path,
                           &size) != ERROR_SUCCESS)
            return REGDB_E_CLASSNOTREG;
        module = LoadLibraryA(path);
        if (!module)
            return REGDB_E_CLASSNOTREG;
    }
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get)
        return REGDB_E_CLASSNOTREG;
    IClassFactory* factory = nullptr;
    HRESULT hr = get(CLSID_WebBrowser, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = IClassFactory_CreateInstance(factory, nullptr, iid, out);
    IClassFactory_Release(factory);
    return hr;
}

// --- the class object ------------------------------------------------------

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* self, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    *out = self;
    return S_OK;
}
ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) {
    return 2;
}
ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) {
    return 1;
}

HRESULT STDMETHODCALLTYPE FactoryCreateInstance(IClassFactory*, IUnknown* outer, REFIID iid,
                                                void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (CurrentScript().real) {
        Log("CreateInstance real");
        return CreateRealControl(iid, out);
    }
    Log("CreateInstance scripted");
    if (FakeBrowserCreateCallback callback = g_createCallback.load())
        callback();
    return CreateControl(iid, out);
}

HRESULT STDMETHODCALLTYPE FactoryLockServer(IClassFactory*, BOOL) {
    return S_OK;
}

const IClassFactoryVtbl kFactoryVtbl = {FactoryQueryInterface, FactoryAddRef, FactoryRelease,
                                        FactoryCreateInstance, FactoryLockServer};
IClassFactory g_factory = {&kFactoryVtbl};

} // namespace

// A process that does not link the test exports (a program a test starts)
// takes its script from BRC_FAKEBROWSER_SCRIPT, before the control's first
// use; a script set through the exports replaces it. Called under g_lock.
static void TakeEnvironmentScript() {
    if (g_scriptChosen)
        return;
    g_scriptChosen = true;
    const char* text = std::getenv("BRC_FAKEBROWSER_SCRIPT");
    if (!text)
        return;
    for (const std::string& directive : SplitDirectives(text))
        ApplyDirective(directive, g_script, g_nextSteps);
}

Script CurrentScript() {
    std::lock_guard<std::mutex> hold(g_lock);
    TakeEnvironmentScript();
    return g_script;
}

bool TakeNextStep(NextStep& step) {
    std::lock_guard<std::mutex> hold(g_lock);
    TakeEnvironmentScript();
    if (g_nextSteps.empty())
        return false;
    step = g_nextSteps.front();
    g_nextSteps.pop_front();
    return true;
}

void Log(const std::string& line) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_log += line;
    g_log += '\n';
}

void ObjectCreated() {
    InterlockedIncrement(&g_liveObjects);
}
void ObjectDestroyed() {
    InterlockedDecrement(&g_liveObjects);
}
HINSTANCE ModuleInstance() {
    return g_instance;
}

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    if (!text || !*text)
        return std::string();
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow;
}

void FailUnsupported(const char* interfaceName, int slot) {
    std::fprintf(stderr, "fakebrowser: %s method in slot %d is not scripted\n", interfaceName,
                 slot);
    std::fflush(stderr);
    // The caller pushed arguments this stub cannot know: returning would
    // corrupt its stack.
    TerminateProcess(GetCurrentProcess(), 70);
    for (;;)
        Sleep(INFINITE);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(classId, kScriptedClassId) && !IsEqualCLSID(classId, CLSID_WebBrowser))
        return CLASS_E_CLASSNOTAVAILABLE;
    return FactoryQueryInterface(&g_factory, iid, out);
}

// The test program links this DLL; it stays loaded for the process.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

extern "C" void FakeBrowserSetScript(const char* text) {
    Script script;
    std::deque<NextStep> nextSteps;
    for (const std::string& directive : SplitDirectives(text))
        ApplyDirective(directive, script, nextSteps);
    std::lock_guard<std::mutex> hold(g_lock);
    g_scriptChosen = true;
    g_script = script;
    g_nextSteps = nextSteps;
    g_log.clear();
}

extern "C" int FakeBrowserGetLog(char* buffer, int size) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (buffer && size > 0) {
        const size_t count = std::min(g_log.size(), static_cast<size_t>(size - 1));
        g_log.copy(buffer, count);
        buffer[count] = '\0';
    }
    return static_cast<int>(g_log.size());
}

extern "C" long FakeBrowserLiveObjects() {
    return g_liveObjects;
}

extern "C" void FakeBrowserSetCreateCallback(FakeBrowserCreateCallback callback) {
    g_createCallback = callback;
}
