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

// The longest page text a template and its values may make. Values are
// replaced inside earlier values, so a few keys that each hold the
// placeholder of the next several times would multiply a small record into
// a page of gigabytes.
const size_t kMaxPageLength = 1024 * 1024;

// As ReplacePlaceholders, as long as the text stays within kMaxPageLength.
// False, with the text part-filled, once a key's replacement would take it
// past the bound: no key after it is replaced.
bool ReplacePlaceholdersWithin(CString& text, const ParamMap& values);

// The page for values whose own template would pass the bound: the built-in
// About template, filled as ReplacePlaceholders does, except that a key
// whose replacement would take the page past kMaxPageLength has every one
// of its placeholders removed instead.
CString BoundedAboutPage(const ParamMap& values);
