#pragma once
// The browser window's caption, derived from the address it shows.

#include "CString.h"

// The maker's site as a caption; every window shows it first.
extern const char theFirstCaption[];

// The address without its query, lower-cased and without its http:// or
// https:// part; the maker's addresses are shown under its site name, and a
// local file by its name alone.
CString CaptionFromURL(CString text);
