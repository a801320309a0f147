// The plug-in's face to its host. No exception leaves an export: a failure
// inside becomes the export's "not handled" or resource-failure answer.
#include "Aliases.h"
#include "CallDispatch.h"
#include "ModuleLifetime.h"
#include "Properties.h"
#include "ReturnCodes.h"

#include <objbase.h>

extern "C" {

int WINAPI Get(const wchar_t* name, BSTR* value) {
    try {
        CPluginString text;
        const int status = GetProperty(name, text);
        if (value) {
            // Detach allocates; should it throw, the host's text is untouched.
            BSTR fresh = text.Detach();
            SysFreeString(*value);
            *value = fresh;
        }
        return status;
    } catch (...) {
        return 1;
    }
}

int WINAPI Set(const wchar_t* name, BSTR value) {
    try {
        return SetProperty(name, value);
    } catch (...) {
        return 1;
    }
}

int WINAPI OnLoad(const wchar_t* alias) {
    try {
        return LoadAlias(alias);
    } catch (...) {
        return 1;
    }
}

int WINAPI OnUnload(const wchar_t* alias) {
    try {
        return UnloadAlias(alias);
    } catch (...) {
        return 1;
    }
}

int WINAPI Dispatch(BSTR call) {
    try {
        return DispatchCall(call, nullptr, nullptr);
    } catch (...) {
        return kCodeNoThread;
    }
}

int WINAPI DispatchSync(BSTR call, BSTR* result) {
    int code = 0;
    try {
        DispatchCall(call, &code, result);
    } catch (...) {
        // Only before the worker starts or after it is done: the wait for
        // it throws nothing.
        code = kCodeNoThread;
    }
    return code;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        ModuleAttach(module);
    else if (reason == DLL_PROCESS_DETACH)
        ModuleDetach();
    return TRUE;
}

} // extern "C"
