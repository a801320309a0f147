#include "EditingKeys.h"

#include <ole2.h>

#include "ComPtr.h"

namespace {

struct KeyCommand {
    WPARAM character; // the control character the key produces
    OLECMDID command;
};

const KeyCommand kKeyCommands[] = {
    {1, OLECMDID_SELECTALL},     // Ctrl+A
    {3, OLECMDID_COPY},          // Ctrl+C
    {6, OLECMDID_FIND},          // Ctrl+F
    {16, OLECMDID_PRINTPREVIEW}, // Ctrl+P: a preview, not straight to the printer
    {19, OLECMDID_SAVEAS},       // Ctrl+S
    {22, OLECMDID_PASTE},        // Ctrl+V
    {24, OLECMDID_CUT},          // Ctrl+X
    {26, OLECMDID_UNDO},         // Ctrl+Z
};

const KeyCommand* FindKeyCommand(WPARAM character) {
    for (const KeyCommand& key : kKeyCommands) {
        if (key.character == character)
            return &key;
    }
    return nullptr;
}

} // namespace

BOOL HandleBrowserKey(MSG* message, IWebBrowser2* control) {
    // Before the control is attached there is nothing to hand keys to.
    if (!message || message->message != WM_CHAR || !control)
        return FALSE;
    if (const KeyCommand* key = FindKeyCommand(message->wParam)) {
        control->ExecWB(key->command, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, nullptr);
        return FALSE;
    }
    CComPtr<IOleInPlaceActiveObject> active;
    if (SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(active.ReleaseAndGetAddressOf()))) && active)
        active->TranslateAccelerator(message);
    return FALSE;
}
