// Calls dispatched to commands this test registers, for the codes the real
// commands cannot produce.
#include "Aliases.h"
#include "CallDispatch.h"
#include "ListEncoding.h"
#include "PluginRegistry.h"
#include "Properties.h"
#include "ThreadStart.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

std::atomic<int> theRuns{0};

int CountRun(void*, CPluginCall* call) {
    Sleep(50);
    ++theRuns;
    call->SetResultString(L"result", L"done");
    return 7;
}

HANDLE theRelease = nullptr;

int WaitForRelease(void*, CPluginCall*) {
    // Bounded: the test releases it as soon as it has counted.
    WaitForSingleObject(theRelease, 20000);
    return 0;
}

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                       LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, LoadAlias(L"test")); }
    void TearDown() override { UnloadAlias(L"test"); }

    // A synchronous call of the command with a result argument.
    int Call(const wchar_t* command, CPluginString& result) {
        CPluginString list;
        EncodeList(list, L"", L"result", L"r", nullptr);
        CPluginString text = CPluginString::Concat(L"test.", command);
        text.Append(L",");
        text.Append(list);
        int code = 0;
        BSTR out = result.Detach();
        DispatchCall(text.GetBSTR(), &code, &out);
        result.Attach(out);
        return code;
    }

    RegisterCommand m_plain{L"plain", CountRun, 0};
    RegisterCommand m_asyncOnly{L"asyncOnly", CountRun, 1};
    RegisterCommand m_waiting{L"waiting", WaitForRelease, 0};
};

} // namespace

TEST_F(Dispatch, ASynchronousCallOfAnAsyncOnlyCommandIsRefusedWithoutRunning) {
    CPluginString result(L"untouched");
    theRuns = 0;
    EXPECT_EQ(-5, Call(L"asyncOnly", result));
    EXPECT_EQ(0, theRuns.load());
    EXPECT_EQ(L"untouched", Units(result));
}

TEST_F(Dispatch, NoWorkerThreadGivesMinusSixAndAnEmptyList) {
    SetCreateThreadFunction(NoThread);
    CPluginString result(L"untouched");
    EXPECT_EQ(-6, Call(L"plain", result));
    SetCreateThreadFunction(nullptr);
    EXPECT_EQ(L"0000000000", Units(result));
}

TEST_F(Dispatch, ASynchronousCallWithoutAResultPointerStillWaitsForTheWorker) {
    CPluginString text(L"test.plain,");
    int code = 0;
    theRuns = 0;
    EXPECT_EQ(0, DispatchCall(text.GetBSTR(), &code, nullptr));
    EXPECT_EQ(7, code);
    EXPECT_EQ(1, theRuns.load());
}

TEST_F(Dispatch, ANullCallTextDoesNothing) {
    int code = 5;
    BSTR result = nullptr;
    EXPECT_EQ(0, DispatchCall(nullptr, &code, &result));
    EXPECT_EQ(5, code);
    EXPECT_EQ(nullptr, result);
}

TEST_F(Dispatch, CommandsPendingCountsTheRunningCommands) {
    theRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CPluginString text(L"test.waiting,");
    EXPECT_EQ(0, DispatchCall(text.GetBSTR(), nullptr, nullptr));
    EXPECT_EQ(0, DispatchCall(text.GetBSTR(), nullptr, nullptr));
    int status = -1;
    EXPECT_EQ(L"2", Units(GetSpecialProperty(L"plugin_commands_pending", L"", &status)));
    EXPECT_EQ(2, status);
    SetEvent(theRelease);
    const ULONGLONG start = GetTickCount64();
    while (GetSpecialProperty(L"Plugin_Commands_Pending", L"", &status).Compare(L"0") != 0 &&
           GetTickCount64() - start < 10000)
        Sleep(10);
    EXPECT_EQ(0, status);
    CloseHandle(theRelease);
}
