#pragma once
// Small stand-ins for the WebBrowser control, its document and the body
// element, recording what the code under test asks of them. They implement
// only the methods used here; BrowserPartsFakes.cpp builds their function
// tables by name from the headers' C declarations.

#include <windows.h>

#include <string>
#include <vector>

struct FakeBrowserState {
    // ExecWB calls: command id and option, and whether any argument was given.
    std::vector<long> execCommands;
    std::vector<long> execOptions;
    bool execGotArguments = false;
    // Messages handed to IOleInPlaceActiveObject::TranslateAccelerator.
    std::vector<MSG> translated;
    bool offersActiveObject = true;

    enum class Document { None, PlainDispatch, WithoutBody, WithBody };
    Document document = Document::None;
    std::wstring bodyHtml;

    // References held on every fake object made from this state.
    long liveReferences = 0;
};

// A new fake control holding one reference, as an IWebBrowser2.
void* NewFakeBrowser(FakeBrowserState* state);

#ifndef CINTERFACE
#include <exdisp.h>
inline IWebBrowser2* MakeFakeBrowser(FakeBrowserState* state) {
    return static_cast<IWebBrowser2*>(NewFakeBrowser(state));
}
#endif
