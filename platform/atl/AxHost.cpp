#include "AxHost.h"

#include "AppModule.h"
#include "AxHostSite.h"

namespace {

const char kHostClassName[] = "AtlAxWin90";

UINT GetControlMessage() {
    static const UINT message = ::RegisterWindowMessageA("BrcAxHostGetControl");
    return message;
}

CAxHostSite* SiteOf(HWND host) {
    return reinterpret_cast<CAxHostSite*>(::GetWindowLongPtrA(host, 0));
}

LRESULT OnCreate(HWND host, const CREATESTRUCTA* create) {
    // OLE (not only COM) because in-place activation uses OLE's clipboard
    // and drag-and-drop; RPC_E_CHANGED_MODE leaves it as it is.
    const bool oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    CAxHostSite* site = new CAxHostSite(host, oleInitialized);
    ::SetWindowLongPtrA(host, 0, reinterpret_cast<LONG_PTR>(site));
    // A control that cannot be created leaves an empty host window, which
    // AtlAxGetControl reports.
    site->CreateControl(create->lpszName);
    return 0;
}

void OnNcDestroy(HWND host) {
    CAxHostSite* site = SiteOf(host);
    if (!site)
        return;
    ::SetWindowLongPtrA(host, 0, 0);
    site->Teardown();
    const bool oleInitialized = site->OleInitialized();
    site->Release();
    if (oleInitialized)
        ::OleUninitialize();
}

LRESULT CALLBACK HostWindowProc(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(host, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_SIZE:
        if (CAxHostSite* site = SiteOf(host))
            site->OnSize();
        break;
    case WM_DESTROY:
        // Before the control's own windows go, so it can deactivate cleanly.
        if (CAxHostSite* site = SiteOf(host))
            site->Teardown();
        break;
    case WM_NCDESTROY:
        OnNcDestroy(host);
        break;
    default:
        if (message == GetControlMessage()) {
            CAxHostSite* site = SiteOf(host);
            return reinterpret_cast<LRESULT>(site ? site->Control() : nullptr);
        }
        break;
    }
    return ::DefWindowProcA(host, message, wParam, lParam);
}

} // namespace

BOOL AtlAxWinInit() {
    GetControlMessage();
    const HINSTANCE instance = ModuleInstanceForClasses();
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, kHostClassName, &existing))
        return TRUE;

    WNDCLASSEXA host = {};
    host.cbSize = sizeof(host);
    host.style = CS_DBLCLKS;
    host.lpfnWndProc = HostWindowProc;
    host.cbWndExtra = sizeof(LONG_PTR);
    host.hInstance = instance;
    host.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    host.lpszClassName = kHostClassName;
    // Two threads may register at once; the loser finds the class there.
    return ::RegisterClassExA(&host) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HRESULT AtlAxGetControl(HWND host, IUnknown** control) {
    if (!control)
        return E_POINTER;
    *control = nullptr;
    if (!::IsWindow(host))
        return E_INVALIDARG;
    auto* unknown = reinterpret_cast<IUnknown*>(::SendMessageA(host, GetControlMessage(), 0, 0));
    if (!unknown)
        return E_FAIL;
    unknown->AddRef();
    *control = unknown;
    return S_OK;
}
