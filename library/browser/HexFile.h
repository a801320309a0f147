#pragma once
// Binary data carried as hexadecimal text, and written out as a file.

#include "CString.h"

// count bytes from the text, two digits per byte, high digit first. A
// character that is not a hexadecimal digit writes "Invalid input data" to
// standard error and counts as 1. A text shorter than 2 x count writes "Bad
// Hex string length." to standard error; the bytes it has no two digits for
// stay 0, and nothing past the end of the text is read.
CString HexToBytes(const char* text, unsigned count);

// Writes the bytes of the text (an odd last digit is ignored) to the file,
// replacing it. A file that cannot be opened writes "ERROR" to standard
// output.
void WriteHexFile(const char* fileName, const char* text);
