#pragma once
// The four commands the plug-in offers: About page, contact-support page,
// update check and product information, each a call into the support
// library.

class CPluginCall;
class RegisterCommandInfo;

void DescribeCommonParameters(RegisterCommandInfo& registration);
void DescribeCheckUpdateParameters(RegisterCommandInfo& registration);
void DescribeWhatIsParameters(RegisterCommandInfo& registration);

int ExecAbout(void* aliasRecord, CPluginCall* call);
int ExecContactSupport(void* aliasRecord, CPluginCall* call);
int ExecCheckUpdate(void* aliasRecord, CPluginCall* call);
int ExecWhatIs(void* aliasRecord, CPluginCall* call);

int RunAbout(CPluginCall* call);
int RunContactSupport(CPluginCall* call);
int RunCheckUpdate(CPluginCall* call);
int RunWhatIs(CPluginCall* call);
