#include "PageValues.h"

#include "ServiceAddress.h"

#include <cstring>
#include <string>

ParamMap MergeParams(ParamMap primary, ParamMap base) {
    for (const auto& entry : primary)
        base[entry.first] = entry.second;
    return base;
}

namespace {

void DefaultWhenEmpty(ParamMap& values, const char* key, const CString& fallback) {
    CString& value = values[key];
    if (value.IsEmpty())
        value = fallback;
}

CString NotListedNotice(ParamMap& values) {
    const CString host = theServiceHostName;
    return CString("<h3 style=\"color:#FF3FAA\">''") + values["p_company"] +
           "' has not listed their software '" + values["p_software"] + "' with " + host + ". " +
           "</h3>" + "<p style=\"color:#FF3FAA\">" + "Please contact " + values["p_company"] +
           " customer support. " + "<br><i>" + "Listing software products is a free service of " +
           host + ". " + "</i></p>";
}

CString Placeholder(const CString& key) {
    return "#" + key + "#";
}

// The text's length with every placeholder replaced by value, counted in 64
// bits: a 32-bit count of a page that large would wrap.
unsigned long long LengthAfterReplace(const CString& text, const CString& placeholder,
                                      const char* value) {
    const std::string& whole = text.str();
    const std::string& sought = placeholder.str();
    unsigned long long count = 0;
    for (size_t at = whole.find(sought); at != std::string::npos;
         at = whole.find(sought, at + sought.size()))
        ++count;
    // As Replace inserts it: up to the first zero byte.
    return whole.size() - count * sought.size() + count * std::strlen(value);
}

enum class PastTheBound { Stop, LeaveOut };

bool ReplaceWithin(CString& text, const ParamMap& values, PastTheBound past) {
    for (const auto& entry : values) {
        const CString placeholder = Placeholder(entry.first);
        const char* value = entry.second;
        if (LengthAfterReplace(text, placeholder, value) > kMaxPageLength) {
            if (past == PastTheBound::Stop)
                return false;
            value = "";
        }
        text.Replace(placeholder, value);
    }
    return true;
}

CString UpToDateLine(ParamMap& values, int lastStatus) {
    if (lastStatus != 0)
        return CString();
    const CString latest = values["l_latest"];
    if (latest == values["p_version"])
        return "Version is up to date.";
    if (latest.IsEmpty())
        return NotListedNotice(values);
    return "There is a more recent version, (" + latest + ")";
}

} // namespace

ParamMap BuildPageValues(ParamMap facts, ParamMap userValues, int lastStatus) {
    ParamMap values = MergeParams(std::move(facts), std::move(userValues));
    DefaultWhenEmpty(values, "n_copy", "2012");
    DefaultWhenEmpty(values, "n_aboutb", theAboutTemplate);
    DefaultWhenEmpty(values, "n_about", theDefaultAboutText);
    DefaultWhenEmpty(values, "n_abouts", "");
    DefaultWhenEmpty(values, "n_aboutt", "100");
    // l_url is read only when the help address needs it: a record without
    // l_url but with a help address keeps "#l_url#" in the page as written.
    if (values["l_help_url"].IsEmpty())
        values["l_help_url"] = values["l_url"];
    values["uptodate"] = UpToDateLine(values, lastStatus);
    return values;
}

void ReplacePlaceholders(CString& text, ParamMap values) {
    for (const auto& entry : values)
        text.Replace(Placeholder(entry.first), entry.second);
}

bool ReplacePlaceholdersWithin(CString& text, const ParamMap& values) {
    return ReplaceWithin(text, values, PastTheBound::Stop);
}

CString BoundedAboutPage(const ParamMap& values) {
    CString page = theAboutTemplate;
    ReplaceWithin(page, values, PastTheBound::LeaveOut);
    return page;
}
