#pragma once
// The contact-support window: the web service's contact form for the
// product, waited for until the form has been sent or the window closed.

#include "ShowURLWindow.h"

// The size the next contact window opens at: the size the last one ended
// with.
extern WindowSize theContactWindowSize;

// Refreshes the product record, opens the service's contact form for the
// product and waits until the thank-you page has loaded, the user closed the
// window, an error page or navigation error came, or 1000 s passed. The
// window's result goes to theLastStatus; returns the product's integer
// service value.
int ShowContactSupport(const char* company, const char* software, const char* version);
// The public entry; the same as ShowContactSupport.
int ContactSupport(const char* company, const char* software, const char* version);
