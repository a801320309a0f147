// The in-place site and in-place frame parts of the host site.
#include "AxHostSite.h"

// The in-place site --------------------------------------------------------

STDMETHODIMP CAxHostSite::InPlaceSite::QueryInterface(REFIID iid, void** out) {
    return m_owner.QueryInterface(iid, out);
}
STDMETHODIMP_(ULONG) CAxHostSite::InPlaceSite::AddRef() {
    return m_owner.AddRef();
}
STDMETHODIMP_(ULONG) CAxHostSite::InPlaceSite::Release() {
    return m_owner.Release();
}

STDMETHODIMP CAxHostSite::InPlaceSite::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_owner.m_host;
    return m_owner.m_host ? S_OK : E_FAIL;
}
STDMETHODIMP CAxHostSite::InPlaceSite::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceSite::CanInPlaceActivate() {
    return m_owner.m_host ? S_OK : S_FALSE;
}

STDMETHODIMP CAxHostSite::InPlaceSite::OnInPlaceActivate() {
    // Kept so that resizing and teardown reach the active control.
    m_owner.m_control.QueryInterface(m_owner.m_inPlaceObject.ReleaseAndGetAddressOf());
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceSite::OnUIActivate() {
    return S_OK;
}

STDMETHODIMP CAxHostSite::InPlaceSite::GetWindowContext(IOleInPlaceFrame** frame,
                                                        IOleInPlaceUIWindow** document,
                                                        RECT* position, RECT* clip,
                                                        OLEINPLACEFRAMEINFO* frameInfo) {
    if (!frame || !document || !position || !clip)
        return E_POINTER;
    HWND host = m_owner.m_host;
    // The frame stands in for the document window too: we have no other.
    *frame = &m_owner.m_frame;
    m_owner.AddRef();
    *document = &m_owner.m_frame;
    m_owner.AddRef();
    ::GetClientRect(host, position);
    *clip = *position;
    if (frameInfo) {
        frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = ::GetAncestor(host, GA_ROOT);
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP CAxHostSite::InPlaceSite::Scroll(SIZE) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceSite::OnUIDeactivate(BOOL) {
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceSite::OnInPlaceDeactivate() {
    m_owner.m_inPlaceObject.Release();
    m_owner.m_activeObject.Release();
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceSite::DiscardUndoState() {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceSite::DeactivateAndUndo() {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceSite::OnPosRectChange(const RECT* position) {
    if (!position)
        return E_POINTER;
    m_owner.SetObjectRects(*position);
    return S_OK;
}

// The in-place frame -------------------------------------------------------

STDMETHODIMP CAxHostSite::InPlaceFrame::QueryInterface(REFIID iid, void** out) {
    return m_owner.QueryInterface(iid, out);
}
STDMETHODIMP_(ULONG) CAxHostSite::InPlaceFrame::AddRef() {
    return m_owner.AddRef();
}
STDMETHODIMP_(ULONG) CAxHostSite::InPlaceFrame::Release() {
    return m_owner.Release();
}

STDMETHODIMP CAxHostSite::InPlaceFrame::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_owner.m_host ? ::GetAncestor(m_owner.m_host, GA_ROOT) : nullptr;
    return *window ? S_OK : E_FAIL;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}
// No toolbars or borders to give the control.
STDMETHODIMP CAxHostSite::InPlaceFrame::GetBorder(RECT*) {
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

STDMETHODIMP CAxHostSite::InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* active,
                                                        LPCOLESTR) {
    m_owner.m_activeObject.Attach(active);
    if (active)
        active->AddRef();
    return S_OK;
}

STDMETHODIMP CAxHostSite::InPlaceFrame::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::RemoveMenus(HMENU) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::SetStatusText(LPCOLESTR) {
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::EnableModeless(BOOL) {
    return S_OK;
}
STDMETHODIMP CAxHostSite::InPlaceFrame::TranslateAccelerator(MSG*, WORD) {
    return S_FALSE;
}
