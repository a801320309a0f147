// The event sink against Wine's own WebBrowser control: connecting finds its
// event interface from its type information, and events reach the owner's
// handlers with their arguments in declaration order.
#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "CWTLDispEventHelper.h"
#include "ComPtr.h"
#include "ComBSTR.h"
#include "ComVariant.h"
#include "TypeInfoAttributes.h"

namespace {

// {EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B}: the WebBrowser type library.
const GUID kWebBrowserLibrary = {
    0xeab22ac0, 0x30c1, 0x11cf, {0xa7, 0xeb, 0x00, 0x00, 0xc0, 0x5b, 0xae, 0x0b}};

struct HandlerCall {
    DISPID dispid = 0;
    const void* owner = nullptr;
    IDispatch* object = nullptr;
    std::wstring url;
    std::wstring frame;
    LONG status = 0;
    VARIANT_BOOL* cancel = nullptr;
};

std::wstring TextOf(const VARIANT* value) {
    return value && value->vt == VT_BSTR && value->bstrVal ? value->bstrVal : L"<not a BSTR>";
}

// The sink is not the owner's first base, as in the browser window.
struct FirstBase {
    virtual ~FirstBase() = default;
    int padding = 0;
};

class EventOwner : public FirstBase, public CWTLDispEventHelper<EventOwner, IWebBrowser2> {
public:
    BEGIN_SINK_MAP(EventOwner)
    SINK_ENTRY(0, 259, OnDocumentComplete)
    SINK_ENTRY(0, 271, OnNavigateError)
    END_SINK_MAP()

    void __stdcall OnDocumentComplete(IDispatch* object, VARIANT* url) {
        HandlerCall call;
        call.dispid = 259;
        call.owner = this;
        call.object = object;
        call.url = TextOf(url);
        calls.push_back(call);
    }
    void __stdcall OnNavigateError(IDispatch* object, VARIANT* url, VARIANT* frame, VARIANT* status,
                                   VARIANT_BOOL* cancel) {
        HandlerCall call;
        call.dispid = 271;
        call.owner = this;
        call.object = object;
        call.url = TextOf(url);
        call.frame = TextOf(frame);
        call.status = status && status->vt == VT_I4 ? status->lVal : -1;
        call.cancel = cancel;
        *cancel = VARIANT_TRUE;
        calls.push_back(call);
    }

    IDispatch* Sink() { return this; }
    std::vector<HandlerCall> calls;
};

// Arguments as the control passes them: rgvarg holds them last-first.
class EventArguments {
public:
    void Add(const VARIANT& value) { m_values.insert(m_values.begin(), value); }
    DISPPARAMS* Params() {
        m_params.rgvarg = m_values.data();
        m_params.cArgs = static_cast<UINT>(m_values.size());
        m_params.rgdispidNamedArgs = m_named.empty() ? nullptr : m_named.data();
        m_params.cNamedArgs = static_cast<UINT>(m_named.size());
        return &m_params;
    }
    // Marks the first count arguments of rgvarg as named, with these DISPIDs.
    void Name(std::vector<DISPID> dispids) { m_named = std::move(dispids); }

private:
    std::vector<VARIANT> m_values;
    std::vector<DISPID> m_named;
    DISPPARAMS m_params{};
};

VARIANT ByRef(VARIANT* target) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_VARIANT | VT_BYREF;
    value.pvarVal = target;
    return value;
}

VARIANT Dispatch(IDispatch* object) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_DISPATCH;
    value.pdispVal = object;
    return value;
}

// Wine's own WebBrowser control, made by the class object of the DLL that
// implements it. Not through the registry: the browser window tests, which
// may run at the same time, have the WebBrowser class treated as the
// scripted control there while they run.
HRESULT CreateWinesWebBrowser(IUnknown** control) {
    // Kept loaded for the process: controls made from it must not outlive
    // their code.
    static const HMODULE module = LoadLibraryA("ieframe.dll");
    if (!module)
        return HRESULT_FROM_WIN32(GetLastError());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    const auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!getClassObject)
        return E_NOINTERFACE;
    CComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(CLSID_WebBrowser, IID_PPV_ARGS(factory.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, IID_PPV_ARGS(control));
}

