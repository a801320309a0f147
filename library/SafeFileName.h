#pragma once
// Whether a file name that the web service supplies may be used inside the
// update folder and the program's folder.

#include "CString.h"

// False for a name that could land anywhere but in the folder it is put in:
// one with a "\" or "/", a "..", a ":" (a drive or a file's data stream), a
// device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, CLOCK$, COM0-9, LPT0-9,
// also with an extension such as NUL.txt), or one that is empty once the
// blanks around it and the dots and blanks at its end, which Windows drops,
// are gone. Also false, in any letter case, for the update folder's own
// files: nodownload.txt, noupdate.txt, update.bat and any name ending in
// ".part".
bool IsSafeUpdateFileName(const CString& name);
