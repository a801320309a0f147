#pragma once
// Writes a filled-in page beside the running program.

#include "ProductContext.h"

// Fills templateText with values, writes it in text mode (line feeds become
// CR LF) to fileName in the program's directory and returns the page's
// address: "file://" and the path with forward slashes, not percent-encoded.
// A file that cannot be written still gives its address: the browser then
// shows whatever it finds there. Values that would fill the template past
// kMaxPageLength give the bounded built-in About page instead.
CString WritePageFile(CString templateText, CString fileName, ParamMap values);
