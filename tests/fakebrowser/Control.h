#pragma once
// The scripted control object and its parts.
#include "FakeBrowser.h"

struct Sink {
    DWORD cookie;
    IDispatch* dispatch;
};

struct Control {
    ComPart<IWebBrowser2Vtbl, Control> browser;
    ComPart<IOleObjectVtbl, Control> oleObject;
    ComPart<IOleInPlaceObjectVtbl, Control> inPlaceObject;
    ComPart<IOleInPlaceActiveObjectVtbl, Control> activeObject;
    ComPart<IConnectionPointContainerVtbl, Control> container;
    ComPart<IConnectionPointVtbl, Control> connectionPoint;
    ComPart<IProvideClassInfo2Vtbl, Control> classInfo;
    LONG references = 1;

    IOleClientSite* clientSite = nullptr;
    IOleInPlaceSite* inPlaceSite = nullptr;
    HWND view = nullptr;      // the page area while active in place
    HWND scheduler = nullptr; // message-only: runs loads on the control's thread
    std::vector<Sink> sinks;
    DWORD nextCookie = 1;

    bool pending = false;
    std::string pendingUrl;
    std::wstring locationUrl;
    IDispatch* document = nullptr;
    VARIANT_BOOL silent = VARIANT_FALSE;
    VARIANT_BOOL offline = VARIANT_FALSE;
};

HRESULT ControlQueryInterface(Control* control, REFIID iid, void** out);
ULONG ControlAddRef(Control* control);
ULONG ControlRelease(Control* control);

const IOleObjectVtbl& OleObjectVtbl();
const IOleInPlaceObjectVtbl& InPlaceObjectVtbl();
const IOleInPlaceActiveObjectVtbl& ActiveObjectVtbl();
const IConnectionPointContainerVtbl& ContainerVtbl();
const IConnectionPointVtbl& ConnectionPointVtbl();
const IProvideClassInfo2Vtbl& ClassInfoVtbl();

// In-place activation through the given site (or the client site).
HRESULT ActivateInPlace(Control* control, IOleClientSite* activeSite);
HRESULT DeactivateInPlace(Control* control);

void FireDocumentComplete(Control* control, IDispatch* subject, const std::wstring& url);
// Returns true when a sink cancelled the navigation.
bool FireNavigateError(Control* control, const std::wstring& url, long status);
void ReleaseSinks(Control* control);
