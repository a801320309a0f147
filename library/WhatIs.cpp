#include "WhatIs.h"

#include "LibraryLock.h"

ParamMap theWhatIsAliases;
ParamMap theWhatIsResults;

namespace {

void BuildAliases() {
    if (!theWhatIsAliases.empty())
        return;
    theWhatIsAliases["companyname"] = "p_company";
    theWhatIsAliases["softwarename"] = "p_software";
    theWhatIsAliases["currentversion"] = "p_version";
    theWhatIsAliases["computername"] = "p_computer";
    theWhatIsAliases["currentuser"] = "p_pcuser";
    theWhatIsAliases["latestversion"] = "l_latest";
    theWhatIsAliases["latestdownload"] = "l_exe_url";
    theWhatIsAliases["latestdownloadargs"] = "l_command";
}

CString Answer(const CString& name) {
    if (name == "juliantoday") {
        CString text;
        text.Format("%d", TodayDayNumber());
        return text;
    }
    auto alias = theWhatIsAliases.find(name);
    if (alias != theWhatIsAliases.end())
        return theFacts[alias->second];
    return "Error, WhatIs string unrecognized:" + name;
}

} // namespace

const char* WhatIs(const char* company, const char* software, const char* key) {
    CLibraryLock hold;
    // Nothing may escape to the caller, not even a failed allocation.
    try {
        BuildAliases();
        const CString name = SanitizeName(key);
        LoadContext(company, software, CString());
        // std::map never moves its values, so the pointer stays valid until
        // this entry is assigned again.
        CString& stored = theWhatIsResults[theContextKey + "/" + name];
        stored = Answer(name);
        return stored;
    } catch (...) {
        // As for a question whose value is missing; a constant, as there may
        // be no room for a copy.
        return "";
    }
}
