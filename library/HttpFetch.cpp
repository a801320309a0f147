#include "HttpFetch.h"

#include "UniqueHandle.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

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

// The body grows by reading each chunk straight into its own storage. An
// announced length is reserved once, up to a cap: a server that announces
// more than it sends must not make one huge allocation fail, and past the
// cap the string grows geometrically. The extra chunk leaves room for the
// last read, so a truthful length never makes the body move.
const long long kReserveCap = 64LL << 20;

// What a read loop stops at; the plain fetch has none of these.
struct CReadLimits {
    size_t maxBytes = static_cast<size_t>(-1);
    ULONGLONG deadline = 0;
    bool (*mayBeWanted)(const std::string&) = nullptr;
};

std::atomic<DWORD> theConnectTimeout{kFetchTimeouts.connect};
std::atomic<DWORD> theSendTimeout{kFetchTimeouts.send};
std::atomic<DWORD> theReceiveTimeout{kFetchTimeouts.receive};

DWORD AtMost(DWORD milliseconds, ULONGLONG limit) {
    return limit < milliseconds ? static_cast<DWORD>(limit) : milliseconds;
}

// A setting that WinINet refuses leaves that step to its default; the fetch
// goes on all the same.
void SetTimeouts(HINTERNET internet, DWORD totalMs) {
    const DWORD settings[][2] = {
        {INTERNET_OPTION_CONNECT_TIMEOUT, AtMost(theConnectTimeout, totalMs)},
        {INTERNET_OPTION_SEND_TIMEOUT, AtMost(theSendTimeout, totalMs)},
        {INTERNET_OPTION_RECEIVE_TIMEOUT, AtMost(theReceiveTimeout, totalMs)},
    };
    for (const auto& setting : settings) {
        DWORD value = setting[1];
        InternetSetOptionA(internet, setting[0], &value, sizeof value);
    }
}

// Shortens the wait for the next piece to what is left before the deadline;
// false once nothing is left.
bool ReceiveBeforeDeadline(HINTERNET request, ULONGLONG deadline) {
    if (!deadline)
        return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return false;
    DWORD wait = AtMost(theReceiveTimeout, deadline - now);
    InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &wait, sizeof wait);
    return true;
}

int ReadChunk(HINTERNET request, std::string& body, DWORD want, DWORD& read) {
    const size_t size = body.size();
    body.resize(size + want);
    read = 0;
    const BOOL ok = InternetReadFile(request, &body[size], want, &read);
    const int status = ok ? kHttpStatusOk : NegatedLastError();
    body.resize(size + (ok ? read : 0));
    return status;
}

// A failed query or read ends the loop with a failure: a body known to be
// incomplete is not handed out as whole.
int ReadBody(HINTERNET request, std::string& body, const CReadLimits& limits) {
    for (;;) {
        if (!ReceiveBeforeDeadline(request, limits.deadline))
            return -ERROR_INTERNET_TIMEOUT;
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0))
            return NegatedLastError();
        if (available == 0)
            return kHttpStatusOk;
        // More is there than may be read.
        if (body.size() >= limits.maxBytes)
            return kHttpStatusRefused;
        // A read waits until its whole size has arrived: under a deadline it
        // asks only for what is there, so a reply trickling in cannot hold it.
        DWORD want = limits.deadline && available < kChunkSize ? available : kChunkSize;
        if (want > limits.maxBytes - body.size())
            want = static_cast<DWORD>(limits.maxBytes - body.size());
        DWORD read = 0;
        const int status = ReadChunk(request, body, want, read);
        if (status != kHttpStatusOk || read == 0)
            return status;
        if (limits.mayBeWanted && !limits.mayBeWanted(body))
            return kHttpStatusRefused;
    }
}

void ReserveBody(std::string& body, long long announced, size_t maxBytes) {
    if (announced <= 0)
        return;
    long long room = announced < kReserveCap ? announced : kReserveCap;
    if (static_cast<unsigned long long>(room) > maxBytes)
        room = static_cast<long long>(maxBytes);
    body.reserve(static_cast<size_t>(room) + kChunkSize);
}

int ReadResponse(HINTERNET request, CString& out, int* httpStatusCode, const CReadLimits& limits) {
    if (httpStatusCode)
        *httpStatusCode = QueryStatusCode(request);
    const long long announced = AnnouncedLength(request);
    std::string body;
    ReserveBody(body, announced, limits.maxBytes);
    int status = ReadBody(request, body, limits);
    // WinINet reports a connection closed before the announced end as the
    // end of the data: a cut-off body must not pass for the whole text.
    if (status == kHttpStatusOk && announced >= 0 &&
        static_cast<long long>(body.size()) < announced)
        status = -ERROR_INTERNET_CONNECTION_RESET;
    if (status == kHttpStatusOk)
        out = CString(std::move(body));
    return status;
}

