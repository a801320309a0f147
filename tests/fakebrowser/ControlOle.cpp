// The scripted control as an OLE object: siting and in-place activation.
// While active in place it shows a child window (class
// "BrcFakeBrowserView") covering the rectangle its container gives it.
#include "Control.h"

#include <sstream>

namespace {

constexpr char kOleObjectName[] = "IOleObject";
constexpr char kInPlaceObjectName[] = "IOleInPlaceObject";
constexpr char kActiveObjectName[] = "IOleInPlaceActiveObject";
const char kViewClass[] = "BrcFakeBrowserView";

std::string RectText(const RECT& rect) {
    std::ostringstream text;
    text << rect.left << ' ' << rect.top << ' ' << rect.right << ' ' << rect.bottom;
    return text.str();
}

// Logs the characters that reach the page area, so a test sees that a key
// message was still dispatched after the container's message filter.
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR)
        Log("ViewChar " + std::to_string(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterViewClass() {
    static const ATOM atom = [] {
        WNDCLASSA view = {};
        view.lpfnWndProc = ViewProc;
        view.hInstance = ModuleInstance();
        view.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        view.lpszClassName = kViewClass;
        return RegisterClassA(&view);
    }();
    return atom != 0;
}

// --- IOleObject ----------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleQueryInterface(IOleObject* self, REFIID iid, void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE OleAddRef(IOleObject* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE OleRelease(IOleObject* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE OleSetClientSite(IOleObject* self, IOleClientSite* site) {
    Control* control = OwnerOf<Control>(self);
    Log(site ? "SetClientSite" : "SetClientSite null");
    if (site)
        IOleClientSite_AddRef(site);
    if (control->clientSite)
        IOleClientSite_Release(control->clientSite);
    control->clientSite = site;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleGetClientSite(IOleObject* self, IOleClientSite** site) {
    if (!site)
        return E_POINTER;
    *site = OwnerOf<Control>(self)->clientSite;
    if (*site)
        IOleClientSite_AddRef(*site);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleSetHostNames(IOleObject*, LPCOLESTR, LPCOLESTR) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleClose(IOleObject* self, DWORD) {
    Log("Close");
    return DeactivateInPlace(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE OleDoVerb(IOleObject* self, LONG verb, MSG*, IOleClientSite* activeSite,
                                    LONG, HWND, LPCRECT) {
    Log("DoVerb " + std::to_string(verb));
    switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(OwnerOf<Control>(self), activeSite);
    case OLEIVERB_HIDE:
        return DeactivateInPlace(OwnerOf<Control>(self));
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT STDMETHODCALLTYPE OleGetUserClassID(IOleObject*, CLSID* classId) {
    if (!classId)
        return E_POINTER;
    *classId = CLSID_WebBrowser;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleGetMiscStatus(IOleObject*, DWORD, DWORD* status) {
    if (!status)
        return E_POINTER;
    // What the WebBrowser control reports: it wants its site first.
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// --- IOleInPlaceObject ---------------------------------------------------------

HRESULT STDMETHODCALLTYPE InPlaceQueryInterface(IOleInPlaceObject* self, REFIID iid, void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE InPlaceAddRef(IOleInPlaceObject* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE InPlaceRelease(IOleInPlaceObject* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE InPlaceGetWindow(IOleInPlaceObject* self, HWND* window) {
    if (!window)
        return E_POINTER;
    *window = OwnerOf<Control>(self)->view;
    return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE InPlaceContextSensitiveHelp(IOleInPlaceObject*, BOOL) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE InPlaceDeactivate(IOleInPlaceObject* self) {
    Log("InPlaceDeactivate");
    return DeactivateInPlace(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE InPlaceUIDeactivate(IOleInPlaceObject*) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceSetObjectRects(IOleInPlaceObject* self, LPCRECT position,
                                                LPCRECT) {
    if (!position)
        return E_POINTER;
    Log("SetObjectRects " + RectText(*position));
    Control* control = OwnerOf<Control>(self);
    if (control->view)
        MoveWindow(control->view, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceReactivateAndUndo(IOleInPlaceObject*) {
    return E_NOTIMPL;
}

// --- IOleInPlaceActiveObject ---------------------------------------------------

HRESULT STDMETHODCALLTYPE ActiveQueryInterface(IOleInPlaceActiveObject* self, REFIID iid,
                                               void** out) {
    return ControlQueryInterface(OwnerOf<Control>(self), iid, out);
}
ULONG STDMETHODCALLTYPE ActiveAddRef(IOleInPlaceActiveObject* self) {
    return ControlAddRef(OwnerOf<Control>(self));
}
ULONG STDMETHODCALLTYPE ActiveRelease(IOleInPlaceActiveObject* self) {
    return ControlRelease(OwnerOf<Control>(self));
}

HRESULT STDMETHODCALLTYPE ActiveGetWindow(IOleInPlaceActiveObject* self, HWND* window) {
    if (!window)
        return E_POINTER;
    *window = OwnerOf<Control>(self)->view;
    return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ActiveContextSensitiveHelp(IOleInPlaceActiveObject*, BOOL) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ActiveTranslateAccelerator(IOleInPlaceActiveObject*, MSG* message) {
    if (!message)
        return E_POINTER;
    Log("TranslateAccelerator " + std::to_string(message->message) + ' ' +
        std::to_string(message->wParam));
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE ActiveOnFrameWindowActivate(IOleInPlaceActiveObject*, BOOL) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ActiveOnDocWindowActivate(IOleInPlaceActiveObject*, BOOL) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ActiveResizeBorder(IOleInPlaceActiveObject*, LPCRECT,
                                             IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ActiveEnableModeless(IOleInPlaceActiveObject*, BOOL) {
    return S_OK;
}

} // namespace

const IOleObjectVtbl& OleObjectVtbl() {
    static const IOleObjectVtbl vtbl = [] {
        IOleObjectVtbl v;
        FillUnsupported<kOleObjectName>(v);
        v.QueryInterface = OleQueryInterface;
        v.AddRef = OleAddRef;
        v.Release = OleRelease;
        v.SetClientSite = OleSetClientSite;
        v.GetClientSite = OleGetClientSite;
        v.SetHostNames = OleSetHostNames;
        v.Close = OleClose;
        v.DoVerb = OleDoVerb;
        v.GetUserClassID = OleGetUserClassID;
        v.GetMiscStatus = OleGetMiscStatus;
        return v;
    }();
    return vtbl;
}

const IOleInPlaceObjectVtbl& InPlaceObjectVtbl() {
    static const IOleInPlaceObjectVtbl vtbl = [] {
        IOleInPlaceObjectVtbl v;
        FillUnsupported<kInPlaceObjectName>(v);
        v.QueryInterface = InPlaceQueryInterface;
        v.AddRef = InPlaceAddRef;
        v.Release = InPlaceRelease;
        v.GetWindow = InPlaceGetWindow;
        v.ContextSensitiveHelp = InPlaceContextSensitiveHelp;
        v.InPlaceDeactivate = InPlaceDeactivate;
        v.UIDeactivate = InPlaceUIDeactivate;
        v.SetObjectRects = InPlaceSetObjectRects;
        v.ReactivateAndUndo = InPlaceReactivateAndUndo;
        return v;
    }();
    return vtbl;
}

const IOleInPlaceActiveObjectVtbl& ActiveObjectVtbl() {
    static const IOleInPlaceActiveObjectVtbl vtbl = [] {
        IOleInPlaceActiveObjectVtbl v;
        FillUnsupported<kActiveObjectName>(v);
        v.QueryInterface = ActiveQueryInterface;
        v.AddRef = ActiveAddRef;
        v.Release = ActiveRelease;
        v.GetWindow = ActiveGetWindow;
        v.ContextSensitiveHelp = ActiveContextSensitiveHelp;
        v.TranslateAccelerator = ActiveTranslateAccelerator;
        v.OnFrameWindowActivate = ActiveOnFrameWindowActivate;
        v.OnDocWindowActivate = ActiveOnDocWindowActivate;
        v.ResizeBorder = ActiveResizeBorder;
        v.EnableModeless = ActiveEnableModeless;
        return v;
    }();
    return vtbl;
}

HRESULT ActivateInPlace(Control* control, IOleClientSite* activeSite) {
    if (control->inPlaceSite)
        return S_OK;
    IOleClientSite* site = activeSite ? activeSite : control->clientSite;
    if (!site || !RegisterViewClass())
        return E_UNEXPECTED;
    IOleInPlaceSite* inPlaceSite = nullptr;
    if (FAILED(IOleClientSite_QueryInterface(site, IID_IOleInPlaceSite,
                                             reinterpret_cast<void**>(&inPlaceSite))))
        return E_NOINTERFACE;
    if (IOleInPlaceSite_CanInPlaceActivate(inPlaceSite) != S_OK) {
        IOleInPlaceSite_Release(inPlaceSite);
        return E_FAIL;
    }
    control->inPlaceSite = inPlaceSite;
    IOleInPlaceSite_OnInPlaceActivate(inPlaceSite);

    HWND parent = nullptr;
    IOleInPlaceSite_GetWindow(inPlaceSite, &parent);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position = {}, clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof(frameInfo);
    IOleInPlaceSite_GetWindowContext(inPlaceSite, &frame, &document, &position, &clip, &frameInfo);
    if (frame)
        IOleInPlaceFrame_Release(frame);
    if (document)
        IOleInPlaceUIWindow_Release(document);
    Log("Activated " + RectText(position));
    control->view =
        CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                        position.top, position.right - position.left,
                        position.bottom - position.top, parent, nullptr, ModuleInstance(), nullptr);
    return S_OK;
}

HRESULT DeactivateInPlace(Control* control) {
    if (!control->inPlaceSite)
        return S_OK;
    if (control->view)
        DestroyWindow(control->view);
    control->view = nullptr;
    IOleInPlaceSite* site = control->inPlaceSite;
    control->inPlaceSite = nullptr;
    IOleInPlaceSite_OnInPlaceDeactivate(site);
    IOleInPlaceSite_Release(site);
    return S_OK;
}
