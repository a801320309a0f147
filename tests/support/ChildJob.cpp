#include "ChildJob.h"

#include <tlhelp32.h>

#include <cstdio>

namespace {

std::string ImageName(DWORD processId) {
    const CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    if (snapshot.Get() == INVALID_HANDLE_VALUE || !Process32First(snapshot.Get(), &entry))
        return "?";
    do {
        if (entry.th32ProcessID == processId)
            return entry.szExeFile;
    } while (Process32Next(snapshot.Get(), &entry));
    return "?";
}

} // namespace

CChildJob::CChildJob() : m_job(CreateJobObjectA(nullptr, nullptr)) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (m_job)
        SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
}

CChildJob::~CChildJob() {
    EndAll();
}

void CChildJob::EndAll() {
    if (!m_job || ActiveProcesses() == 0)
        return;
    TerminateJobObject(m_job.Get(), 99);
    // The processes end after the call returns: the test goes on (or its
    // process exits) only once they are gone, so none of them is torn down
    // while the next test starts.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (ActiveProcesses() > 0 && GetTickCount64() < deadline) {
        // Polls the job's process count: the grandchildren have no handle here.
        Sleep(20);
    }
    // Waits for the ended child so its exit code is final.
    WaitForSingleObject(m_process.Get(), 5000);
}

bool CChildJob::Start(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& directory) {
    if (!m_job) {
        m_startError = "no job object";
        return false;
    }
    std::string commandLine = QuoteArgument(program);
    for (const std::string& argument : arguments)
        commandLine += " " + QuoteArgument(argument);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // Under a loaded Wine a start now and then fails at once (error 1359
    // seen); one more try tells that apart from a program that cannot start.
    // The first error goes to the test's output either way.
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                           CREATE_SUSPENDED, nullptr, directory.c_str(), &startup, &started))
            break;
        const std::string error =
            "CreateProcess failed with error " + std::to_string(GetLastError());
        if (attempt == 1) {
            m_startError = error;
            return false;
        }
        std::fprintf(stderr, "%s; trying once more\n", error.c_str());
    }
    m_process = CHandle(started.hProcess);
    m_processId = started.dwProcessId;
    CHandle thread(started.hThread);
    // In the job before it runs, so whatever it starts is in the job too.
    if (!AssignProcessToJobObject(m_job.Get(), m_process.Get())) {
        m_startError =
            "AssignProcessToJobObject failed with error " + std::to_string(GetLastError());
        TerminateProcess(m_process.Get(), 98);
        return false;
    }
    ResumeThread(thread.Get());
    return true;
}

bool CChildJob::WaitForAll(DWORD timeout) {
    const ULONGLONG deadline = GetTickCount64() + timeout;
    while (ActiveProcesses() > 0) {
        if (GetTickCount64() >= deadline) {
            m_atTimeOut = Describe();
            EndAll();
            return false;
        }
        // Polls the job's process count: the grandchildren have no handle here.
        Sleep(20);
    }
    return true;
}

DWORD CChildJob::ExitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(m_process.Get(), &code))
        return 0xFFFFFFFF;
    return code;
}

std::string CChildJob::Describe() const {
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } ids = {};
    ids.list.NumberOfAssignedProcesses = 64;
    std::string text = "running in the job:";
    if (QueryInformationJobObject(m_job.Get(), JobObjectBasicProcessIdList, &ids, sizeof ids,
                                  nullptr)) {
        for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
            const DWORD id = static_cast<DWORD>(ids.list.ProcessIdList[i]);
            text += " " + ImageName(id) + " (" + std::to_string(id) + ")";
        }
    }
    const DWORD code = ExitCode();
    return text + "; the child " +
           (code == STILL_ACTIVE ? std::string("still runs")
                                 : "ended with exit code " + std::to_string(code));
}

int CChildJob::ActiveProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(m_job.Get(), JobObjectBasicAccountingInformation, &accounting,
                                   sizeof accounting, nullptr))
        return 0;
    return static_cast<int>(accounting.ActiveProcesses);
}

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}
