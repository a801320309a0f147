#include "ProductContext.h"

#include <windows.h>

#include <cstring>

#ifndef BRC_SERVICE_BASE_URL
#error "BRC_SERVICE_BASE_URL must name the web service's base address"
#endif

ParamMap theFacts;
ParamMap theUserValues;
int theLastStatus = 0;
CString theServiceBaseURL = BRC_SERVICE_BASE_URL;

CString theCompanyName;
CString theSoftwareName;
CString theCurrentVersion;
CString theContextKey;
CString theComputerName;
CString theUserName;
Date theToday;
char theTodayText[12] = {};
bool theMachineInfoCollected = false;

void LoadContext(CString company, CString software, CString version) {
    CollectMachineInfo();
    if (!company.IsEmpty())
        theCompanyName = company;
    if (!software.IsEmpty())
        theSoftwareName = software;
    if (!version.IsEmpty())
        theCurrentVersion = version;
    theContextKey = GetRegistryKeyPath(theCompanyName, theSoftwareName);
    CollectProductFacts(theFacts);
}

void CollectMachineInfo() {
    if (theMachineInfoCollected)
        return;
    theMachineInfoCollected = true;
    theLastStatus = 0;
    theToday = Date();
    theToday.SignedText(theTodayText);

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerSize = sizeof computer;
    theComputerName = GetComputerNameA(computer, &computerSize) ? computer : "";

    char user[501] = {};
    DWORD userSize = sizeof user;
    theUserName = GetUserNameA(user, &userSize) ? user : "";
}

void CollectProductFacts(ParamMap& record) {
    record["p_version"] = theCurrentVersion;
    record["p_software"] = theSoftwareName;
    record["p_company"] = theCompanyName;
    record["p_computer"] = theComputerName;
    record["p_pcuser"] = theUserName;
    record["p_now"] = theTodayText;
}

CString GetModuleDirectory() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    const char* lastSlash = std::strrchr(path, '\\');
    if (!lastSlash)
        return CString();
    return CString(path, static_cast<int>(lastSlash - path + 1));
}

CString SanitizeName(CString text) {
    static const char kKept[] =
        "-.QWERTYUIOPASDFGHJKLZXCVBNMqwertyuiopasdfghjklzxcvbnm1234567890";
    CString result;
    for (int i = 0; i < text.GetLength(); ++i) {
        const char c = text[i];
        if (c != '\0' && std::strchr(kKept, c))
            result += c;
    }
    return result.MakeLower();
}

CString GetRegistryKeyPath(const char* company, const char* software) {
    CString path = CString("Software\\Brindlecode\\") + SanitizeName(company);
    if (software && *software)
        path += CString("\\") + SanitizeName(software);
    return path;
}
