#pragma once
// Fetches the body behind a web address through WinINet as one piece of text,
// bypassing every cache.

#include "GetURL.h"
#include "ProductContext.h"

// Status values of HttpGet. A failed open of the address gives minus its
// Windows error code; so does a failed read of the body.
const int kHttpStatusOk = 0;
const int kHttpStatusNoInternet = -5;
const int kHttpStatusException = -8;

// Reads the whole body into out and returns 0, or returns a negative status
// and leaves out unchanged. The HTTP status code is not looked at: an error
// page is a body like any other.
int HttpGet(CString& out, CString url);

// HttpGet that also reports the response's HTTP status code (0 when the
// address gave none) for callers that must tell an error page from a reply.
int HttpGetResponse(CString& out, CString url, int* httpStatusCode);

// Runs HttpGet, leaves its status in theLastStatus and returns the body
// (empty on failure).
CString FetchURL(CString url);
