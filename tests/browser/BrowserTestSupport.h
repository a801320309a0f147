#pragma once
// What the browser window tests share: the scripted control's log, its
// windows, and pages to load.

#include "WindowSearch.h"

#include <windows.h>

#include <functional>
#include <string>


std::string FakeLog();
bool FakeLogHas(const std::string& line);

// The first browser window of this process (one showing the scripted
// control's page area), or null; its caption as narrow text.
HWND FindBrowserWindow();
// Closes every browser window of this process (those showing the scripted
// control's page area) and waits until they are gone.
bool CloseBrowserWindows(DWORD timeoutMs = 5000);

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
