// Drawing bitmap resources: names and numeric ids, the raster modes, the
// transparent draw, the "pdc" rule and bitmaps that do not load.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "drawing_scenario.h"
#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

namespace {

const COLORREF Magenta = RGB(255, 0, 255);

// The pixels of one of the test executable's bitmap resources.
Pixels ResourcePixels(LPCSTR name, int width, int height) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    Pixels pixels = ReadPixels(memory, 0, 0, width, height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

// Pixels of the main window, read on the GUI thread: a repaint from the
// BackBuffer draws through WindowDC itself there (BeginPaint hands out the
// window's own context), and a read from the script thread meanwhile may see
// the window half-painted or black. Script thread.
Pixels WindowPixels(int x, int y, int width, int height) {
    Pixels pixels;
    OnGuiThread([&] { pixels = ReadPixels(WindowDC, x, y, width, height); });
    return pixels;
}

// Opens a main window cleared to colour in true-colour mode.
void OpenCleared(COLORREF colour) {
    OpenWindow(0, 0, 400, 300);
    SetTrueColor(1);
    ClearWindow(colour);
}

} // namespace

TEST(DrawBitmap, TransparentDrawShowsWhatLayBeneathWhereTheBitmapIsMagenta) {
    Pixels bitmap = ResourcePixels("MAGENTA", 16, 8);
    Pixels beneath, window, buffer;
    std::int32_t width = 0, height = 0;
    RunScenario([&] {
        OpenCleared(RGB(0x20, 0x40, 0x60));
        // A background that varies under the picture: the numbered bitmap,
        // copied four times side by side.
        for (int i = 0; i < 4; ++i) {
            DrawBitmap(GetModuleHandleA(nullptr), "2", 100 + 4 * i, 52, 0);
        }
        beneath = WindowPixels(100, 50, 16, 8);
        DrawBitmap(GetModuleHandleA(nullptr), "MAGENTA", 100, 50, -1);
        width = LastBitmapWidth;
        height = LastBitmapHeight;
        window = WindowPixels(100, 50, 16, 8);
        buffer = ReadPixels(BackBuffer, 100, 50, 16, 8);
    });
    ASSERT_EQ(Magenta, bitmap.at(0, 7)); // the key: the bottom-left pixel
    EXPECT_EQ(16, width);
    EXPECT_EQ(8, height);
    ASSERT_EQ(bitmap.values.size(), window.values.size());
    ASSERT_EQ(bitmap.values.size(), buffer.values.size());
    ASSERT_EQ(bitmap.values.size(), beneath.values.size());
    int shown = 0, through = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            COLORREF expected = bitmap.at(x, y) == Magenta ? beneath.at(x, y) : bitmap.at(x, y);
            (bitmap.at(x, y) == Magenta ? through : shown)++;
            EXPECT_EQ(expected, window.at(x, y)) << x << "," << y;
            EXPECT_EQ(expected, buffer.at(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(shown, 0);
    EXPECT_GT(through, 0);
}

TEST(DrawBitmap, RasterModesCombineWithTheBackground) {
    const COLORREF background = RGB(0x33, 0x66, 0x99);
    Pixels source = ResourcePixels(MAKEINTRESOURCEA(2), 4, 2);
    Pixels drawn[6], buffered[6];
    const int modes[6] = {1, 2, 3, 4, 0, 7};
    std::int32_t width = 0, height = 0;
    RunScenario([&] {
        OpenCleared(background);
        for (int i = 0; i < 6; ++i) {
            DrawBitmap(GetModuleHandleA(nullptr), "2", 10 + 10 * i, 10, modes[i]);
            drawn[i] = WindowPixels(10 + 10 * i, 10, 4, 2);
            buffered[i] = ReadPixels(BackBuffer, 10 + 10 * i, 10, 4, 2);
        }
        width = LastBitmapWidth;
        height = LastBitmapHeight;
    });
    EXPECT_EQ(4, width); // "2" is the numbered resource 2
    EXPECT_EQ(2, height);
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(8u, drawn[i].values.size());
        ASSERT_EQ(8u, buffered[i].values.size());
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x) {
                COLORREF s = source.at(x, y);
                COLORREF expected = s; // copy
                switch (modes[i]) {
                case 1:
                    expected = s & background;
                    break;
                case 2:
                    expected = s | background;
                    break;
                case 3:
                    expected = s ^ background;
                    break;
                case 4:
                    expected = ~background & 0xFFFFFFu;
                    break;
                }
                EXPECT_EQ(expected, drawn[i].at(x, y)) << "mode " << modes[i] << " at " << x << "," << y;
                EXPECT_EQ(expected, buffered[i].at(x, y)) << "mode " << modes[i] << " at " << x << "," << y;
            }
        }
    }
}

