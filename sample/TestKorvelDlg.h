#pragma once
// The Pinwheel dialog: edit boxes for the library's inputs, one button per
// library function, and a result box that shows what the function returned.

#include "AfxWin.h"
#include "CString.h"
#include "GdiHandle.h"
#include "resource.h"

#include <vector>

// The inputs the buttons pass to the library, as last taken over from the
// edit boxes (SyncFields).
extern CString theDlgCompany;
extern CString theDlgSoftware;
extern CString theDlgVersion;
extern CString theDlgWhatIsKey;
extern CString theDlgOptions;
extern CString theDlgURL;

// Shared by every registry read; grows for a value that does not fit and
// keeps its size.
extern std::vector<char> theRegReadBuffer;

// Where the company and software names are kept between runs.
extern const char theSampleRegistryKey[];

class CTestKorvelDlg : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    enum { IDD = IDD_TEST_DIALOG };

    explicit CTestKorvelDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);

    void OnWhatIs();
    void OnCheckUpdate();
    void OnAbout();
    void OnContactSupport();
    void OnWhatIsAll();
    void OnGetURL();
    void OnDisplayURL();

    CString ListWhatIsAll(CString separator);
    void SyncFields();
    void ShowResult(CString text);
    void ReadRegString(HKEY root, const char* subkey, const char* name, CString& value);
    void WriteRegString(HKEY root, const char* subkey, const char* name, const CString& text);

    CEdit m_version;
    CEdit m_software;
    CEdit m_company;
    CEdit m_whatIsKey;
    CEdit m_options;
    CEdit m_result;
    CEdit m_url;
    HICON m_hIcon;

private:
    // Set while a button's library call runs: a click that arrives then
    // (while an update question is up, say) is ignored, so no library call
    // starts inside another.
    bool m_callPending = false;
    // One brush for every control's background, for the dialog's life.
    CBrushHandle m_background;

    friend class CPendingCall;
};

// Marks the dialog's library call as running for its lifetime, unless one
// is already running; then Started() is false and nothing may be called.
class CPendingCall {
public:
    explicit CPendingCall(CTestKorvelDlg& dialog);
    ~CPendingCall();
    CPendingCall(const CPendingCall&) = delete;
    CPendingCall& operator=(const CPendingCall&) = delete;
    bool Started() const { return m_started; }

private:
    bool& m_pending;
    bool m_started;
};
