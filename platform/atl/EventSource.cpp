#include "EventSource.h"

#include <ocidl.h>

#include "ComPtr.h"
#include "TypeInfoAttributes.h"

namespace {

HRESULT ReadLibraryOf(ITypeInfo* info, EventSourceInfo* source) {
    CComPtr<ITypeLib> library;
    UINT index = 0;
    HRESULT hr = info->GetContainingTypeLib(library.ReleaseAndGetAddressOf(), &index);
    if (FAILED(hr))
        return hr;
    LibAttrRef attr(library.p);
    if (!attr)
        return E_FAIL;
    source->libid = attr->guid;
    source->majorVersion = attr->wMajorVerNum;
    source->minorVersion = attr->wMinorVerNum;
    return S_OK;
}

bool IsDefaultSource(ITypeInfo* classInfo, UINT index) {
    INT flags = 0;
    if (FAILED(classInfo->GetImplTypeFlags(index, &flags)))
        return false;
    const INT wanted = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    return (flags & wanted) == wanted;
}

} // namespace

HRESULT FindDefaultSourceInterface(ITypeInfo* classInfo, IID* eventIid) {
    if (!classInfo || !eventIid)
        return E_POINTER;
    TypeAttrRef classAttr(classInfo);
    if (!classAttr)
        return E_FAIL;
    for (UINT i = 0; i < classAttr->cImplTypes; ++i) {
        if (!IsDefaultSource(classInfo, i))
            continue;
        HREFTYPE type = 0;
        CComPtr<ITypeInfo> sourceInfo;
        if (FAILED(classInfo->GetRefTypeOfImplType(i, &type)) ||
            FAILED(classInfo->GetRefTypeInfo(type, sourceInfo.ReleaseAndGetAddressOf())))
            return E_FAIL;
        TypeAttrRef sourceAttr(sourceInfo.p);
        // The sink only answers IDispatch::Invoke.
        if (!sourceAttr || sourceAttr->typekind != TKIND_DISPATCH)
            return E_FAIL;
        *eventIid = sourceAttr->guid;
        return S_OK;
    }
    return E_FAIL;
}

HRESULT GetObjectSourceInterface(IUnknown* object, EventSourceInfo* source) {
    if (!object || !source)
        return E_POINTER;
    CComPtr<IProvideClassInfo> classInfoProvider;
    HRESULT hr = object->QueryInterface(IID_PPV_ARGS(classInfoProvider.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        return hr;
    CComPtr<ITypeInfo> classInfo;
    hr = classInfoProvider->GetClassInfo(classInfo.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    if (!classInfo)
        return E_FAIL;

    EventSourceInfo found;
    hr = ReadLibraryOf(classInfo.p, &found);
    if (FAILED(hr))
        return hr;
    CComPtr<IProvideClassInfo2> classInfo2;
    object->QueryInterface(IID_PPV_ARGS(classInfo2.ReleaseAndGetAddressOf()));
    if (!classInfo2 ||
        FAILED(classInfo2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &found.eventIid))) {
        hr = FindDefaultSourceInterface(classInfo.p, &found.eventIid);
        if (FAILED(hr))
            return hr;
    }
    *source = found;
    return S_OK;
}

namespace {

// The object's connection point for the event interface.
HRESULT FindEventConnectionPoint(IUnknown* object, REFIID eventIid,
                                 CComPtr<IConnectionPoint>& point) {
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr = object->QueryInterface(IID_PPV_ARGS(container.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        return hr;
    return container->FindConnectionPoint(eventIid, point.ReleaseAndGetAddressOf());
}

} // namespace

HRESULT AdviseSink(IUnknown* object, REFIID eventIid, IUnknown* sink, DWORD* cookie) {
    if (!object || !sink || !cookie)
        return E_POINTER;
    CComPtr<IConnectionPoint> point;
    const HRESULT hr = FindEventConnectionPoint(object, eventIid, point);
    return FAILED(hr) ? hr : point->Advise(sink, cookie);
}

HRESULT UnadviseSink(IUnknown* object, REFIID eventIid, DWORD cookie) {
    if (!object)
        return E_POINTER;
    CComPtr<IConnectionPoint> point;
    const HRESULT hr = FindEventConnectionPoint(object, eventIid, point);
    return FAILED(hr) ? hr : point->Unadvise(cookie);
}
