// Loads what an address names: a file, or a page of a web service on this
// computer. Nothing else is reachable in a test run.
#include "FakeBrowser.h"

#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "UniqueHandle.h"

namespace {

// INET_E_RESOURCE_NOT_FOUND, the status the WebBrowser control reports for
// an address it cannot reach.
const long kNotFound = static_cast<long>(0x800C0005);

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string PercentDecoded(const std::string& text) {
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit((unsigned char)text[i + 1]) &&
            std::isxdigit((unsigned char)text[i + 2])) {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

LoadResult LoadFile(const std::string& url) {
    std::string path = url.substr(7);
    // file:///C:/dir/page.htm and file://C:/dir/page.htm both name C:\dir.
    if (path.size() > 2 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
    std::replace(path.begin(), path.end(), '/', '\\');
    std::ifstream file(PercentDecoded(path), std::ios::binary);
    LoadResult result;
    if (!file) {
        result.status = kNotFound;
        return result;
    }
    std::ostringstream content;
    content << file.rdbuf();
    result.loaded = true;
    result.html = content.str();
    return result;
}

LoadResult LoadLocalPage(const std::string& url) {
    LoadResult result;
    result.status = kNotFound;
    CInternetHandle session(
        InternetOpenA("FakeBrowser", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session)
        return result;
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_KEEP_CONNECTION;
    CInternetHandle request(InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0));
    if (!request)
        return result;
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       nullptr) &&
        status >= 400) {
        result.status = static_cast<long>(status);
        return result;
    }
    char buffer[8192];
    DWORD read = 0;
    while (InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0)
        result.html.append(buffer, read);
    result.loaded = true;
    result.status = 0;
    return result;
}

} // namespace

LoadResult LoadAddress(const std::string& url) {
    const std::string lower = Lower(url);
    if (StartsWith(lower, "file://"))
        return LoadFile(url);
    if (StartsWith(lower, "http://127.0.0.1:") || StartsWith(lower, "http://127.0.0.1/"))
        return LoadLocalPage(url);
    if (lower == "about:blank") {
        LoadResult blank;
        blank.loaded = true;
        blank.html = "<html><body></body></html>";
        return blank;
    }
    LoadResult unreachable;
    unreachable.status = kNotFound;
    return unreachable;
}

std::string BodyOf(const std::string& html) {
    const std::string lower = Lower(html);
    const size_t start = lower.find("<body");
    if (start == std::string::npos)
        return "<body>" + html + "</body>";
    const size_t close = lower.find("</body", start);
    if (close == std::string::npos)
        return html.substr(start) + "</body>";
    const size_t end = lower.find('>', close);
    return html.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

const char* ErrorPageAddress() {
    return "res://ieframe.dll/dnserror.htm";
}

const char* ErrorPageHtml() {
    return "<html><head><title>Cannot find server</title></head><body><h1>This page can't be "
           "displayed</h1><p>Internet Explorer cannot display the webpage</p></body></html>";
}
