#pragma once
// The sink map of an event sink's owner: which handler each event reaches.
//
// The owner class declares it with
//     BEGIN_SINK_MAP(CMyWindow)
//         SINK_ENTRY(0, 259, OnDocumentComplete)
//     END_SINK_MAP()
// which defines `static const SinkEntry<CMyWindow>* GetSinkMap()`: a table
// built on its first use and kept for the process, ended by a zero entry.
// Handlers are __stdcall members of the owner whose parameters match the
// event's declaration in the type library.

#include <windows.h>
#include <objbase.h>

#include "MemberFunctionAddress.h"

// Entries name the event interface the way the sink was declared: by the
// null identifier, the real interface being found when the sink connects.
inline constexpr IID theNullIid = {};

template <class T> struct SinkEntry {
    UINT controlId;
    const IID* eventIid; // null in the entry that ends the map
    DISPID dispid;
    MemberFunctionAddress handler;
};

// The first entry for that control id and DISPID whose interface is the null
// identifier, or null.
template <class T>
const SinkEntry<T>* FindSinkEntry(const SinkEntry<T>* map, UINT controlId, DISPID dispid) {
    for (const SinkEntry<T>* entry = map; entry && entry->eventIid; ++entry) {
        if (entry->controlId == controlId && entry->dispid == dispid &&
            IsEqualIID(*entry->eventIid, theNullIid))
            return entry;
    }
    return nullptr;
}

// clang-format off
#define BEGIN_SINK_MAP(theClass)                                                \
    static const SinkEntry<theClass>* GetSinkMap() {                            \
        using SinkOwner = theClass;                                             \
        static const SinkEntry<theClass> theEntries[] = {
#define SINK_ENTRY(controlId, dispid, handler)                                  \
            {controlId, &theNullIid, dispid,                                    \
             MemberFunctionAddress::Of(&SinkOwner::handler)},
#define END_SINK_MAP()                                                          \
            {0, nullptr, 0, MemberFunctionAddress()}};                          \
        return theEntries;                                                      \
    }
// clang-format on
