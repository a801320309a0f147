// The UI thread of a browser window: creates the window with its control,
// then runs the window's message loop until the window is closed.
#include "IENavigator.h"
#include "WindowStorage.h"

#include "PageCaption.h"
#include "WindowIcon.h"

namespace {

const char kWebBrowserClassId[] = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

} // namespace

void CIENavigator::PlaceWindow() {
    m_rect.left = 500;
    m_rect.top = 300;
    RECT placing = {};
    if (m_parent && ::GetWindowRect(m_parent, &placing)) {
        m_rect.left = placing.left + 50;
        m_rect.top = placing.top + 50;
    }
    m_rect.right = m_rect.left + *m_width;
    m_rect.bottom = m_rect.top + *m_height;
}

void CIENavigator::ActivateControl() {
    CComPtr<IOleObject> oleObject;
    if (p) {
        CComPtr<IWebBrowser2>::QueryInterface(oleObject.ReleaseAndGetAddressOf());
        // No dialog boxes of the control's own (script errors and the like).
        p->put_Silent(VARIANT_TRUE);
    }
    CComPtr<IUnknown> control;
    CComPtr<IOleClientSite> site;
    if (SUCCEEDED(AtlAxGetControl(m_hWnd, control.ReleaseAndGetAddressOf())))
        control.QueryInterface(site.ReleaseAndGetAddressOf());
    RECT client = {};
    GetClientRect(&client);
    if (oleObject)
        oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, GetTopLevelParent(), &client);
}

// Written out and loaded again for every window; a window without it keeps
// the class's default icon.
void CIENavigator::ShowWindowIcon() {
    m_icon.Attach(WriteIconFile(theWindowIconHex));
    if (!m_icon)
        return;
    const LPARAM icon = reinterpret_cast<LPARAM>(static_cast<HICON>(m_icon));
    SendMessage(WM_SETICON, ICON_BIG, icon);
    SendMessage(WM_SETICON, ICON_SMALL, icon);
}

int CIENavigator::CreateBrowserWindow() {
    if (!IsWindow()) {
        PlaceWindow();
        Create(nullptr, m_rect, kWebBrowserClassId, m_style, 0, nullptr, nullptr);
        ActivateControl();
        if (IsWindow()) {
            ShowWindow(SW_HIDE);
            // Before any address: the maker's site.
            SetCaption(theFirstCaption);
            ShowWindowIcon();
        }
    }
    ShowWindow(SW_SHOWNORMAL);
    ::ResetEvent(m_pageEvent);
    ::ResetEvent(m_errorEvent);
    m_stoppedByPage = 0;
    m_navigationCount = 0;
    m_waiting = false;
    m_closed = false;
    m_error = false;
    return 1;
}

namespace {

int RunWindow(CIENavigator& navigator) {
    CMessageLoop loop;
    loop.AddMessageFilter(&navigator);
    navigator.CreateBrowserWindow();
    // Without a window no message would ever end the loop; the navigation
    // thread sees this thread end and reports an error.
    if (!navigator.IsWindow())
        return 0;
    ::SetEvent(navigator.m_readyEvent);
    const int exitCode = loop.Run();
    // A short pause before the window and its control go, so the thread's
    // last posted work is not cut off mid-step.
    ::Sleep(100);
    return exitCode;
}

} // namespace

// No exception may end the thread, and so the process: the request ends as
// a failed one (the navigation thread's wait ends with an error, or it sees
// this thread end before the window was ready) and the window goes.
DWORD WINAPI UIThreadProc(void* param) {
    auto* navigator = static_cast<CIENavigator*>(param);
    int exitCode = 0;
    try {
        exitCode = RunWindow(*navigator);
    } catch (...) {
        navigator->FailRequest();
    }
    navigator->DestroyBrowserWindow();
    EndWindowThread(navigator, navigator->m_uiThreadModule, static_cast<DWORD>(exitCode));
}
