#pragma once
// A window handle with the few operations the browser window uses. It does
// not own the window: the window's own thread destroys it.

#include <windows.h>

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND window) : m_hWnd(window) {}

    operator HWND() const { return m_hWnd; }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL SetWindowText(const char* text) const { return ::SetWindowTextA(m_hWnd, text); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    HWND GetTopLevelParent() const;

    // No class of its own: a window implementation based on a plain CWindow
    // has nothing to superclass.
    static const char* GetWndClassName() { return nullptr; }

    HWND m_hWnd = nullptr;
};

inline HWND CWindow::GetTopLevelParent() const {
    HWND window = m_hWnd;
    for (HWND parent = window; parent; parent = ::GetParent(parent))
        window = parent;
    return window;
}

// Styles a window class creates its windows with when the caller gives none.
template <DWORD t_style = 0, DWORD t_exStyle = 0> class CWinTraits {
public:
    static DWORD GetWndStyle(DWORD style) { return style ? style : t_style; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle ? exStyle : t_exStyle; }
};
