// The navigation thread of a browser window: starts the UI thread, starts
// the navigation, waits for the page's outcome, reports it to the launcher
// and closes the window after the close delay.
#include "IENavigator.h"
#include "WaitTime.h"

namespace {

// Starts the UI thread and waits until its window is ready. Gives the
// thread's handle, or none when the thread could not start, ended without a
// window, or was not ready in time.
CHandle StartUIThread(CIENavigator& navigator) {
    navigator.AddReference();
    CHandle uiThread;
    navigator.m_uiThreadModule = ReferenceWindowModule();
    if (navigator.m_uiThreadModule)
        uiThread.Attach(::CreateThread(nullptr, 0, UIThreadProc, &navigator, 0, nullptr));
    if (!uiThread.IsValid()) {
        navigator.m_uiThreadModule.Close();
        navigator.ReleaseReference();
        return CHandle();
    }
    const HANDLE readyOrEnded[] = {navigator.m_readyEvent, uiThread};
    // For the window to be ready, at most 10 s; a UI thread that ends first
    // could not make its window. Ready wins when both are signalled.
    if (::WaitForMultipleObjects(2, readyOrEnded, FALSE, 10000) != WAIT_OBJECT_0)
        return CHandle();
    return uiThread;
}

void Navigate(CIENavigator& navigator, HANDLE uiThread) {
    // Read once: the UI thread clears the handle when the window goes.
    const HWND window = navigator.m_hWnd;
    const HRESULT started = navigator.StartNavigation(window);
    if (FAILED(started)) {
        navigator.m_error = true;
        navigator.m_stoppedByPage = 0;
    } else {
        navigator.WaitForPage(WaitMillisecondsFromSeconds(navigator.m_timeoutSeconds));
    }

    if (!::IsWindow(window) || navigator.m_closed)
        return;
    ::SetEvent(navigator.m_doneEvent);
    // The window lingers for its close delay so the user can read the page;
    // a navigation that never started has nothing to show. Waits out the
    // delay, or less when the user closes the window and its UI thread ends
    // first: the thread then has nothing left to close.
    if (SUCCEEDED(started))
        ::WaitForSingleObject(uiThread, WaitMillisecondsFromSeconds(navigator.m_closeDelaySeconds));
    if (::IsWindow(window) && !navigator.m_closed)
        ::PostMessageA(window, WM_DESTROY, 0, 0);
}

void RunNavigation(CIENavigator& navigator) {
    const CHandle uiThread = StartUIThread(navigator);
    if (uiThread.IsValid()) {
        Navigate(navigator, uiThread);
    } else {
        navigator.m_error = true;
        navigator.m_stoppedByPage = 0;
    }
    ::SetEvent(navigator.m_doneEvent);
}

} // namespace

// No exception may end the thread, and so the process: the request ends as
// a failed one, its window closes and a waiting caller is released.
DWORD WINAPI NavigateThreadProc(void* param) {
    auto* navigator = static_cast<CIENavigator*>(param);
    try {
        RunNavigation(*navigator);
    } catch (...) {
        navigator->FailRequest();
        const HWND window = navigator->m_hWnd;
        if (::IsWindow(window) && !navigator->m_closed)
            ::PostMessageA(window, WM_DESTROY, 0, 0);
        ::SetEvent(navigator->m_doneEvent);
    }
    EndWindowThread(navigator, navigator->m_navigationThreadModule, 0);
}
