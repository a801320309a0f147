#include "ShowURLWindow.h"

#include "AxHost.h"
#include "IENavigator.h"
#include "LaunchURLWindow.h"

#include <commctrl.h>

CString theDefaultURL;
WindowSize theDefaultWindowSize = {1000, 700};
CAppModule theAppModule;
void (*theLaunchObserver)(const CIENavigator& request) = nullptr;

namespace {

// The type library identifier the module is initialised with.
const GUID kAtlLibraryId = {
    0x44EC0535, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};

HINSTANCE LibraryModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ShowURLWindow), &module);
    return module;
}

// Every call does these again; each is harmless when already done.
void PrepareWindowClasses() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF;
    ::InitCommonControlsEx(&controls);
    theAppModule.Init(nullptr, LibraryModule(), &kAtlLibraryId);
    AtlAxWinInit();
}

void TakeRequest(CIENavigator& navigator, CString* address, CString* pageTextOut, int* width,
                 int* height, int timeoutSeconds, int closeDelaySeconds, const char* watchText,
                 int* watchMode, int* navigationLimit) {
    navigator.m_url = *address;
    navigator.m_urlOut = address;
    navigator.m_stoppedByPage = 1;
    if (width)
        navigator.m_width = width;
    if (height)
        navigator.m_height = height;
    if (timeoutSeconds != 0)
        navigator.m_timeoutSeconds = timeoutSeconds;
    if (closeDelaySeconds != 0)
        navigator.m_closeDelaySeconds = closeDelaySeconds;
    if (watchText)
        navigator.m_watchText = watchText;
    if (watchMode) {
        navigator.m_watchMode = *watchMode;
        navigator.m_watchModeOut = watchMode;
        *watchMode = kWatchNotFound;
    }
    if (navigationLimit) {
        navigator.m_maxNavigations = *navigationLimit;
        navigator.m_navigationCountOut = navigationLimit;
        *navigationLimit = navigator.m_navigationCount;
    }
    if (pageTextOut)
        navigator.m_pageTextOut = pageTextOut;
}

void TakePlacingWindow(CIENavigator& navigator, HWND* parentWindow) {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindThreadWindowProc,
                        reinterpret_cast<LPARAM>(&found));
    navigator.m_parent = found;
    if (!parentWindow)
        return;
    if (*parentWindow)
        navigator.m_parent = *parentWindow;
    else
        *parentWindow = found;
}

// Serves the messages that other threads send to this thread's windows,
// and nothing else: posted messages and input stay queued, so no click can
// start a second library call inside the wait.
void ServeSentMessages() {
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The caller's thread may own windows (the sample calls ContactSupport from
// its dialog): another thread sending to one of them would otherwise be
// held for as long as this wait.
void WaitServingSentMessages(HANDLE event, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        ServeSentMessages();
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= milliseconds)
            return;
        // For the event, or for a message sent to this thread meanwhile.
        const DWORD signalled =
            ::MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds - waited, QS_SENDMESSAGE);
        if (signalled != WAIT_OBJECT_0 + 1)
            return;
    }
}

int ResultOf(const CIENavigator& navigator) {
    if (navigator.m_stoppedByPage)
        return 0;
    return navigator.m_error ? -1 : 1;
}

} // namespace

BOOL CALLBACK FindThreadWindowProc(HWND window, LPARAM found) {
    if (!::IsWindow(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

int ShowURLWindow(CString* address, CString* pageTextOut, int* width, int* height,
                  int timeoutSeconds, int closeDelaySeconds, const char* watchText, int* watchMode,
                  int* navigationLimit, int wait, DWORD style, HWND* parentWindow) {
    return LaunchURLWindow(nullptr, address, pageTextOut, width, height, timeoutSeconds,
                           closeDelaySeconds, watchText, watchMode, navigationLimit, wait, style,
                           parentWindow);
}

int LaunchURLWindow(std::unique_ptr<CWindowStorage> storage, CString* address, CString* pageTextOut,
                    int* width, int* height, int timeoutSeconds, int closeDelaySeconds,
                    const char* watchText, int* watchMode, int* navigationLimit, int wait,
                    DWORD style, HWND* parentWindow) {
    PrepareWindowClasses();
    // Windows without a size of their own would share the default's two
    // ints and could leave it half one window's size, half another's.
    if (!width || !height) {
        if (!storage)
            storage.reset(new CWindowStorage());
        storage->ShareSize(theDefaultWindowSize, !width, !height);
        if (!width)
            width = &storage->m_size.width;
        if (!height)
            height = &storage->m_size.height;
    }
    auto* navigator = new CIENavigator();
    navigator->m_storage = std::move(storage);
    TakeRequest(*navigator, address, pageTextOut, width, height, timeoutSeconds, closeDelaySeconds,
                watchText, watchMode, navigationLimit);
    navigator->m_wait = wait;
    navigator->m_style = style;
    TakePlacingWindow(*navigator, parentWindow);
    if (theLaunchObserver)
        theLaunchObserver(*navigator);

    navigator->AddReference();
    CHandle thread;
    navigator->m_navigationThreadModule = ReferenceWindowModule();
    if (navigator->m_navigationThreadModule)
        thread.Attach(::CreateThread(nullptr, 0, NavigateThreadProc, navigator, 0, nullptr));
    int result = 0;
    if (!thread.IsValid()) {
        // Nothing will report an outcome: an error, whether or not the
        // caller waits.
        navigator->m_navigationThreadModule.Close();
        navigator->ReleaseReference();
        navigator->m_stoppedByPage = 0;
        navigator->m_error = true;
        result = -1;
    } else if (wait) {
        // Until the window reports its outcome; the limit only keeps a lost
        // signal from blocking the caller for ever.
        WaitServingSentMessages(navigator->m_doneEvent, 4000000);
        result = ResultOf(*navigator);
    }
    navigator->ReleaseReference();
    return result;
}