class EventSink : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_EQ(CreateWinesWebBrowser(m_control.ReleaseAndGetAddressOf()), S_OK);
        m_control->QueryInterface(IID_PPV_ARGS(m_controlDispatch.ReleaseAndGetAddressOf()));
        m_url.vt = VT_BSTR;
        m_url.bstrVal = m_urlText.m_str;
        ASSERT_EQ(m_owner.Connect(m_control.p), S_OK);
    }
    void TearDown() override {
        m_owner.Disconnect();
        m_controlDispatch.Release();
        m_control.Release();
        OleUninitialize();
    }

    HRESULT Fire(DISPID dispid, EventArguments& arguments, VARIANT* result = nullptr) {
        return m_owner.Sink()->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                      arguments.Params(), result, nullptr, nullptr);
    }

    EventArguments DocumentComplete() {
        EventArguments arguments;
        arguments.Add(Dispatch(m_controlDispatch.p));
        arguments.Add(ByRef(&m_url));
        return arguments;
    }

    CComPtr<IUnknown> m_control;
    CComPtr<IDispatch> m_controlDispatch;
    EventOwner m_owner;
    CComBSTR m_urlText{L"http://x/thanks.htm"};
    VARIANT m_url{};
};

} // namespace

TEST_F(EventSink, ConnectFindsTheControlsEventInterfaceAndLibrary) {
    const EventSourceInfo& source = m_owner.GetEventSource();
    EXPECT_TRUE(IsEqualIID(source.eventIid, DIID_DWebBrowserEvents2));
    EXPECT_TRUE(IsEqualGUID(source.libid, kWebBrowserLibrary));
    EXPECT_EQ(source.majorVersion, 1);
    EXPECT_EQ(source.minorVersion, 1);
    EXPECT_TRUE(m_owner.IsAdvised());
    EXPECT_EQ(m_owner.GetControlUnknown(), m_control.p);
}

TEST_F(EventSink, ClassEntryScanFindsTheSameEventInterface) {
    // The way taken for a control without IProvideClassInfo2.
    CComPtr<IProvideClassInfo> provider;
    ASSERT_EQ(m_control->QueryInterface(IID_PPV_ARGS(provider.ReleaseAndGetAddressOf())), S_OK);
    CComPtr<ITypeInfo> classInfo;
    ASSERT_EQ(provider->GetClassInfo(classInfo.ReleaseAndGetAddressOf()), S_OK);
    IID found = {};
    EXPECT_EQ(FindDefaultSourceInterface(classInfo.p, &found), S_OK);
    EXPECT_TRUE(IsEqualIID(found, DIID_DWebBrowserEvents2));
}

TEST_F(EventSink, DisconnectUnadvisesOnceAndReleasesTheControl) {
    EXPECT_EQ(m_owner.Disconnect(), S_OK);
    EXPECT_EQ(m_owner.GetControlUnknown(), nullptr);
    EXPECT_EQ(m_owner.Disconnect(), S_FALSE);
}

TEST_F(EventSink, DocumentCompleteReachesItsHandlerOnTheOwner) {
    EventArguments arguments = DocumentComplete();
    EXPECT_EQ(Fire(259, arguments), S_OK);
    ASSERT_EQ(m_owner.calls.size(), 1u);
    EXPECT_EQ(m_owner.calls[0].dispid, 259);
    EXPECT_EQ(m_owner.calls[0].owner, &m_owner);
    EXPECT_EQ(m_owner.calls[0].object, m_controlDispatch.p);
    EXPECT_EQ(m_owner.calls[0].url, L"http://x/thanks.htm");
}

