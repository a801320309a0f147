#include "CommandInfo.h"
#include "PluginCall.h"

const CPluginString* FindArgumentDefault(const CCommandInfo* description,
                                         const CPluginString& name) {
    if (!description)
        return nullptr;
    const CParameterInfo* parameter = description->FindParameter(name);
    if (!parameter || parameter->kind != kParameterIn || parameter->hasDefault != 1)
        return nullptr;
    return &parameter->defaultValue;
}
