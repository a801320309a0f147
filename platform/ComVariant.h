#pragma once
// Owns one VARIANT: cleared when it goes, so a BSTR or interface inside it
// is always given back.

#include <windows.h>
#include <oleauto.h>

class CComVariant : public VARIANT {
public:
    CComVariant() { ::VariantInit(this); }
    CComVariant(const CComVariant&) = delete;
    CComVariant& operator=(const CComVariant&) = delete;
    ~CComVariant() { Clear(); }

    HRESULT Clear() { return ::VariantClear(this); }
};
