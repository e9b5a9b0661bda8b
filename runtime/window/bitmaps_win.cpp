// Drawing bitmap resources onto the main window: opaque, with a raster
// operation, or transparently.
#include "runtime/window/drawing.h"

#include "runtime/core/errors.h"
#include "runtime/core/settings.h"
#include "runtime/window/drawing_rules.h"

namespace {

// One bitmap drawn into one context in the way the mode asks.
void Draw(HDC destination, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
          HDC bitmap, std::int32_t mode) {
    if (mode == TransparentMode) {
        DrawTransparent(destination, x, y, width, height, bitmap, 0, 0);
    } else {
        BitBlt(destination, x, y, width, height, bitmap, 0, 0, RasterOperationOfMode(mode));
    }
}

} // namespace

void DrawBitmap(HINSTANCE module, const StringValue &name, std::int32_t x, std::int32_t y,
                std::int32_t mode) {
    LPCSTR resource =
        IsNumericName(name.c_str()) ? MAKEINTRESOURCEA(NumericNameId(name.c_str())) : name.c_str();
    // Only resources of the module: without LR_LOADFROMFILE a file path loads nothing.
    HANDLE image = LoadImageA(module, resource, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (image == nullptr) {
        RaiseNonFatal(228, name.c_str());
        return;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(image);
    HDC target = DrawingTarget;
    HDC window = WindowDC;
    HDC memory = CreateCompatibleDC(window);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAP size = {};
    GetObjectA(bitmap, sizeof size, &size);
    LastBitmapWidth = size.bmWidth;
    LastBitmapHeight = size.bmHeight;

    // The "pdc" setting names a context that is never drawn into; with its
    // value 0 that is the missing target before the main window exists.
    if (reinterpret_cast<std::intptr_t>(target) != PdcHandle && target != nullptr) {
        Draw(target, x, y, size.bmWidth, size.bmHeight, memory, mode);
        if (target == window && BackBuffer != nullptr) {
            Draw(BackBuffer, x, y, size.bmWidth, size.bmHeight, memory, mode);
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void DrawTransparent(HDC destination, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     HDC source, std::int32_t sourceX, std::int32_t sourceY) {
    // Five contexts: the source copy, a save copy, the mask (1 where the
    // transparent colour is), its inverse, and the work area.
    HDC copyDc = CreateCompatibleDC(destination);
    HDC saveDc = CreateCompatibleDC(destination);
    HDC maskDc = CreateCompatibleDC(destination);
    HDC inverseDc = CreateCompatibleDC(destination);
    HDC workDc = CreateCompatibleDC(destination);
    HBITMAP copyBitmap = CreateCompatibleBitmap(destination, width, height);
    HBITMAP saveBitmap = CreateCompatibleBitmap(destination, width, height);
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP inverseBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP workBitmap = CreateCompatibleBitmap(destination, width, height);
    HGDIOBJ copyOld = SelectObject(copyDc, copyBitmap);
    HGDIOBJ saveOld = SelectObject(saveDc, saveBitmap);
    HGDIOBJ maskOld = SelectObject(maskDc, maskBitmap);
    HGDIOBJ inverseOld = SelectObject(inverseDc, inverseBitmap);
    HGDIOBJ workOld = SelectObject(workDc, workBitmap);

    BitBlt(copyDc, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SetMapMode(copyDc, GetMapMode(destination));
    BitBlt(saveDc, 0, 0, width, height, copyDc, 0, 0, SRCCOPY);

    // Colour to monochrome: pixels of the background colour become 1 (white).
    COLORREF key = GetPixel(copyDc, 0, height - 1);
    COLORREF background = SetBkColor(copyDc, key);
    BitBlt(maskDc, 0, 0, width, height, copyDc, 0, 0, SRCCOPY);
    SetBkColor(copyDc, background);
    BitBlt(inverseDc, 0, 0, width, height, maskDc, 0, 0, NOTSRCCOPY);

    // Monochrome to colour turns 1 into the background colour (white) and 0
    // into the text colour (black) of the colour context: so AND with the mask
    // keeps the destination where the bitmap is transparent, AND with the
    // inverse keeps the bitmap where it is opaque.
    SetBkColor(workDc, RGB(255, 255, 255));
    SetTextColor(workDc, RGB(0, 0, 0));
    SetBkColor(copyDc, RGB(255, 255, 255));
    SetTextColor(copyDc, RGB(0, 0, 0));
    BitBlt(workDc, 0, 0, width, height, destination, x, y, SRCCOPY);
    BitBlt(workDc, 0, 0, width, height, maskDc, 0, 0, SRCAND);
    BitBlt(copyDc, 0, 0, width, height, inverseDc, 0, 0, SRCAND);
    BitBlt(workDc, 0, 0, width, height, copyDc, 0, 0, SRCPAINT);
    BitBlt(destination, x, y, width, height, workDc, 0, 0, SRCCOPY);

    SelectObject(copyDc, copyOld);
    SelectObject(saveDc, saveOld);
    SelectObject(maskDc, maskOld);
    SelectObject(inverseDc, inverseOld);
    SelectObject(workDc, workOld);
    DeleteObject(copyBitmap);
    DeleteObject(saveBitmap);
    DeleteObject(maskBitmap);
    DeleteObject(inverseBitmap);
    DeleteObject(workBitmap);
    DeleteDC(copyDc);
    DeleteDC(saveDc);
    DeleteDC(maskDc);
    DeleteDC(inverseDc);
    DeleteDC(workDc);
}
