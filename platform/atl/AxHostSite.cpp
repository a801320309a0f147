#include "AxHostSite.h"

#include "ComBSTR.h"

CAxHostSite::CAxHostSite(HWND host, bool oleInitialized)
    : m_host(host), m_oleInitialized(oleInitialized), m_clientSite(*this), m_inPlaceSite(*this),
      m_frame(*this) {}

HRESULT CAxHostSite::CreateControl(const char* name) {
    if (!name || !*name)
        return E_INVALIDARG;
    const CComBSTR wideName(name);
    CLSID classId = {};
    HRESULT hr = name[0] == '{' ? ::CLSIDFromString(wideName, &classId)
                                : ::CLSIDFromProgID(wideName, &classId);
    if (FAILED(hr))
        return hr;
    hr = ::CoCreateInstance(classId, nullptr, CLSCTX_SERVER, __uuidof(IUnknown),
                            reinterpret_cast<void**>(m_control.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        return hr;
    hr = SiteControl();
    if (FAILED(hr)) {
        Teardown();
        return hr;
    }
    ActivateControl();
    return S_OK;
}

void CAxHostSite::ActivateControl() {
    // A control is active in place from the start, as containers have it;
    // some (Wine's WebBrowser) accept no later activation without a site.
    RECT client = {};
    ::GetClientRect(m_host, &client);
    m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_clientSite, 0, m_host, &client);
}

HRESULT CAxHostSite::SiteControl() {
    HRESULT hr = m_control.QueryInterface(m_oleObject.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    DWORD status = 0;
    m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &status);
    // Some controls need their site before they initialise, others after.
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        m_oleObject->SetClientSite(&m_clientSite);
    CComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(m_control.QueryInterface(persist.ReleaseAndGetAddressOf())))
        persist->InitNew();
    if (!siteFirst)
        m_oleObject->SetClientSite(&m_clientSite);
    return S_OK;
}

void CAxHostSite::SetObjectRects(const RECT& rect) {
    if (m_inPlaceObject)
        m_inPlaceObject->SetObjectRects(&rect, &rect);
}

void CAxHostSite::OnSize() {
    RECT client = {};
    if (m_host && ::GetClientRect(m_host, &client))
        SetObjectRects(client);
}

void CAxHostSite::Teardown() {
    if (m_inPlaceObject) {
        // The control calls OnInPlaceDeactivate from here, which drops it.
        CComPtr<IOleInPlaceObject> inPlace(m_inPlaceObject.p);
        inPlace->InPlaceDeactivate();
    }
    m_inPlaceObject.Release();
    m_activeObject.Release();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
    }
    m_oleObject.Release();
    m_control.Release();
    m_host = nullptr;
}

HRESULT CAxHostSite::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IOleClientSite))
        *out = static_cast<IOleClientSite*>(&m_clientSite);
    else if (iid == __uuidof(IOleWindow) || iid == __uuidof(IOleInPlaceSite))
        *out = static_cast<IOleInPlaceSite*>(&m_inPlaceSite);
    else if (iid == __uuidof(IOleInPlaceUIWindow) || iid == __uuidof(IOleInPlaceFrame))
        *out = static_cast<IOleInPlaceFrame*>(&m_frame);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG CAxHostSite::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

ULONG CAxHostSite::Release() {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// The client site ----------------------------------------------------------

STDMETHODIMP CAxHostSite::ClientSite::QueryInterface(REFIID iid, void** out) {
    return m_owner.QueryInterface(iid, out);
}
STDMETHODIMP_(ULONG) CAxHostSite::ClientSite::AddRef() {
    return m_owner.AddRef();
}
STDMETHODIMP_(ULONG) CAxHostSite::ClientSite::Release() {
    return m_owner.Release();
}
STDMETHODIMP CAxHostSite::ClientSite::SaveObject() {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::ClientSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::ClientSite::GetContainer(IOleContainer** container) {
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP CAxHostSite::ClientSite::ShowObject() {
    return S_OK;
}
STDMETHODIMP CAxHostSite::ClientSite::OnShowWindow(BOOL) {
    return S_OK;
}
STDMETHODIMP CAxHostSite::ClientSite::RequestNewObjectLayout() {
    return E_NOTIMPL;
}
