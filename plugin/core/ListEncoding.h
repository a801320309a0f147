#pragma once
// The "%010d" list: a count of ten decimal digits, then for each item its
// length in UTF-16 units as ten digits followed by its units, with nothing
// between the fields and nothing after the last item. Every structured text
// between the plug-in and its host has this form.

#include "PluginList.h"
#include "PluginString.h"
#include "ResultList.h"

// The items are the first text (always written, empty when null) and the
// texts after it up to the first null one.
void EncodeList(CPluginString& out, const wchar_t* first, ...) __attribute__((sentinel));
// Every item of the list, zero units included.
void EncodeList(CPluginString& out, const CPluginList<CPluginString>& items);

// Replaces the items with those of the list that starts at the start
// position of the text. Never fails and never reads outside the text:
// fields that hold no number read as 0, an item cut by the end of the text
// keeps what is there, and decoding stops where the text ends, also when
// the count announces more items.
void DecodeList(BSTR text, int start, CPluginList<CPluginString>& items);

// Takes every pair out of the result list, oldest first, and writes the
// first pair of each name (names compared exactly) as a list of 2 x n items.
void EncodeResultList(CResultList& results, CPluginString& out);
