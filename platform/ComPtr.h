#pragma once
// Holds one reference to a COM interface and gives it back when it goes.
// Move-only: a reference changes hands explicitly, never by accident.

#include <windows.h>
#include <ole2.h>

template <class T> class CComPtr {
public:
    CComPtr() = default;
    // Takes a reference of its own, as an interface received as an argument
    // stays owned by the caller.
    explicit CComPtr(T* other) : p(other) {
        if (p)
            p->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : p(other.Detach()) {}
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    ~CComPtr() { Release(); }

    operator T*() const { return p; }
    T* operator->() const { return p; }

    // For out-parameters: drops what is held and hands out the slot.
    T** ReleaseAndGetAddressOf() {
        Release();
        return &p;
    }
    void Release() {
        T* held = p;
        p = nullptr;
        if (held)
            held->Release();
    }
    // Adopts a reference the caller already owns.
    void Attach(T* other) {
        Release();
        p = other;
    }
    T* Detach() {
        T* held = p;
        p = nullptr;
        return held;
    }

    template <class Q> HRESULT QueryInterface(Q** out) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!p)
            return E_NOINTERFACE;
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(out));
    }

    // COM identity: two interfaces belong to one object when their IUnknown
    // interfaces are the same pointer.
    bool IsEqualObject(IUnknown* other) const {
        if (!p || !other)
            return !p && !other;
        CComPtr<IUnknown> mine;
        CComPtr<IUnknown> theirs;
        p->QueryInterface(__uuidof(IUnknown),
                          reinterpret_cast<void**>(mine.ReleaseAndGetAddressOf()));
        other->QueryInterface(__uuidof(IUnknown),
                              reinterpret_cast<void**>(theirs.ReleaseAndGetAddressOf()));
        return mine.p && mine.p == theirs.p;
    }

    T* p = nullptr;
};
