#pragma once
// A thread's message loop with filters that see each message before it is
// translated and dispatched.

#include <windows.h>

#include <vector>

class CMessageFilter {
public:
    // TRUE: the message was fully handled and is neither translated nor
    // dispatched.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

protected:
    ~CMessageFilter() = default;
};

class CMessageLoop {
public:
    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    // Runs until WM_QUIT and returns its exit code.
    int Run();

private:
    BOOL PreTranslateMessage(MSG* message);

    std::vector<CMessageFilter*> m_filters;
};
