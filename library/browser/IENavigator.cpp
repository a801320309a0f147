#include "IENavigator.h"

#include "EditingKeys.h"
#include "PageCaption.h"
#include "ShowURLWindow.h"
#include "WindowStorage.h"

namespace {

HANDLE NewAutoResetEvent() {
    return ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

} // namespace

DWORD theNavigationStartLimitMs = 60000;

CIENavigator::CIENavigator()
    : m_pageEvent(NewAutoResetEvent()),
      m_errorEvent(NewAutoResetEvent()), m_rect{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0},
      m_doneEvent(NewAutoResetEvent()), m_readyEvent(NewAutoResetEvent()), m_url(theDefaultURL),
      m_urlOut(&theDefaultURL), m_width(&theDefaultWindowSize.width),
      m_height(&theDefaultWindowSize.height) {}

CIENavigator::~CIENavigator() = default;

void CIENavigator::AddReference() {
    ::InterlockedIncrement(&m_references);
}

void CIENavigator::ReleaseReference() {
    if (::InterlockedDecrement(&m_references) == 0)
        delete this;
}

CModuleReference ReferenceWindowModule() {
    return ReferenceModuleAt(reinterpret_cast<const void*>(&NavigateThreadProc));
}

void EndWindowThread(CIENavigator* navigator, CModuleReference& module, DWORD exitCode) {
    // Out of the object first: the release may free it.
    const HMODULE code = module.Detach();
    navigator->ReleaseReference();
    ::FreeLibraryAndExitThread(code, exitCode);
}

void CIENavigator::FailRequest() {
    m_error = true;
    m_stoppedByPage = 0;
    ::SetEvent(m_errorEvent);
}

// No exception may leave through the system's message dispatch. A handler
// that throws answers -1: a creation that failed, a navigation that did not
// start.
BOOL CIENavigator::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result, DWORD mapId) {
    if (mapId != 0)
        return FALSE;
    try {
        return HandleMessage(message, wParam, lParam, result);
    } catch (...) {
        FailRequest();
        // The loop must still end with the window.
        if (message == WM_DESTROY)
            ::PostQuitMessage(18);
        result = -1;
        return TRUE;
    }
}

BOOL CIENavigator::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CREATE:
        result = OnCreate(message, wParam, lParam);
        return TRUE;
    case WM_DESTROY:
        result = OnDestroy(message, wParam, lParam);
        return TRUE;
    case WM_CLOSE:
        result = OnClose(message, wParam, lParam);
        return TRUE;
    case kStartNavigationMessage:
        result = OnStartNavigation(message, wParam, lParam);
        return TRUE;
    default:
        if (message >= WM_KEYDOWN && message <= 0x108) {
            result = OnKeyMessage(message, wParam, lParam);
            return TRUE;
        }
        return FALSE;
    }
}

BOOL CIENavigator::PreTranslateMessage(MSG* message) {
    return HandleBrowserKey(message, p);
}

// A minimised window's own rectangle is its icon's and a maximised one's
// the screen's: either, written back, would make the next window of its
// kind open at that size. Both keep the size the window has when restored.
bool CIENavigator::GetSizeRect(RECT& rect) const {
    if (!::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd))
        return GetWindowRect(&rect) != FALSE;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(m_hWnd, &placement))
        return false;
    rect = placement.rcNormalPosition;
    return true;
}

void CIENavigator::WriteWindowSize() {
    RECT window = {};
    if (!GetSizeRect(window))
        return;
    *m_width = window.right - window.left;
    *m_height = window.bottom - window.top;
    // While the window is still there, so whoever sees it gone sees the
    // size it ended with.
    if (m_storage)
        m_storage->SizeWritten();
}

LRESULT CIENavigator::OnDestroy(UINT, WPARAM, LPARAM) {
    WriteWindowSize();
    m_closed = true;
    if (m_waiting) {
        ::SetEvent(m_errorEvent);
    } else {
        // Either the outcome is known already, or the navigation thread has
        // not begun to wait yet (WaitForPage then sees m_closed); a caller
        // still waiting must hear of the closing as an error, not as a
        // time-out.
        m_error = true;
        ::SetEvent(m_doneEvent);
    }
    ::PostQuitMessage(18);
    return 0;
}

LRESULT CIENavigator::OnClose(UINT, WPARAM, LPARAM) {
    m_closed = true;
    if (p) {
        p->Stop();
        p->Quit();
    }
    PostMessage(WM_DESTROY);
    return 0;
}

// Keys that reach the window itself, not the control, do nothing; so
// Alt+F4 aimed at the window does not close it.
LRESULT CIENavigator::OnKeyMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

// The caption is set here too, whatever Navigate gives: a caption set from
// the navigation thread would be a second call into this thread, one that a
// hung window could hold without a limit.
LRESULT CIENavigator::OnStartNavigation(UINT, WPARAM, LPARAM) {
    HRESULT started = E_NOINTERFACE;
    if (p) {
        // Made here from the object's own address: the message carries no
        // pointer that could outlive a sender that stopped waiting.
        const CComBSTR url(m_url.GetString());
        CComVariant empty;
        started = p->Navigate(url, &empty, &empty, &empty, &empty);
    }
    SetCaption(m_url);
    return started;
}

// The navigation thread's one call that waits on the UI thread; all else
// it does to the window is posted.
HRESULT CIENavigator::StartNavigation(HWND window) {
    DWORD_PTR result = 0;
    // Synchronous, as whether the navigation started decides what follows.
    // The UI thread serves it from its message loop; one that does not
    // within the limit counts as a failed start, so a hung window cannot
    // hold the caller.
    if (!::SendMessageTimeoutA(window, kStartNavigationMessage, 0, 0, SMTO_NORMAL,
                               theNavigationStartLimitMs, &result))
        return E_FAIL;
    return static_cast<HRESULT>(result);
}

void CIENavigator::SetCaption(const char* text) {
    SetWindowText(CaptionFromURL(text));
}

bool CIENavigator::WaitForPage(DWORD milliseconds) {
    m_waiting = true;
    // A window closed before this thread said it waits set no event for it:
    // without this it would wait out the whole time-out for a window that
    // is gone. Both flags are sequentially consistent, so either OnDestroy
    // sees the wait or this sees the closing.
    if (m_closed) {
        m_error = true;
        m_waiting = false;
        return false;
    }
    const HANDLE events[] = {m_pageEvent, m_errorEvent};
    // For the page's outcome (page event: found or limit passed; error
    // event: an error or the user's closing) or the caller's time-out. When
    // both are set the page event, listed first, wins.
    const DWORD signalled = ::WaitForMultipleObjects(2, events, FALSE, milliseconds);
    if (signalled == WAIT_OBJECT_0) {
        m_error = false;
    } else if (signalled == WAIT_OBJECT_0 + 1) {
        m_error = true;
    } else if (signalled == WAIT_TIMEOUT) {
        m_stoppedByPage = 0;
        m_error = false;
    } else {
        m_error = true;
    }
    m_waiting = false;
    return !m_error;
}

void CIENavigator::DestroyBrowserWindow() {
    DetachControl();
    if (IsWindow())
        DestroyWindowWithoutMap();
    m_icon.Close();
}
