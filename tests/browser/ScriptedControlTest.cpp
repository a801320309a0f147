// The scripted WebBrowser control that the other browser tests put in the
// window: found through its class information like the real one, it fires
// its events through the sink's IDispatch::Invoke on its own thread.
#include "AxHost.h"
#include "BrowserTestSupport.h"
#include "ComBSTR.h"
#include "ComPtr.h"
#include "ComVariant.h"
#include "FakeBrowserApi.h"
#include "ProductContext.h"

#include <gtest/gtest.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>

#include <string>
#include <vector>

namespace {

struct Event {
    DISPID id;
    bool aboutControl;
    std::string url;
    long status;
    DWORD thread;
};

// Records every event; answers for the event interface as a sink must.
class RecordingSink : public IDispatch {
public:
    RecordingSink(const IID& events, IUnknown* control) : m_events(events), m_control(control) {}
    virtual ~RecordingSink() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == m_events) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        Event event = {id, false, std::string(), 0, GetCurrentThreadId()};
        const UINT count = parameters->cArgs;
        if ((id == DISPID_DOCUMENTCOMPLETE && count == 2) ||
            (id == DISPID_NAVIGATEERROR && count == 5)) {
            // Arguments come last first: pDisp is the last one.
            const VARIANT& subject = parameters->rgvarg[count - 1];
            const VARIANT& url = parameters->rgvarg[count - 2];
            CComPtr<IUnknown> subjectUnknown;
            if (subject.vt == VT_DISPATCH && subject.pdispVal)
                subject.pdispVal->QueryInterface(
                    __uuidof(IUnknown),
                    reinterpret_cast<void**>(subjectUnknown.ReleaseAndGetAddressOf()));
            event.aboutControl = subjectUnknown.p == m_control;
            if (url.vt == (VT_VARIANT | VT_BYREF) && url.pvarVal->vt == VT_BSTR) {
                CComBSTR text(url.pvarVal->bstrVal);
                event.url = text.ToAnsi();
            }
            if (id == DISPID_NAVIGATEERROR)
                event.status = parameters->rgvarg[1].pvarVal->lVal;
        }
        events.push_back(event);
        return S_OK;
    }

    std::vector<Event> events;

private:
    IID m_events;
    IUnknown* m_control;
};

// The connect step any container does: the default source interface from
// the class information, advised at the control's connection point.
class HostedControl {
public:
    HostedControl() {
        AtlAxWinInit();
        m_host = CreateWindowExA(0, "AtlAxWin90", "{8856F961-340A-11D0-A96B-00C04FD705A2}",
                                 WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        AtlAxGetControl(m_host, control.ReleaseAndGetAddressOf());
        control.QueryInterface(browser.ReleaseAndGetAddressOf());
        CComPtr<IProvideClassInfo2> classInfo;
        control.QueryInterface(classInfo.ReleaseAndGetAddressOf());
        if (classInfo)
            classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventsIid);
        sink = new RecordingSink(eventsIid, control);
        CComPtr<IConnectionPointContainer> container;
        control.QueryInterface(container.ReleaseAndGetAddressOf());
        if (container)
            container->FindConnectionPoint(eventsIid, point.ReleaseAndGetAddressOf());
        if (point)
            point->Advise(sink, &m_cookie);
    }
    ~HostedControl() {
        if (point)
            point->Unadvise(m_cookie);
        point.Release();
        browser.Release();
        control.Release();
        DestroyWindow(m_host);
        delete sink;
    }

    HRESULT Navigate(const std::string& url) {
        CComBSTR address(url.c_str());
        CComVariant empty;
        return browser->Navigate(address, &empty, &empty, &empty, &empty);
    }
    bool WaitForEvents(size_t count, DWORD timeoutMs = 5000) {
        return PumpUntil([&] { return sink->events.size() >= count; }, timeoutMs);
    }
    std::string BodyHtml() {
        CComPtr<IDispatch> document;
        browser->get_Document(document.ReleaseAndGetAddressOf());
        CComPtr<IHTMLDocument2> html;
        document.QueryInterface(html.ReleaseAndGetAddressOf());
        CComPtr<IHTMLElement> body;
        if (html)
            html->get_body(body.ReleaseAndGetAddressOf());
        CComBSTR outer;
        if (body)
            body->get_outerHTML(outer.ReleaseAndGetAddressOf());
        return outer.ToAnsi();
    }
    std::string LocationURL() {
        CComBSTR url;
        browser->get_LocationURL(url.ReleaseAndGetAddressOf());
        return url.ToAnsi();
    }

    CComPtr<IUnknown> control;
    CComPtr<IWebBrowser2> browser;
    CComPtr<IConnectionPoint> point;
    IID eventsIid = {};
    RecordingSink* sink = nullptr;

private:
    HWND m_host = nullptr;
    DWORD m_cookie = 0;
};

} // namespace

TEST(ScriptedControl, NamesDWebBrowserEvents2AndTheWebBrowserTypeLibrary) {
    FakeBrowserSetScript("");
    HostedControl hosted;
    ASSERT_TRUE(hosted.browser);
    EXPECT_EQ(DIID_DWebBrowserEvents2, hosted.eventsIid);
    ASSERT_TRUE(hosted.point);
    EXPECT_TRUE(FakeLogHas("Advise"));

    // The library and version a generic connect step reads from the
    // control's own type information.
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK,
              hosted.browser->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf()));
    CComPtr<ITypeLib> library;
    UINT index = 0;
    ASSERT_EQ(S_OK, info->GetContainingTypeLib(library.ReleaseAndGetAddressOf(), &index));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_EQ(LIBID_SHDocVw, attributes->guid);
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(1, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);
}

