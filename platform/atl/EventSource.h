#pragma once
// Finding a control's default outgoing dispatch interface from its type
// information, and advising a sink on it.

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

// The event interface of a control and the type library that describes it.
struct EventSourceInfo {
    GUID libid = {};
    IID eventIid = {};
    WORD majorVersion = 0;
    WORD minorVersion = 0;
};

// Reads the object's class information (IProvideClassInfo): the type library
// holding its class, and the default source interface, from
// IProvideClassInfo2 when the object offers it, else from the class's
// [default, source] entry.
HRESULT GetObjectSourceInterface(IUnknown* object, EventSourceInfo* source);

// The [default, source] dispatch interface of a class's type information.
HRESULT FindDefaultSourceInterface(ITypeInfo* classInfo, IID* eventIid);

HRESULT AdviseSink(IUnknown* object, REFIID eventIid, IUnknown* sink, DWORD* cookie);
HRESULT UnadviseSink(IUnknown* object, REFIID eventIid, DWORD cookie);
