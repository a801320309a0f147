#include "HttpFetch.h"

#include "UniqueHandle.h"

#include <cstdlib>

namespace {

const char kUserAgent[] = "Brindlecode";
// Always from the server: no cache read, no cache write, no cookies.
const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT |
                         INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                         INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kOpenFlags == 0xA4080500, "the fetch's open flags");
const DWORD kChunkSize = 10000;

int NegatedLastError() {
    const DWORD error = GetLastError();
    return error ? -static_cast<int>(error) : kHttpStatusException;
}

int QueryStatusCode(HINTERNET request) {
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                        nullptr))
        return 0;
    return static_cast<int>(code);
}

// The length the response announced, or -1 when it announced none.
long long AnnouncedLength(HINTERNET request) {
    char text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return -1;
    char* end = nullptr;
    const long long length = std::strtoll(text, &end, 10);
    return end != text && length >= 0 ? length : -1;
}

// Appends chunk after chunk; the body reserves geometrically, so a long body
// costs amortised linear time. A failed query or read ends the loop with a
// failure: a body known to be incomplete is not handed out as whole.
int ReadBody(HINTERNET request, CString& body) {
    char chunk[kChunkSize];
    for (;;) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0))
            return NegatedLastError();
        if (available == 0)
            return kHttpStatusOk;
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, kChunkSize, &read))
            return NegatedLastError();
        if (read == 0)
            return kHttpStatusOk;
        body.Append(chunk, static_cast<int>(read));
    }
}

int OpenAndRead(HINTERNET internet, CString& out, const CString& url, int* httpStatusCode) {
    CInternetHandle request(InternetOpenUrlA(internet, url, "", 0, kOpenFlags, 0));
    if (!request)
        return NegatedLastError();
    if (httpStatusCode)
        *httpStatusCode = QueryStatusCode(request.Get());
    CString body;
    int status = ReadBody(request.Get(), body);
    // WinINet reports a connection closed before the announced end as the
    // end of the data: a cut-off body must not pass for the whole text.
    const long long announced = AnnouncedLength(request.Get());
    if (status == kHttpStatusOk && announced >= 0 && body.GetLength() < announced)
        status = -ERROR_INTERNET_CONNECTION_RESET;
    if (status == kHttpStatusOk)
        out = std::move(body);
    return status;
}

} // namespace

int HttpGetResponse(CString& out, CString url, int* httpStatusCode) {
    if (httpStatusCode)
        *httpStatusCode = 0;
    CInternetHandle internet(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0));
    if (!internet)
        return kHttpStatusNoInternet;
    try {
        return OpenAndRead(internet.Get(), out, url, httpStatusCode);
    } catch (...) {
        return kHttpStatusException;
    }
}

int HttpGet(CString& out, CString url) {
    return HttpGetResponse(out, std::move(url), nullptr);
}

CString FetchURL(CString url) {
    CString text;
    theLastStatus = HttpGet(text, std::move(url));
    return text;
}
