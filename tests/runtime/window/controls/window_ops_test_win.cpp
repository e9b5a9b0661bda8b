// The main window's settings and placement, z-order, enabling, and the
// window-services start values, on the real runtime.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_settings.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_services.h"
#include "support_win.h"

namespace {

DWORD StyleOf(HWND w) {
    return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE));
}
DWORD ExStyleOf(HWND w) {
    return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE));
}

bool HasRect(HWND w, int left, int top, int right, int bottom) {
    RECT r;
    GetWindowRect(w, &r);
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

BOOL CALLBACK CountMainWindow(HWND w, LPARAM count) {
    if (ClassOf(w) == "FENSTER")
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

int CountMainWindows() {
    int count = 0;
    EnumThreadWindows(GuiThreadId, CountMainWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

TEST(WindowServices, StartValues) {
    RunChecked([] {
        EXPECT_EQ(1, MessageMode);
        EXPECT_EQ(2, AutoPaint);
        EXPECT_EQ(50, SqlWidth);
        EXPECT_EQ(0, PdcHandle);
        EXPECT_EQ(0, WindowStyleSetting);
        EXPECT_NE(nullptr, InputEvent);
        EXPECT_STREQ("Vantrokit-Fenster", MainWindowTitle());
        EXPECT_EQ(0x14CF2000u, MainWindowStyle());
        EXPECT_EQ(0x100u, MainWindowExStyle());
        EXPECT_TRUE(MainWindowHasMenu());
        WNDCLASSA main = {}, dialog = {};
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "FENSTER", &main));
        EXPECT_EQ(0x2023u, main.style);
        EXPECT_GE(main.cbWndExtra, 30);
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "DIALOG", &dialog));
        EXPECT_EQ(static_cast<UINT>(CS_CLASSDC), dialog.style);
        EXPECT_EQ(nullptr, dialog.hCursor);
        // The settings of one run do not leak into the next.
        SetWindowStyle(0x40);
        SetWindowTitle("changed");
    });
    RunChecked([] {
        EXPECT_STREQ("Vantrokit-Fenster", MainWindowTitle());
        EXPECT_EQ(0x14CF2000u, MainWindowStyle());
        EXPECT_EQ(0x100u, MainWindowExStyle());
    });
    // Classes are unregistered at the end of a run.
    WNDCLASSA info;
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "FENSTER", &info));
}

TEST(MainWindow, OpenedWithTitleAndStartStyle) {
    RunChecked([] {
        OpenWindow(20, 30, 400, 300);
        HWND main = MainWindow;
        ASSERT_NE(nullptr, main);
        EXPECT_EQ("FENSTER", ClassOf(main));
        EXPECT_EQ("Vantrokit-Fenster", std::string(GetText(main).c_str()));
        EXPECT_EQ(0x14CF2000u, StyleOf(main) & 0x14CF2000u);
        EXPECT_EQ(20, WindowLeft());
        EXPECT_EQ(30, WindowTop());
        EXPECT_EQ(420, WindowRight());
        EXPECT_EQ(330, WindowBottom());
        SetWindowTitle("Quillsort test");
        EXPECT_EQ("Quillsort test", std::string(GetText(main).c_str()));
    });
}

TEST(MainWindow, OpenWindowTwiceMovesTheOneWindow) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND first = MainWindow;
        OpenWindow(50, 60, 420, 330);
        EXPECT_EQ(first, static_cast<HWND>(MainWindow));
        EXPECT_EQ(1, CountMainWindows());
        EXPECT_TRUE(HasRect(first, 50, 60, 470, 390));
        RECT client;
        GetClientRect(first, &client);
        EXPECT_EQ(client.right, ClientWidth);
        EXPECT_EQ(client.bottom, ClientHeight);
        EXPECT_LT(ClientWidth, 420);
        EXPECT_GT(ClientWidth, 300);
    });
}

