#pragma once
// An unnamed Win32 mutex owned by one container. Move-only: the handle is
// closed exactly once, by Close or by the destructor.

#include <windows.h>

class CPluginMutex {
public:
    CPluginMutex() = default;
    ~CPluginMutex();
    CPluginMutex(CPluginMutex&& other) noexcept;
    CPluginMutex& operator=(CPluginMutex&& other) noexcept;
    CPluginMutex(const CPluginMutex&) = delete;
    CPluginMutex& operator=(const CPluginMutex&) = delete;

    // Unnamed, not initially owned. False when the system refuses.
    bool Create();
    bool IsCreated() const { return m_handle != nullptr; }

    // Both do nothing on a container that was never given a mutex.
    void Lock();
    void Unlock();

    // Teardown: waits until no other thread is inside, then closes the
    // handle while holding it, so no waiter can slip in afterwards.
    void CloseHeld();

    // Holds the mutex for one scope and releases it on every way out.
    class Hold {
    public:
        explicit Hold(CPluginMutex& mutex) : m_mutex(mutex) { m_mutex.Lock(); }
        ~Hold() { m_mutex.Unlock(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CPluginMutex& m_mutex;
    };

private:
    HANDLE m_handle = nullptr;
};