TEST(ScriptedControl, FiresDocumentCompleteOnItsThreadWithThePagesBody) {
    FakeBrowserSetScript("");
    TempPage page("<html><head><title>t</title></head><body class=\"x\"><p>Thanks!</p></body>"
                  "</html>");
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(1));
    const Event& event = hosted.sink->events[0];
    EXPECT_EQ(DISPID_DOCUMENTCOMPLETE, event.id);
    EXPECT_TRUE(event.aboutControl);
    EXPECT_EQ(page.Address(), event.url);
    EXPECT_EQ(GetCurrentThreadId(), event.thread);
    EXPECT_EQ("<body class=\"x\"><p>Thanks!</p></body>", hosted.BodyHtml());
    EXPECT_EQ(page.Address(), hosted.LocationURL());
}

TEST(ScriptedControl, LoadsAPageOfTheLocalWebService) {
    FakeBrowserSetScript("");
    HostedControl hosted;
    const std::string address = theServiceBaseURL.str() + "customerinfo.php";
    ASSERT_EQ(S_OK, hosted.Navigate(address));
    ASSERT_TRUE(hosted.WaitForEvents(1));
    EXPECT_EQ(DISPID_DOCUMENTCOMPLETE, hosted.sink->events[0].id);
    EXPECT_EQ(address, hosted.sink->events[0].url);
    const std::string body = hosted.BodyHtml();
    EXPECT_EQ(0u, body.find("<body>")) << body;
    EXPECT_NE(std::string::npos, body.find("<h1>Software listing service</h1>")) << body;
}

TEST(ScriptedControl, FrameCompletesBeforeTheTopLevelDocument) {
    FakeBrowserSetScript("frame file:///C:/frames/menu.htm");
    TempPage page("<body>top</body>");
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(2));
    EXPECT_FALSE(hosted.sink->events[0].aboutControl);
    EXPECT_EQ("file:///C:/frames/menu.htm", hosted.sink->events[0].url);
    EXPECT_TRUE(hosted.sink->events[1].aboutControl);
    EXPECT_EQ(page.Address(), hosted.sink->events[1].url);
}

TEST(ScriptedControl, NavigationErrorThenItsErrorPage) {
    FakeBrowserSetScript("error 404");
    TempPage page("<body>never shown</body>");
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(2));
    EXPECT_EQ(DISPID_NAVIGATEERROR, hosted.sink->events[0].id);
    EXPECT_EQ(404, hosted.sink->events[0].status);
    EXPECT_EQ(page.Address(), hosted.sink->events[0].url);
    EXPECT_EQ(DISPID_DOCUMENTCOMPLETE, hosted.sink->events[1].id);
    EXPECT_NE(std::string::npos, hosted.BodyHtml().find("cannot display the webpage"));
}

TEST(ScriptedControl, FollowUpNavigationAndOfflineState) {
    TempPage first("<body>one</body>");
    TempPage second("<body>two</body>");
    FakeBrowserSetScript(("offline; follow " + second.Address()).c_str());
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(first.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(2));
    EXPECT_EQ(first.Address(), hosted.sink->events[0].url);
    EXPECT_EQ(second.Address(), hosted.sink->events[1].url);
    EXPECT_EQ("<body>two</body>", hosted.BodyHtml());
    VARIANT_BOOL offline = VARIANT_FALSE;
    EXPECT_EQ(S_OK, hosted.browser->get_Offline(&offline));
    EXPECT_EQ(VARIANT_TRUE, offline);
    // Each follow-up is used once.
    EXPECT_FALSE(hosted.WaitForEvents(3, 500));
}

TEST(ScriptedControl, SubmitSendsThePagesFormWithOneFieldSet) {
    TempPage page("<body><form method=\"post\" action=\"sent.htm\">"
                  "<input type=\"hidden\" name=\"id\" value=\"a&amp;b\">"
                  "<textarea name=\"message\" rows=\"8\"></textarea>"
                  "<input type=\"submit\" value=\"Send\"></form></body>");
    FakeBrowserSetScript("submit message=hello there");
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(2));
    const std::string directory = page.Address().substr(0, page.Address().find_last_of('/') + 1);
    // No such file: the control reports the address it tried.
    EXPECT_EQ(DISPID_NAVIGATEERROR, hosted.sink->events[1].id);
    EXPECT_EQ(directory + "sent.htm?id=a%26b&message=hello+there", hosted.sink->events[1].url);
}

TEST(ScriptedControl, SubmitOnAPageWithoutAFormGoesNowhere) {
    TempPage page("<body>no form here</body>");
    FakeBrowserSetScript("submit message=x");
    HostedControl hosted;
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(1));
    EXPECT_FALSE(hosted.WaitForEvents(2, 500));
    EXPECT_TRUE(FakeLogHas("Submit without a form"));
}

TEST(ScriptedControl, SlowLoadAndAPageThatNeverCompletes) {
    FakeBrowserSetScript("delay 700");
    TempPage page("<body>slow</body>");
    HostedControl hosted;
    const DWORD start = GetTickCount();
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    ASSERT_TRUE(hosted.WaitForEvents(1));
    EXPECT_GE(GetTickCount() - start, 650u);

    FakeBrowserSetScript("never");
    ASSERT_EQ(S_OK, hosted.Navigate(page.Address()));
    EXPECT_FALSE(hosted.WaitForEvents(2, 1000));
}

TEST(ScriptedControl, RefusedNavigationDoesNotStart) {
    FakeBrowserSetScript("refuse");
    HostedControl hosted;
    EXPECT_EQ(E_FAIL, hosted.Navigate("file:///C:/any.htm"));
    EXPECT_FALSE(hosted.WaitForEvents(1, 300));
}
