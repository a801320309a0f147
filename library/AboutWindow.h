#pragma once
// The About window: the product's generated About page in a browser window
// that closes by itself once its time-out has run out.

#include "CString.h"
#include "ShowURLWindow.h"

// The address of the last About page written ("file://" and its path).
extern CString theAboutPageURL;
// The size the next About window opens at: the size the last one ended with.
extern WindowSize theAboutWindowSize;

// Refreshes the product record, writes about.htm beside the program, opens
// it without waiting and returns the product's integer service value.
int ShowAboutPage(const char* company, const char* software, const char* version);
// The public entry; the same as ShowAboutPage.
int About(const char* company, const char* software, const char* version);

// The About window's time-out for the record's n_aboutt text: the number
// read as atoi does, or 100 s when that is below 1.
int AboutTimeoutSeconds(const CString& text);
