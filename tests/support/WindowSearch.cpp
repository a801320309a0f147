#include "WindowSearch.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct WindowSearch {
    std::string text;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId())
        return TRUE;
    if (Lower(CaptionOf(window)).find(search->text) == std::string::npos)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        Sleep(20);
    }
    return true;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

HWND FindProcessWindow(const std::string& text) {
    WindowSearch search = {Lower(text), nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessWindow(const std::string& text, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindProcessWindow(text)) != nullptr; }, timeoutMs);
    return window;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

bool CloseAndWait(HWND window, DWORD timeoutMs) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    return WaitForWindowGone(window, timeoutMs);
}

HWND FindChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

std::string CaptionOf(HWND window) {
    // Not GetWindowText: for a window of this process it sends WM_GETTEXT,
    // which waits while the window's thread is busy or about to end.
    wchar_t wide[1024] = {};
    InternalGetWindowText(window, wide, 1024);
    char caption[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, caption, sizeof(caption), nullptr, nullptr);
    return caption;
}

bool SyncWithWindowThread(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

int CountProcessThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    CloseHandle(snapshot);
    return count;
}

// Wine's GetProcessHandleCount reports 0; the system's handle table,
// which Wine keeps, counts them instead.
DWORD CountHandlesInSystemTable() {
    struct HandleEntry {
        ULONG ownerProcess;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    struct HandleTable {
        ULONG count;
        HandleEntry entries[1];
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    const int kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    ULONG needed = 0;
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    if (status != 0)
        return 0;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].ownerProcess == GetCurrentProcessId())
            ++count;
    return count;
}

DWORD ProcessHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return count;
    return CountHandlesInSystemTable();
}

