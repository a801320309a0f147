#pragma once
// A small stand-in for the application framework the sample program is
// written against: an application object, modal dialogs from a template
// resource with data exchange and a message map, edit controls and device
// contexts. Only what a dialog-based program needs.

#include "AfxMessageMap.h"
#include "CString.h"

#include <windows.h>

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// Anything with a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the handler the message map (or a base class's) has for the
    // message; false when there is none or it asked for the default.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// A device context handed to a handler; it does not own the context.
class CDC {
public:
    explicit CDC(HDC dc) : m_hDC(dc) {}
    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    COLORREF SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }

    HDC m_hDC;
};

// A window handle with a message map. It does not own the window.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}

    operator HWND() const { return m_hWnd; }

    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    HICON SetIcon(HICON icon, BOOL big);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Handlers that only ask for the window's default processing.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // A handler calls it to have the message processed as if unhandled.
    void Default() { m_defaultRequested = true; }
    bool TakeDefaultRequest();

    HWND m_hWnd = nullptr;

private:
    bool m_defaultRequested = false;
};

class CEdit : public CWnd {};

// What DoDataExchange is given: the dialog, and the direction.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a control object to the dialog's control with that id.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// A modal dialog from a dialog template resource.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_templateId(templateId), m_parent(parent) {}

    INT_PTR DoModal();
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

    virtual BOOL OnInitDialog();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // A command no message map handles: OK and Cancel end the dialog.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_parent;
};

// The program: one object per process, built before the entry point runs.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's start; the entry point ends the program when it
    // returns.
    virtual BOOL InitInstance() { return TRUE; }

    // Where the framework's own profile settings would be kept.
    void SetRegistryKey(const char* key) { m_registryKey = key; }
    HICON LoadIcon(UINT id) const;
    // The sample ships no help file: asking for help shows nothing.
    void OnHelp() {}

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_registryKey;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// A dialog of this framework hosts no control of its own: the library's
// browser windows host theirs on threads of their own.
void AfxEnableControlContainer();
