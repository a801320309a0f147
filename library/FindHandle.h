#pragma once
// Owns a FindFirstFileA search handle and closes it once with FindClose.

#include <windows.h>

class CFindHandle {
public:
    explicit CFindHandle(HANDLE handle) : m_handle(handle) {}
    ~CFindHandle() {
        if (*this)
            FindClose(m_handle);
    }
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};
