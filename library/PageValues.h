#pragma once
// Turns the product record into the values of a page and fills templates with
// them. A placeholder is a record key between hash signs ("#p_software#").

#include "ProductContext.h"

// The built-in About page: one line of HTML 4.01 Transitional.
extern const char theAboutTemplate[];
// The about text shown when the record has none.
extern const char theDefaultAboutText[];

// A copy of base with every value of primary assigned over it.
ParamMap MergeParams(ParamMap primary, ParamMap base);

// The facts over the user values, the About page's defaults for empty values
// and the computed up-to-date line under "uptodate".
ParamMap BuildPageValues(ParamMap facts, ParamMap userValues, int lastStatus);

// Replaces "#key#" by its value for every key, in key order, left to right,
// without searching an inserted value again for the same key. Values go in
// raw: the up-to-date notice carries its own markup.
void ReplacePlaceholders(CString& text, ParamMap values);
