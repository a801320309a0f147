#pragma once
// Conversions between the host's UTF-16 texts and the library's narrow ones.
// The commands pass the worker thread's ANSI code page. Buffers are on the
// heap: an argument of several megabytes must not exhaust a worker's stack.

#include <memory>
#include <string>

// Null, a text too long to convert, or a failed conversion give "".
std::string ToLibraryText(const wchar_t* text, unsigned codePage);
// Null when the text is too long or the conversion fails.
std::unique_ptr<wchar_t[]> FromLibraryText(const char* text, unsigned codePage);
