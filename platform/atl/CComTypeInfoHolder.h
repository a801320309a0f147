#pragma once
// The type information of one event interface, shared by every sink of one
// kind for the life of the process. Its identifiers are zero until a sink
// that has found its control's event interface first needs the type
// information; from then on it keeps that interface's description.

#include <windows.h>
#include <oaidl.h>

#include <atomic>

#include "EventSource.h"

class CComTypeInfoHolder {
public:
    // Gives the kept type information (a new reference), loading it first
    // from the caller's identifiers when nothing is kept yet.
    HRESULT GetTI(const EventSourceInfo& candidate, LCID lcid, ITypeInfo** info);
    HRESULT GetTypeInfo(const EventSourceInfo& candidate, UINT index, LCID lcid, ITypeInfo** info);
    HRESULT GetIDsOfNames(const EventSourceInfo& candidate, LPOLESTR* names, UINT count, LCID lcid,
                          DISPID* dispids);

    // The identifiers taken over, all zero before.
    EventSourceInfo GetIds() const;

private:
    struct Record;
    // Published once by an atomic exchange, so sinks on several UI threads
    // need no lock; never freed (see the .cpp).
    std::atomic<Record*> m_record{nullptr};
};
