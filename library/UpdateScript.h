#pragma once
// The batch script that swaps a downloaded program in for the running one.
// The running program cannot be replaced while it runs, so the script keeps
// trying to move it aside and then moves the download into its place.

#include "CString.h"

// The script text: 13 lines, each ending in a line feed alone.
const char* UpdateScriptText();
int UpdateScriptLength();

// Creates or empties the file and writes the script in one block. A file
// that was opened but not written whole is removed again: a cut-off script
// could move the program aside and never put the new one in its place.
// Returns false when the file could not be opened or written whole.
bool WriteUpdateScript(const CString& path);
