#pragma once
// A window of the control-host class that keeps the hosted control's
// interface I and receives the control's events. T is the window class built
// on it; it declares the sink map and the event handlers.

#include "AxHost.h"
#include "CWTLDispEventHelper.h"
#include "ComPtr.h"
#include "WindowImpl.h"

template <class T, class I>
class CWTLAxControl
    : public CComPtr<I>,
      public CWindowImpl<CWTLAxControl<T, I>, CAxWindowT<CWindow>, CWinTraits<0x56000000, 0>>,
      public CWTLDispEventHelper<T, I> {
public:
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override {
        if (mapId == 0 && message == WM_CREATE) {
            result = OnCreate(message, wParam, lParam);
            return TRUE;
        }
        return FALSE;
    }

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam) {
        // The host class creates the control while it handles WM_CREATE.
        const LRESULT result = this->DefWindowProc(message, wParam, lParam);
        CComPtr<IUnknown> control;
        if (SUCCEEDED(AtlAxGetControl(this->m_hWnd, control.ReleaseAndGetAddressOf()))) {
            control.QueryInterface(CComPtr<I>::ReleaseAndGetAddressOf());
            // A control without events still shows its pages; nothing to
            // report.
            this->Connect(control);
        }
        return result;
    }

    // Gives the control back on its own thread, before the host window
    // closes it and OLE is uninitialised there: no event may reach the
    // window after this.
    void DetachControl() {
        this->Disconnect();
        CComPtr<I>::Release();
    }
};
