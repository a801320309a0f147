#include "AfxWin.h"

namespace {

CWinApp* theAppObject = nullptr;

} // namespace

CWinApp::CWinApp() {
    theAppObject = this;
}

CWinApp::~CWinApp() {
    if (theAppObject == this)
        theAppObject = nullptr;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(id));
}

CWinApp* AfxGetApp() {
    return theAppObject;
}

HINSTANCE AfxGetInstanceHandle() {
    return theAppObject ? theAppObject->m_hInstance : ::GetModuleHandleA(nullptr);
}

void AfxEnableControlContainer() {}

// The program's entry point: the application object exists already (a
// static object), and the program ends when InitInstance returns, for a
// dialog-based program once its dialog has closed.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    app->InitInstance();
    return 0;
}
