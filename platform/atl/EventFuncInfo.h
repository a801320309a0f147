#pragma once
// The call description of one event: what DispCallFunc needs to call its
// handler, read from the event interface's type information.

#include <windows.h>
#include <oaidl.h>

// Events with more parameters than this cannot be dispatched.
constexpr int kMaxEventParams = 8;

struct EventFuncInfo {
    CALLCONV callConv = CC_STDCALL;
    VARTYPE returnType = VT_EMPTY;
    // The event's own count, which may exceed kMaxEventParams; only the
    // first kMaxEventParams types are kept.
    int paramCount = 0;
    VARTYPE paramTypes[kMaxEventParams] = {};
};

// Fills the description of the function with that DISPID.
HRESULT ReadEventFuncInfo(ITypeInfo* eventInfo, DISPID dispid, EventFuncInfo* info);
