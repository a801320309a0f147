#pragma once
// Owns one reference to a COM object and releases it once. Move-only.

template <class T> class CComRef {
public:
    CComRef() = default;
    // Takes over the reference the caller holds.
    explicit CComRef(T* adopted) : m_object(adopted) {}
    ~CComRef() { Reset(); }

    CComRef(CComRef&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    CComRef& operator=(CComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            m_object = other.m_object;
            other.m_object = nullptr;
        }
        return *this;
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    void Reset() {
        if (m_object)
            m_object->Release();
        m_object = nullptr;
    }

private:
    T* m_object = nullptr;
};
