#pragma once
// A hidden window that plays the host's: it keeps every WM_COPYDATA it is
// sent, byte for byte, and can be made slow to answer.

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct CReceivedMessage {
    ULONG_PTR dwData;
    DWORD cbData;
    // lpData's bytes as UTF-16 units (cbData / 2 of them).
    std::wstring text;
    DWORD threadId;
};

class CHostWindowStub {
public:
    // On a thread of its own, or on the calling thread (which must then
    // dispatch messages for the window to answer).
    explicit CHostWindowStub(bool ownThread = true, DWORD answerDelayMs = 0);
    ~CHostWindowStub();
    CHostWindowStub(const CHostWindowStub&) = delete;
    CHostWindowStub& operator=(const CHostWindowStub&) = delete;

    HWND Window() const { return m_window; }
    // The value a host gives as Plugin_Window.
    LONG HandleValue() const { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(m_window)); }
    std::vector<CReceivedMessage> Messages() const;
    size_t Count() const;
    // Dispatches this thread's messages while it waits.
    bool WaitForCount(size_t count, DWORD timeoutMs) const;
    // Runs in the window procedure after each message has been kept, with the
    // struct that lParam points at; set it before any message can arrive.
    void OnMessage(std::function<void(const COPYDATASTRUCT&)> action) {
        m_onMessage = std::move(action);
    }

private:
    static DWORD WINAPI ThreadProc(LPVOID parameter);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void Receive(const COPYDATASTRUCT& data);

    DWORD m_delayMs;
    HWND m_window = nullptr;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    mutable std::mutex m_lock;
    std::vector<CReceivedMessage> m_messages;
    std::function<void(const COPYDATASTRUCT&)> m_onMessage;
};

// The key and value of a plug-in message; empty when the text is not one.
struct CKeyValue {
    std::wstring key;
    std::wstring value;
    bool operator==(const CKeyValue& other) const {
        return key == other.key && value == other.value;
    }
};
CKeyValue ParseMessage(const std::wstring& text);
// The text a message for key and value must have.
std::wstring ExpectedMessage(const std::wstring& key, const std::wstring& value);
