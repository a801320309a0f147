#pragma once
// Runs CheckUpdate in the child program against the local web service and
// answers its message boxes. A box is looked for among the child's own
// windows, so that another test's box of the same caption is never taken.

#include "ChildJob.h"
#include "ServiceCounts.h"
#include "UpdateScenario.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CheckScenario : public UpdateScenario {
protected:
    // Starts the child; it runs the check count times in a row.
    void StartCheck(const std::string& company, const std::string& software,
                    const std::string& version, const std::string& options, int count = 1);
    // The child's message box with this caption once it shows, or null.
    HWND WaitForBox(const char* caption) const;
    // Waits for the child and all it started to end. A message box of the
    // child meanwhile fails the test, and the child is ended.
    void FinishCheck();
    // Starts the check and finishes it with no box expected.
    void RunCheck(const std::string& company, const std::string& software,
                  const std::string& version, const std::string& options, int count = 1);

    // CheckUpdate's results in the child, in call order.
    std::vector<std::string> Results() const;

private:
    std::unique_ptr<CChildJob> m_child;
};

// A visible message box of the process with this caption (any caption when
// null), or null.
HWND FindBoxOf(DWORD processId, const char* caption);
// Waits for such a box while running() holds, for a generous time.
HWND WaitForBoxOf(DWORD processId, const char* caption, const std::function<bool()>& running);

// The message box's text, its buttons' pressing, and which buttons it has.
std::string BoxText(HWND box);
void PressButton(HWND box, int button);
bool HasButton(HWND box, int button);

// The service's host as the library names it in its messages.
std::string ServiceHost();
