#pragma once
// What the About, contact and web-address window tests share: the windows
// of this process, the requests the launcher starts, and a contact call on
// a thread of its own.

#include "CString.h"

#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

// The top-level windows of this process whose caption holds text (ignoring
// case).
std::vector<HWND> ProcessWindowsWith(const std::string& text);
// The first such window that is not among known, once there is one.
HWND WaitForNewProcessWindow(const std::string& text, const std::vector<HWND>& known,
                             DWORD timeoutMs = 10000);
// Closes the window as its close box would, without waiting on the
// window's thread, and waits until it is gone.
bool UserClose(HWND window, DWORD timeoutMs = 10000);
SIZE OuterSize(HWND window);
// Resizes the window, as the user's dragging would, and waits until it has
// that size.
bool Resize(HWND window, int width, int height);

std::string ReadWholeFile(const std::string& path);
bool Has(const std::string& text, const std::string& part);

// A request as the launcher hands it to its window.
struct LaunchedRequest {
    std::string address;
    const void* addressOut;
    const void* widthOut;
    const void* watchModeOut;
    int width;
    int height;
    int timeoutSeconds;
    int closeDelaySeconds;
    std::string watchText;
    int watchMode;
    bool pageTextOut;
    bool navigationLimitOut;
    int wait;
    DWORD style;
};

// Records every request launched while it lives (one at a time per process).
class LaunchRecorder {
public:
    LaunchRecorder();
    LaunchRecorder(const LaunchRecorder&) = delete;
    LaunchRecorder& operator=(const LaunchRecorder&) = delete;
    ~LaunchRecorder();
    std::vector<LaunchedRequest> Requests() const;
};

// ContactSupport on a thread of its own, as the caller would block in it.
class ContactCall {
public:
    ContactCall(const char* company, const char* software, const char* version);
    ContactCall(const ContactCall&) = delete;
    ContactCall& operator=(const ContactCall&) = delete;
    // Joins; a call still blocked is released by closing its window first.
    ~ContactCall();
    bool WaitDone(DWORD timeoutMs);
    int Result() const { return m_state->result; }
    int LastStatus() const { return m_state->lastStatus; }

private:
    // Shared with the thread, which may outlive this object in a failed test.
    struct State {
        volatile LONG done = 0;
        int result = 0;
        int lastStatus = 0;
    };

    void Release();

    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::thread m_thread;
};

// The contact form's address for a software id, on the local service.
std::string ContactAddress(const std::string& softwareId);
