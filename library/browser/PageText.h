#pragma once
// The HTML the browser window hands out for a loaded page.

#include <windows.h>
#include <exdisp.h>

#include "CString.h"

// The outer HTML of the current document's body, as narrow text; "" when
// there is no control, no HTML document or no body.
CString GetPageText(IWebBrowser2* control);
