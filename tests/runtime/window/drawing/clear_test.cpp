// Clearing the main window: colour values, the window it opens, the
// BackBuffer kept in step and repainting from it.
#include <gtest/gtest.h>
#include <windows.h>

#include "drawing_scenario.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/window/controls.h"
#include "runtime/window/drawing.h"

namespace {

struct Seen {
    COLORREF window = 0;
    COLORREF buffer = 0;
    COLORREF farCorner = 0;
};

// One pixel of the main window, read on the GUI thread: a repaint from the
// BackBuffer draws through WindowDC itself there (BeginPaint hands out the
// window's own context), and a read from the script thread meanwhile may see
// the window half-painted or black. Script thread.
COLORREF WindowPixel(int x, int y) {
    COLORREF pixel = 0;
    OnGuiThread([&] { pixel = PixelAt(WindowDC, x, y); });
    return pixel;
}

} // namespace

TEST(ClearWindow, FifteenBitColoursOutsideTrueColourMode) {
    Seen white, red;
    COLORREF trueColour = 0;
    RunScenario([&] {
        OpenWindow(10, 10, 300, 200);
        SetTrueColor(0);
        ClearWindow(0x7FFF);
        white = {WindowPixel(5, 5), PixelAt(BackBuffer, 5, 5),
                 PixelAt(BackBuffer, ScreenWidth - 1, ScreenHeight - 1)};
        ClearWindow(0x001F);
        red = {WindowPixel(100, 50), PixelAt(BackBuffer, 100, 50),
               PixelAt(BackBuffer, ScreenWidth - 1, ScreenHeight - 1)};
        // In true-colour mode the value is a COLORREF as it stands.
        SetTrueColor(1);
        ClearWindow(0x00123456);
        trueColour = WindowPixel(7, 7);
    });
    EXPECT_EQ(RGB(255, 255, 255), white.window);
    EXPECT_EQ(RGB(255, 255, 255), white.buffer);
    EXPECT_EQ(RGB(255, 255, 255), white.farCorner); // the whole screen-sized buffer
    EXPECT_EQ(0x0000FFu, red.window);
    EXPECT_EQ(0x0000FFu, red.buffer);
    EXPECT_EQ(0x0000FFu, red.farCorner);
    EXPECT_EQ(0x00123456u, trueColour);
}

TEST(ClearWindow, OpensTheMainWindowWhenThereIsNone) {
    bool before = true;
    RECT frame = {};
    COLORREF corner = 0;
    RunScenario([&] {
        before = MainWindow != nullptr;
        ClearWindow(RGB(0, 0, 255));
        if (MainWindow != nullptr) {
            GetWindowRect(MainWindow, &frame);
            corner = WindowPixel(0, 0);
        }
    });
    EXPECT_FALSE(before);
    EXPECT_EQ(0, frame.left);
    EXPECT_EQ(0, frame.top);
    EXPECT_EQ(640, frame.right - frame.left);
    EXPECT_EQ(480, frame.bottom - frame.top);
    EXPECT_EQ(RGB(0, 0, 255), corner);
}

TEST(ClearWindow, ResetsTheConsolePositionAndRedrawsChildren) {
    LONG column = -1, row = -1;
    bool childRepainted = false;
    RunScenario([&] {
        OpenWindow(0, 0, 400, 300);
        CreateByKeyword("text", MainWindow, "child", 20, 20, 80, 30);
        Sleep(100);
        InterlockedExchange(&ConsoleColumn, 7);
        InterlockedExchange(&ConsoleRow, 3);
        ClearWindow(RGB(10, 20, 30));
        column = ConsoleColumn;
        row = ConsoleRow;
        // The fill went over the child; its own repaint brings it back.
        for (int i = 0; i < 100 && !childRepainted; ++i) {
            Sleep(20);
            childRepainted = WindowPixel(25, 25) != RGB(10, 20, 30);
        }
    });
    EXPECT_EQ(0, column);
    EXPECT_EQ(0, row);
    EXPECT_TRUE(childRepainted);
}

TEST(BackBuffer, RepaintsTheWindowAfterItWasOverdrawn) {
    COLORREF damaged = 0, repaired = 0;
    RunScenario([&] {
        OpenWindow(50, 50, 300, 200);
        ClearWindow(RGB(200, 0, 0));
        // Paint over the window only, as another window lying on it would;
        // on the GUI thread, so that no repaint runs meanwhile.
        OnGuiThread([&] {
            RECT spot = {30, 30, 90, 60};
            FillRect(WindowDC, &spot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            damaged = PixelAt(WindowDC, 40, 40);
            InvalidateRect(MainWindow, nullptr, FALSE);
        });
        for (int i = 0; i < 100; ++i) {
            repaired = WindowPixel(40, 40);
            if (repaired != damaged) {
                break;
            }
            Sleep(20);
        }
    });
    EXPECT_EQ(RGB(0, 0, 0), damaged);
    EXPECT_EQ(RGB(200, 0, 0), repaired);
}
