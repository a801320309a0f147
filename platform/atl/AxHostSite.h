#pragma once
// The container side of one hosted control: a single reference-counted
// object that is the control's client site, in-place site and in-place frame
// through small parts sharing one identity. Teardown releases the control in
// one fixed order while the host window still exists.

#include "ComPtr.h"

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <oleidl.h>

class CAxHostSite {
public:
    CAxHostSite(HWND host, bool oleInitialized);
    CAxHostSite(const CAxHostSite&) = delete;
    CAxHostSite& operator=(const CAxHostSite&) = delete;

    // Creates the control named by a class identifier in braces or a ProgID,
    // sites it and activates it in place.
    HRESULT CreateControl(const char* name);
    IUnknown* Control() const { return m_control; }
    bool OleInitialized() const { return m_oleInitialized; }

    // The control follows the host's client area.
    void OnSize();
    // Deactivates, closes and releases the control; later calls do nothing.
    void Teardown();

    HRESULT QueryInterface(REFIID iid, void** out);
    ULONG AddRef();
    ULONG Release();

private:
    ~CAxHostSite() = default;

    HRESULT SiteControl();
    void ActivateControl();
    void SetObjectRects(const RECT& rect);

    class ClientSite : public IOleClientSite {
    public:
        explicit ClientSite(CAxHostSite& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP SaveObject() override;
        STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
        STDMETHODIMP GetContainer(IOleContainer** container) override;
        STDMETHODIMP ShowObject() override;
        STDMETHODIMP OnShowWindow(BOOL show) override;
        STDMETHODIMP RequestNewObjectLayout() override;

    private:
        CAxHostSite& m_owner;
    };

    class InPlaceSite : public IOleInPlaceSite {
    public:
        explicit InPlaceSite(CAxHostSite& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
        STDMETHODIMP CanInPlaceActivate() override;
        STDMETHODIMP OnInPlaceActivate() override;
        STDMETHODIMP OnUIActivate() override;
        STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                      RECT* position, RECT* clip,
                                      OLEINPLACEFRAMEINFO* frameInfo) override;
        STDMETHODIMP Scroll(SIZE extent) override;
        STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
        STDMETHODIMP OnInPlaceDeactivate() override;
        STDMETHODIMP DiscardUndoState() override;
        STDMETHODIMP DeactivateAndUndo() override;
        STDMETHODIMP OnPosRectChange(const RECT* position) override;

    private:
        CAxHostSite& m_owner;
    };

    class InPlaceFrame : public IOleInPlaceFrame {
    public:
        explicit InPlaceFrame(CAxHostSite& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
        STDMETHODIMP GetBorder(RECT* border) override;
        STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
        STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
        STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
        STDMETHODIMP InsertMenus(HMENU shared, OLEMENUGROUPWIDTHS* widths) override;
        STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
        STDMETHODIMP RemoveMenus(HMENU shared) override;
        STDMETHODIMP SetStatusText(LPCOLESTR text) override;
        STDMETHODIMP EnableModeless(BOOL enable) override;
        STDMETHODIMP TranslateAccelerator(MSG* message, WORD id) override;

    private:
        CAxHostSite& m_owner;
    };

    LONG m_references = 1;
    HWND m_host;
    bool m_oleInitialized;
    ClientSite m_clientSite;
    InPlaceSite m_inPlaceSite;
    InPlaceFrame m_frame;
    CComPtr<IUnknown> m_control;
    CComPtr<IOleObject> m_oleObject;
    CComPtr<IOleInPlaceObject> m_inPlaceObject;
    CComPtr<IOleInPlaceActiveObject> m_activeObject;
};
