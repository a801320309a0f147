// The scripted control's identity, its IWebBrowser2 part and the loads it
// runs on its own thread.
#include "Control.h"

#include <sstream>

namespace {

constexpr char kBrowserName[] = "IWebBrowser2";
const UINT_PTR kLoadTimer = 1;

IWebBrowser2* BrowserOf(Control* control) {
    return AsInterface<IWebBrowser2>(control->browser);
}

void StartLoad(Control* control, const std::string& url) {
    Log("Navigate " + url);
    control->pending = true;
    control->pendingUrl = url;
    const Script script = CurrentScript();
    if (script.never)
        return;
    SetTimer(control->scheduler, kLoadTimer, script.delay > 0 ? script.delay : 10, nullptr);
}

void ShowPage(Control* control, const std::wstring& url, const std::string& html) {
    if (control->document)
        IDispatch_Release(control->document);
    control->document = NewDocument(url, Widen(BodyOf(html)));
    control->locationUrl = url;
    FireDocumentComplete(control, reinterpret_cast<IDispatch*>(BrowserOf(control)), url);
}

void CompleteLoad(Control* control, const std::string& url) {
    const Script script = CurrentScript();
    LoadResult loaded;
    if (script.errorCode != 0)
        loaded.status = script.errorCode;
    else
        loaded = LoadAddress(url);

    if (!loaded.loaded) {
        if (!FireNavigateError(control, Widen(url), loaded.status))
            ShowPage(control, Widen(ErrorPageAddress()), ErrorPageHtml());
        return;
    }
    for (const std::string& frameUrl : script.frames) {
        IDispatch* frame = NewFrame();
        FireDocumentComplete(control, frame, Widen(frameUrl));
        IDispatch_Release(frame);
    }
    if (script.stall)
        return;
    ShowPage(control, Widen(url), loaded.html);
    NextStep step;
    if (control->pending || !TakeNextStep(step))
        return;
    if (!step.submit) {
        StartLoad(control, step.argument);
        return;
    }
    std::string submission;
    if (FormSubmission(url, loaded.html, step.argument, submission))
        StartLoad(control, submission);
    else
        Log("Submit without a form");
}

LRESULT CALLBACK SchedulerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER || wParam != kLoadTimer)
        return DefWindowProcA(window, message, wParam, lParam);
    KillTimer(window, kLoadTimer);
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control || !control->pending)
        return 0;
    control->pending = false;
    // Sinks may release their last reference while an event runs.
    ControlAddRef(control);
    CompleteLoad(control, control->pendingUrl);
    ControlRelease(control);
    return 0;
}

