#include "AfxWin.h"

INT_PTR CDialog::DoModal() {
    const HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    // Messages before WM_INITDIALOG (the font, the frame's creation) get
    // the dialog manager's own processing.
    if (!dialog)
        return FALSE;
    const INT_PTR result = dialog->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        dialog->m_hWnd = nullptr;
    return result;
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        // Answers that the dialog manager takes as the procedure's result
        // rather than from DWLP_MSGRESULT.
        if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
            message == WM_QUERYDRAGICON)
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    // Commands the dialog leaves alone go to the application, then OK and
    // Cancel end the dialog.
    if (CWinApp* app = AfxGetApp(); app && app->OnWndMsg(message, wParam, lParam, &result))
        return TRUE;
    if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        OnOK();
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}
