#include "MessageLoop.h"

#include <algorithm>

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
    if (!filter)
        return FALSE;
    m_filters.push_back(filter);
    return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    const auto found = std::find(m_filters.begin(), m_filters.end(), filter);
    if (found == m_filters.end())
        return FALSE;
    m_filters.erase(found);
    return TRUE;
}

BOOL CMessageLoop::PreTranslateMessage(MSG* message) {
    // The filter added last sees the message first.
    for (auto filter = m_filters.rbegin(); filter != m_filters.rend(); ++filter)
        if ((*filter)->PreTranslateMessage(message))
            return TRUE;
    return FALSE;
}

int CMessageLoop::Run() {
    MSG message = {};
    for (;;) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        // Only an invalid window filter fails, and there is none.
        if (got == -1)
            return -1;
        if (!PreTranslateMessage(&message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}
