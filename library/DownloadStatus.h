#pragma once
// Watches one URLDownloadToFileA call for answers that it reports as
// success: an HTTP error status (the error page is saved as the file) and a
// connection cut before the announced length arrived (the file is cut off).
// It also notes when the download last heard from the server, so that a
// download that has stalled can be aborted from another thread.

#include "ComPtr.h"

#include <windows.h>
#include <urlmon.h>

class CDownloadStatus : public IBindStatusCallback, public IHttpNegotiate {
public:
    static CComPtr<CDownloadStatus> Create();

    // True when the saved file is not what the server meant to send, or the
    // download was aborted as stalled.
    bool ServerFailed() const;

    // Any thread: aborts the download when nothing has arrived for limit
    // milliseconds; true when it has been aborted so.
    bool AbortIfStalled(ULONGLONG limit);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IBindStatusCallback
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID iid, IUnknown* object) override;

    // IHttpNegotiate
    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                   LPWSTR* additionalHeaders) override;
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR responseHeaders,
                                         LPCWSTR requestHeaders,
                                         LPWSTR* additionalHeaders) override;

private:
    CDownloadStatus();
    virtual ~CDownloadStatus() = default;

    void NoteActivity();

    LONG m_references = 1;
    DWORD m_httpStatus = 0;
    bool m_ended = false;
    ULONG m_received = 0;
    ULONG m_announced = 0;

    // Shared with the thread that watches for a stall.
    SRWLOCK m_bindingLock = SRWLOCK_INIT;
    CComPtr<IBinding> m_binding;
    volatile LONG64 m_lastActivity = 0;
    volatile LONG m_stalled = 0;
};
