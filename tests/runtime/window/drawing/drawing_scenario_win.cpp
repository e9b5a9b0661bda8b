#include "drawing_scenario.h"

#include "runtime/core/frame.h"
#include "runtime/core/script_thread.h"

namespace {

const std::function<void()> *CurrentBody = nullptr;

void Script() {
    (*CurrentBody)();
    if (MainWindow != nullptr) {
        // Closing the main window ends the run and stops this thread, which
        // ends at its next checkpoint, without a second quit message.
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        ScriptCheckpoint();
    }
}

// The test's message, handled by the subclass below on the GUI thread.
const UINT RunOnGuiMessage = WM_APP + 0x177;
WNDPROC OriginalProc = nullptr;

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RunOnGuiMessage) {
        (*reinterpret_cast<const std::function<void()> *>(lParam))();
        return 0;
    }
    return CallWindowProcA(OriginalProc, window, message, wParam, lParam);
}

} // namespace

int RunScenario(const std::function<void()> &body) {
    CurrentBody = &body;
    int code = RunRuntime(GetModuleHandleA(nullptr), Script);
    CurrentBody = nullptr;
    OriginalProc = nullptr;
    return code;
}

void OnGuiThread(const std::function<void()> &fn) {
    HWND window = MainWindow;
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (current != SubclassProc) {
        OriginalProc = current;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
    }
    SendMessageA(window, RunOnGuiMessage, 0, reinterpret_cast<LPARAM>(&fn));
}

Pixels ReadPixels(HDC dc, int x, int y, int width, int height) {
    Pixels result;
    result.width = width;
    result.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
    GdiFlush();
    const auto *words = static_cast<const std::uint32_t *>(bits);
    result.values.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < result.values.size(); ++i) {
        std::uint32_t bgr = words[i];
        result.values[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(section);
    return result;
}

COLORREF PixelAt(HDC dc, int x, int y) {
    return ReadPixels(dc, x, y, 1, 1).at(0, 0);
}
