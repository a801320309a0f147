#include "PluginCall.h"

// Not yet: the command descriptions arrive with the registry.
const CPluginString* FindArgumentDefault(const CCommandInfo*, const CPluginString&) {
    return nullptr;
}
