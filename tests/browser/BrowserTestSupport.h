#pragma once
// What the browser window tests share: the scripted control's log, finding
// this process's windows, counting its threads and handles, and pages to
// load.

#include <windows.h>

#include <functional>
#include <string>

// Polls condition every 20 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// As WaitUntil, dispatching this thread's messages meanwhile.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::string FakeLog();
bool FakeLogHas(const std::string& line);

// The first top-level window of this process whose caption holds text
// (ignoring case), or null. Other tests run in other processes and cannot
// disturb this.
HWND FindProcessWindow(const std::string& text);
HWND WaitForProcessWindow(const std::string& text, DWORD timeoutMs = 10000);
bool WaitForWindowGone(HWND window, DWORD timeoutMs);
// Closes the window as its close box would and waits until it is gone.
bool CloseAndWait(HWND window, DWORD timeoutMs = 5000);
// The first child window of the given class, or null.
HWND FindChildOfClass(HWND parent, const char* className);
// The first browser window of this process (one showing the scripted
// control's page area), or null; its caption as narrow text.
HWND FindBrowserWindow();
std::string CaptionOf(HWND window);
// Closes every browser window of this process (those showing the scripted
// control's page area) and waits until they are gone.
bool CloseBrowserWindows(DWORD timeoutMs = 5000);
// Returns once the window's thread has finished what it was doing: a sent
// message is served only between two pieces of its work.
bool SyncWithWindowThread(HWND window);

int CountProcessThreads();
DWORD ProcessHandleCount();

// A file:// address no file stands behind, unique to this process; its
// name is lower-case, so the window's caption holds it in any form.
std::string UniqueAddress(const char* stem);
// The part of an address that the window's caption shows.
std::string CaptionToken(const std::string& address);

// An HTML file in the temporary directory, deleted when the object goes.
class TempPage {
public:
    explicit TempPage(const std::string& html);
    TempPage(const TempPage&) = delete;
    TempPage& operator=(const TempPage&) = delete;
    ~TempPage();
    const std::string& Address() const { return m_address; }

private:
    std::string m_path;
    std::string m_address;
};

// A plain top-level window on the calling thread, destroyed with the object.
class PlacingWindow {
public:
    PlacingWindow(int left, int top, int width, int height);
    PlacingWindow(const PlacingWindow&) = delete;
    PlacingWindow& operator=(const PlacingWindow&) = delete;
    ~PlacingWindow();
    HWND Handle() const { return m_window; }

private:
    HWND m_window = nullptr;
};
