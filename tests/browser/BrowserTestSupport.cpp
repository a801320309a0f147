#include "BrowserTestSupport.h"

#include "FakeBrowserApi.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <vector>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string NextName(const char* stem) {
    static std::atomic<int> counter{0};
    char name[96];
    std::snprintf(name, sizeof(name), "%s-%lu-%d.htm", stem, GetCurrentProcessId(), ++counter);
    return Lower(name);
}

} // namespace

std::string FakeLog() {
    const int length = FakeBrowserGetLog(nullptr, 0);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    FakeBrowserGetLog(buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data());
}

bool FakeLogHas(const std::string& line) {
    return ("\n" + FakeLog()).find("\n" + line + "\n") != std::string::npos;
}

namespace {

BOOL CALLBACK CollectBrowserWindow(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && FindChildOfClass(window, "BrcFakeBrowserView"))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> BrowserWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectBrowserWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

HWND FindBrowserWindow() {
    const std::vector<HWND> windows = BrowserWindows();
    return windows.empty() ? nullptr : windows.front();
}

bool CloseBrowserWindows(DWORD timeoutMs) {
    bool allGone = true;
    for (HWND window : BrowserWindows())
        allGone = CloseAndWait(window, timeoutMs) && allGone;
    return allGone;
}

std::string UniqueAddress(const char* stem) {
    return "file:///C:/nowhere/" + NextName(stem);
}

std::string CaptionToken(const std::string& address) {
    return address.substr(address.find_last_of('/') + 1);
}

TempPage::TempPage(const std::string& html) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    m_path = std::string(directory) + NextName("brcpage");
    if (FILE* file = std::fopen(m_path.c_str(), "wb")) {
        std::fwrite(html.data(), 1, html.size(), file);
        std::fclose(file);
    }
    std::string forward = m_path;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    m_address = "file:///" + forward;
}

TempPage::~TempPage() {
    DeleteFileA(m_path.c_str());
}

PlacingWindow::PlacingWindow(int left, int top, int width, int height) {
    m_window = CreateWindowExA(0, "STATIC", "placing window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               left, top, width, height, nullptr, nullptr, nullptr, nullptr);
}

PlacingWindow::~PlacingWindow() {
    if (m_window)
        DestroyWindow(m_window);
}
