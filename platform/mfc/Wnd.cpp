#include "AfxWin.h"

#include <vector>

void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    text = CString(buffer.data(), copied);
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    Default();
    return nullptr;
}

bool CWnd::TakeDefaultRequest() {
    const bool requested = m_defaultRequested;
    m_defaultRequested = false;
    return requested;
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.m_hWnd = exchange->m_pDlgWnd->GetDlgItem(id);
}
