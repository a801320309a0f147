#pragma once
// Inside the scripted WebBrowser control. Built with the C form of the COM
// interfaces: an object is a set of parts, each a vtable pointer and its
// owner, so the large interfaces need only the methods the browser window
// uses; any other slot ends the process with a message naming it.

#define CINTERFACE
#define COBJMACROS
#define CONST_VTABLE
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

template <class Vtbl, class Owner> struct ComPart {
    const Vtbl* lpVtbl;
    Owner* owner;
};

template <class Owner, class Interface> Owner* OwnerOf(Interface* part) {
    return reinterpret_cast<ComPart<void, Owner>*>(part)->owner;
}

template <class Interface, class Part> Interface* AsInterface(Part& part) {
    return reinterpret_cast<Interface*>(&part);
}

// --- unsupported slots -----------------------------------------------------

[[noreturn]] void FailUnsupported(const char* interfaceName, int slot);

template <const char* Name, int Slot> HRESULT STDMETHODCALLTYPE UnsupportedSlot() {
    FailUnsupported(Name, Slot);
}

template <const char* Name, size_t... Slots>
void FillSlots(void** slots, std::index_sequence<Slots...>) {
    void* const table[] = {reinterpret_cast<void*>(&UnsupportedSlot<Name, Slots>)...};
    for (size_t i = 0; i < sizeof...(Slots); ++i)
        slots[i] = table[i];
}

// Every slot of vtbl ends the process until a real method is put there.
template <const char* Name, class Vtbl> void FillUnsupported(Vtbl& vtbl) {
    constexpr size_t count = sizeof(Vtbl) / sizeof(void*);
    FillSlots<Name>(reinterpret_cast<void**>(&vtbl), std::make_index_sequence<count>{});
}

// --- the script, the log and the object count --------------------------------

struct Script {
    bool refuse = false;
    bool never = false;
    bool stall = false;
    bool close = false;
    bool offline = false;
    bool real = false;
    DWORD delay = 0;
    long errorCode = 0;
    std::vector<std::string> frames;
};

Script CurrentScript();
// What the control does after a top-level completion: navigate on to an
// address (follow), or send the page's form with one field set (submit).
struct NextStep {
    bool submit = false;
    std::string argument;
};
// The next step, once.
bool TakeNextStep(NextStep& step);
void Log(const std::string& line);
void ObjectCreated();
void ObjectDestroyed();
HINSTANCE ModuleInstance();

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text);

// --- loading -------------------------------------------------------------------

struct LoadResult {
    bool loaded = false;
    long status = 0; // NavigateError's status code when not loaded
    std::string html;
};

LoadResult LoadAddress(const std::string& url);
// The body element's HTML, its own tags included.
std::string BodyOf(const std::string& html);
// The address that sends the first form of a page loaded from pageUrl: its
// action (relative to the page) with its named fields as a query, where
// assignment ("NAME=VALUE") sets one field. False when there is no form.
bool FormSubmission(const std::string& pageUrl, const std::string& html,
                    const std::string& assignment, std::string& address);
// The page the control shows after a navigation error.
const char* ErrorPageAddress();
const char* ErrorPageHtml();

// --- objects ---------------------------------------------------------------------

IDispatch* NewDocument(const std::wstring& url, const std::wstring& bodyHtml);
IDispatch* NewFrame();
HRESULT CreateControl(REFIID iid, void** out);
HRESULT WebBrowserTypeInfo(REFGUID guid, ITypeInfo** info);
