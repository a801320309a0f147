#pragma once
// Public library function: the text behind a web address.

// Fetches the address and returns its body as text owned by the library,
// valid until the next call. Zero bytes in the body stay in it; when length
// is not null it receives the body's length in bytes. On failure the text is
// empty, the length 0, and the (negative) status is left in theLastStatus.
const char* brcGetURL(const char* url, int* length);
