// Built with the C form of the COM interfaces, so a fake fills only the
// function-table entries it needs, by name.
#define CINTERFACE
#include "BrowserPartsFakes.h"

#include <ole2.h>
#include <exdisp.h>
#include <mshtml.h>

namespace {

template <class Interface> struct FakeObject {
    Interface iface;
    LONG references;
    FakeBrowserState* state;
};

using FakeBrowser = FakeObject<IWebBrowser2>;
using FakeActive = FakeObject<IOleInPlaceActiveObject>;
using FakeDocument = FakeObject<IHTMLDocument2>;
using FakeElement = FakeObject<IHTMLElement>;

template <class Interface> FakeObject<Interface>* Self(Interface* iface) {
    return reinterpret_cast<FakeObject<Interface>*>(iface);
}

template <class Interface> ULONG STDMETHODCALLTYPE AddRefFake(Interface* iface) {
    ++Self(iface)->state->liveReferences;
    return static_cast<ULONG>(++Self(iface)->references);
}

template <class Interface> ULONG STDMETHODCALLTYPE ReleaseFake(Interface* iface) {
    FakeObject<Interface>* self = Self(iface);
    --self->state->liveReferences;
    const LONG left = --self->references;
    if (left == 0)
        delete self;
    return static_cast<ULONG>(left);
}

template <class Interface, class Vtbl>
Interface* MakeObject(const Vtbl* table, FakeBrowserState* state) {
    ++state->liveReferences;
    auto* object = new FakeObject<Interface>{{const_cast<Vtbl*>(table)}, 1, state};
    return &object->iface;
}

HRESULT STDMETHODCALLTYPE ActiveQueryInterface(IOleInPlaceActiveObject* iface, REFIID iid,
                                               void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
        AddRefFake(iface);
        *out = iface;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ActiveTranslateAccelerator(IOleInPlaceActiveObject* iface,
                                                     LPMSG message) {
    Self(iface)->state->translated.push_back(*message);
    return S_FALSE;
}

const IOleInPlaceActiveObjectVtbl* ActiveTable() {
    static IOleInPlaceActiveObjectVtbl table = [] {
        IOleInPlaceActiveObjectVtbl t{};
        t.QueryInterface = ActiveQueryInterface;
        t.AddRef = AddRefFake<IOleInPlaceActiveObject>;
        t.Release = ReleaseFake<IOleInPlaceActiveObject>;
        t.TranslateAccelerator = ActiveTranslateAccelerator;
        return t;
    }();
    return &table;
}

HRESULT STDMETHODCALLTYPE ElementQueryInterface(IHTMLElement* iface, REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IHTMLElement)) {
        AddRefFake(iface);
        *out = iface;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ElementOuterHtml(IHTMLElement* iface, BSTR* html) {
    *html = SysAllocString(Self(iface)->state->bodyHtml.c_str());
    return S_OK;
}

const IHTMLElementVtbl* ElementTable() {
    static IHTMLElementVtbl table = [] {
        IHTMLElementVtbl t{};
        t.QueryInterface = ElementQueryInterface;
        t.AddRef = AddRefFake<IHTMLElement>;
        t.Release = ReleaseFake<IHTMLElement>;
        t.get_outerHTML = ElementOuterHtml;
        return t;
    }();
    return &table;
}

HRESULT STDMETHODCALLTYPE DocumentQueryInterface(IHTMLDocument2* iface, REFIID iid, void** out) {
    const bool html = Self(iface)->state->document != FakeBrowserState::Document::PlainDispatch;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        (html && IsEqualIID(iid, IID_IHTMLDocument2))) {
        AddRefFake(iface);
        *out = iface;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE DocumentBody(IHTMLDocument2* iface, IHTMLElement** body) {
    FakeBrowserState* state = Self(iface)->state;
    *body = state->document == FakeBrowserState::Document::WithBody
                ? MakeObject<IHTMLElement>(ElementTable(), state)
                : nullptr;
    return S_OK;
}

const IHTMLDocument2Vtbl* DocumentTable() {
    static IHTMLDocument2Vtbl table = [] {
        IHTMLDocument2Vtbl t{};
        t.QueryInterface = DocumentQueryInterface;
        t.AddRef = AddRefFake<IHTMLDocument2>;
        t.Release = ReleaseFake<IHTMLDocument2>;
        t.get_body = DocumentBody;
        return t;
    }();
    return &table;
}

HRESULT STDMETHODCALLTYPE BrowserQueryInterface(IWebBrowser2* iface, REFIID iid, void** out) {
    FakeBrowserState* state = Self(iface)->state;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IWebBrowser2)) {
        AddRefFake(iface);
        *out = iface;
        return S_OK;
    }
    if (IsEqualIID(iid, IID_IOleInPlaceActiveObject) && state->offersActiveObject) {
        *out = MakeObject<IOleInPlaceActiveObject>(ActiveTable(), state);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE BrowserExecWB(IWebBrowser2* iface, OLECMDID command, OLECMDEXECOPT option,
                                        VARIANT* in, VARIANT* out) {
    FakeBrowserState* state = Self(iface)->state;
    state->execCommands.push_back(command);
    state->execOptions.push_back(option);
    state->execGotArguments = state->execGotArguments || in || out;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserDocument(IWebBrowser2* iface, IDispatch** document) {
    FakeBrowserState* state = Self(iface)->state;
    if (state->document == FakeBrowserState::Document::None) {
        *document = nullptr;
        return S_FALSE;
    }
    *document = reinterpret_cast<IDispatch*>(MakeObject<IHTMLDocument2>(DocumentTable(), state));
    return S_OK;
}

const IWebBrowser2Vtbl* BrowserTable() {
    static IWebBrowser2Vtbl table = [] {
        IWebBrowser2Vtbl t{};
        t.QueryInterface = BrowserQueryInterface;
        t.AddRef = AddRefFake<IWebBrowser2>;
        t.Release = ReleaseFake<IWebBrowser2>;
        t.ExecWB = BrowserExecWB;
        t.get_Document = BrowserDocument;
        return t;
    }();
    return &table;
}

} // namespace

void* NewFakeBrowser(FakeBrowserState* state) {
    return MakeObject<IWebBrowser2>(BrowserTable(), state);
}
