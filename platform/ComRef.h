#pragma once
// Owns one reference to a COM interface. Move-only, so every reference has
// exactly one owner and is released on every path out of a scope.

#include <windows.h>
#include <objbase.h>

template <class T> class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already holds.
    explicit ComRef(T* adopted) : m_p(adopted) {}
    ~ComRef() { Reset(); }

    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    // Adds a reference of its own to a pointer the caller keeps.
    static ComRef Share(T* borrowed) {
        if (borrowed)
            borrowed->AddRef();
        return ComRef(borrowed);
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For an out-parameter: drops what is held and receives the new reference.
    T** Out() {
        Reset();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    void Reset() {
        if (m_p) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }

    template <class U> ComRef<U> Query(REFIID iid) const {
        ComRef<U> result;
        if (m_p)
            m_p->QueryInterface(iid, result.OutVoid());
        return result;
    }

private:
    T* m_p = nullptr;
};
