// Drawing state, start and end, clearing the main window, fonts and cursors.
#include "runtime/window/drawing.h"

#include <cstring>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/window/drawing_rules.h"
#include "runtime/window/window_ops.h"

std::int32_t LastBitmapWidth = 0;
std::int32_t LastBitmapHeight = 0;
std::int32_t FontAngle = 0;
std::int32_t FontCharSet = 0;

namespace {

// Taken at drawing start, released at drawing end.
HBRUSH DefaultBrush = nullptr;
HPEN DefaultPen = nullptr;

BOOL CALLBACK RedrawChild(HWND child, LPARAM) {
    RedrawWindow(child, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    return TRUE;
}

// The cursor of a pointer number, or null when it does not load.
HCURSOR LoadPointer(std::int32_t number) {
    static const char *const ProgramCursors[] = {"DRUCKER", "SCHIEBEN", "GROESSE"};
    if (number >= 11 && number <= 13) {
        return LoadCursorA(Instance, ProgramCursors[number - 11]);
    }
    static const LPCSTR SystemCursors[] = {
        IDC_ARROW, IDC_IBEAM,    IDC_WAIT,     IDC_CROSS,       IDC_UPARROW, IDC_SIZEALL,
        IDC_ICON,  IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS,  nullptr,
        nullptr,   nullptr,      IDC_NO,       IDC_APPSTARTING, IDC_HELP};
    return LoadCursorA(nullptr, SystemCursors[number]);
}

// Has the main window or the control under the pointer choose the pointer
// now, as the next move of the pointer would make it do.
void RefreshPointer() {
    POINT at;
    HWND main = MainWindow;
    if (main == nullptr || !GetCursorPos(&at)) {
        return;
    }
    HWND under = WindowFromPoint(at);
    if (under == nullptr || GetAncestor(under, GA_ROOT) != main) {
        return;
    }
    LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
}

// The system pointer with the runtime's number; a number out of range is
// runtime error 230 and gives no pointer.
HCURSOR NumberedPointer(std::int32_t number) {
    if (number < 0 || number > 16) {
        RaiseFatal(230);
        return nullptr;
    }
    return LoadPointer(number);
}

void StoreBusyPointer(HCURSOR cursor) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(&BusyPointer), cursor);
}

} // namespace

void StartDrawing() {
    FontAngle = 0;
    FontCharSet = 0;
    LastBitmapWidth = 0;
    LastBitmapHeight = 0;
    DefaultBrush = GetSysColorBrush(COLOR_WINDOW);
    DefaultPen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    StartConsole();
}

void EndDrawing() {
    // Both are system objects: deleting them is harmless, and the layer keeps nothing.
    if (DefaultBrush != nullptr) {
        DeleteObject(DefaultBrush);
    }
    if (DefaultPen != nullptr) {
        DeleteObject(DefaultPen);
    }
    DefaultBrush = nullptr;
    DefaultPen = nullptr;
}

HFONT NewFont(const StringValue &face, std::int32_t height, std::int32_t width, std::int32_t bold,
              std::int32_t italic, std::int32_t underline) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = FontAngle;
    font.lfOrientation = FontAngle;
    font.lfWeight = bold != 0 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(italic & 0xFF);
    font.lfUnderline = static_cast<BYTE>(underline & 0xFF);
    font.lfStrikeOut = 0;
    font.lfCharSet = static_cast<BYTE>(FontCharSet);
    // lfFaceName holds 31 characters and the terminating zero.
    std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return CreateFontIndirectA(&font);
}

void SetCursorShape(std::int32_t number) {
    HCURSOR cursor = NumberedPointer(number);
    if (cursor == nullptr) {
        return;
    }
    SetCursor(cursor);
    HWND window = MainWindow;
    if (window != nullptr) {
        // The class cursor keeps the pointer while it moves over the client area.
        SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    }
}

void SetBusyPointer(std::int32_t number) {
    HCURSOR cursor = NumberedPointer(number);
    if (cursor == nullptr) {
        return;
    }
    StoreBusyPointer(cursor);
    RefreshPointer();
}

void EndBusyPointer() {
    StoreBusyPointer(nullptr);
    RefreshPointer();
}

void ClearWindow(std::uint32_t colour) {
    if (MainWindow == nullptr) {
        OpenWindow(0, 0, 640, 480);
    }
    COLORREF fill = TrueColor != 0 ? static_cast<COLORREF>(colour) : ColourFrom15Bit(colour);
    HDC target = DrawingTarget;
    if (target != nullptr) {
        HBRUSH brush = CreateSolidBrush(fill);
        // The brush goes back out of the context before it is deleted, so
        // repeated clears leave no brushes behind.
        HGDIOBJ previous = SelectObject(target, brush);
        PatBlt(target, 0, 0, ScreenWidth, ScreenHeight, PATCOPY);
        SelectObject(target, previous);
        if (target == WindowDC && BackBuffer != nullptr) {
            RECT screen = {0, 0, ScreenWidth, ScreenHeight};
            FillRect(BackBuffer, &screen, brush);
        }
        DeleteObject(brush);
    }
    InterlockedExchange(&ConsoleColumn, 0);
    InterlockedExchange(&ConsoleRow, 0);
    if (MainWindow != nullptr) {
        EnumChildWindows(MainWindow, RedrawChild, 0);
    }
}
