#pragma once
// The support library's public functions, for programs that link it: each
// takes the caller's company name, software name and version (or an address)
// as narrow text and returns an integer or a text the library keeps.

#include "AboutWindow.h"   // About
#include "CheckUpdate.h"   // CheckUpdate
#include "ContactWindow.h" // ContactSupport
#include "DisplayURL.h"    // DisplayURL
#include "GetURL.h"        // brcGetURL
#include "WhatIs.h"        // WhatIs
