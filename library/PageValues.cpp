#include "PageValues.h"

#include "ServiceAddress.h"

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
        text.Replace("#" + entry.first + "#", entry.second);
}
