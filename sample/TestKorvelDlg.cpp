#include "TestKorvelDlg.h"

#include "TestKorvelApp.h"

const char theSampleRegistryKey[] = "Software\\Brindlecode\\WindowsPinwheel";

namespace {

const char kDefaultCompany[] = "Me Inc";
const char kDefaultSoftware[] = "Merry Marmots";
const char kDefaultURL[] = "http://www.google.com/";

const COLORREF kTextColour = RGB(100, 55, 0);
const COLORREF kTextBackground = RGB(185, 220, 255);
const COLORREF kBackground = RGB(205, 229, 255);

} // namespace

BEGIN_MESSAGE_MAP(CTestKorvelDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_WHATIS, OnWhatIs)
ON_BN_CLICKED(IDC_CHECKUPDATE, OnCheckUpdate)
ON_BN_CLICKED(IDC_ABOUT, OnAbout)
ON_BN_CLICKED(IDC_CONTACTSUPPORT, OnContactSupport)
ON_BN_CLICKED(IDC_WHATISALL, OnWhatIsAll)
ON_BN_CLICKED(IDC_GETURL, OnGetURL)
ON_BN_CLICKED(IDC_DISPLAYURL, OnDisplayURL)
END_MESSAGE_MAP()

CTestKorvelDlg::CTestKorvelDlg(CWnd* parent)
    : CDialog(IDD, parent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)),
      m_background(::CreateSolidBrush(kBackground)) {}

void CTestKorvelDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_VERSION, m_version);
    DDX_Control(exchange, IDC_SOFTWARE, m_software);
    DDX_Control(exchange, IDC_COMPANY, m_company);
    DDX_Control(exchange, IDC_WHATISKEY, m_whatIsKey);
    DDX_Control(exchange, IDC_OPTIONS, m_options);
    DDX_Control(exchange, IDC_RESULT, m_result);
    DDX_Control(exchange, IDC_URL, m_url);
}

BOOL CTestKorvelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CString company = kDefaultCompany;
    ReadRegString(HKEY_CURRENT_USER, theSampleRegistryKey, "cn", company);
    m_company.SetWindowText(company);
    CString software = kDefaultSoftware;
    ReadRegString(HKEY_CURRENT_USER, theSampleRegistryKey, "sn", software);
    m_software.SetWindowText(software);

    m_version.SetWindowText("1.0");
    m_result.SetWindowText("Click button to test");
    m_url.SetWindowText(kDefaultURL);
    m_whatIsKey.SetWindowText("companyname");
    m_options.SetWindowText("a");
    // The held values start empty: this first call takes every edit box
    // over and stores the names, defaults included.
    SyncFields();
    return TRUE;
}

HBRUSH CTestKorvelDlg::OnCtlColor(CDC* dc, CWnd*, UINT) {
    dc->SetTextColor(kTextColour);
    dc->SetBkColor(kTextBackground);
    return m_background.Get();
}

void CTestKorvelDlg::SyncFields() {
    CString text;
    m_company.GetWindowText(text);
    if (text != theDlgCompany) {
        theDlgCompany = text;
        WriteRegString(HKEY_CURRENT_USER, theSampleRegistryKey, "cn", text);
    }
    m_software.GetWindowText(text);
    if (text != theDlgSoftware) {
        theDlgSoftware = text;
        WriteRegString(HKEY_CURRENT_USER, theSampleRegistryKey, "sn", text);
    }
    m_version.GetWindowText(theDlgVersion);
    m_whatIsKey.GetWindowText(theDlgWhatIsKey);
    m_options.GetWindowText(theDlgOptions);
    m_url.GetWindowText(theDlgURL);
}

void CTestKorvelDlg::ShowResult(CString text) {
    m_result.SetWindowText(text);
}

CPendingCall::CPendingCall(CTestKorvelDlg& dialog)
    : m_pending(dialog.m_callPending), m_started(!dialog.m_callPending) {
    m_pending = true;
}

CPendingCall::~CPendingCall() {
    if (m_started)
        m_pending = false;
}
