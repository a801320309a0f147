#include "CComTypeInfoHolder.h"

#include <new>

#include "ComPtr.h"

// Kept for the process on purpose: releasing the type library from a static
// destructor could run while the loader is tearing the process down, when
// oleaut32 may no longer be usable.
struct CComTypeInfoHolder::Record {
    EventSourceInfo ids;
    CComPtr<ITypeInfo> info;
};

HRESULT CComTypeInfoHolder::GetTI(const EventSourceInfo& candidate, LCID lcid, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    Record* record = m_record.load();
    if (!record) {
        CComPtr<ITypeLib> library;
        HRESULT hr = LoadRegTypeLib(candidate.libid, candidate.majorVersion, candidate.minorVersion,
                                    lcid, library.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return hr;
        CComPtr<ITypeInfo> loaded;
        hr = library->GetTypeInfoOfGuid(candidate.eventIid, loaded.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return hr;
        Record* fresh = new (std::nothrow) Record{candidate, std::move(loaded)};
        if (!fresh)
            return E_OUTOFMEMORY;
        if (m_record.compare_exchange_strong(record, fresh))
            record = fresh;
        else
            delete fresh; // another thread published first; record is now its one
    }
    *info = CComPtr<ITypeInfo>(record->info.p).Detach();
    return S_OK;
}

HRESULT CComTypeInfoHolder::GetTypeInfo(const EventSourceInfo& candidate, UINT index, LCID lcid,
                                        ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return GetTI(candidate, lcid, info);
}

HRESULT CComTypeInfoHolder::GetIDsOfNames(const EventSourceInfo& candidate, LPOLESTR* names,
                                          UINT count, LCID lcid, DISPID* dispids) {
    CComPtr<ITypeInfo> info;
    HRESULT hr = GetTI(candidate, lcid, info.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    return info->GetIDsOfNames(names, count, dispids);
}

EventSourceInfo CComTypeInfoHolder::GetIds() const {
    Record* record = m_record.load();
    return record ? record->ids : EventSourceInfo();
}
