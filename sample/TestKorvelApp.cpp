#include "TestKorvelApp.h"

#include "TestKorvelDlg.h"

#include <commctrl.h>

// Built before the entry point runs, in this order.
CTestKorvelApp theApp;
std::vector<char> theRegReadBuffer(2000 + 1);
CString theDlgCompany;
CString theDlgSoftware;
CString theDlgVersion;
CString theDlgWhatIsKey;
CString theDlgOptions;
CString theDlgURL;

BEGIN_MESSAGE_MAP(CTestKorvelApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CTestKorvelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey("Local AppWizard-Generated Applications");

    CTestKorvelDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The dialog has closed: end the program.
    return FALSE;
}
