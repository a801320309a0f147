#include "IENavigator.h"

#include "ShowURLWindow.h"

namespace {

HANDLE NewAutoResetEvent() {
    return ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

// What the navigation thread hands the UI thread to start a navigation.
struct NavigationStart {
    BSTR url;
    VARIANT* empty;
    HRESULT result;
};

} // namespace

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

BOOL CIENavigator::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result, DWORD mapId) {
    if (mapId != 0)
        return FALSE;
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

BOOL CIENavigator::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CIENavigator::OnDestroy(UINT, WPARAM, LPARAM) {
    RECT window = {};
    if (GetWindowRect(&window)) {
        *m_width = window.right - window.left;
        *m_height = window.bottom - window.top;
    }
    m_closed = true;
    if (m_waiting)
        ::SetEvent(m_errorEvent);
    else
        ::SetEvent(m_doneEvent);
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

LRESULT CIENavigator::OnStartNavigation(UINT, WPARAM, LPARAM lParam) {
    auto* start = reinterpret_cast<NavigationStart*>(lParam);
    start->result =
        p ? p->Navigate(start->url, start->empty, start->empty, start->empty, start->empty)
          : E_NOINTERFACE;
    return 0;
}

HRESULT CIENavigator::StartNavigation(HWND window, BSTR url, VARIANT* empty) {
    NavigationStart start = {url, empty, E_FAIL};
    // Synchronous, as whether the navigation started decides what follows.
    // The UI thread serves it from its message loop; should the window be
    // gone, the call returns at once and start.result stays a failure.
    ::SendMessageA(window, kStartNavigationMessage, 0, reinterpret_cast<LPARAM>(&start));
    return start.result;
}

void CIENavigator::SetCaption(const char* text) {
    SetWindowText(text);
}

bool CIENavigator::WaitForPage(DWORD milliseconds) {
    m_waiting = true;
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
}
