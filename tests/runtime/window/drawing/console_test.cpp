// Console text in the main window: wrapping, scrolling and the BackBuffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "drawing_scenario.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_settings.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

namespace {

struct Screen {
    Pixels window, buffer;
    std::int32_t charWidth = 0, lineHeight = 0, columns = 0, rows = 0;
    LONG column = 0, row = 0;

    // True when the character cell holds any pixel that is not white. The
    // cell's first and last rows are left out: the console font is two
    // pixels taller than a console line.
    bool Ink(const Pixels &pixels, int cellX, int cellY) const {
        for (int y = cellY * lineHeight + 1; y < (cellY + 1) * lineHeight - 1; ++y) {
            for (int x = cellX * charWidth; x < (cellX + 1) * charWidth; ++x) {
                if (pixels.at(x, y) != RGB(255, 255, 255)) {
                    return true;
                }
            }
        }
        return false;
    }
};

void Print(const std::string &text, std::int32_t ending, std::int32_t wrap) {
    OnGuiThread([&] { ConsolePrint(text.c_str(), ending, wrap); });
}

// Runs steps in a white 1000 x 600 main window and takes a picture afterwards.
Screen Scenario(const std::function<void(Screen &)> &steps) {
    Screen screen;
    RunScenario([&] {
        OpenWindow(0, 0, 1000, 600);
        SetTrueColor(1);
        ClearWindow(RGB(255, 255, 255));
        screen.charWidth = ConsoleCharWidth;
        screen.lineHeight = ConsoleLineHeight;
        screen.columns = ClientWidth / ConsoleCharWidth;
        screen.rows = ClientHeight / ConsoleLineHeight;
        steps(screen);
        screen.column = ConsoleColumn;
        screen.row = ConsoleRow;
        // The pictures are taken on the GUI thread. A scroll may leave the
        // client area invalid (Wine invalidates all of it), and the repaint
        // from the BackBuffer draws through WindowDC itself (BeginPaint hands
        // out the window's own context): read from another thread meanwhile,
        // the window shows half-painted or black.
        OnGuiThread([&] {
            screen.window = ReadPixels(WindowDC, 0, 0, ClientWidth, ClientHeight);
            screen.buffer = ReadPixels(BackBuffer, 0, 0, ClientWidth, ClientHeight);
        });
    });
    return screen;
}

} // namespace

TEST(ConsolePrint, WrapWritesWhatFitsThenTheRestAtTheStartOfTheNextLine) {
    Screen s = Scenario([](Screen &screen) {
        InterlockedExchange(&ConsoleColumn, screen.columns - 80); // room for 80
        Print(std::string(100, 'M'), 1, 1);
    });
    ASSERT_GT(s.charWidth, 0);
    ASSERT_GT(s.lineHeight, 0);
    ASSERT_FALSE(s.window.values.empty());
    ASSERT_GT(s.columns, 80);
    int start = s.columns - 80;
    EXPECT_FALSE(s.Ink(s.window, start - 1, 0));
    for (int c = start; c < s.columns; ++c) {
        EXPECT_TRUE(s.Ink(s.window, c, 0)) << "column " << c;
    }
    for (int c = 0; c < 20; ++c) {
        EXPECT_TRUE(s.Ink(s.window, c, 1)) << "next line, column " << c;
    }
    EXPECT_FALSE(s.Ink(s.window, 20, 1));
    EXPECT_EQ(1, s.row);
    EXPECT_EQ(20, s.column);
    EXPECT_TRUE(s.window.values == s.buffer.values) << "the BackBuffer follows the window";
}

TEST(ConsolePrint, EndingsMoveTheConsolePosition) {
    Screen s = Scenario([](Screen &) {
        Print("ab\r\ncd", 0, 0); // line breaks removed, a space appended: 5 columns
        Print("e", 1, 0);
        Print("f", 2, 0);
    });
    EXPECT_EQ(1, s.row);
    EXPECT_EQ(0, s.column);
    ASSERT_FALSE(s.window.values.empty());
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(c != 4, s.Ink(s.window, c, 0)) << "column " << c; // "abcd ef"
    }
    EXPECT_FALSE(s.Ink(s.window, 7, 0));
}

TEST(ConsolePrint, BelowTheLastFullLineTheWindowScrollsUpOneLine) {
    Screen s = Scenario([](Screen &screen) {
        InterlockedExchange(&ConsoleRow, 1);
        Print("MMMMMMMMMM", 2, 0);
        InterlockedExchange(&ConsoleRow, screen.rows);
        Print("MMM", 2, 0);
    });
    ASSERT_GT(s.rows, 2);
    ASSERT_FALSE(s.window.values.empty());
    for (int c = 0; c < 10; ++c) {
        EXPECT_TRUE(s.Ink(s.window, c, 0)) << "moved up, column " << c;
        EXPECT_FALSE(s.Ink(s.window, c, 1)) << "left behind, column " << c;
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(s.Ink(s.window, c, s.rows - 1)) << "last line, column " << c;
    }
    EXPECT_FALSE(s.Ink(s.window, 3, s.rows - 1));
    EXPECT_EQ(s.rows, s.row);
    EXPECT_TRUE(s.window.values == s.buffer.values) << "the BackBuffer follows the window";
}
