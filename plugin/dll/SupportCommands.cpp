#include "SupportCommands.h"

#include "AnsiText.h"
#include "PluginCall.h"
#include "PluginRegistry.h"

#include "AboutWindow.h"
#include "CheckUpdate.h"
#include "ContactWindow.h"
#include "LibraryLock.h"
#include "WhatIs.h"

namespace {

void AddResult(RegisterCommandInfo& registration, const wchar_t* description) {
    registration.AddParameter(L"result", description, 0, kParameterOut, 0, L"", L"");
}

void AddIn(RegisterCommandInfo& registration, const wchar_t* name, const wchar_t* description) {
    registration.AddParameter(name, description, 0, kParameterIn, 0, L"", L"");
}

void AddProduct(RegisterCommandInfo& registration) {
    AddIn(registration, L"company_name", L"The software's company name");
    AddIn(registration, L"software_name", L"The software name");
}

std::string Argument(CPluginCall* call, const wchar_t* name) {
    return ToLibraryText(call->GetArgument(name), CP_THREAD_ACP);
}

void SetResultText(CPluginCall* call, const std::string& text) {
    std::unique_ptr<wchar_t[]> wide = FromLibraryText(text.c_str(), CP_THREAD_ACP);
    call->SetResultString(L"result", wide.get());
}

} // namespace

void DescribeCommonParameters(RegisterCommandInfo& registration) {
    AddResult(registration, L"The page's result value");
    AddProduct(registration);
    AddIn(registration, L"current_version", L"The software's current version");
}

void DescribeCheckUpdateParameters(RegisterCommandInfo& registration) {
    AddResult(registration, L"software latest version");
    AddProduct(registration);
    AddIn(registration, L"current_version", L"The software's current version");
    AddIn(registration, L"update_options", L"Character flags");
}

void DescribeWhatIsParameters(RegisterCommandInfo& registration) {
    AddResult(registration, L"Information string");
    AddProduct(registration);
    AddIn(registration, L"information_query", L"Information query name");
}

int ExecAbout(void*, CPluginCall* call) {
    return RunAbout(call);
}

int ExecContactSupport(void*, CPluginCall* call) {
    return RunContactSupport(call);
}

int ExecCheckUpdate(void*, CPluginCall* call) {
    return RunCheckUpdate(call);
}

int ExecWhatIs(void*, CPluginCall* call) {
    return RunWhatIs(call);
}

int RunAbout(CPluginCall* call) {
    const std::string company = Argument(call, L"company_name");
    const std::string software = Argument(call, L"software_name");
    const std::string version = Argument(call, L"current_version");
    const int result = ShowAboutPage(company.c_str(), software.c_str(), version.c_str());
    call->SetResultInt(L"result", result);
    return 0;
}

int RunContactSupport(CPluginCall* call) {
    const std::string company = Argument(call, L"company_name");
    const std::string software = Argument(call, L"software_name");
    const std::string version = Argument(call, L"current_version");
    const int result = ShowContactSupport(company.c_str(), software.c_str(), version.c_str());
    call->SetResultInt(L"result", result);
    return 0;
}

int RunCheckUpdate(CPluginCall* call) {
    const std::string company = Argument(call, L"company_name");
    const std::string software = Argument(call, L"software_name");
    const std::string version = Argument(call, L"current_version");
    const std::string options = Argument(call, L"update_options");
    std::string latest;
    {
        // Spans the call and the copy: the next library call of any thread
        // may replace the text returned.
        CLibraryLock hold;
        latest = CheckUpdate(company.c_str(), software.c_str(), version.c_str(), options.c_str());
    }
    SetResultText(call, latest);
    return 0;
}

int RunWhatIs(CPluginCall* call) {
    const std::string company = Argument(call, L"company_name");
    const std::string software = Argument(call, L"software_name");
    const std::string query = Argument(call, L"information_query");
    std::string answer;
    {
        // Spans the call and the copy, as above.
        CLibraryLock hold;
        answer = WhatIs(company.c_str(), software.c_str(), query.c_str());
    }
    SetResultText(call, answer);
    return 0;
}
