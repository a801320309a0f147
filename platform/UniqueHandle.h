#pragma once
// One owner type for every kind of Windows handle: each kind is one line
// naming its "no handle" value and its close call. Move-only, so a handle has
// exactly one owner and is closed exactly once on every path.

#include <windows.h>
#include <wininet.h>

template <typename Traits> class CUniqueHandle {
public:
    using Type = typename Traits::Type;

    CUniqueHandle() = default;
    explicit CUniqueHandle(Type handle) : m_handle(handle) {}
    ~CUniqueHandle() { Close(); }

    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    Type Get() const { return m_handle; }
    // For the many calls that take the raw handle.
    operator Type() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return IsValid(); }

    void Attach(Type handle) {
        Close();
        m_handle = handle;
    }
    Type Detach() {
        Type handle = m_handle;
        m_handle = Traits::Empty();
        return handle;
    }
    // For the calls that hand out a handle through a pointer.
    Type* Receive() {
        Close();
        return &m_handle;
    }
    void Close() {
        if (IsValid())
            Traits::Close(m_handle);
        m_handle = Traits::Empty();
    }

private:
    Type m_handle = Traits::Empty();
};

template <typename T, typename CloseResult, CloseResult(WINAPI* CloseFunction)(T)>
struct CHandleTraits {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type handle) {
        return handle != nullptr && handle != reinterpret_cast<Type>(INVALID_HANDLE_VALUE);
    }
    static void Close(Type handle) { CloseFunction(handle); }
};

// Threads, events, processes, jobs, files.
using CHandle = CUniqueHandle<CHandleTraits<HANDLE, BOOL, CloseHandle>>;
using CFindHandle = CUniqueHandle<CHandleTraits<HANDLE, BOOL, FindClose>>;
using CRegistryKey = CUniqueHandle<CHandleTraits<HKEY, LONG, RegCloseKey>>;
using CInternetHandle = CUniqueHandle<CHandleTraits<HINTERNET, BOOL, InternetCloseHandle>>;
// An icon loaded for a window: the window only borrows the icons it is sent.
using CIconHandle = CUniqueHandle<CHandleTraits<HICON, BOOL, DestroyIcon>>;
// A reference on a loaded module, dropped with FreeLibrary.
using CModuleReference = CUniqueHandle<CHandleTraits<HMODULE, BOOL, FreeLibrary>>;

// A thread-local storage index: freeing it empties its slot on every thread.
struct CTlsIndexTraits {
    using Type = DWORD;
    static Type Empty() { return TLS_OUT_OF_INDEXES; }
    static bool IsValid(Type index) { return index != TLS_OUT_OF_INDEXES; }
    static void Close(Type index) { TlsFree(index); }
};
using CTlsIndex = CUniqueHandle<CTlsIndexTraits>;

// A new reference on the module that holds the address (a thread's start
// routine, say); empty on failure. A thread that holds one keeps its code
// mapped until it ends with FreeLibraryAndExitThread.
inline CModuleReference ReferenceModuleAt(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address),
                            &module))
        module = nullptr;
    return CModuleReference(module);
}
