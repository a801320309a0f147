#pragma once
// Calls an event handler, a __stdcall member of the sink's owner, with the
// arguments of an IDispatch::Invoke call, through DispCallFunc.

#include <windows.h>
#include <oaidl.h>

#include "EventFuncInfo.h"
#include "MemberFunctionAddress.h"

// More than kMaxEventParams parameters, or a named argument whose DISPID is
// kMaxEventParams or more: E_FAIL. An argument count other than the event's,
// or named arguments that leave a parameter without its argument: the
// DISP_E_ error, and the handler is not called. Otherwise the result of
// DispCallFunc, with the handler's result in *result (or in a local VARIANT
// cleared afterwards when result is null).
HRESULT CallSinkHandler(void* owner, const MemberFunctionAddress& handler,
                        const EventFuncInfo& info, const DISPPARAMS* params, VARIANT* result);
