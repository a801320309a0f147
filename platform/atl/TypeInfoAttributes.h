#pragma once
// Owners of the attribute blocks a type library hands out, each freed through
// the object that gave it.

#include <windows.h>
#include <oaidl.h>

#include "ComPtr.h"

class TypeAttrRef {
public:
    explicit TypeAttrRef(ITypeInfo* info) : m_info(CComPtr<ITypeInfo>(info)) {
        if (m_info && FAILED(m_info->GetTypeAttr(&m_attr)))
            m_attr = nullptr;
    }
    ~TypeAttrRef() {
        if (m_attr)
            m_info->ReleaseTypeAttr(m_attr);
    }
    TypeAttrRef(const TypeAttrRef&) = delete;
    TypeAttrRef& operator=(const TypeAttrRef&) = delete;

    const TYPEATTR* operator->() const { return m_attr; }
    explicit operator bool() const { return m_attr != nullptr; }

private:
    CComPtr<ITypeInfo> m_info;
    TYPEATTR* m_attr = nullptr;
};

class FuncDescRef {
public:
    FuncDescRef(ITypeInfo* info, UINT index) : m_info(CComPtr<ITypeInfo>(info)) {
        if (m_info && FAILED(m_info->GetFuncDesc(index, &m_desc)))
            m_desc = nullptr;
    }
    ~FuncDescRef() {
        if (m_desc)
            m_info->ReleaseFuncDesc(m_desc);
    }
    FuncDescRef(const FuncDescRef&) = delete;
    FuncDescRef& operator=(const FuncDescRef&) = delete;

    const FUNCDESC* operator->() const { return m_desc; }
    explicit operator bool() const { return m_desc != nullptr; }

private:
    CComPtr<ITypeInfo> m_info;
    FUNCDESC* m_desc = nullptr;
};

class LibAttrRef {
public:
    explicit LibAttrRef(ITypeLib* library) : m_library(CComPtr<ITypeLib>(library)) {
        if (m_library && FAILED(m_library->GetLibAttr(&m_attr)))
            m_attr = nullptr;
    }
    ~LibAttrRef() {
        if (m_attr)
            m_library->ReleaseTLibAttr(m_attr);
    }
    LibAttrRef(const LibAttrRef&) = delete;
    LibAttrRef& operator=(const LibAttrRef&) = delete;

    const TLIBATTR* operator->() const { return m_attr; }
    explicit operator bool() const { return m_attr != nullptr; }

private:
    CComPtr<ITypeLib> m_library;
    TLIBATTR* m_attr = nullptr;
};
