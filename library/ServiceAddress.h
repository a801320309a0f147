#pragma once
// The maker's web service. Its address is one build-time setting: a release
// build names the maker's host, a test build a service on the loopback. The
// host name below is always the host of that same address, so the pages, the
// messages and the contact form's thank-you text all agree with it.

// "http://<host>/", the value theServiceBaseURL starts with.
extern const char theDefaultServiceBaseURL[];
// The host part of theDefaultServiceBaseURL, with its port when it has one
// ("www.brindlecode.com", or "127.0.0.1:20345" in a test build).
extern const char theServiceHostName[];