TEST(MainWindow, NegativePositionIsReportedAndStillApplied) {
    RunChecked([] {
        SetErrorLevel(-1);
        OpenWindow(10, 10, 300, 200);
        EXPECT_EQ(0, TakeErrorKind());
        OpenWindow(-5, 20, 300, 200);
        EXPECT_EQ(1, TakeErrorKind());
        EXPECT_EQ(223, LastErrorNumber);
        EXPECT_EQ(-5, WindowLeft());
        HWND other = OpenDialogWindow(nullptr, "other", 0, 0, 100, 100);
        SetPosition(other, 30, -1, 120, 90, 0);
        EXPECT_EQ(1, TakeErrorKind());
        EXPECT_TRUE(WaitUntil([&] { return HasRect(other, 30, -1, 150, 89); }));
    });
}

TEST(MainWindow, ApplicationStyleBits) {
    RunChecked([] {
        SetWindowStyle(538);
        EXPECT_EQ(0x210, WindowStyleSetting);
        EXPECT_FALSE(MainWindowHasMenu());
        OpenWindow(10, 10, 300, 200);
        DWORD style = StyleOf(MainWindow);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_FALSE(style & WS_THICKFRAME);
        EXPECT_EQ(nullptr, GetMenu(MainWindow));
        // Later secondary windows take the style chosen last.
        SetWindowStyle(0x40 | 0x8);
        HWND popup = OpenDialogWindow(MainWindow, "popup", 0, 0, 100, 100);
        EXPECT_TRUE(StyleOf(popup) & WS_POPUP);
        EXPECT_EQ(0u, StyleOf(popup) & WS_CAPTION);
        EXPECT_EQ(0u, ExStyleOf(popup) & WS_EX_WINDOWEDGE);
        EXPECT_EQ(0, WindowStyleSetting);
    });
}

TEST(Placement, TopmostOnAndOff) {
    RunChecked([] {
        HWND w = OpenDialogWindow(nullptr, "z", 10, 10, 200, 100);
        SetPosition(w, 40, 50, 210, 110, -1);
        EXPECT_TRUE(WaitUntil([&] { return (ExStyleOf(w) & WS_EX_TOPMOST) != 0; }));
        EXPECT_TRUE(WaitUntil([&] { return HasRect(w, 40, 50, 250, 160); }));
        SetPosition(w, 40, 50, 210, 110, -2);
        EXPECT_TRUE(WaitUntil([&] { return (ExStyleOf(w) & WS_EX_TOPMOST) == 0; }));
        // Choice 0 keeps the z-order.
        SetPosition(w, 0, 0, 210, 110, -1);
        EXPECT_TRUE(WaitUntil([&] { return (ExStyleOf(w) & WS_EX_TOPMOST) != 0; }));
        SetPosition(w, 5, 5, 200, 120, 0);
        EXPECT_TRUE(WaitUntil([&] { return HasRect(w, 5, 5, 205, 125); }));
        EXPECT_TRUE(ExStyleOf(w) & WS_EX_TOPMOST);
    });
}

TEST(Placement, DisablingTheFocusWindowClearsIt) {
    RunChecked([] {
        HWND parent = OpenDialogWindow(nullptr, "focus", 10, 10, 200, 200);
        HWND a = CreateByKeyword("button", parent, "a", 5, 5, 60, 20);
        HWND b = CreateByKeyword("button", parent, "b", 5, 30, 60, 20);
        StoreWindow(&FocusWindow, a);
        EnableControl(b, 0);
        EXPECT_FALSE(IsWindowEnabled(b));
        EXPECT_EQ(a, static_cast<HWND>(FocusWindow));
        EnableControl(a, 0);
        EXPECT_FALSE(IsWindowEnabled(a));
        EXPECT_EQ(nullptr, static_cast<HWND>(FocusWindow));
        StoreWindow(&FocusWindow, b);
        EnableControl(b, 1);
        EXPECT_TRUE(IsWindowEnabled(b));
        EXPECT_EQ(b, static_cast<HWND>(FocusWindow));
    });
}
