#pragma once
// The Pinwheel program: one modal dialog, and the program ends when it
// closes.

#include "AfxWin.h"

class CTestKorvelApp : public CWinApp {
    DECLARE_MESSAGE_MAP()

public:
    BOOL InitInstance() override;
};

extern CTestKorvelApp theApp;
