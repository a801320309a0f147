#include "AppModule.h"

CAppModule* theAtlModule = nullptr;

CAppModule::CAppModule() {
    theAtlModule = this;
}

HRESULT CAppModule::Init(const void* /*objectMap*/, HINSTANCE instance, const GUID* libraryId) {
    m_instance = instance;
    if (libraryId)
        m_libraryId = *libraryId;
    return S_OK;
}

HINSTANCE ModuleInstanceForClasses() {
    if (theAtlModule && theAtlModule->GetModuleInstance())
        return theAtlModule->GetModuleInstance();
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ModuleInstanceForClasses), &module);
    return module;
}
