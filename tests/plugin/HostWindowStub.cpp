#include "HostWindowStub.h"

#include "WindowSearch.h"

#include <cstdio>

namespace {

const char kClassName[] = "BrcHostWindowStub";

void RegisterStubClass() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
}

std::wstring Field(int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%010d", value);
    return text;
}

} // namespace

CHostWindowStub::CHostWindowStub(bool ownThread, DWORD answerDelayMs) : m_delayMs(answerDelayMs) {
    RegisterStubClass();
    if (!ownThread) {
        Create();
        return;
    }
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    // Bounded: the thread only creates the window before it signals.
    WaitForSingleObject(m_ready, 10000);
}

CHostWindowStub::~CHostWindowStub() {
    if (m_thread) {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        // Bounded: the window's thread leaves its loop at the close.
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
    } else {
        DestroyWindow(m_window);
    }
}

void CHostWindowStub::Create() {
    m_window = CreateWindowExA(0, kClassName, "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

DWORD WINAPI CHostWindowStub::ThreadProc(LPVOID parameter) {
    auto* stub = static_cast<CHostWindowStub*>(parameter);
    stub->Create();
    SetEvent(stub->m_ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

LRESULT CALLBACK CHostWindowStub::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* stub = reinterpret_cast<CHostWindowStub*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_COPYDATA:
        stub->Receive(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (stub->m_thread)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CHostWindowStub::Receive(const COPYDATASTRUCT& data) {
    CReceivedMessage received{
        data.dwData, data.cbData,
        std::wstring(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t)),
        GetCurrentThreadId()};
    if (m_delayMs)
        Sleep(m_delayMs);
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_messages.push_back(std::move(received));
    }
    if (m_onMessage)
        m_onMessage(data);
}

std::vector<CReceivedMessage> CHostWindowStub::Messages() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_messages;
}

size_t CHostWindowStub::Count() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_messages.size();
}

bool CHostWindowStub::WaitForCount(size_t count, DWORD timeoutMs) const {
    return PumpUntil([&] { return Count() >= count; }, timeoutMs);
}

CKeyValue ParseMessage(const std::wstring& text) {
    if (text.size() < 62 || text.compare(0, 42, L"B9A8638E9F624A5796B7BAFF89AD132C0000000002"))
        return {};
    const size_t keyLength = std::wcstoul(text.substr(42, 10).c_str(), nullptr, 10);
    if (text.size() < 62 + keyLength)
        return {};
    const size_t valueLength = std::wcstoul(text.substr(52 + keyLength, 10).c_str(), nullptr, 10);
    if (text.size() != 62 + keyLength + valueLength)
        return {};
    return {text.substr(52, keyLength), text.substr(62 + keyLength)};
}

std::wstring ExpectedMessage(const std::wstring& key, const std::wstring& value) {
    return L"B9A8638E9F624A5796B7BAFF89AD132C" + Field(2) + Field(static_cast<int>(key.size())) +
           key + Field(static_cast<int>(value.size())) + value;
}
