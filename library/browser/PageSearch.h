#pragma once
// How the browser window looks for a text in an address or a page.

#include "CString.h"

// Case-sensitive: a text counts as found only at a position greater than 0,
// so one that stands only at the very start does not count. Gives the first
// such position, or -1.
int FindText(const CString& text, const char* wanted);
bool HoldsText(const CString& text, const char* wanted);

// The texts of the control's own error pages, in the order they are looked
// for.
extern const char* const theErrorPageTexts[4];

// True when the page holds one of the error-page texts.
bool HoldsErrorPageText(const CString& pageText);
