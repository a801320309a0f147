#include "WindowsTestSupport.h"

#include "BrowserTestSupport.h"
#include "ContactWindow.h"
#include "IENavigator.h"
#include "LaunchURLWindow.h"
#include "ProductContext.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <mutex>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct WindowList {
    std::string text;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<WindowList*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId())
        return TRUE;
    // Not GetWindowText: it would wait on a window thread that is busy.
    wchar_t wide[1024] = {};
    InternalGetWindowText(window, wide, 1024);
    char caption[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, caption, sizeof(caption), nullptr, nullptr);
    if (Lower(caption).find(list->text) != std::string::npos)
        list->found.push_back(window);
    return TRUE;
}

std::mutex g_recordLock;
std::vector<LaunchedRequest> g_requests;

void RecordRequest(const CIENavigator& request) {
    LaunchedRequest seen = {};
    seen.address = request.m_url.str();
    seen.addressOut = request.m_urlOut;
    seen.widthOut = request.m_width;
    seen.watchModeOut = request.m_watchModeOut;
    seen.width = *request.m_width;
    seen.height = *request.m_height;
    seen.timeoutSeconds = request.m_timeoutSeconds;
    seen.closeDelaySeconds = request.m_closeDelaySeconds;
    seen.watchText = request.m_watchText.str();
    seen.watchMode = request.m_watchMode;
    seen.pageTextOut = request.m_pageTextOut != nullptr;
    seen.navigationLimitOut = request.m_navigationCountOut != nullptr;
    seen.wait = request.m_wait;
    seen.style = request.m_style;
    std::lock_guard<std::mutex> hold(g_recordLock);
    g_requests.push_back(seen);
}

} // namespace

std::vector<HWND> ProcessWindowsWith(const std::string& text) {
    WindowList list = {Lower(text), {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&list));
    return list.found;
}

HWND WaitForNewProcessWindow(const std::string& text, const std::vector<HWND>& known,
                             DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : ProcessWindowsWith(text))
                if (std::find(known.begin(), known.end(), window) == known.end())
                    found = window;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool UserClose(HWND window, DWORD timeoutMs) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForWindowGone(window, timeoutMs);
}

SIZE OuterSize(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_ASYNCWINDOWPOS);
    return WaitUntil(
        [&] {
            const SIZE size = OuterSize(window);
            return size.cx == width && size.cy == height;
        },
        5000);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

LaunchRecorder::LaunchRecorder() {
    std::lock_guard<std::mutex> hold(g_recordLock);
    g_requests.clear();
    theLaunchObserver = RecordRequest;
}

LaunchRecorder::~LaunchRecorder() {
    theLaunchObserver = nullptr;
}

std::vector<LaunchedRequest> LaunchRecorder::Requests() const {
    std::lock_guard<std::mutex> hold(g_recordLock);
    return g_requests;
}

ContactCall::ContactCall(const char* company, const char* software, const char* version) {
    std::shared_ptr<State> state = m_state;
    m_thread = std::thread([=] {
        state->result = ContactSupport(company, software, version);
        state->lastStatus = theLastStatus;
        InterlockedExchange(&state->done, 1);
    });
}

ContactCall::~ContactCall() {
    Release();
    // A call that could not be released blocks until its time-out; the
    // test has failed by then, and the process ends with it.
    if (WaitDone(0))
        m_thread.join();
    else
        m_thread.detach();
}

bool ContactCall::WaitDone(DWORD timeoutMs) {
    return WaitUntil([&] { return InterlockedCompareExchange(&m_state->done, 0, 0) != 0; },
                     timeoutMs);
}

// A call that never saw its outcome would block the test for 1000 s.
void ContactCall::Release() {
    for (int round = 0; round < 40 && !WaitDone(500); ++round)
        for (HWND window : ProcessWindowsWith("supportcontact.php"))
            PostMessageA(window, WM_CLOSE, 0, 0);
}

std::string ContactAddress(const std::string& softwareId) {
    return theServiceBaseURL.str() + "supportcontact.php?p_softwareid=" + softwareId;
}
