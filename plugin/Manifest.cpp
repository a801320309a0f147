#include "Manifest.h"

#include "LockedWalk.h"
#include "ManifestText.h"
#include "PluginRegistry.h"
#include "Properties.h"
#include "ReturnCodes.h"

namespace {

void AppendLine(CPluginString& out, int indent, const char* text) {
    out.Append(CPluginString(L' ', indent));
    out.Append(text);
    out.Append("\n");
}

void AppendAttribute(CPluginString& out, const char* piece, const CPluginString& value) {
    out.Append(piece);
    out.Append(value);
    out.Append("\"");
}

void AppendErrorLine(CPluginString& out, int code, const wchar_t* message) {
    CPluginString line;
    line.Format(L"<error code=\"%d\" description=\"%s\"/>\n", code,
                PercentEncode(message).GetBSTR());
    out.Append(CPluginString(L' ', 6));
    out.Append(line);
}

void AppendErrors(CPluginString& out) {
    if (theErrorMap->LockedGetCount() != 0) {
        theErrorMap->Lock();
        POSITION position = theErrorMap->GetStartPosition();
        theErrorMap->Unlock();
        while (position) {
            int code = 0;
            void* text = nullptr;
            CPluginString message;
            theErrorMap->Lock();
            bool stepped = theErrorMap->GetNextAssoc(position, code, text);
            if (stepped && text)
                message = *static_cast<CPluginString*>(text);
            theErrorMap->Unlock();
            if (!stepped)
                break;
            AppendErrorLine(out, code, message.GetBSTR());
        }
    }
    for (int code = -1; code >= -6; --code)
        AppendErrorLine(out, code, ReturnCodeText(code));
}

CPluginString WriteUndescribedCommand(const CCommandEntry& entry) {
    CPluginString line(L' ', 6);
    AppendAttribute(line, "<command name=\"", XmlEscape(entry.name.GetBSTR()));
    if (entry.async)
        line.Append(" async=\"TRUE\"");
    line.Append("/>\n");
    return line;
}

void AppendCommands(CPluginString& out) {
    WalkLocked<CPluginEntryMap, CPluginString, CCommandEntry>(
        *theCommandMap, [&](const CPluginString&, const CCommandEntry& entry) {
            const CCommandInfo* info = LookupCommandInfo(MakeKey(entry.name.GetBSTR(), true));
            out.Append(info ? WriteCommandElement(*info, entry.async)
                            : WriteUndescribedCommand(entry));
        });
}

CPluginString ErrorCodes(const CPluginList<int>& errors) {
    CPluginList<int> sorted;
    for (POSITION position = errors.GetHeadPosition(); position;)
        sorted.AddTail(errors.GetNext(position));
    sorted.Sort();
    CPluginString codes;
    for (POSITION position = sorted.GetHeadPosition(); position;) {
        CPluginString code;
        code.Format(L"%d", sorted.GetNext(position));
        if (!codes.IsEmpty())
            codes.Append(",");
        codes.Append(code);
    }
    return codes;
}

// Steps 4 to 8 of a command's start tag: the optional attributes.
void AppendCommandOptions(CPluginString& out, const CCommandInfo& info) {
    if (!info.added.IsEmpty()) {
        AppendAttribute(out, " added=\"", info.added);
    } else {
        CPluginString added = LookupAddedVersion(L"Added", L"", nullptr);
        if (!added.IsEmpty())
            AppendAttribute(out, " added=\"", added);
    }
    if (!info.deprecated.IsEmpty()) {
        AppendAttribute(out, " deprecated=\"", info.deprecated);
        if (!info.replacement.IsEmpty())
            AppendAttribute(out, " replacement=\"", info.replacement);
    }
    if (info.excludedFromAs3)
        out.Append(" excludedfromas3=\"true\"");
    if (info.hidden)
        out.Append(" hidden=\"true\"");
    if (!info.errors.IsEmpty())
        AppendAttribute(out, " errors=\"", ErrorCodes(info.errors));
}

} // namespace

CPluginString WriteParameterElement(const CParameterInfo& parameter) {
    CPluginString line(L' ', 8);
    AppendAttribute(line, "<parameter name=\"", XmlEscape(parameter.name.GetBSTR()));
    AppendAttribute(line, " description=\"", PercentEncode(parameter.description.GetBSTR()));
    if (parameter.kind == kParameterIn)
        line.Append(" type=\"IN\"");
    else if (parameter.kind == kParameterOut)
        line.Append(" type=\"OUT\"");
    if (parameter.filespec)
        line.Append(" filespec=\"TRUE\"");
    if (parameter.hasDefault)
        AppendAttribute(line, " default=\"",
                        PercentEncode(CEscape(parameter.defaultValue).GetBSTR()));
    else
        line.Append(" required=\"TRUE\"");
    if (!parameter.values.IsEmpty())
        AppendAttribute(line, " values=\"", PercentEncode(CEscape(parameter.values).GetBSTR()));
    line.Append("/>\n");
    return line;
}

CPluginString WriteCommandElement(const CCommandInfo& info, int async) {
    CPluginString out(L' ', 6);
    AppendAttribute(out, "<command name=\"", XmlEscape(info.name.GetBSTR()));
    if (!info.description.IsEmpty())
        AppendAttribute(out, " description=\"", PercentEncode(info.description.GetBSTR()));
    if (async)
        out.Append(" async=\"TRUE\"");
    AppendCommandOptions(out, info);
    out.Append(">\n");
    for (POSITION position = info.parameters.GetHeadPosition(); position;)
        out.Append(WriteParameterElement(*info.parameters.GetNext(position)));
    AppendLine(out, 6, "</command>");
    return out;
}

void BuildManifest(CPluginString& out) {
    CPluginString name(GetSpecialProperty(L"Plugin_Name", L"", nullptr));
    CPluginString document;
    AppendLine(document, 0, "<SWFStudio>");
    document.Append(CPluginString(L' ', 2));
    document.Append("<");
    document.Append(name);
    document.Append(">\n");
    AppendLine(document, 4, "<errors>");
    AppendErrors(document);
    AppendLine(document, 4, "</errors>");
    AppendLine(document, 4, "<commands>");
    AppendCommands(document);
    AppendLine(document, 4, "</commands>");
    document.Append(CPluginString(L' ', 2));
    document.Append("</");
    document.Append(name);
    document.Append(">\n");
    AppendLine(document, 0, "</SWFStudio>");
    out = document;
}
