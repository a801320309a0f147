#pragma once
// Owns one BSTR. Narrow text converts with the ANSI code page, the one the
// library's narrow strings are in.

#include <windows.h>
#include <oleauto.h>

#include <string>

class CComBSTR {
public:
    CComBSTR() = default;
    explicit CComBSTR(const wchar_t* text) : m_str(text ? ::SysAllocString(text) : nullptr) {}
    explicit CComBSTR(const char* text);
    CComBSTR(CComBSTR&& other) noexcept : m_str(other.Detach()) {}
    CComBSTR& operator=(CComBSTR&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CComBSTR(const CComBSTR&) = delete;
    CComBSTR& operator=(const CComBSTR&) = delete;
    ~CComBSTR() { Empty(); }

    operator BSTR() const { return m_str; }
    unsigned Length() const { return m_str ? ::SysStringLen(m_str) : 0; }

    BSTR* ReleaseAndGetAddressOf() {
        Empty();
        return &m_str;
    }
    void Attach(BSTR text) {
        Empty();
        m_str = text;
    }
    BSTR Detach() {
        BSTR text = m_str;
        m_str = nullptr;
        return text;
    }
    void Empty() {
        if (m_str)
            ::SysFreeString(m_str);
        m_str = nullptr;
    }

    // The text in the ANSI code page; characters it lacks become '?'.
    std::string ToAnsi() const;

    BSTR m_str = nullptr;
};
