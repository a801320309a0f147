#pragma once
// Resource and control identifiers of the Pinwheel dialog.

#define IDD_TEST_DIALOG 102
#define IDI_PROGRAM 102
#define IDR_MAINFRAME 130

#define IDC_CHECKUPDATE 1005
#define IDC_RESULT 1007
#define IDC_WHATIS 1008
#define IDC_ABOUT 1010
#define IDC_CONTACTSUPPORT 1011
#define IDC_WHATISALL 1012
#define IDC_DISPLAYURL 1017
#define IDC_GETURL 1018
#define IDC_COMPANY 1032
#define IDC_SOFTWARE 1033
#define IDC_VERSION 1034
#define IDC_WHATISKEY 1037
#define IDC_URL 1038
#define IDC_OPTIONS 1039

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
