#include "ProductRecord.h"

#include "HttpFetch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

const char* const theServiceKeys[] = {
    "l_command", "l_exe_url", "l_help_url", "l_latest", "l_url",    "n_about",
    "n_aboutb",  "n_abouts",  "n_aboutt",   "n_copy",   "n_result", "p_softwareid",
};
const int theServiceKeyCount = sizeof theServiceKeys / sizeof theServiceKeys[0];

namespace {

const char kRecordPath[] = "product.php";
// Constant text, not a string built at start-up: an exchange given up on
// still compares against it on its own thread while the program's exit runs
// the destructors of static objects.
constexpr std::string_view kHeaderLine = "brindlecode-record 1";
const char kEndLine[] = "end";
const int kHttpOk = 200;

std::atomic<DWORD> theExchangeLimit{kRecordExchangeLimitMs};

bool StartsAs(std::string_view start, std::string_view line) {
    const size_t length = std::min(start.size(), line.size());
    return start.substr(0, length) == line.substr(0, length);
}

// An HTML page or any other text is known not to be a record from its first
// bytes; there is no need to wait for the rest of it.
bool MayBeRecord(const std::string& start) {
    const std::string_view text(start);
    if (!StartsAs(text, kHeaderLine))
        return false;
    const std::string_view rest = text.substr(std::min(text.size(), kHeaderLine.size()));
    return StartsAs(rest, "\n") || StartsAs(rest, "\r\n");
}

CString PercentEncode(const CString& text) {
    static const char kHex[] = "0123456789ABCDEF";
    CString encoded;
    for (unsigned char c : text.str()) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}

bool IsServiceKey(const std::string& key) {
    for (int i = 0; i < theServiceKeyCount; ++i)
        if (key == theServiceKeys[i])
            return true;
    return false;
}

bool Unescape(const std::string& raw, std::string& value) {
    value.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\0')
            return false;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == raw.size())
            return false;
        switch (raw[i]) {
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case '\\':
            value += '\\';
            break;
        default:
            return false;
        }
    }
    return true;
}

void ReadValueLine(const std::string& line, ParamMap& values) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0)
        return;
    const std::string key = line.substr(0, equals);
    std::string value;
    if (!IsServiceKey(key) || !Unescape(line.substr(equals + 1), value))
        return;
    values[CString(key)] = CString(value);
}

// Every key is made present first, which may allocate; moving the texts in
// afterwards cannot fail, so the record never holds half a refresh.
void AssignServiceKeys(ParamMap& values) {
    std::vector<std::pair<CString*, CString*>> moves;
    for (int i = 0; i < theServiceKeyCount; ++i)
        moves.emplace_back(&theFacts[theServiceKeys[i]], &values[theServiceKeys[i]]);
    for (auto& move : moves)
        *move.first = std::move(*move.second);
}

int Exchange(ParamMap& values) {
    const CString url = GetProductRecordURL(theCompanyName, theSoftwareName, theCurrentVersion);
    CString reply;
    int httpStatusCode = 0;
    const CFetchBounds bounds = {kRecordReplyLimit, theExchangeLimit, MayBeRecord};
    const int status = HttpGetBounded(reply, url, &httpStatusCode, bounds);
    if (status != kHttpStatusOk && status != kHttpStatusRefused)
        return status;
    if (httpStatusCode != kHttpOk)
        return httpStatusCode ? httpStatusCode : kRecordStatusUnreadable;
    if (status == kHttpStatusRefused || !ParseProductRecord(reply, values))
        return kRecordStatusUnreadable;
    return kHttpStatusOk;
}

} // namespace

CString GetProductRecordURL(const CString& company, const CString& software,
                            const CString& version) {
    return theServiceBaseURL + kRecordPath + "?company=" + PercentEncode(company) +
           "&software=" + PercentEncode(software) + "&version=" + PercentEncode(version);
}

bool ParseProductRecord(const CString& reply, ParamMap& values) {
    const std::string& text = reply.str();
    bool headerSeen = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!headerSeen) {
            if (line != kHeaderLine)
                return false;
            headerSeen = true;
        } else if (line == kEndLine) {
            return true;
        } else {
            ReadValueLine(line, values);
        }
    }
    return false;
}

void RefreshProductRecord() {
    int status = kHttpStatusException;
    try {
        ParamMap values;
        status = Exchange(values);
        if (status == kHttpStatusOk)
            AssignServiceKeys(values);
    } catch (...) {
        status = kHttpStatusException;
    }
    theLastStatus = status;
}

int ServiceResultValue() {
    return std::atoi(theFacts["n_result"].GetString());
}

void SetRecordExchangeLimit(DWORD milliseconds) {
    theExchangeLimit = milliseconds;
}
