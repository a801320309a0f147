// Times the plug-in DLL as the host drives it, each against its floor:
// DispatchSync of brcWhatIs against one thread start and semaphore round
// trip; values per second to the host window against WM_COPYDATA of the same
// bytes sent from one thread; Get of Plugin_Manifest per call.
#include "HostWindowStub.h"
#include "PluginHost.h"

#include <cstdio>

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

DWORD WINAPI ReleaseSemaphoreProc(LPVOID semaphore) {
    ReleaseSemaphore(static_cast<HANDLE>(semaphore), 1, nullptr);
    return 0;
}

double ThreadRoundTripSeconds(int rounds) {
    HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    const double start = Seconds();
    for (int i = 0; i < rounds; ++i) {
        HANDLE thread = CreateThread(nullptr, 0, ReleaseSemaphoreProc, semaphore, 0, nullptr);
        // The thread releases it before it ends.
        WaitForSingleObject(semaphore, INFINITE);
        CloseHandle(thread);
    }
    const double elapsed = Seconds() - start;
    CloseHandle(semaphore);
    return elapsed / rounds;
}

std::wstring WhatIs(const std::wstring& identifier) {
    return CallText(L"brc", L"brcWhatIs", identifier,
                    {{L"company_name", L"Acme"},
                     {L"information_query", L"companyname"},
                     {L"result", L"answer"}});
}

double DispatchSyncSeconds(const CPluginHost& host, int rounds) {
    const double start = Seconds();
    for (int i = 0; i < rounds; ++i)
        host.DispatchSync(WhatIs(L""));
    return (Seconds() - start) / rounds;
}

double AsyncValuesPerSecond(const CPluginHost& host, int calls) {
    CHostWindowStub window;
    host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue()));
    const double start = Seconds();
    for (int i = 0; i < calls; ++i)
        host.Dispatch(WhatIs(L"id" + std::to_wstring(i)));
    // Two values a call: the answer and the code.
    window.WaitForCount(2 * calls, 120000);
    const double elapsed = Seconds() - start;
    host.Set(L"Plugin_Window", L"0");
    return static_cast<double>(window.Count()) / elapsed;
}

double RawCopyDataPerSecond(int messages) {
    CHostWindowStub window;
    const std::wstring text = ExpectedMessage(L"answer", L"Acme");
    COPYDATASTRUCT data = {0, static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                           const_cast<wchar_t*>(text.c_str())};
    const double start = Seconds();
    for (int i = 0; i < messages; ++i)
        SendMessageA(window.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return messages / (Seconds() - start);
}

double ManifestSeconds(const CPluginHost& host, int rounds) {
    const double start = Seconds();
    for (int i = 0; i < rounds; ++i)
        host.Get(L"Plugin_Manifest");
    return (Seconds() - start) / rounds;
}

} // namespace

int main() {
    CPluginHost host;
    if (!host.Load(PluginPath()) || host.OnLoad(L"brc") != 0) {
        std::printf("cannot load the plug-in\n");
        return 1;
    }
    const double floor = ThreadRoundTripSeconds(500);
    const double sync = DispatchSyncSeconds(host, 500);
    std::printf("thread + semaphore round trip: %8.1f us\n", floor * 1e6);
    std::printf("DispatchSync brcWhatIs:        %8.1f us  (%.2fx, goal <= 1.5x)\n", sync * 1e6,
                sync / floor);
    const double raw = RawCopyDataPerSecond(2000);
    const double async = AsyncValuesPerSecond(host, 500);
    std::printf("raw WM_COPYDATA, one thread:   %8.0f /s\n", raw);
    std::printf("Dispatch values to the window: %8.0f /s  (%.2fx, goal >= 0.8x)\n", async,
                async / raw);
    std::printf("Get Plugin_Manifest:           %8.1f us a call\n",
                ManifestSeconds(host, 500) * 1e6);
    host.OnUnload(L"brc");
    return 0;
}
