// Sends a page's form the way a user's click on its button would, as a GET:
// enough for the forms of the local web service.
#include "FakeBrowser.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string DecodeEntities(std::string text) {
    ReplaceAll(text, "&quot;", "\"");
    ReplaceAll(text, "&#x27;", "'");
    ReplaceAll(text, "&lt;", "<");
    ReplaceAll(text, "&gt;", ">");
    ReplaceAll(text, "&amp;", "&");
    return text;
}

// The value of attribute name in tag (quoted or not), or "" when absent.
std::string Attribute(const std::string& tag, const char* name) {
    const std::string lower = Lower(tag);
    const std::string key = std::string(" ") + name + "=";
    const size_t at = lower.find(key);
    if (at == std::string::npos)
        return std::string();
    size_t start = at + key.size();
    if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) {
        const char quote = tag[start++];
        const size_t end = tag.find(quote, start);
        return DecodeEntities(tag.substr(start, end == std::string::npos ? end : end - start));
    }
    const size_t end = tag.find_first_of(" >", start);
    return DecodeEntities(tag.substr(start, end == std::string::npos ? end : end - start));
}

// Form encoding: blanks become '+', everything but letters, digits and
// "-._~" becomes %XX.
std::string FormEncoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}

// The named fields of a form, in page order.
std::vector<std::pair<std::string, std::string>> Fields(const std::string& form) {
    std::vector<std::pair<std::string, std::string>> fields;
    const std::string lower = Lower(form);
    for (size_t at = lower.find('<'); at != std::string::npos; at = lower.find('<', at + 1)) {
        const bool input = lower.compare(at, 6, "<input") == 0;
        const bool textArea = lower.compare(at, 9, "<textarea") == 0;
        if (!input && !textArea)
            continue;
        const size_t end = form.find('>', at);
        const std::string tag = form.substr(at, end == std::string::npos ? end : end - at);
        const std::string name = Attribute(tag, "name");
        if (!name.empty())
            fields.emplace_back(name, input ? Attribute(tag, "value") : std::string());
    }
    return fields;
}

std::string Resolve(const std::string& pageUrl, const std::string& action) {
    const std::string page = pageUrl.substr(0, pageUrl.find('?'));
    if (action.empty())
        return page;
    if (action.find("://") != std::string::npos)
        return action;
    const size_t hostStart = page.find("://");
    if (action[0] == '/' && hostStart != std::string::npos)
        return page.substr(0, page.find('/', hostStart + 3)) + action;
    return page.substr(0, page.find_last_of('/') + 1) + action;
}

} // namespace

bool FormSubmission(const std::string& pageUrl, const std::string& html,
                    const std::string& assignment, std::string& address) {
    const std::string lower = Lower(html);
    const size_t start = lower.find("<form");
    if (start == std::string::npos)
        return false;
    const size_t tagEnd = html.find('>', start);
    const size_t end = lower.find("</form", start);
    const std::string form = html.substr(start, end == std::string::npos ? end : end - start);
    const std::string action = Attribute(html.substr(start, tagEnd - start), "action");

    auto fields = Fields(form);
    const size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : assignment.substr(equals + 1);
    auto set = std::find_if(
        fields.begin(), fields.end(),
        [&](const std::pair<std::string, std::string>& field) { return field.first == name; });
    if (set != fields.end())
        set->second = value;
    else if (!name.empty())
        fields.emplace_back(name, value);

    std::string query;
    for (const auto& field : fields)
        query +=
            (query.empty() ? "" : "&") + FormEncoded(field.first) + "=" + FormEncoded(field.second);
    address = Resolve(pageUrl, action) + "?" + query;
    return true;
}
