// What the plug-in declares: its properties, then each command's description
// followed by the command. These objects are built before every other static
// object of the module (the message dispatcher and the running-thread map
// among them) and so destroyed after them; the first one creates the shared
// maps and the last one to go frees them.
#include "PluginRegistry.h"
#include "SupportCommands.h"

#define BRC_REGISTRATION __attribute__((init_priority(1000)))

namespace {

BRC_REGISTRATION RegisterProperty theName(L"Plugin_Name", L"BrindlecodeFlash");
BRC_REGISTRATION RegisterProperty theVersion(L"Plugin_Version", L"02.00.2");
BRC_REGISTRATION RegisterProperty theAuthor(L"Plugin_Author", L"Brindlecode");
BRC_REGISTRATION RegisterProperty
    theDescription(L"Plugin_Description",
                   L"Provides utility functions for Flash programs: the About and contact-support "
                   L"pages, the update check and product information.");

BRC_REGISTRATION RegisterCommandInfo theAboutInfo(L"brcAbout", DescribeCommonParameters,
                                                  L"Display About screen with help/support links.");
BRC_REGISTRATION RegisterCommand theAbout(L"brcAbout", ExecAbout, 0);

BRC_REGISTRATION RegisterCommandInfo
    theContactSupportInfo(L"brcContactSupport", DescribeCommonParameters,
                          L"Display the page for contacting the software's support.");
BRC_REGISTRATION RegisterCommand theContactSupport(L"brcContactSupport", ExecContactSupport, 0);

BRC_REGISTRATION RegisterCommandInfo theCheckUpdateInfo(L"brcCheckUpdate",
                                                        DescribeCheckUpdateParameters,
                                                        L"Check for software version update.");
BRC_REGISTRATION RegisterCommand theCheckUpdate(L"brcCheckUpdate", ExecCheckUpdate, 0);

BRC_REGISTRATION RegisterCommandInfo
    theWhatIsInfo(L"brcWhatIs", DescribeWhatIsParameters,
                  L"Return a piece of information about the software or the computer.");
BRC_REGISTRATION RegisterCommand theWhatIs(L"brcWhatIs", ExecWhatIs, 0);

} // namespace
