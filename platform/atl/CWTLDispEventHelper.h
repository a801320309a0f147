#pragma once
// The event sink of a window hosting an ActiveX control. T is the window
// class that derives from it (and declares the sink map), I the control's
// main interface. Connect finds the control's default outgoing dispatch
// interface from the control's own type information and advises the sink on
// it; the control's IUnknown is kept while the sink is connected.

#include <windows.h>
#include <objbase.h>

#include "ComPtr.h"
#include "EventSource.h"
#include "IDispEventImpl.h"

template <class T, class I> class CWTLDispEventHelper : public IDispEventImpl<0, T> {
public:
    using ControlInterface = I;

    // Keeps the control's IUnknown, finds its event interface and type
    // library and advises the sink. Connecting again first disconnects.
    HRESULT Connect(IUnknown* control) {
        Disconnect();
        if (!control)
            return E_POINTER;
        HRESULT hr =
            control->QueryInterface(IID_PPV_ARGS(m_controlUnknown.ReleaseAndGetAddressOf()));
        if (FAILED(hr))
            return hr;
        hr = GetObjectSourceInterface(m_controlUnknown.p, &this->m_eventSource);
        if (FAILED(hr))
            return hr;
        return AdviseSink(m_controlUnknown.p, this->m_eventSource.eventIid,
                          static_cast<IDispatch*>(this), &m_cookie);
    }

    // Unadvises the sink and releases the control. S_FALSE when nothing was
    // advised. Call it on the control's own thread, before the thread ends.
    HRESULT Disconnect() {
        HRESULT hr = S_FALSE;
        if (m_controlUnknown && m_cookie)
            hr = UnadviseSink(m_controlUnknown.p, this->m_eventSource.eventIid, m_cookie);
        m_cookie = 0;
        m_controlUnknown.Release();
        return hr;
    }

    // The control's identity, null when not connected: an event's object
    // equals it when the event is about the control itself, not a frame.
    IUnknown* GetControlUnknown() const { return m_controlUnknown.p; }
    bool IsAdvised() const { return m_cookie != 0; }

protected:
    CWTLDispEventHelper() = default;
    // A sink still advised when its owner goes would be called after it is
    // gone.
    ~CWTLDispEventHelper() { Disconnect(); }

private:
    CComPtr<IUnknown> m_controlUnknown;
    DWORD m_cookie = 0;
};
