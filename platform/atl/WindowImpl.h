#pragma once
// A C++ object behind a window: its message map sees every message first and
// passes what it leaves unhandled to the class it superclasses. The object
// is found through the window's user data, set by the very first message.

#include "Window.h"

class CWindowImplRoot : public CWindow {
public:
    CWindowImplRoot() = default;
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;

    // Returns TRUE when the map handled the message and set result.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0) = 0;
    virtual ~CWindowImplRoot() = default;
    virtual WNDPROC GetWindowProc() { return WindowProc; }
    // After WM_NCDESTROY, when the window is gone.
    virtual void OnFinalMessage(HWND /*window*/) {}

    // The superclassed class's own processing.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Destroys the window with only its class's processing: the object may
    // be on its way out and its map must not see the destruction.
    BOOL DestroyWindowWithoutMap();

protected:
    HWND CreateSuperclassed(const char* baseClassName, HWND parent, const RECT& rect,
                            const char* windowName, DWORD style, DWORD exStyle, HMENU menu,
                            void* param);

    static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC m_superWindowProc = ::DefWindowProcA;
    bool m_mapDetached = false;
};

template <class T, class TBase = CWindow, class TWinTraits = CWinTraits<>>
class CWindowImpl : public CWindowImplRoot {
public:
    HWND Create(HWND parent, const RECT& rect, const char* windowName = nullptr, DWORD style = 0,
                DWORD exStyle = 0, HMENU menu = nullptr, void* param = nullptr) {
        return CreateSuperclassed(TBase::GetWndClassName(), parent, rect, windowName,
                                  TWinTraits::GetWndStyle(style),
                                  TWinTraits::GetWndExStyle(exStyle), menu, param);
    }
};
