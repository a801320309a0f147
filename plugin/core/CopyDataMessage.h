#pragma once
// One record bound for the host: a whole message text for a window, or, in
// the result list of a synchronous call, one name/value pair.

#include "PluginString.h"

struct CCopyDataMessage {
    HWND window = nullptr;
    CPluginString text;
    CPluginString name;
    CPluginString value;
};
