#include "PinwheelDriver.h"

#include <cstdio>
#include <vector>

namespace {

const char kSampleKey[] = "Software\\Brindlecode\\WindowsPinwheel";
const char kCaptionPart[] = "Pinwheel";
// Bound on any message the driver sends to Pinwheel's windows.
const UINT kSendTimeoutMs = 60000;

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + PINWHEEL_RELATIVE_PATH;
}

std::string Caption(HWND window) {
    char text[512] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &length);
    return text;
}

std::string ReadText(HWND control) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &length))
        return "<no answer>";
    std::vector<char> text(length + 1);
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
    return std::string(text.data(), copied);
}

struct WindowSearch {
    DWORD processId;
    std::string captionPart;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !::IsWindowVisible(window))
        return TRUE;
    if (Caption(window).find(search->captionPart) == std::string::npos)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

void DeleteSampleKey() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kSampleKey);
}

void StoreSampleValue(const char* name, DWORD type, const std::string& bytes) {
    CRegistryKey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSampleKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.Receive(), nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
}

StoredValue ReadSampleValue(const char* name) {
    // Through the wide interface, which gives the stored bytes as they are.
    StoredValue value;
    CRegistryKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSampleKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return value;
    wchar_t wideName[64] = {};
    ::MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64);
    DWORD size = 0;
    if (::RegQueryValueExW(key, wideName, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (::RegQueryValueExW(key, wideName, nullptr, &value.type, data.data(), &size) !=
        ERROR_SUCCESS)
        return value;
    value.present = true;
    if (value.type != REG_SZ && value.type != REG_MULTI_SZ && value.type != REG_EXPAND_SZ) {
        value.bytes.assign(reinterpret_cast<const char*>(data.data()), size);
        return value;
    }
    const auto* text = reinterpret_cast<const wchar_t*>(data.data());
    const int length = static_cast<int>(size / sizeof(wchar_t));
    if (length == 0)
        return value;
    value.bytes.resize(static_cast<size_t>(length) * 2);
    const int converted =
        ::WideCharToMultiByte(CP_ACP, 0, text, length, &value.bytes[0],
                              static_cast<int>(value.bytes.size()), nullptr, nullptr);
    value.bytes.resize(static_cast<size_t>(converted));
    return value;
}

std::string StoredText(const char* name) {
    const std::string bytes = ReadSampleValue(name).bytes;
    return bytes.substr(0, bytes.find('\0'));
}

CPinwheel::CPinwheel(const char* browserScript) {
    ::SetEnvironmentVariableA("BRC_FAKEBROWSER_SCRIPT", browserScript);
    std::string commandLine = "\"" + ProgramPath() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Under a loaded Wine a start now and then fails at once; one more try
    // tells that apart from a program that cannot start. The error goes to
    // the test's output either way.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 2 && !started; ++attempt) {
        started = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &info);
        if (!started)
            std::fprintf(stderr, "Pinwheel did not start: error %lu\n", ::GetLastError());
    }
    ::SetEnvironmentVariableA("BRC_FAKEBROWSER_SCRIPT", nullptr);
    if (!started)
        return;
    ::CloseHandle(info.hThread);
    m_process.Attach(info.hProcess);
    m_processId = info.dwProcessId;
    // Until the dialog is up; a program that ends first has none.
    ::WaitForInputIdle(m_process, 30000);
    m_dialog = WaitForWindow(kCaptionPart, 30000);
}

CPinwheel::~CPinwheel() {
    if (!m_process)
        return;
    if (m_dialog)
        ::PostMessageA(m_dialog, WM_CLOSE, 0, 0);
    // Until the program has ended after its dialog closed.
    if (::WaitForSingleObject(m_process, 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(m_process, 99);
        // Until the ended process is gone, so the next test starts clean.
        ::WaitForSingleObject(m_process, 10000);
    }
}

std::string CPinwheel::Text(int id) const {
    // A text that changes between asking its length and reading it comes
    // out cut: read until two reads agree.
    std::string previous = ReadText(Control(id));
    for (int i = 0; i < 20; ++i) {
        std::string text = ReadText(Control(id));
        if (text == previous)
            return text;
        previous = text;
    }
    return previous;
}

void CPinwheel::Type(int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

bool CPinwheel::Click(int id) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                 &ignored) != 0;
}

void CPinwheel::ClickLater(int id) {
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
}

std::string CPinwheel::WaitForResultOtherThan(const std::string& before, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    std::string text = Text(kResult);
    while (text == before && ::GetTickCount() - start < timeoutMs) {
        ::Sleep(50);
        text = Text(kResult);
    }
    return text;
}

HWND CPinwheel::WaitForWindow(const std::string& captionPart, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    do {
        WindowSearch search{m_processId, captionPart, nullptr};
        ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string MessageBoxText(HWND box) {
    // The message box's text is its static control 0xFFFF.
    return Caption(::GetDlgItem(box, 0xFFFF));
}

bool AnswerMessageBox(HWND box, int button) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(::GetDlgItem(box, button), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                 kSendTimeoutMs, &ignored) != 0;
}
