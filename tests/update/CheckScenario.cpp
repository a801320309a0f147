#include "CheckScenario.h"

#include "HttpFetch.h"
#include "ServiceAddress.h"

#include <cstdio>

namespace {

// Generous: other builds share the machine, and the check asks the service
// before it shows anything.
const DWORD kBoxTimeout = 30000;
const DWORD kChildTimeout = 90000;

const char kDialogClass[] = "#32770";

std::string WindowText(HWND window) {
    char text[2048] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    const std::string text = WindowText(child);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty())
        *reinterpret_cast<std::string*>(param) += text;
    return TRUE;
}

} // namespace

HWND FindBoxOf(DWORD processId, const char* caption) {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, kDialogClass, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == processId && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

HWND WaitForBoxOf(DWORD processId, const char* caption, const std::function<bool()>& running) {
    const ULONGLONG deadline = GetTickCount64() + kBoxTimeout;
    while (GetTickCount64() < deadline) {
        if (HWND box = FindBoxOf(processId, caption))
            return box;
        if (!running())
            return nullptr;
        // Polls for the box: nothing signals its showing.
        Sleep(50);
    }
    return nullptr;
}

void CheckScenario::StartCheck(const std::string& company, const std::string& software,
                               const std::string& version, const std::string& options, int count) {
    m_child.reset(new CChildJob);
    ASSERT_TRUE(m_child->Start(
        Program(), {"check", company, software, version, options, std::to_string(count)},
        WorkFolder()))
        << m_child->StartError();
}

HWND CheckScenario::WaitForBox(const char* caption) const {
    if (!m_child)
        return nullptr;
    const CChildJob& child = *m_child;
    return WaitForBoxOf(child.ProcessId(), caption, [&child] { return child.Running(); });
}

void CheckScenario::FinishCheck() {
    ASSERT_TRUE(m_child);
    const ULONGLONG deadline = GetTickCount64() + kChildTimeout;
    while (m_child->Running()) {
        if (HWND box = FindBoxOf(m_child->ProcessId(), nullptr)) {
            ADD_FAILURE() << "unexpected box \"" << WindowText(box) << "\": " << BoxText(box);
            m_child->EndAll();
            return;
        }
        if (GetTickCount64() >= deadline) {
            ADD_FAILURE() << "the child or what it started did not end; " << m_child->Describe()
                          << "; check results so far: " << Results().size();
            m_child->EndAll();
            return;
        }
        // Polls the child: it may show a box instead of ending.
        Sleep(50);
    }
    EXPECT_EQ(0u, m_child->ExitCode()) << "see UpdateRunner.cpp";
}

void CheckScenario::RunCheck(const std::string& company, const std::string& software,
                             const std::string& version, const std::string& options, int count) {
    StartCheck(company, software, version, options, count);
    FinishCheck();
}

std::vector<std::string> CheckScenario::Results() const {
    std::vector<std::string> results;
    for (const Record& record : ReadRecords(Folder() + "records\\check.txt"))
        results.push_back(record.count("result") ? record.at("result") : "<none>");
    return results;
}

std::string BoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void PressButton(HWND box, int button) {
    SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

bool HasButton(HWND box, int button) {
    HWND item = GetDlgItem(box, button);
    return item != nullptr && IsWindowVisible(item);
}

std::string ServiceHost() {
    return theServiceHostName;
}