TEST(DrawBitmap, UnknownNamesAndFilePathsReport228AndDrawNothing) {
    // A valid bitmap file, made from the numbered resource: only resources of
    // the module may load, so its path must be refused all the same.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(2));
    ASSERT_NE(nullptr, found);
    DWORD size = SizeofResource(module, found);
    const void *dib = LockResource(LoadResource(module, found));
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "qs_drawing_test.bmp";
    BITMAPFILEHEADER head = {};
    head.bfType = 0x4D42;
    head.bfSize = static_cast<DWORD>(sizeof head + size);
    head.bfOffBits = static_cast<DWORD>(sizeof head + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(&head, sizeof head, 1, file);
    std::fwrite(dib, size, 1, file);
    std::fclose(file);
    HANDLE fromFile = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(nullptr, fromFile) << "the test file itself is a bitmap";
    DeleteObject(fromFile);

    struct Outcome {
        std::int32_t number = 0, kind = 0, width = -1;
        COLORREF pixel = 0;
    } unknown, byPath;
    RunScenario([&] {
        OpenCleared(RGB(1, 2, 3));
        SetErrorLevel(0); // non-fatal errors are recorded silently
        DrawBitmap(GetModuleHandleA(nullptr), "2", 0, 0, 0);
        DrawBitmap(GetModuleHandleA(nullptr), "NO_SUCH_PICTURE", 20, 20, 0);
        unknown = {LastErrorNumber, TakeErrorKind(), LastBitmapWidth, WindowPixels(20, 20, 1, 1).at(0, 0)};
        LastErrorNumber = 0;
        DrawBitmap(GetModuleHandleA(nullptr), path.c_str(), 20, 20, 0);
        byPath = {LastErrorNumber, TakeErrorKind(), LastBitmapWidth, WindowPixels(20, 20, 1, 1).at(0, 0)};
    });
    DeleteFileA(path.c_str());
    EXPECT_EQ(228, unknown.number);
    EXPECT_EQ(1, unknown.kind);  // non-fatal
    EXPECT_EQ(4, unknown.width); // still the size of the last bitmap that loaded
    EXPECT_EQ(RGB(1, 2, 3), unknown.pixel);
    EXPECT_EQ(228, byPath.number);
    EXPECT_EQ(1, byPath.kind);
    EXPECT_EQ(RGB(1, 2, 3), byPath.pixel);
}

TEST(DrawBitmap, NothingIsDrawnIntoTheContextNamedByPdc) {
    std::int32_t widthBefore = 0;
    bool windowBefore = true;
    COLORREF pixel = 0;
    RunScenario([&] {
        // Before the main window exists the target is null, which "pdc" 0
        // names: the bitmap loads (its size is kept) but is not drawn.
        DrawBitmap(GetModuleHandleA(nullptr), "2", 0, 0, 0);
        widthBefore = LastBitmapWidth;
        windowBefore = MainWindow != nullptr;
        OpenCleared(RGB(9, 9, 9));
        SetSystemValue("pdc", reinterpret_cast<std::intptr_t>(WindowDC));
        DrawBitmap(GetModuleHandleA(nullptr), "MAGENTA", 0, 0, 0);
        pixel = WindowPixels(15, 0, 1, 1).at(0, 0);
        SetSystemValue("pdc", 0);
    });
    EXPECT_EQ(4, widthBefore);
    EXPECT_FALSE(windowBefore);
    EXPECT_EQ(RGB(9, 9, 9), pixel);
}
