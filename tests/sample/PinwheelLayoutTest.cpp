// Pinwheel's dialog as its template lays it out.
#include "PinwheelDriver.h"

#include <gtest/gtest.h>

namespace {

struct ControlLayout {
    int id;
    const char* className;
    RECT units;
    DWORD style;
    DWORD exStyle;
};

// An edit control draws its border itself: WS_BORDER leaves its window style
// as it is created.
const DWORD kEdit = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP;
const DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_SUNKEN | WS_GROUP;
const DWORD kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kButtonEx = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;

// In template order; x, y, width and height in dialog units.
const ControlLayout kTemplate[] = {
    {1032, "Edit", {68, 16, 110, 12}, kEdit, WS_EX_DLGMODALFRAME},
    {1033, "Edit", {68, 31, 110, 12}, kEdit, WS_EX_DLGMODALFRAME},
    {1034, "Edit", {68, 46, 110, 13}, kEdit & ~WS_TABSTOP, WS_EX_DLGMODALFRAME | WS_EX_TRANSPARENT},
    {-1, "Static", {7, 17, 58, 8}, kLabel, WS_EX_TRANSPARENT},
    {-1, "Static", {14, 32, 56, 8}, kLabel, WS_EX_TRANSPARENT},
    {-1, "Static", {36, 48, 29, 8}, kLabel, WS_EX_TRANSPARENT},
    {1005, "Button", {226, 92, 34, 20}, kButton | BS_MULTILINE, kButtonEx},
    {1007,
     "Edit",
     {7, 119, 321, 101},
     WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_HSCROLL | WS_VSCROLL |
         WS_TABSTOP,
     0},
    {1017, "Button", {7, 291, 55, 20}, kButton, kButtonEx},
    {1037, "Edit", {43, 234, 99, 13}, kEdit, WS_EX_DLGMODALFRAME},
    {1010, "Button", {114, 92, 34, 20}, kButton, kButtonEx},
    {1011, "Button", {184, 92, 38, 20}, kButton | BS_MULTILINE, kButtonEx},
    {1012, "Button", {147, 230, 44, 20}, kButton, kButtonEx},
    {-1, "Static", {198, 80, 61, 8}, kLabel, WS_EX_TRANSPARENT},
    {-1, "Static", {7, 222, 77, 8}, kLabel, WS_EX_TRANSPARENT},
    {-1, "Static", {193, 236, 88, 8}, kLabel, WS_EX_TRANSPARENT},
    {1008, "Button", {7, 232, 34, 20}, kButton, kButtonEx},
    {1018, "Button", {7, 268, 54, 20}, kButton, kButtonEx},
    {1038, "Edit", {65, 284, 263, 13}, kEdit, WS_EX_DLGMODALFRAME},
    {-1, "Static", {65, 275, 65, 8}, kLabel, WS_EX_TRANSPARENT},
    {-1, "Static", {7, 257, 94, 8}, kLabel, WS_EX_TRANSPARENT},
    {1039, "Edit", {264, 96, 44, 13}, kEdit, WS_EX_DLGMODALFRAME},
};

// Position and size in pixels, each mapped on its own as the dialog
// manager does, from a dialog of our own in the same font: the units of
// another process's dialog cannot be mapped from here.
RECT InPixels(const RECT& units) {
    static const HWND probe = ::CreateDialogParamA(::GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(100), nullptr, nullptr, 0);
    RECT mapped = units;
    ::MapDialogRect(probe, &mapped);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

class PinwheelLayout : public testing::Test {
protected:
    void SetUp() override { DeleteSampleKey(); }
    void TearDown() override { DeleteSampleKey(); }
};

TEST_F(PinwheelLayout, ControlsSitWhereTheTemplatePutsThemWithTheirStyles) {
    CPinwheel pinwheel;
    const HWND dialog = pinwheel.Dialog();
    ASSERT_NE(nullptr, dialog);
    HWND control = ::GetWindow(dialog, GW_CHILD);
    for (const ControlLayout& expected : kTemplate) {
        SCOPED_TRACE(testing::Message()
                     << "control " << (&expected - kTemplate) << ", id " << expected.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(expected.id, ::GetDlgCtrlID(control) == 0xFFFF ? -1 : ::GetDlgCtrlID(control));
        EXPECT_STRCASEEQ(expected.className, ClassOf(control).c_str());
        RECT rect = {};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        const RECT want = InPixels(expected.units);
        EXPECT_EQ(want.left, rect.left);
        EXPECT_EQ(want.top, rect.top);
        EXPECT_EQ(want.right, rect.right);
        EXPECT_EQ(want.bottom, rect.bottom);
        const DWORD style = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
        EXPECT_EQ(expected.style, style & expected.style) << std::hex << style;
        if (!(expected.style & WS_TABSTOP)) {
            EXPECT_EQ(0u, style & WS_TABSTOP);
        }
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(control, GWL_EXSTYLE));
        EXPECT_EQ(expected.exStyle, exStyle & expected.exStyle) << std::hex << exStyle;
        control = ::GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, control) << "more controls than the template has";

    const DWORD dialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(dialogStyle, static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE)) & dialogStyle);
    EXPECT_TRUE(::GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

} // namespace
