// Helpers of the drawing tests: running a piece of test code on the runtime's
// script thread, and reading pixels back from device contexts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

// Runs RunRuntime(GetModuleHandle(0), ...) with body as the script: body runs
// on the script thread; afterwards the main window (if any) is closed, which
// ends the run. Returns RunRuntime's exit code.
int RunScenario(const std::function<void()> &body);

// Runs fn on the GUI thread, inside the main window's procedure (the way the
// line input calls ConsolePrint), and waits for it. Script thread.
void OnGuiThread(const std::function<void()> &fn);

// A copy of width x height pixels of dc from x, y, as COLORREF values (red in
// the low byte), row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;
    COLORREF at(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
};
Pixels ReadPixels(HDC dc, int x, int y, int width, int height);

// The 24-bit colour of one pixel, as COLORREF.
COLORREF PixelAt(HDC dc, int x, int y);