HWND NewScheduler(Control* control) {
    static const ATOM atom = [] {
        WNDCLASSA scheduler = {};
        scheduler.lpfnWndProc = SchedulerProc;
        scheduler.hInstance = ModuleInstance();
        scheduler.lpszClassName = "BrcFakeBrowserScheduler";
        return RegisterClassA(&scheduler);
    }();
    if (!atom)
        return nullptr;
    HWND window = CreateWindowExA(0, "BrcFakeBrowserScheduler", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, ModuleInstance(), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    return window;
}

void DestroyControl(Control* control) {
    DeactivateInPlace(control);
    ReleaseSinks(control);
    if (control->clientSite)
        IOleClientSite_Release(control->clientSite);
    if (control->document)
        IDispatch_Release(control->document);
    if (control->scheduler)
        DestroyWindow(control->scheduler);
    delete control;
    ObjectDestroyed();
}

// --- IWebBrowser2 --------------------------------------------------------------

HRESULT STDMETHODCALLTYPE BrowserQueryInterface(IWebBrowser2* self, REFIID iid, void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE BrowserAddRef(IWebBrowser2* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE BrowserRelease(IWebBrowser2* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE BrowserGetTypeInfoCount(IWebBrowser2*, UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetTypeInfo(IWebBrowser2*, UINT index, LCID, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return WebBrowserTypeInfo(IID_IWebBrowser2, info);
}

HRESULT STDMETHODCALLTYPE BrowserGetIDsOfNames(IWebBrowser2*, REFIID, LPOLESTR*, UINT, LCID,
                                               DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE BrowserInvoke(IWebBrowser2*, DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                        VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE BrowserNavigate(IWebBrowser2* self, BSTR url, VARIANT*, VARIANT*,
                                          VARIANT*, VARIANT*) {
    const Script script = CurrentScript();
    if (script.refuse) {
        Log("Navigate refused " + Narrow(url));
        return E_FAIL;
    }
    Control* control = OwnerOf<Control>(self);
    StartLoad(control, Narrow(url));
    if (script.close && control->view)
        PostMessageA(GetAncestor(control->view, GA_ROOT), WM_CLOSE, 0, 0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserStop(IWebBrowser2* self) {
    Control* control = OwnerOf<Control>(self);
    Log("Stop");
    control->pending = false;
    KillTimer(control->scheduler, kLoadTimer);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserQuit(IWebBrowser2*) {
    Log("Quit");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetDocument(IWebBrowser2* self, IDispatch** document) {
    if (!document)
        return E_POINTER;
    Control* control = OwnerOf<Control>(self);
    *document = control->document;
    if (!*document)
        return S_FALSE;
    IDispatch_AddRef(*document);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetLocationUrl(IWebBrowser2* self, BSTR* url) {
    if (!url)
        return E_POINTER;
    *url = SysAllocString(OwnerOf<Control>(self)->locationUrl.c_str());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetBusy(IWebBrowser2* self, VARIANT_BOOL* busy) {
    if (!busy)
        return E_POINTER;
    *busy = OwnerOf<Control>(self)->pending ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetReadyState(IWebBrowser2* self, READYSTATE* state) {
    if (!state)
        return E_POINTER;
    *state = OwnerOf<Control>(self)->pending ? READYSTATE_LOADING : READYSTATE_COMPLETE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserPutSilent(IWebBrowser2* self, VARIANT_BOOL silent) {
    Log("put_Silent " + std::to_string(silent));
    OwnerOf<Control>(self)->silent = silent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetSilent(IWebBrowser2* self, VARIANT_BOOL* silent) {
    if (!silent)
        return E_POINTER;
    *silent = OwnerOf<Control>(self)->silent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetOffline(IWebBrowser2* self, VARIANT_BOOL* offline) {
    if (!offline)
        return E_POINTER;
    const bool scripted = CurrentScript().offline;
    *offline = scripted || OwnerOf<Control>(self)->offline ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserPutOffline(IWebBrowser2* self, VARIANT_BOOL offline) {
    OwnerOf<Control>(self)->offline = offline;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserExecWB(IWebBrowser2*, OLECMDID command, OLECMDEXECOPT option,
                                        VARIANT*, VARIANT*) {
    std::ostringstream line;
    line << "ExecWB " << static_cast<int>(command) << ' ' << static_cast<int>(option);
    Log(line.str());
    return S_OK;
}

const IWebBrowser2Vtbl& BrowserVtbl() {
    static const IWebBrowser2Vtbl vtbl = [] {
        IWebBrowser2Vtbl v;
        FillUnsupported<kBrowserName>(v);
        v.QueryInterface = BrowserQueryInterface;
        v.AddRef = BrowserAddRef;
        v.Release = BrowserRelease;
        v.GetTypeInfoCount = BrowserGetTypeInfoCount;
        v.GetTypeInfo = BrowserGetTypeInfo;
        v.GetIDsOfNames = BrowserGetIDsOfNames;
        v.Invoke = BrowserInvoke;
        v.Navigate = BrowserNavigate;
        v.Stop = BrowserStop;
        v.Quit = BrowserQuit;
        v.get_Document = BrowserGetDocument;
        v.get_LocationURL = BrowserGetLocationUrl;
        v.get_Busy = BrowserGetBusy;
        v.get_ReadyState = BrowserGetReadyState;
        v.put_Silent = BrowserPutSilent;
        v.get_Silent = BrowserGetSilent;
        v.get_Offline = BrowserGetOffline;
        v.put_Offline = BrowserPutOffline;
        v.ExecWB = BrowserExecWB;
        return v;
    }();
    return vtbl;
}

} // namespace

HRESULT ControlQueryInterface(Control* control, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IWebBrowser) || IsEqualIID(iid, IID_IWebBrowserApp) ||
        IsEqualIID(iid, IID_IWebBrowser2))
        *out = &control->browser;
    else if (IsEqualIID(iid, IID_IOleObject))
        *out = &control->oleObject;
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
        *out = &control->inPlaceObject;
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
        *out = &control->activeObject;
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *out = &control->container;
    else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
        *out = &control->classInfo;
    else
        return E_NOINTERFACE;
    ControlAddRef(control);
    return S_OK;
}

ULONG ControlAddRef(Control* control) {
    return static_cast<ULONG>(InterlockedIncrement(&control->references));
}

ULONG ControlRelease(Control* control) {
    const LONG left = InterlockedDecrement(&control->references);
    if (left == 0)
        DestroyControl(control);
    return static_cast<ULONG>(left);
}

HRESULT CreateControl(REFIID iid, void** out) {
    auto* control = new Control();
    control->browser = {&BrowserVtbl(), control};
    control->oleObject = {&OleObjectVtbl(), control};
    control->inPlaceObject = {&InPlaceObjectVtbl(), control};
    control->activeObject = {&ActiveObjectVtbl(), control};
    control->container = {&ContainerVtbl(), control};
    control->connectionPoint = {&ConnectionPointVtbl(), control};
    control->classInfo = {&ClassInfoVtbl(), control};
    control->scheduler = NewScheduler(control);
    ObjectCreated();
    const HRESULT hr = ControlQueryInterface(control, iid, out);
    ControlRelease(control);
    return hr;
}

HRESULT WebBrowserTypeInfo(REFGUID guid, ITypeInfo** info) {
    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(LIBID_SHDocVw, 1, 1, LOCALE_NEUTRAL, &library);
    if (FAILED(hr))
        return hr;
    hr = ITypeLib_GetTypeInfoOfGuid(library, guid, info);
    ITypeLib_Release(library);
    return hr;
}
