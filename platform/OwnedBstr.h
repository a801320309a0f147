#pragma once
// Owns one BSTR and frees it with SysFreeString on every path.

#include <windows.h>
#include <oleauto.h>

class OwnedBstr {
public:
    OwnedBstr() = default;
    explicit OwnedBstr(const wchar_t* text) : m_text(SysAllocString(text)) {}
    ~OwnedBstr() { SysFreeString(m_text); }

    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    OwnedBstr(OwnedBstr&& other) noexcept : m_text(other.m_text) { other.m_text = nullptr; }
    OwnedBstr& operator=(OwnedBstr&& other) noexcept {
        if (this != &other) {
            SysFreeString(m_text);
            m_text = other.m_text;
            other.m_text = nullptr;
        }
        return *this;
    }

    BSTR Get() const { return m_text; }
    UINT Length() const { return SysStringLen(m_text); }

    // For an out-parameter: frees what is held and receives the new string.
    BSTR* Out() {
        SysFreeString(m_text);
        m_text = nullptr;
        return &m_text;
    }

private:
    BSTR m_text = nullptr;
};
