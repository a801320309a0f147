// What the control reports while pages load: each completed document is
// written back to the caller and decides whether the page has ended the
// navigation thread's wait; a navigation error ends it with an error.
//
// The handlers run on the UI thread. They write the caller's values and the
// object's flags before they set m_pageEvent or m_errorEvent, so the
// navigation thread, woken by the event, sees them.
#include "IENavigator.h"

#include "ComBSTR.h"
#include "NarrowText.h"
#include "PageSearch.h"
#include "PageText.h"

namespace {

// The address an event names: a BSTR, by value or by reference.
CString AddressOf(const VARIANT* url) {
    if (!url)
        return CString();
    if (url->vt == VT_BSTR)
        return NarrowFromBstr(url->bstrVal);
    if (url->vt == (VT_BSTR | VT_BYREF) && url->pbstrVal)
        return NarrowFromBstr(*url->pbstrVal);
    return CString();
}

} // namespace

// Called through the control's event dispatch: no exception may leave it (a
// failed allocation while the page text is copied).
void __stdcall CIENavigator::OnDocumentComplete(IDispatch* pDisp, VARIANT* URL) {
    try {
        HandleDocumentComplete(pDisp, URL);
    } catch (...) {
        FailRequest();
    }
}

void CIENavigator::HandleDocumentComplete(IDispatch* pDisp, VARIANT* URL) {
    const CString eventURL = AddressOf(URL);
    // After the first error the caller's values stay as they were then.
    if (m_error) {
        ::SetEvent(m_errorEvent);
        return;
    }
    if (IsOffline()) {
        EndWithError();
        return;
    }
    if (IsAboutControl(pDisp))
        WriteBackPageLoad();
    // A frame's completion is judged by the last top-level page's text.
    if (HoldsErrorPageText(m_pageText)) {
        EndWithError();
        return;
    }
    if (!m_watchText.IsEmpty()) {
        SearchWatchText(eventURL);
    } else if (m_navigationCount > m_maxNavigations) {
        m_stoppedByPage = 1;
        // The last page stays in view for a second before the caller hears
        // of it; the window does not react meanwhile.
        ::Sleep(1000);
        ::SetEvent(m_pageEvent);
    }
}

// The control goes on to show its own error page, which the next
// completion then finds as an error already seen. Throws nothing: it only
// sets a flag and an event.
void __stdcall CIENavigator::OnNavigateError(IDispatch*, VARIANT*, VARIANT*, VARIANT*,
                                             VARIANT_BOOL*) {
    EndWithError();
}

// A frame's events name the frame's own object; the top-level document's
// name the control itself.
bool CIENavigator::IsAboutControl(IDispatch* subject) const {
    if (!subject || !GetControlUnknown())
        return false;
    CComPtr<IUnknown> identity;
    if (FAILED(subject->QueryInterface(IID_PPV_ARGS(identity.ReleaseAndGetAddressOf()))))
        return false;
    return identity.p == GetControlUnknown();
}

// A control that cannot tell counts as online.
bool CIENavigator::IsOffline() const {
    VARIANT_BOOL offline = VARIANT_FALSE;
    return p && SUCCEEDED(p->get_Offline(&offline)) && offline == VARIANT_TRUE;
}

void CIENavigator::WriteBackPageLoad() {
    WriteWindowSize();
    m_pageText = GetPageText(p);
    if (m_pageTextOut)
        *m_pageTextOut = m_pageText;
    ++m_navigationCount;
    if (m_navigationCountOut)
        *m_navigationCountOut = m_navigationCount;
    CComBSTR location;
    // Without the address, the caller's address and the caption stay.
    if (p && SUCCEEDED(p->get_LocationURL(location.ReleaseAndGetAddressOf()))) {
        *m_urlOut = NarrowFromBstr(location);
        SetCaption(*m_urlOut);
    }
}

// The address first (unless only the page is asked for); the page only
// when the address has not ended the wait already.
void CIENavigator::SearchWatchText(const CString& eventURL) {
    if (m_watchMode != kWatchPageText && HoldsText(eventURL, m_watchText)) {
        m_stoppedByPage = 1;
        if (m_watchModeOut)
            *m_watchModeOut = kWatchAddress;
        ::SetEvent(m_pageEvent);
    }
    if (!m_stoppedByPage && m_watchMode != kWatchAddress && HoldsText(m_pageText, m_watchText)) {
        m_stoppedByPage = 1;
        if (m_watchModeOut)
            *m_watchModeOut = kWatchPageText;
        ::SetEvent(m_pageEvent);
    }
}

void CIENavigator::EndWithError() {
    m_error = true;
    ::SetEvent(m_errorEvent);
}
