#include "SinkHandlerCall.h"

#include <cstdint>

#include "ComVariant.h"

namespace {

// Orders the arguments as the handler declares its parameters: named ones
// where their DISPIDs say, positional ones (held last-first) reversed.
HRESULT ArrangeArguments(const EventFuncInfo& info, const DISPPARAMS* params,
                         VARIANTARG** ordered) {
    const UINT argCount = params ? params->cArgs : 0;
    const UINT namedCount = params ? params->cNamedArgs : 0;
    if ((argCount && !params->rgvarg) || (namedCount && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    for (UINT i = 0; i < namedCount && i < argCount; ++i) {
        const DISPID slot = params->rgdispidNamedArgs[i];
        if (slot < 0 || slot >= kMaxEventParams)
            return E_FAIL;
    }
    // Checked before any argument is placed: a mismatch would leave
    // parameters without arguments or write past the list.
    if (argCount != static_cast<UINT>(info.paramCount))
        return DISP_E_BADPARAMCOUNT;
    if (namedCount > argCount)
        return DISP_E_BADPARAMCOUNT;
    for (int i = 0; i < info.paramCount; ++i)
        ordered[i] = nullptr;
    for (UINT i = 0; i < namedCount; ++i) {
        const DISPID slot = params->rgdispidNamedArgs[i];
        if (slot >= info.paramCount || ordered[slot])
            return DISP_E_PARAMNOTFOUND;
        ordered[slot] = &params->rgvarg[i];
    }
    for (UINT i = namedCount; i < argCount; ++i) {
        const UINT slot = argCount - 1 - i;
        if (ordered[slot])
            return DISP_E_PARAMNOTFOUND;
        ordered[slot] = &params->rgvarg[i];
    }
    return S_OK;
}

} // namespace

HRESULT CallSinkHandler(void* owner, const MemberFunctionAddress& handler,
                        const EventFuncInfo& info, const DISPPARAMS* params, VARIANT* result) {
    if (info.paramCount > kMaxEventParams || info.paramCount < 0)
        return E_FAIL;

    // Slot 0 carries `this`: the handler is called as a plain stdcall
    // function whose first stack argument is its object.
    VARIANTARG* arguments[kMaxEventParams + 1] = {};
    VARTYPE types[kMaxEventParams + 1] = {};
    HRESULT hr = ArrangeArguments(info, params, arguments + 1);
    if (FAILED(hr))
        return hr;

    std::uintptr_t code = 0;
    void* self = nullptr;
    if (!handler.Resolve(owner, &code, &self))
        return E_FAIL;
    VARIANTARG selfArgument;
    VariantInit(&selfArgument);
    selfArgument.vt = VT_I4;
    selfArgument.lVal = static_cast<LONG>(reinterpret_cast<std::intptr_t>(self));
    arguments[0] = &selfArgument;
    types[0] = VT_I4;
    for (int i = 0; i < info.paramCount; ++i)
        types[i + 1] = info.paramTypes[i];

    CComVariant localResult;
    if (!result)
        result = &localResult;
    // A null instance makes DispCallFunc call the code address itself.
    return DispCallFunc(nullptr, code, info.callConv, info.returnType,
                        static_cast<UINT>(info.paramCount + 1), types, arguments, result);
}
