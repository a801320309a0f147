#pragma once
// Owns one reference on a loaded module, released with FreeLibrary.
// Move-only. A thread that runs a module's code holds one, so the module
// cannot be unloaded while the thread still runs.

#include <windows.h>

class CModuleReference {
public:
    CModuleReference() = default;
    ~CModuleReference() { Reset(); }

    // A new reference on the module that holds the address; empty on failure.
    static CModuleReference ForAddress(const void* address);

    CModuleReference(CModuleReference&& other) noexcept : m_module(other.Detach()) {}
    CModuleReference& operator=(CModuleReference&& other) noexcept {
        if (this != &other) {
            Reset();
            m_module = other.Detach();
        }
        return *this;
    }
    CModuleReference(const CModuleReference&) = delete;
    CModuleReference& operator=(const CModuleReference&) = delete;

    explicit operator bool() const { return m_module != nullptr; }
    HMODULE Detach() {
        HMODULE module = m_module;
        m_module = nullptr;
        return module;
    }
    void Reset() {
        if (m_module)
            FreeLibrary(m_module);
        m_module = nullptr;
    }

private:
    HMODULE m_module = nullptr;
};

inline CModuleReference CModuleReference::ForAddress(const void* address) {
    CModuleReference reference;
    HMODULE module = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address),
                           &module))
        reference.m_module = module;
    return reference;
}
