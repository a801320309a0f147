#include "EventFuncInfo.h"

#include "ComPtr.h"
#include "TypeInfoAttributes.h"

namespace {

HRESULT FindFuncIndex(ITypeInfo* eventInfo, DISPID dispid, UINT* index) {
    CComPtr<ITypeInfo2> info2;
    if (SUCCEEDED(eventInfo->QueryInterface(IID_PPV_ARGS(info2.ReleaseAndGetAddressOf()))) && info2)
        return info2->GetFuncIndexOfMemId(dispid, INVOKE_FUNC, index);
    TypeAttrRef attr(eventInfo);
    if (!attr)
        return E_FAIL;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDescRef desc(eventInfo, i);
        if (desc && desc->memid == dispid) {
            *index = i;
            return S_OK;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

// An alias stands for its own type, an enumeration travels as a 4-byte int.
VARTYPE ResolveUserDefined(ITypeInfo* eventInfo, HREFTYPE type) {
    CComPtr<ITypeInfo> refInfo;
    if (FAILED(eventInfo->GetRefTypeInfo(type, refInfo.ReleaseAndGetAddressOf())))
        return VT_USERDEFINED;
    TypeAttrRef attr(refInfo.p);
    if (!attr)
        return VT_USERDEFINED;
    if (attr->typekind == TKIND_ALIAS)
        return attr->tdescAlias.vt;
    if (attr->typekind == TKIND_ENUM)
        return VT_I4;
    return VT_USERDEFINED;
}

VARTYPE ParamType(ITypeInfo* eventInfo, const TYPEDESC& type) {
    if (type.vt == VT_PTR && type.lptdesc)
        return static_cast<VARTYPE>(type.lptdesc->vt | VT_BYREF);
    if (type.vt == VT_USERDEFINED)
        return ResolveUserDefined(eventInfo, type.hreftype);
    return type.vt;
}

// DispCallFunc knows return types as VARIANT types.
VARTYPE ReturnType(VARTYPE declared) {
    switch (declared) {
    case VT_INT:
        return VT_I4;
    case VT_UINT:
        return VT_UI4;
    case VT_VOID:
        return VT_EMPTY;
    case VT_HRESULT:
        return VT_ERROR;
    default:
        return declared;
    }
}

} // namespace

HRESULT ReadEventFuncInfo(ITypeInfo* eventInfo, DISPID dispid, EventFuncInfo* info) {
    if (!eventInfo || !info)
        return E_POINTER;
    UINT index = 0;
    HRESULT hr = FindFuncIndex(eventInfo, dispid, &index);
    if (FAILED(hr))
        return hr;
    FuncDescRef desc(eventInfo, index);
    if (!desc)
        return E_FAIL;
    EventFuncInfo result;
    result.callConv = desc->callconv;
    result.returnType = ReturnType(desc->elemdescFunc.tdesc.vt);
    result.paramCount = desc->cParams;
    for (int i = 0; i < desc->cParams && i < kMaxEventParams; ++i)
        result.paramTypes[i] = ParamType(eventInfo, desc->lprgelemdescParam[i].tdesc);
    *info = result;
    return S_OK;
}