TEST_F(EventSink, NavigateErrorArgumentsArriveInDeclarationOrder) {
    CComBSTR frameText(L"frame1");
    VARIANT frame{};
    frame.vt = VT_BSTR;
    frame.bstrVal = frameText.m_str;
    VARIANT status{};
    status.vt = VT_I4;
    status.lVal = 404;
    VARIANT_BOOL cancelFlag = VARIANT_FALSE;
    VARIANT cancel{};
    cancel.vt = VT_BOOL | VT_BYREF;
    cancel.pboolVal = &cancelFlag;
    EventArguments arguments;
    arguments.Add(Dispatch(m_controlDispatch.p));
    arguments.Add(ByRef(&m_url));
    arguments.Add(ByRef(&frame));
    arguments.Add(ByRef(&status));
    arguments.Add(cancel);

    CComVariant result;
    EXPECT_EQ(Fire(271, arguments, &result), S_OK);
    ASSERT_EQ(m_owner.calls.size(), 1u);
    const HandlerCall& call = m_owner.calls[0];
    EXPECT_EQ(call.object, m_controlDispatch.p);
    EXPECT_EQ(call.url, L"http://x/thanks.htm");
    EXPECT_EQ(call.frame, L"frame1");
    EXPECT_EQ(call.status, 404);
    EXPECT_EQ(call.cancel, &cancelFlag);
    EXPECT_EQ(cancelFlag, VARIANT_TRUE);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST_F(EventSink, NamedArgumentsGoWhereTheirDispidsSay) {
    // Both named, in the opposite of declaration order.
    EventArguments arguments;
    arguments.Add(Dispatch(m_controlDispatch.p));
    arguments.Add(ByRef(&m_url));
    arguments.Name({1, 0});
    EXPECT_EQ(Fire(259, arguments), S_OK);
    ASSERT_EQ(m_owner.calls.size(), 1u);
    EXPECT_EQ(m_owner.calls[0].object, m_controlDispatch.p);
    EXPECT_EQ(m_owner.calls[0].url, L"http://x/thanks.htm");
}

TEST_F(EventSink, NamedArgumentWithDispidEightOrMoreFails) {
    EventArguments arguments = DocumentComplete();
    arguments.Name({8});
    EXPECT_EQ(Fire(259, arguments), E_FAIL);
    EXPECT_TRUE(m_owner.calls.empty());
}

TEST_F(EventSink, ArgumentCountOtherThanTheEventsCallsNothing) {
    EventArguments tooFew;
    tooFew.Add(Dispatch(m_controlDispatch.p));
    EXPECT_EQ(Fire(259, tooFew), DISP_E_BADPARAMCOUNT);
    EventArguments tooMany = DocumentComplete();
    tooMany.Add(ByRef(&m_url));
    EXPECT_EQ(Fire(259, tooMany), DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(m_owner.calls.empty());
}

TEST_F(EventSink, EventsOutsideTheSinkMapAreAcceptedAndIgnored) {
    EventArguments arguments = DocumentComplete();
    EXPECT_EQ(Fire(250, arguments), S_OK); // BeforeNavigate2
    EXPECT_EQ(Fire(9999, arguments), S_OK);
    EXPECT_TRUE(m_owner.calls.empty());
}

TEST_F(EventSink, QueryInterfaceGivesTheUncountedSinkForItsInterfacesOnly) {
    IDispatch* sink = m_owner.Sink();
    void* out = &out;
    EXPECT_EQ(sink->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(sink->QueryInterface(IID_NULL, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &DIID_DWebBrowserEvents2}) {
        out = nullptr;
        EXPECT_EQ(sink->QueryInterface(*iid, &out), S_OK);
        EXPECT_EQ(out, sink);
    }
    EXPECT_EQ(sink->QueryInterface(IID_IWebBrowser2, &out), E_NOINTERFACE);
    EXPECT_EQ(sink->AddRef(), 1u);
    EXPECT_EQ(sink->Release(), 1u);
}

TEST_F(EventSink, TypeInformationIsTheConnectedEventInterfaces) {
    IDispatch* sink = m_owner.Sink();
    UINT count = 0;
    EXPECT_EQ(sink->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(sink->GetTypeInfoCount(nullptr), E_POINTER);

    CComPtr<ITypeInfo> info;
    ASSERT_EQ(sink->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf()), S_OK);
    TypeAttrRef attr(info.p);
    ASSERT_TRUE(attr);
    EXPECT_TRUE(IsEqualIID(attr->guid, DIID_DWebBrowserEvents2));

    CComBSTR name(L"NavigateError");
    LPOLESTR names[] = {name.m_str};
    DISPID dispid = 0;
    EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid), S_OK);
    EXPECT_EQ(dispid, 271);

    const EventSourceInfo kept = EventOwner::TypeInfoHolder().GetIds();
    EXPECT_TRUE(IsEqualIID(kept.eventIid, DIID_DWebBrowserEvents2));
    EXPECT_TRUE(IsEqualGUID(kept.libid, kWebBrowserLibrary));
}

TEST_F(EventSink, EventFuncInfoDescribesNavigateError) {
    EventFuncInfo info;
    ASSERT_EQ(m_owner.GetEventFuncInfo(theNullIid, 271, LOCALE_USER_DEFAULT, info), S_OK);
    EXPECT_EQ(info.callConv, CC_STDCALL);
    EXPECT_EQ(info.returnType, VT_EMPTY);
    ASSERT_EQ(info.paramCount, 5);
    const VARTYPE expected[5] = {VT_DISPATCH, VT_VARIANT | VT_BYREF, VT_VARIANT | VT_BYREF,
                                 VT_VARIANT | VT_BYREF, VT_BOOL | VT_BYREF};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(info.paramTypes[i], expected[i]) << i;
}
