#pragma once
// The scripted WebBrowser control's test interface. The control is an
// in-process COM server registered for the test run in place of the
// WebBrowser control, so a browser window creates it like the real one.
// Tests script it through these exports; the script is process-wide and
// applies to every control of the process from its next navigation on.
//
// Script: directives separated by new lines or ';':
//   refuse       Navigate fails (E_FAIL): the navigation does not start
//   never        navigations are accepted but never complete
//   delay MS     a navigation completes MS milliseconds after it started
//   offline      get_Offline reports VARIANT_TRUE
//   frame URL    before each top-level completion a frame at URL completes
//   stall        a navigation's frames complete, its top-level document
//                never does
//   close        Navigate posts WM_CLOSE to the window around the control,
//                as a user closing it at once would
//   error CODE   every navigation reports NavigateError with status CODE,
//                then shows the error page (unless the sink cancels)
//   follow URL   after a top-level completion the control navigates on to
//                URL
//   submit F=V   after a top-level completion the control sends the page's
//                first form as a GET of its action, with the form's named
//                fields and field F set to V ("Submit without a form" in
//                the log when the page has none)
//                follows and submits are used once each, in order
//   real         new controls are Wine's own WebBrowser control
// A process that does not call FakeBrowserSetScript (a program a test
// starts) takes its script from the environment variable
// BRC_FAKEBROWSER_SCRIPT.
// Without a script, file:// and http://127.0.0.1 addresses load and
// complete; an address that cannot load reports NavigateError and shows an
// error page holding "cannot display the webpage".

// Replaces the script and clears the call log.
extern "C" void FakeBrowserSetScript(const char* script);
// Copies the call log (one line per call, e.g. "Navigate file:///C:/a.htm",
// "Stop", "Quit", "ExecWB 12 2", "TranslateAccelerator 258 2", and
// "ViewChar 3" for a WM_CHAR that reached the control's page area) into
// buffer and returns its full length.
extern "C" int FakeBrowserGetLog(char* buffer, int size);
// Controls, documents, elements and frames of the scripted control alive
// now.
extern "C" long FakeBrowserLiveObjects();
// Called on the thread that creates a scripted control, as it is created,
// so a test can watch that thread (a message hook) from its very start.
// Null stops the calls.
typedef void(__stdcall* FakeBrowserCreateCallback)();
extern "C" void FakeBrowserSetCreateCallback(FakeBrowserCreateCallback callback);
