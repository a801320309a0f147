#pragma once
// Runs a test's child program inside a job object, so that the child and
// every process it starts (a downloaded program, a script's interpreter)
// can be waited for and never outlive the test.

#include "UniqueHandle.h"

#include <string>
#include <vector>

class CChildJob {
public:
    CChildJob();
    // Ends whatever still runs in the job and waits until it has ended.
    ~CChildJob();
    CChildJob(const CChildJob&) = delete;
    CChildJob& operator=(const CChildJob&) = delete;

    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& directory);
    // Waits until the child and everything it started have ended; ends them
    // all when the time runs out. True when they ended by themselves.
    bool WaitForAll(DWORD timeout);
    DWORD ExitCode() const;
    // Whether the child or anything it started still runs.
    bool Running() const { return ActiveProcesses() > 0; }
    DWORD ProcessId() const { return m_processId; }
    // The processes that still run in the job, by name, and the child's exit
    // code: what a failure message needs when the job does not end.
    std::string Describe() const;
    // Why Start failed.
    const std::string& StartError() const { return m_startError; }
    // Describe() as it was when WaitForAll ran out of time.
    const std::string& AtTimeOut() const { return m_atTimeOut; }

    // Ends the child and all it started, and waits for their end.
    void EndAll();

private:
    int ActiveProcesses() const;

    CHandle m_job;
    CHandle m_process;
    DWORD m_processId = 0;
    std::string m_atTimeOut;
    std::string m_startError;
};

// One argument quoted as the C runtime's command-line parser reads it back.
std::string QuoteArgument(const std::string& argument);
