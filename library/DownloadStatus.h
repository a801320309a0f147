#pragma once
// Watches one URLDownloadToFileA call for answers that it reports as
// success: an HTTP error status (the error page is saved as the file) and a
// connection cut before the announced length arrived (the file is cut off).

#include "ComPtr.h"

#include <windows.h>
#include <urlmon.h>

class CDownloadStatus : public IBindStatusCallback, public IHttpNegotiate {
public:
    static CComPtr<CDownloadStatus> Create();

    // True when the saved file is not what the server meant to send.
    bool ServerFailed() const;

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
    CDownloadStatus() = default;
    virtual ~CDownloadStatus() = default;

    LONG m_references = 1;
    DWORD m_httpStatus = 0;
    bool m_ended = false;
    ULONG m_received = 0;
    ULONG m_announced = 0;
};
