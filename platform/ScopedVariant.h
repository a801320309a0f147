#pragma once
// A VARIANT that is cleared when it goes out of scope.

#include <windows.h>
#include <oleauto.h>

class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_value); }
    ~ScopedVariant() { VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Get() { return &m_value; }
    const VARIANT* Get() const { return &m_value; }

private:
    VARIANT m_value;
};
