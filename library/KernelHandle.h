#pragma once
// Owns a kernel object handle (thread, process, job, event) and closes it
// once. Move-only: a handle has one owner.

#include <windows.h>

class CKernelHandle {
public:
    CKernelHandle() = default;
    explicit CKernelHandle(HANDLE handle) : m_handle(handle) {}
    ~CKernelHandle() { Close(); }

    CKernelHandle(CKernelHandle&& other) noexcept : m_handle(other.Detach()) {}
    CKernelHandle& operator=(CKernelHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = other.Detach();
        }
        return *this;
    }
    CKernelHandle(const CKernelHandle&) = delete;
    CKernelHandle& operator=(const CKernelHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    // Both "no handle" values of the API count as empty.
    explicit operator bool() const {
        return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE;
    }
    HANDLE Detach() {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Close() {
        if (*this)
            CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};
