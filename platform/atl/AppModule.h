#pragma once
// The application module: which module's instance the window classes are
// registered with. Constructing one makes it the process's module.

#include <windows.h>

class CAppModule {
public:
    CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // Calling it again only records the same values again.
    HRESULT Init(const void* objectMap, HINSTANCE instance, const GUID* libraryId = nullptr);
    HINSTANCE GetModuleInstance() const { return m_instance; }
    const GUID& GetLibraryId() const { return m_libraryId; }

private:
    HINSTANCE m_instance = nullptr;
    GUID m_libraryId = {};
};

// The process's module object, set by its constructor.
extern CAppModule* theAtlModule;

// The instance window classes belong to: the module object's once it is
// initialised, else the module that holds this code.
HINSTANCE ModuleInstanceForClasses();
