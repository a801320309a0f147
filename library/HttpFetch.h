#pragma once
// Fetches the body behind a web address through WinINet as one piece of text,
// bypassing every cache.

#include "GetURL.h"
#include "ProductContext.h"

#include <windows.h>

#include <string>

// Status values of HttpGet. A failed open of the address gives minus its
// Windows error code; so does a failed read of the body.
const int kHttpStatusOk = 0;
const int kHttpStatusNoInternet = -5;
const int kHttpStatusException = -8;
// A bounded fetch whose body broke its bounds (too long, or not the kind of
// reply asked for); see CFetchBounds.
const int kHttpStatusRefused = -9;

// The fetch's time-outs in milliseconds: connecting, sending the request and
// waiting for each piece of the reply. They are set on every fetch, because
// WinINet's defaults differ from one system to another, and some have none.
struct CFetchTimeouts {
    DWORD connect;
    DWORD send;
    DWORD receive;
};
const CFetchTimeouts kFetchTimeouts = {60000, 30000, 30000};
// Sets them for the fetches that start from now on.
void SetFetchTimeouts(const CFetchTimeouts& timeouts);

// Reads the whole body into out and returns 0, or returns a negative status
// and leaves out unchanged. The HTTP status code is not looked at: an error
// page is a body like any other.
int HttpGet(CString& out, CString url);

// HttpGet that also reports the response's HTTP status code (0 when the
// address gave none) for callers that must tell an error page from a reply.
int HttpGetResponse(CString& out, CString url, int* httpStatusCode);

// Bounds of a fetch whose reply must be short and come soon.
struct CFetchBounds {
    // The most bytes of body it reads; a longer body is refused.
    int maxBytes;
    // The whole fetch ends within this many milliseconds, whatever the
    // time-outs allow each step: a reply trickling in cannot hold it.
    DWORD totalMs;
    // Tells whether a body beginning with these bytes (all that has arrived)
    // can still be the reply asked for; reading stops once it cannot.
    bool (*mayBeWanted)(const std::string& start);
};

// HttpGetResponse within bounds, run on a thread of its own that the caller
// leaves behind when totalMs has passed: kHttpStatusRefused when the body
// broke maxBytes or mayBeWanted, minus ERROR_INTERNET_TIMEOUT when totalMs
// ran out.
int HttpGetBounded(CString& out, CString url, int* httpStatusCode, const CFetchBounds& bounds);

// Runs HttpGet, leaves its status in theLastStatus and returns the body
// (empty on failure).
CString FetchURL(CString url);
