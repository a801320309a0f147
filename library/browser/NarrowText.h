#pragma once
// UTF-16 text from the control, as narrow text in the ANSI code page.

#include <windows.h>
#include <oleauto.h>

#include "CString.h"

// The whole string by its stored length; a null BSTR gives "".
CString NarrowFromBstr(BSTR text);
