#pragma once
// The dispatch half of an event sink that lives inside its owner, a window
// object: it answers the control's IDispatch calls and hands each event in
// the owner's sink map to its handler. It is not reference counted; the
// owner's lifetime is the sink's.
//
// T derives from it and declares a sink map (SinkMap.h). The event interface
// and its type library are not known when the sink is declared: the connect
// step of the deriving helper finds them and stores them in m_eventSource.

#include <windows.h>
#include <oaidl.h>

#include "CComTypeInfoHolder.h"
#include "ComPtr.h"
#include "EventFuncInfo.h"
#include "EventSource.h"
#include "SinkHandlerCall.h"
#include "SinkMap.h"

template <UINT nID, class T> class IDispEventImpl : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, theNullIid))
            return E_NOINTERFACE;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, m_eventSource.eventIid)) {
            *object = static_cast<IDispatch*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return TypeInfoHolder().GetTypeInfo(m_eventSource, index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* dispids) override {
        return TypeInfoHolder().GetIDsOfNames(m_eventSource, names, count, lcid, dispids);
    }

    // Events the map does not name, and events the type information does
    // not describe, are accepted and ignored.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID lcid, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        const SinkEntry<T>* entry = FindSinkEntry(T::GetSinkMap(), nID, dispid);
        if (!entry)
            return S_OK;
        EventFuncInfo info;
        if (FAILED(GetEventFuncInfo(theNullIid, dispid, lcid, info)))
            return S_OK;
        return CallSinkHandler(static_cast<T*>(this), entry->handler, info, params, result);
    }

    // The call description of an event, from the process-wide type
    // information of the event interface.
    virtual HRESULT STDMETHODCALLTYPE GetEventFuncInfo(const IID& /*iid*/, DISPID dispid, LCID lcid,
                                                       EventFuncInfo& info) {
        CComPtr<ITypeInfo> eventInfo;
        HRESULT hr =
            TypeInfoHolder().GetTI(m_eventSource, lcid, eventInfo.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            return hr;
        return ReadEventFuncInfo(eventInfo.p, dispid, &info);
    }

    // One holder per kind of sink, kept for the process.
    static CComTypeInfoHolder& TypeInfoHolder() {
        static CComTypeInfoHolder theHolder;
        return theHolder;
    }

    const EventSourceInfo& GetEventSource() const { return m_eventSource; }

protected:
    IDispEventImpl() = default;
    ~IDispEventImpl() = default;
    IDispEventImpl(const IDispEventImpl&) = delete;
    IDispEventImpl& operator=(const IDispEventImpl&) = delete;

    EventSourceInfo m_eventSource;
};
