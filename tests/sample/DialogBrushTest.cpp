// The Pinwheel dialog in this process, where the brush its controls are
// painted with can be looked at: one brush, alive while the dialog is, and
// deleted with it.
#include "PinwheelDriver.h"
#include "TestKorvelApp.h"
#include "TestKorvelDlg.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof(caption));
    if (processId != search->processId || !::IsWindowVisible(window) ||
        std::string(caption).find("Pinwheel") == std::string::npos)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForOwnDialog() {
    for (int i = 0; i < 400; ++i) {
        DialogSearch search{::GetCurrentProcessId(), nullptr};
        ::EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(50);
    }
    return nullptr;
}

HBRUSH BrushFor(HWND dialog, UINT message) {
    const HDC dc = ::GetDC(dialog);
    const LRESULT brush = ::SendMessageA(dialog, message, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(dialog));
    ::ReleaseDC(dialog, dc);
    return reinterpret_cast<HBRUSH>(brush);
}

TEST(PinwheelDialog, PaintingAThousandTimesUsesTheOneBrushWhichEndsWithTheDialog) {
    DeleteSampleKey();
    theApp.m_hInstance = ::GetModuleHandleA(nullptr);
    std::thread ui([] {
        CTestKorvelDlg dialog;
        dialog.DoModal();
    });
    const HWND dialog = WaitForOwnDialog();
    ASSERT_NE(nullptr, dialog);

    const HBRUSH brush = BrushFor(dialog, WM_CTLCOLORDLG);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(brush));
    for (int i = 0; i < 1000; ++i)
        ::RedrawWindow(dialog, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message)
        EXPECT_EQ(brush, BrushFor(dialog, message)) << "message 0x" << std::hex << message;
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(brush));
    LOGBRUSH colour = {};
    ::GetObjectA(brush, sizeof(colour), &colour);
    EXPECT_EQ(RGB(205, 229, 255), colour.lbColor);

    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    ui.join();
    EXPECT_EQ(0u, ::GetObjectType(brush));
    DeleteSampleKey();
}

} // namespace
