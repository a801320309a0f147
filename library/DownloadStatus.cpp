#include "DownloadStatus.h"

#include <new>

CComPtr<CDownloadStatus> CDownloadStatus::Create() {
    CComPtr<CDownloadStatus> status;
    // Born with its one reference, which the holder takes over.
    status.Attach(new (std::nothrow) CDownloadStatus());
    return status;
}

CDownloadStatus::CDownloadStatus() {
    NoteActivity();
}

void CDownloadStatus::NoteActivity() {
    InterlockedExchange64(&m_lastActivity, static_cast<LONG64>(GetTickCount64()));
}

bool CDownloadStatus::AbortIfStalled(ULONGLONG limit) {
    const ULONGLONG last =
        static_cast<ULONGLONG>(InterlockedCompareExchange64(&m_lastActivity, 0, 0));
    if (GetTickCount64() - last < limit)
        return false;
    AcquireSRWLockExclusive(&m_bindingLock);
    CComPtr<IBinding> binding(static_cast<IBinding*>(m_binding));
    ReleaseSRWLockExclusive(&m_bindingLock);
    // Not yet started, or already stopped: nothing to abort.
    if (!binding)
        return false;
    InterlockedExchange(&m_stalled, 1);
    binding->Abort();
    return true;
}

bool CDownloadStatus::ServerFailed() const {
    if (m_stalled)
        return true;
    if (m_httpStatus >= 400)
        return true;
    // Only a transfer that announced its length can be known to be cut off;
    // file addresses and chunked answers announce none.
    return m_ended && m_announced != 0 && m_received < m_announced;
}

HRESULT CDownloadStatus::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IBindStatusCallback)
        *object = static_cast<IBindStatusCallback*>(this);
    else if (iid == IID_IHttpNegotiate)
        *object = static_cast<IHttpNegotiate*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CDownloadStatus::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG CDownloadStatus::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT CDownloadStatus::OnStartBinding(DWORD, IBinding* binding) {
    NoteActivity();
    AcquireSRWLockExclusive(&m_bindingLock);
    m_binding = CComPtr<IBinding>(binding);
    ReleaseSRWLockExclusive(&m_bindingLock);
    return S_OK;
}

HRESULT CDownloadStatus::GetPriority(LONG*) {
    return E_NOTIMPL;
}

HRESULT CDownloadStatus::OnLowResource(DWORD) {
    return S_OK;
}

HRESULT CDownloadStatus::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR) {
    NoteActivity();
    if (statusCode == BINDSTATUS_ENDDOWNLOADDATA) {
        m_ended = true;
        m_received = progress;
        m_announced = progressMax;
    }
    return S_OK;
}

HRESULT CDownloadStatus::OnStopBinding(HRESULT, LPCWSTR) {
    // Released outside the lock: the last reference may run the binding's
    // own clean-up.
    CComPtr<IBinding> binding;
    AcquireSRWLockExclusive(&m_bindingLock);
    binding.Attach(m_binding.Detach());
    ReleaseSRWLockExclusive(&m_bindingLock);
    return S_OK;
}

// Leaving the bind information alone keeps the download as it is without
// a callback.
HRESULT CDownloadStatus::GetBindInfo(DWORD*, BINDINFO*) {
    return S_OK;
}

HRESULT CDownloadStatus::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) {
    NoteActivity();
    return S_OK;
}

HRESULT CDownloadStatus::OnObjectAvailable(REFIID, IUnknown*) {
    return S_OK;
}

HRESULT CDownloadStatus::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) {
    if (additionalHeaders)
        *additionalHeaders = nullptr;
    return S_OK;
}

HRESULT CDownloadStatus::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR,
                                    LPWSTR* additionalHeaders) {
    if (additionalHeaders)
        *additionalHeaders = nullptr;
    NoteActivity();
    m_httpStatus = responseCode;
    return S_OK;
}
