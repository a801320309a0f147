#pragma once
// The XML document that tells the host what the plug-in offers: its error
// codes with their messages and every command with its parameters. Built
// afresh from the registry on each request.

#include "CommandInfo.h"

// Replaces out with the whole document.
void BuildManifest(CPluginString& out);
// One command element: its start tag, a line per parameter, its end tag.
CPluginString WriteCommandElement(const CCommandInfo& info, int async);
// One parameter line.
CPluginString WriteParameterElement(const CParameterInfo& parameter);
