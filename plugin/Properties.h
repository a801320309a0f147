#pragma once
// The properties the host reads and writes through Get and Set.

#include "PluginString.h"

// Every name that Get does not answer itself: a registered property (status
// 0), one of the three numbers "Plugin_Commands_Pending",
// "Plugin_Messages_Pending" and "Plugin_Window" (status = the number), or
// the default (status 1). status may be null. Each call formats into a
// string of its own, so two callers never share one mid-format.
CPluginString GetSpecialProperty(const wchar_t* name, const wchar_t* defaultValue, int* status);

// The names of the registered commands in map order, joined by ",".
void ListCommands(CPluginString& out);

// Get's answer for the name: the text and the status.
int GetProperty(const wchar_t* name, CPluginString& value);
// Set's work: 0 for "Plugin_Window" and "Plugin_Moniker", else 1.
int SetProperty(const wchar_t* name, BSTR value);

// The host window handle value as "Plugin_Window" gives it: a signed
// decimal number read as wcstol reads base 10, no digits giving 0, and a
// value beyond 32 bits the limit.
LONG ReadWindowNumber(const wchar_t* text);