int OpenAndRead(HINTERNET internet, CString& out, const CString& url, int* httpStatusCode) {
    CInternetHandle request(InternetOpenUrlA(internet, url, "", 0, kOpenFlags, 0));
    if (!request)
        return NegatedLastError();
    return ReadResponse(request.Get(), out, httpStatusCode, CReadLimits());
}

// The bounded fetch's own record, shared by its caller and its thread: a
// caller whose time is up leaves it to the thread.
struct CBoundedJob {
    CString url;
    CReadLimits limits;
    DWORD totalMs = 0;
    CString body;
    int httpStatusCode = 0;
    int status = kHttpStatusException;
    CHandle done;
    CModuleReference codeModule;
};

// Signals the result before the handles close: closing a request may first
// read what is left of its reply, however long that is.
void RunBoundedJob(CBoundedJob& job) {
    CInternetHandle internet(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0));
    if (!internet) {
        job.status = kHttpStatusNoInternet;
        return;
    }
    SetTimeouts(internet.Get(), job.totalMs);
    CInternetHandle request(InternetOpenUrlA(internet.Get(), job.url, "", 0, kOpenFlags, 0));
    if (!request) {
        job.status = NegatedLastError();
        return;
    }
    job.status = ReadResponse(request.Get(), job.body, &job.httpStatusCode, job.limits);
    SetEvent(job.done);
}

DWORD WINAPI BoundedFetchThread(LPVOID param) {
    std::unique_ptr<std::shared_ptr<CBoundedJob>> owner(
        static_cast<std::shared_ptr<CBoundedJob>*>(param));
    CBoundedJob& job = **owner;
    try {
        RunBoundedJob(job);
    } catch (...) {
        job.status = kHttpStatusException;
    }
    SetEvent(job.done);
    HMODULE module = job.codeModule.Detach();
    owner.reset();
    // Drops the thread's module reference only once none of its code is
    // left to run.
    FreeLibraryAndExitThread(module, 0);
}

bool StartBoundedJob(const std::shared_ptr<CBoundedJob>& job) {
    job->done.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    job->codeModule = ReferenceModuleAt(reinterpret_cast<const void*>(&BoundedFetchThread));
    if (!job->done || !job->codeModule)
        return false;
    std::unique_ptr<std::shared_ptr<CBoundedJob>> param(new std::shared_ptr<CBoundedJob>(job));
    CHandle thread(CreateThread(nullptr, 0, BoundedFetchThread, param.get(), 0, nullptr));
    if (!thread)
        return false;
    param.release();
    return true;
}

} // namespace

void SetFetchTimeouts(const CFetchTimeouts& timeouts) {
    theConnectTimeout = timeouts.connect;
    theSendTimeout = timeouts.send;
    theReceiveTimeout = timeouts.receive;
}

int HttpGetResponse(CString& out, CString url, int* httpStatusCode) {
    if (httpStatusCode)
        *httpStatusCode = 0;
    CInternetHandle internet(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0));
    if (!internet)
        return kHttpStatusNoInternet;
    SetTimeouts(internet.Get(), INFINITE);
    try {
        return OpenAndRead(internet.Get(), out, url, httpStatusCode);
    } catch (...) {
        return kHttpStatusException;
    }
}

// Some WinINet (Wine's) honour no receive time-out at all, so the fetch runs
// on a thread of its own, and the caller waits for it no longer than its
// bound.
int HttpGetBounded(CString& out, CString url, int* httpStatusCode, const CFetchBounds& bounds) {
    if (httpStatusCode)
        *httpStatusCode = 0;
    try {
        std::shared_ptr<CBoundedJob> job = std::make_shared<CBoundedJob>();
        job->url = std::move(url);
        job->totalMs = bounds.totalMs;
        job->limits.maxBytes = static_cast<size_t>(bounds.maxBytes > 0 ? bounds.maxBytes : 0);
        job->limits.deadline = GetTickCount64() + bounds.totalMs;
        job->limits.mayBeWanted = bounds.mayBeWanted;
        if (!StartBoundedJob(job))
            return kHttpStatusException;
        // Until the reply is in or the bound has passed; a fetch still
        // running then ends on its thread, which owns what it uses.
        if (WaitForSingleObject(job->done, bounds.totalMs) != WAIT_OBJECT_0)
            return -ERROR_INTERNET_TIMEOUT;
        if (httpStatusCode)
            *httpStatusCode = job->httpStatusCode;
        if (job->status == kHttpStatusOk)
            out = std::move(job->body);
        return job->status;
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
