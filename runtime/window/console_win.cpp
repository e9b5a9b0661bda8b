// Console-style text lines in the main window, written by the main window
// procedure's line input on the GUI thread.
#include "runtime/window/drawing.h"

#include <string>

#include "runtime/core/frame.h"
#include "runtime/core/window_settings.h"
#include "runtime/window/drawing_rules.h"

const COLORREF ConsolePalette[16] = {
    0x000000, 0x880000, 0x008800, 0x880088, 0x000088, 0x888800, 0x008888, 0xCCCCCC,
    0x444444, 0xFF0000, 0x00FF00, 0xFF00FF, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF,
};
HFONT ConsoleFont = nullptr;
std::int32_t ConsoleCharWidth = 0;
std::int32_t ConsoleLineHeight = 0;
volatile LONG ConsoleColumn = 0;
volatile LONG ConsoleRow = 0;
std::int32_t ConsoleTextColour = 0;
std::int32_t ConsoleBackColour = 15;

namespace {

COLORREF PaletteColour(std::int32_t index) {
    return ConsolePalette[index & 15];
}

// Prepares a context for console text; the caller restores it with RestoreDC.
int BeginConsoleText(HDC dc) {
    int saved = SaveDC(dc);
    SelectObject(dc, ConsoleFont);
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    SetTextColor(dc, PaletteColour(ConsoleTextColour));
    SetBkColor(dc, PaletteColour(ConsoleBackColour));
    return saved;
}

// Scrolls the client area up by one line and blanks the line that becomes
// the current one from the current column on; the BackBuffer follows.
void ScrollOneLine(HDC window, std::int32_t columns) {
    ScrollWindowEx(MainWindow, 0, -ConsoleLineHeight, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN);
    InterlockedExchange(&ConsoleRow, ConsoleRow - 1);
    std::string blanks(static_cast<std::size_t>(columns + 1), ' ');
    TextOutA(window, ConsoleColumn * ConsoleCharWidth, ConsoleRow * ConsoleLineHeight, blanks.data(),
             static_cast<int>(blanks.size()));
    BitBlt(BackBuffer, 0, 0, ClientWidth, ClientHeight, window, 0, 0, SRCCOPY);
}

} // namespace

void StartConsole() {
    ConsoleFont = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, ConsoleFont);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    ConsoleCharWidth = metrics.tmAveCharWidth;
    ConsoleLineHeight = metrics.tmHeight - 2;
    InterlockedExchange(&ConsoleColumn, 0);
    InterlockedExchange(&ConsoleRow, 0);
    ConsoleTextColour = 0;
    ConsoleBackColour = 15;
}

void ConsolePrint(const StringValue &text, std::int32_t ending, std::int32_t wrap) {
    // Without a main window the first print opens one by clearing. Only
    // another thread can do that: the GUI thread would wait for its own
    // request. (The main window procedure calls this, so its window exists.)
    if (MainWindow == nullptr && GetCurrentThreadId() != GuiThreadId) {
        ClearWindow(GetSysColor(COLOR_WINDOW));
    }
    HDC window = WindowDC;
    if (MainWindow == nullptr || window == nullptr || BackBuffer == nullptr) {
        return;
    }
    if (ConsoleFont == nullptr || ConsoleCharWidth <= 0 || ConsoleLineHeight <= 0) {
        StartConsole();
    }
    std::string rest = WithoutLineBreaks(std::string(text.data, text.length));
    bool more = true;
    while (more) {
        int savedWindow = BeginConsoleText(window);
        int savedBuffer = BeginConsoleText(BackBuffer);
        std::int32_t columns = ClientWidth / ConsoleCharWidth;
        ConsolePiece piece = NextConsolePiece(rest, ending, wrap != 0, columns, ConsoleColumn);
        if (ConsoleRow >= ClientHeight / ConsoleLineHeight) {
            ScrollOneLine(window, columns);
        }
        std::int32_t x = ConsoleColumn * ConsoleCharWidth;
        std::int32_t y = ConsoleRow * ConsoleLineHeight;
        int length = static_cast<int>(piece.text.size());
        TextOutA(window, x, y, piece.text.data(), length);
        TextOutA(BackBuffer, x, y, piece.text.data(), length);
        if (ending == ConsoleEndNewLine || piece.cut) {
            InterlockedExchange(&ConsoleColumn, 0);
            InterlockedExchange(&ConsoleRow, ConsoleRow + 1);
        } else {
            InterlockedExchange(&ConsoleColumn, ConsoleColumn + length);
        }
        RestoreDC(window, savedWindow);
        RestoreDC(BackBuffer, savedBuffer);
        more = piece.cut;
        rest = piece.rest;
    }
}
