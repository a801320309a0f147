#pragma once
// The escapes the manifest writes its attribute values with, so that the
// host reads each value back unchanged.

#include "PluginString.h"

// The five XML specials as entities; every other unit from 128 up as its
// UTF-8 bytes, one unit per byte. Stops at the first zero unit; null gives
// the empty text.
CPluginString XmlEscape(const wchar_t* text);
// Letters, digits and spaces as they are; every other unit as its UTF-8
// bytes in "%xx" form. Stops at the first zero unit; null gives the empty
// text.
CPluginString PercentEncode(const wchar_t* text);
// Units 7 to 13 as "\a", "\b", "\t", "\n", "\v", "\f", "\r"; every unit of
// the string is read.
CPluginString CEscape(const CPluginString& text);
