#include "PluginMutex.h"

#include <utility>

CPluginMutex::~CPluginMutex() {
    if (m_handle)
        CloseHandle(m_handle);
}

CPluginMutex::CPluginMutex(CPluginMutex&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)) {}

CPluginMutex& CPluginMutex::operator=(CPluginMutex&& other) noexcept {
    if (this != &other) {
        if (m_handle)
            CloseHandle(m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

bool CPluginMutex::Create() {
    if (!m_handle)
        m_handle = CreateMutexA(nullptr, FALSE, nullptr);
    return m_handle != nullptr;
}

void CPluginMutex::Lock() {
    // Unbounded: a holder keeps the mutex for one chain walk or list splice,
    // or for a short sequence of such steps.
    if (m_handle)
        WaitForSingleObject(m_handle, INFINITE);
}

void CPluginMutex::Unlock() {
    if (m_handle)
        ReleaseMutex(m_handle);
}

void CPluginMutex::CloseHeld() {
    if (!m_handle)
        return;
    // Unbounded: lets a thread still inside an operation finish it before
    // the handle goes away.
    WaitForSingleObject(m_handle, INFINITE);
    CloseHandle(m_handle);
    m_handle = nullptr;
}
