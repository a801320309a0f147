// The scripted control's outgoing events: the DWebBrowserEvents2 connection
// point, the class information that names it, and the events it fires
// through each sink's IDispatch::Invoke on the control's own thread.
#include "Control.h"

namespace {

constexpr char kContainerName[] = "IConnectionPointContainer";
constexpr char kConnectionPointName[] = "IConnectionPoint";
constexpr char kClassInfoName[] = "IProvideClassInfo2";

// --- IConnectionPointContainer ---------------------------------------------

HRESULT STDMETHODCALLTYPE ContainerQueryInterface(IConnectionPointContainer* self, REFIID iid,
                                                  void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE ContainerAddRef(IConnectionPointContainer* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE ContainerRelease(IConnectionPointContainer* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE ContainerEnumConnectionPoints(IConnectionPointContainer*,
                                                        IEnumConnectionPoints** points) {
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ContainerFindConnectionPoint(IConnectionPointContainer* self, REFIID iid,
                                                       IConnectionPoint** point) {
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(iid, DIID_DWebBrowserEvents2))
        return CONNECT_E_NOCONNECTION;
    Control* control = OwnerOf<Control>(self);
    *point = AsInterface<IConnectionPoint>(control->connectionPoint);
    ControlAddRef(control);
    return S_OK;
}

// --- IConnectionPoint ------------------------------------------------------------

HRESULT STDMETHODCALLTYPE PointQueryInterface(IConnectionPoint* self, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *out = self;
    ControlAddRef(OwnerOf<Control>(self));
    return S_OK;
}
ULONG STDMETHODCALLTYPE PointAddRef(IConnectionPoint* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE PointRelease(IConnectionPoint* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE PointGetConnectionInterface(IConnectionPoint*, IID* iid) {
    if (!iid)
        return E_POINTER;
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PointGetConnectionPointContainer(IConnectionPoint* self,
                                                           IConnectionPointContainer** container) {
    if (!container)
        return E_POINTER;
    Control* control = OwnerOf<Control>(self);
    *container = AsInterface<IConnectionPointContainer>(control->container);
    ControlAddRef(control);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PointAdvise(IConnectionPoint* self, IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // As the WebBrowser control does: the sink must answer for the event
    // interface itself.
    IDispatch* dispatch = nullptr;
    if (FAILED(IUnknown_QueryInterface(sink, DIID_DWebBrowserEvents2,
                                       reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    Control* control = OwnerOf<Control>(self);
    *cookie = control->nextCookie++;
    control->sinks.push_back({*cookie, dispatch});
    Log("Advise");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PointUnadvise(IConnectionPoint* self, DWORD cookie) {
    Control* control = OwnerOf<Control>(self);
    for (auto sink = control->sinks.begin(); sink != control->sinks.end(); ++sink) {
        if (sink->cookie == cookie) {
            IDispatch* dispatch = sink->dispatch;
            control->sinks.erase(sink);
            IDispatch_Release(dispatch);
            Log("Unadvise");
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE PointEnumConnections(IConnectionPoint*, IEnumConnections** connections) {
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

// --- IProvideClassInfo2 ------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ClassInfoQueryInterface(IProvideClassInfo2* self, REFIID iid,
                                                  void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE ClassInfoAddRef(IProvideClassInfo2* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE ClassInfoRelease(IProvideClassInfo2* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

// The WebBrowser coclass from its own type library, whose default source
// interface is DWebBrowserEvents2.
HRESULT STDMETHODCALLTYPE ClassInfoGetClassInfo(IProvideClassInfo2*, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    return WebBrowserTypeInfo(CLSID_WebBrowser, info);
}

HRESULT STDMETHODCALLTYPE ClassInfoGetGUID(IProvideClassInfo2*, DWORD kind, GUID* guid) {
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = DIID_DWebBrowserEvents2;
    return S_OK;
}

// Calls every sink connected when the event starts; a sink may disconnect
// or release the control from inside its handler.
void Fire(Control* control, DISPID id, DISPPARAMS* parameters) {
    std::vector<IDispatch*> sinks;
    for (const Sink& sink : control->sinks) {
        IDispatch_AddRef(sink.dispatch);
        sinks.push_back(sink.dispatch);
    }
    for (IDispatch* sink : sinks) {
        IDispatch_Invoke(sink, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, parameters,
                         nullptr, nullptr, nullptr);
        IDispatch_Release(sink);
    }
}

} // namespace

const IConnectionPointContainerVtbl& ContainerVtbl() {
    static const IConnectionPointContainerVtbl vtbl = [] {
        IConnectionPointContainerVtbl v;
        FillUnsupported<kContainerName>(v);
        v.QueryInterface = ContainerQueryInterface;
        v.AddRef = ContainerAddRef;
        v.Release = ContainerRelease;
        v.EnumConnectionPoints = ContainerEnumConnectionPoints;
        v.FindConnectionPoint = ContainerFindConnectionPoint;
        return v;
    }();
    return vtbl;
}

const IConnectionPointVtbl& ConnectionPointVtbl() {
    static const IConnectionPointVtbl vtbl = [] {
        IConnectionPointVtbl v;
        FillUnsupported<kConnectionPointName>(v);
        v.QueryInterface = PointQueryInterface;
        v.AddRef = PointAddRef;
        v.Release = PointRelease;
        v.GetConnectionInterface = PointGetConnectionInterface;
        v.GetConnectionPointContainer = PointGetConnectionPointContainer;
        v.Advise = PointAdvise;
        v.Unadvise = PointUnadvise;
        v.EnumConnections = PointEnumConnections;
        return v;
    }();
    return vtbl;
}

const IProvideClassInfo2Vtbl& ClassInfoVtbl() {
    static const IProvideClassInfo2Vtbl vtbl = [] {
        IProvideClassInfo2Vtbl v;
        FillUnsupported<kClassInfoName>(v);
        v.QueryInterface = ClassInfoQueryInterface;
        v.AddRef = ClassInfoAddRef;
        v.Release = ClassInfoRelease;
        v.GetClassInfo = ClassInfoGetClassInfo;
        v.GetGUID = ClassInfoGetGUID;
        return v;
    }();
    return vtbl;
}

void FireDocumentComplete(Control* control, IDispatch* subject, const std::wstring& url) {
    Log("DocumentComplete " + Narrow(url.c_str()));
    VARIANT address;
    VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = SysAllocString(url.c_str());
    // Arguments last first: URL, then pDisp.
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_VARIANT | VT_BYREF;
    arguments[0].pvarVal = &address;
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = subject;
    DISPPARAMS parameters = {arguments, nullptr, 2, 0};
    Fire(control, DISPID_DOCUMENTCOMPLETE, &parameters);
    VariantClear(&address);
}

bool FireNavigateError(Control* control, const std::wstring& url, long status) {
    Log("NavigateError " + std::to_string(status));
    VARIANT address, frame, code;
    VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = SysAllocString(url.c_str());
    VariantInit(&frame);
    frame.vt = VT_BSTR;
    frame.bstrVal = SysAllocString(L"");
    VariantInit(&code);
    code.vt = VT_I4;
    code.lVal = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // Arguments last first: Cancel, StatusCode, Frame, URL, pDisp.
    VARIANT arguments[5];
    for (VARIANT& argument : arguments)
        VariantInit(&argument);
    arguments[0].vt = VT_BOOL | VT_BYREF;
    arguments[0].pboolVal = &cancel;
    arguments[1].vt = VT_VARIANT | VT_BYREF;
    arguments[1].pvarVal = &code;
    arguments[2].vt = VT_VARIANT | VT_BYREF;
    arguments[2].pvarVal = &frame;
    arguments[3].vt = VT_VARIANT | VT_BYREF;
    arguments[3].pvarVal = &address;
    arguments[4].vt = VT_DISPATCH;
    arguments[4].pdispVal = reinterpret_cast<IDispatch*>(&control->browser);
    DISPPARAMS parameters = {arguments, nullptr, 5, 0};
    Fire(control, DISPID_NAVIGATEERROR, &parameters);
    VariantClear(&address);
    VariantClear(&frame);
    return cancel != VARIANT_FALSE;
}

void ReleaseSinks(Control* control) {
    std::vector<Sink> sinks;
    sinks.swap(control->sinks);
    for (const Sink& sink : sinks)
        IDispatch_Release(sink.dispatch);
}
