#pragma once
// The browser window: a top-level window hosting the WebBrowser control,
// brought to life by a navigation thread and a UI thread of its own. One
// object serves one show-address request and is shared by the launcher and
// both threads; the last of the three to let go frees it.

#include "CString.h"
#include "ComBSTR.h"
#include "ComVariant.h"
#include "UniqueHandle.h"
#include "MessageLoop.h"
#include "ShowURLWindow.h"
#include "WTLAxControl.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>

#include <atomic>
#include <memory>

class CWindowStorage;

class CIENavigator : public CWTLAxControl<CIENavigator, IWebBrowser2>, public CMessageFilter {
public:
    CIENavigator();
    ~CIENavigator() override;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override;
    // The editing keys of the control (EditingKeys.h).
    BOOL PreTranslateMessage(MSG* message) override;

    BEGIN_SINK_MAP(CIENavigator)
    SINK_ENTRY(0, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete)
    SINK_ENTRY(0, DISPID_NAVIGATEERROR, OnNavigateError)
    END_SINK_MAP()

    // The control's events, on the UI thread (PageEvents.cpp). Their
    // parameters are the events' own, as the type library declares them.
    void __stdcall OnDocumentComplete(IDispatch* pDisp, VARIANT* URL);
    void __stdcall OnNavigateError(IDispatch* pDisp, VARIANT* URL, VARIANT* Frame,
                                   VARIANT* StatusCode, VARIANT_BOOL* Cancel);

    // UI thread: creates and shows the window. Returns 1.
    int CreateBrowserWindow();
    // Navigation thread: waits for the page outcome; true when no error.
    bool WaitForPage(DWORD milliseconds);
    // Navigation thread: has the UI thread start the navigation to m_url on
    // the control's own apartment and show m_url in the caption; returns
    // Navigate's result, or a failure when the UI thread does not answer
    // within theNavigationStartLimitMs.
    HRESULT StartNavigation(HWND window);
    void SetCaption(const char* text);
    // UI thread, after its loop: gives the control back and destroys the
    // window while this object is still alive.
    void DestroyBrowserWindow();

    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnStartNavigation(UINT message, WPARAM wParam, LPARAM lParam);

    // Ends the request as a failed one when an exception stopped one of the
    // window's threads or handlers: the navigation thread's wait ends with
    // an error and the caller's result is -1.
    void FailRequest();

    // One reference each for the launcher, the navigation thread and the UI
    // thread.
    void AddReference();
    void ReleaseReference();

    // Flags one thread writes and another reads after an event: atomic so
    // the event order is all that decides what the reader sees.
    std::atomic<bool> m_closed{false};
    std::atomic<bool> m_waiting{false};
    CHandle m_pageEvent;
    CHandle m_errorEvent;
    RECT m_rect;
    CHandle m_doneEvent;
    CHandle m_readyEvent;
    HWND m_parent = nullptr;
    CString m_url;
    CString* m_urlOut;
    CString m_watchText;
    int m_watchMode = kWatchAddressAndPage;
    int* m_watchModeOut = nullptr;
    CString* m_pageTextOut = nullptr;
    CString m_pageText;
    int* m_width;
    int* m_height;
    int m_timeoutSeconds = 1000;
    int m_closeDelaySeconds = 1000;
    int m_wait = 1;
    int m_maxNavigations = 1000;
    int* m_navigationCountOut = nullptr;
    std::atomic<int> m_stoppedByPage{1};
    std::atomic<bool> m_error{false};
    int m_navigationCount = 0;
    DWORD m_style = WS_OVERLAPPEDWINDOW;
    // The module whose code each of the window's two threads runs: taken by
    // the thread's creator before the thread starts, so the creator may
    // return at once, and let go by the thread as its very last step. A host
    // may let the DLL go while the window is still open.
    CModuleReference m_navigationThreadModule;
    CModuleReference m_uiThreadModule;
    // What the window writes back into when the request gave it storage of
    // its own; freed with the object, after the window is gone.
    std::unique_ptr<CWindowStorage> m_storage;

private:
    void PlaceWindow();
    // Writes the window's outer size back, and into the size it shares
    // with other windows of its kind.
    void WriteWindowSize();
    bool GetSizeRect(RECT& rect) const;
    void ActivateControl();
    void ShowWindowIcon();

    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void HandleDocumentComplete(IDispatch* pDisp, VARIANT* URL);
    bool IsAboutControl(IDispatch* subject) const;
    bool IsOffline() const;
    void WriteBackPageLoad();
    void SearchWatchText(const CString& eventURL);
    void EndWithError();

    LONG m_references = 1;
    // Sent to the window as its big and small icon; destroyed once the
    // window is gone.
    CIconHandle m_icon;
};

// The message that carries a navigation start to the UI thread.
const UINT kStartNavigationMessage = WM_APP + 0x4E;
// How long the navigation thread waits for the UI thread to start the
// navigation before it counts as a failed start. The first navigation of a
// process may load the browser's whole HTML engine, which has taken seconds
// under load. Tests shorten it.
extern DWORD theNavigationStartLimitMs;

DWORD WINAPI NavigateThreadProc(void* navigator);
DWORD WINAPI UIThreadProc(void* navigator);

// A new reference on the module that holds the window's code; empty when
// none could be taken, and the thread is then not started.
CModuleReference ReferenceWindowModule();
// Last step of a window thread: lets go of the object, then of the thread's
// module reference, which may unload the module, so no code of it runs on.
[[noreturn]] void EndWindowThread(CIENavigator* navigator, CModuleReference& module,
                                  DWORD exitCode);
