// A loaded page: its document, the document's body element, and the
// objects that stand for frames in DocumentComplete.
#include "FakeBrowser.h"

namespace {

constexpr char kDocumentName[] = "IHTMLDocument2";
constexpr char kElementName[] = "IHTMLElement";
constexpr char kFrameName[] = "frame IDispatch";

// --- the body element --------------------------------------------------------

struct Element {
    ComPart<IHTMLElementVtbl, Element> element;
    LONG references;
    std::wstring outerHtml;
};

HRESULT STDMETHODCALLTYPE ElementQueryInterface(IHTMLElement* self, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, IID_IHTMLElement))
        return E_NOINTERFACE;
    *out = self;
    IHTMLElement_AddRef(self);
    return S_OK;
}

ULONG STDMETHODCALLTYPE ElementAddRef(IHTMLElement* self) {
    return static_cast<ULONG>(InterlockedIncrement(&OwnerOf<Element>(self)->references));
}

ULONG STDMETHODCALLTYPE ElementRelease(IHTMLElement* self) {
    Element* element = OwnerOf<Element>(self);
    const LONG left = InterlockedDecrement(&element->references);
    if (left == 0) {
        delete element;
        ObjectDestroyed();
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ElementGetOuterHtml(IHTMLElement* self, BSTR* html) {
    if (!html)
        return E_POINTER;
    *html = SysAllocString(OwnerOf<Element>(self)->outerHtml.c_str());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ElementGetTagName(IHTMLElement*, BSTR* name) {
    if (!name)
        return E_POINTER;
    *name = SysAllocString(L"BODY");
    return S_OK;
}

const IHTMLElementVtbl& ElementVtbl() {
    static const IHTMLElementVtbl vtbl = [] {
        IHTMLElementVtbl v;
        FillUnsupported<kElementName>(v);
        v.QueryInterface = ElementQueryInterface;
        v.AddRef = ElementAddRef;
        v.Release = ElementRelease;
        v.get_outerHTML = ElementGetOuterHtml;
        v.get_tagName = ElementGetTagName;
        return v;
    }();
    return vtbl;
}

IHTMLElement* NewElement(const std::wstring& outerHtml) {
    auto* element = new Element{{&ElementVtbl(), nullptr}, 1, outerHtml};
    element->element.owner = element;
    ObjectCreated();
    return AsInterface<IHTMLElement>(element->element);
}

// --- the document ----------------------------------------------------------------

struct Document {
    ComPart<IHTMLDocument2Vtbl, Document> document;
    LONG references;
    std::wstring url;
    std::wstring bodyHtml;
};

HRESULT STDMETHODCALLTYPE DocumentQueryInterface(IHTMLDocument2* self, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, IID_IHTMLDocument) && !IsEqualIID(iid, IID_IHTMLDocument2))
        return E_NOINTERFACE;
    *out = self;
    IHTMLDocument2_AddRef(self);
    return S_OK;
}

ULONG STDMETHODCALLTYPE DocumentAddRef(IHTMLDocument2* self) {
    return static_cast<ULONG>(InterlockedIncrement(&OwnerOf<Document>(self)->references));
}

ULONG STDMETHODCALLTYPE DocumentRelease(IHTMLDocument2* self) {
    Document* document = OwnerOf<Document>(self);
    const LONG left = InterlockedDecrement(&document->references);
    if (left == 0) {
        delete document;
        ObjectDestroyed();
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DocumentGetBody(IHTMLDocument2* self, IHTMLElement** body) {
    if (!body)
        return E_POINTER;
    *body = NewElement(OwnerOf<Document>(self)->bodyHtml);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DocumentGetUrl(IHTMLDocument2* self, BSTR* url) {
    if (!url)
        return E_POINTER;
    *url = SysAllocString(OwnerOf<Document>(self)->url.c_str());
    return S_OK;
}

const IHTMLDocument2Vtbl& DocumentVtbl() {
    static const IHTMLDocument2Vtbl vtbl = [] {
        IHTMLDocument2Vtbl v;
        FillUnsupported<kDocumentName>(v);
        v.QueryInterface = DocumentQueryInterface;
        v.AddRef = DocumentAddRef;
        v.Release = DocumentRelease;
        v.get_body = DocumentGetBody;
        v.get_URL = DocumentGetUrl;
        return v;
    }();
    return vtbl;
}

// --- a frame ---------------------------------------------------------------------

struct Frame {
    ComPart<IDispatchVtbl, Frame> dispatch;
    LONG references;
};

HRESULT STDMETHODCALLTYPE FrameQueryInterface(IDispatch* self, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch))
        return E_NOINTERFACE;
    *out = self;
    IDispatch_AddRef(self);
    return S_OK;
}

ULONG STDMETHODCALLTYPE FrameAddRef(IDispatch* self) {
    return static_cast<ULONG>(InterlockedIncrement(&OwnerOf<Frame>(self)->references));
}

ULONG STDMETHODCALLTYPE FrameRelease(IDispatch* self) {
    Frame* frame = OwnerOf<Frame>(self);
    const LONG left = InterlockedDecrement(&frame->references);
    if (left == 0) {
        delete frame;
        ObjectDestroyed();
    }
    return static_cast<ULONG>(left);
}

const IDispatchVtbl& FrameVtbl() {
    static const IDispatchVtbl vtbl = [] {
        IDispatchVtbl v;
        FillUnsupported<kFrameName>(v);
        v.QueryInterface = FrameQueryInterface;
        v.AddRef = FrameAddRef;
        v.Release = FrameRelease;
        return v;
    }();
    return vtbl;
}

} // namespace

IDispatch* NewDocument(const std::wstring& url, const std::wstring& bodyHtml) {
    auto* document = new Document{{&DocumentVtbl(), nullptr}, 1, url, bodyHtml};
    document->document.owner = document;
    ObjectCreated();
    return reinterpret_cast<IDispatch*>(&document->document);
}

IDispatch* NewFrame() {
    auto* frame = new Frame{{&FrameVtbl(), nullptr}, 1};
    frame->dispatch.owner = frame;
    ObjectCreated();
    return AsInterface<IDispatch>(frame->dispatch);
}
