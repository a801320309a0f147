// The seven buttons: each calls one library function with the values the
// dialog holds and shows the call, its arguments and what it returned. The
// held values and returned texts are only ever arguments of a format.
#include "TestKorvelDlg.h"

#include "SupportLibrary.h"

namespace {

struct WhatIsLine {
    const char* label;
    const char* key;
};

const WhatIsLine kWhatIsAllLines[] = {
    {"companyname =", "companyname"},
    {"softwarename =", "softwarename"},
    {"currentversion =", "currentversion"},
    {"latestversion =", "latestversion"},
    {"currentuser =", "currentuser"},
    {"latestdownload =", "latestdownload"},
    {"latestdownloadargs =", "latestdownloadargs"},
    {"computername =", "computername"},
    {"badkey =", "badkey"},
    {"<emptykey> =", ""},
};

} // namespace

void CTestKorvelDlg::OnCheckUpdate() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    const CString latest = CheckUpdate(theDlgCompany, theDlgSoftware, theDlgVersion, theDlgOptions);
    CString text;
    text.Format("CheckUpdate(%s,%s,%s,%s) returns\r\nLatest Version: <%s>\r\n"
                "  No Window will show if up to date.",
                theDlgCompany.GetString(), theDlgSoftware.GetString(), theDlgVersion.GetString(),
                theDlgOptions.GetString(), latest.GetString());
    ShowResult(text);
}

void CTestKorvelDlg::OnAbout() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    const int result = About(theDlgCompany, theDlgSoftware, theDlgVersion);
    CString text;
    text.Format("About(%s,%s,%s) returns\r\n%d", theDlgCompany.GetString(),
                theDlgSoftware.GetString(), theDlgVersion.GetString(), result);
    ShowResult(text);
}

void CTestKorvelDlg::OnContactSupport() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    const int result = ContactSupport(theDlgCompany, theDlgSoftware, theDlgVersion);
    CString text;
    text.Format("ContactSupport(%s,%s,%s) returns\r\n%d", theDlgCompany.GetString(),
                theDlgSoftware.GetString(), theDlgVersion.GetString(), result);
    ShowResult(text);
}

void CTestKorvelDlg::OnWhatIs() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    const CString answer = WhatIs(theDlgCompany, theDlgSoftware, theDlgWhatIsKey);
    CString text;
    text.Format("WhatIs(%s,%s,%s) returns\r\n string: '%s'", theDlgCompany.GetString(),
                theDlgSoftware.GetString(), theDlgWhatIsKey.GetString(), answer.GetString());
    ShowResult(text);
}

void CTestKorvelDlg::OnWhatIsAll() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    // The names as last taken over: the edit boxes are not read here.
    ShowResult(CString("What Is All:\r\n") + ListWhatIsAll("\r\n"));
}

void CTestKorvelDlg::OnGetURL() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    int length = 0;
    const CString body = brcGetURL(theDlgURL, &length);
    ShowResult(CString("brcGetURL returns :\r\n") + body);
}

void CTestKorvelDlg::OnDisplayURL() {
    CPendingCall call(*this);
    if (!call.Started())
        return;
    SyncFields();
    const int status = DisplayURL(theDlgURL, nullptr, nullptr, 0);
    CString text;
    text.Format("DislayURL(%s) returns\r\n status: %d (0 means S_OK)", theDlgURL.GetString(),
                status);
    ShowResult(text);
}

CString CTestKorvelDlg::ListWhatIsAll(CString separator) {
    CString list;
    const size_t count = sizeof(kWhatIsAllLines) / sizeof(kWhatIsAllLines[0]);
    for (size_t i = 0; i < count; ++i) {
        list += kWhatIsAllLines[i].label;
        list += WhatIs(theDlgCompany, theDlgSoftware, kWhatIsAllLines[i].key);
        if (i + 1 < count)
            list += separator;
    }
    return list;
}
