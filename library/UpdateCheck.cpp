#include "UpdateCheck.h"

#include "LibraryLock.h"
#include "ProductContext.h"
#include "ProductRecord.h"
#include "ServiceAddress.h"
#include "SafeFileName.h"
#include "UpdateThread.h"

#include <windows.h>

#include <string>

namespace {

const char kQuestionCaption[] = "Update?";

bool HasOption(const CString& options, char letter) {
    return options.Find(letter) >= 0;
}

CString QuestionText(const CString& software) {
    return "A newer version of " + software + " is available.\nDo you want to download the update?";
}

CString NotListedText(const CString& company, const CString& software) {
    const CString host = theServiceHostName;
    return "'" + company + "' has not listed their software '" + software + "' with " + host +
           ". \nPlease contact " + company +
           " customer support. \nListing software products is a free service of " + host + ". ";
}

// The boxes wait for the user: other threads' library calls go on meanwhile.
void ShowNotListed(const CString& company, const CString& software) {
    CLibraryUnlockForWait wait;
    MessageBoxA(nullptr, NotListedText(company, software), "Contact " + company,
                MB_OK | MB_ICONQUESTION);
}

bool UserWantsUpdate(const CString& software) {
    CLibraryUnlockForWait wait;
    return MessageBoxA(nullptr, QuestionText(software), kQuestionCaption,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

CString CheckForUpdate(const char* companyText, const char* softwareText, const char* versionText,
                       const char* optionsText) {
    // The messages name the call's own arguments, not the remembered ones.
    const CString company(companyText);
    const CString software(softwareText);
    const CString version(versionText);
    const CString options(optionsText);
    CLibraryLock hold;
    LoadContext(company, software, version);
    RefreshProductRecord();
    // Copies, taken before any box: while a box is up another library call
    // (on this thread from the caller's window, or on another thread) may
    // load another product's record or remember another version.
    const CString current = theCurrentVersion;
    // The record was not brought up to date: nothing to compare it with.
    if (theLastStatus != 0)
        return current;
    const CString latest = theFacts["l_latest"];
    const CString url = theFacts["l_exe_url"];
    const CString command = theFacts["l_command"];
    // Any other text counts as an older version, a later one too.
    if (version == latest)
        return current;
    if (latest.IsEmpty()) {
        ShowNotListed(company, software);
        return current;
    }
    const bool ask = HasOption(options, 'a') || HasOption(options, 'A');
    if (!ask || UserWantsUpdate(software)) {
        const bool downloadOnly = HasOption(options, 'n') || HasOption(options, 'N');
        StartUpdateDownload(url, command, downloadOnly ? 0 : 1);
    }
    return latest;
}

void StartUpdateDownload(CString url, CString command, int run) {
    if (url.IsEmpty())
        return;
    const CString fileName = UpdateFileName(url);
    // The name comes from the service: one that would reach outside the
    // update folder (or, swapped in, outside the program's folder) is not
    // downloaded at all.
    if (!IsSafeUpdateFileName(fileName))
        return;
    StartUpdateThread(fileName, url, command, run);
}

CString UpdateFileName(const CString& url) {
    return SplitString(url, "/").back();
}

std::vector<CString> SplitString(CString text, CString delimiter) {
    std::vector<CString> pieces;
    const std::string& whole = text.str();
    const std::string& cut = delimiter.str();
    if (cut.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (size_t at = whole.find(cut); at != std::string::npos; at = whole.find(cut, start)) {
        pieces.push_back(CString(whole.substr(start, at - start)));
        start = at + cut.size();
    }
    pieces.push_back(CString(whole.substr(start)));
    return pieces;
}
