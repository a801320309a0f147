#include "CommandInfo.h"

CPluginString LowerFirstUnit(const wchar_t* name) {
    CPluginString result(name);
    if (!result.IsEmpty()) {
        CPluginString first(result.GetAt(0));
        first.MakeLower();
        result.SetAt(0, first.GetAt(0));
    }
    return result;
}

CParameterInfo::CParameterInfo(CCommandInfo* ownerInfo, const wchar_t* parameterName,
                               const wchar_t* parameterDescription, int isFilespec,
                               int parameterKind, int defaulted, const wchar_t* defaultText,
                               const wchar_t* allowedValues)
    : owner(ownerInfo), name(LowerFirstUnit(parameterName)), description(parameterDescription),
      filespec(isFilespec), kind(parameterKind), hasDefault(defaulted), defaultValue(defaultText),
      values(allowedValues) {}

CCommandInfo::CCommandInfo(const wchar_t* commandName, const wchar_t* commandDescription)
    : name(LowerFirstUnit(commandName)), description(commandDescription) {}

CCommandInfo::~CCommandInfo() {
    while (!parameters.IsEmpty())
        delete parameters.RemoveHead();
}

const CParameterInfo* CCommandInfo::FindParameter(const CPluginString& wanted) const {
    for (POSITION position = parameters.GetHeadPosition(); position;) {
        const CParameterInfo* parameter = parameters.GetNext(position);
        if (parameter->name.CompareNoCase(wanted) == 0)
            return parameter;
    }
    return nullptr;
}
