// Storage and start values of the window settings read by the window procedures.
#include "runtime/core/window_settings.h"

#include <string>

volatile LONG WindowStyleSetting = 0;
const char *volatile CloseConfirmCaption = nullptr;
const char *volatile CloseConfirmText = nullptr;
volatile LONG ManifestPresent = 0;
volatile LONG ClientWidth = 0;
volatile LONG ClientHeight = 0;
volatile LONG_PTR ControlFontMode = 0;
HFONT volatile ControlFont = nullptr;

namespace {

std::string MainTitle;
volatile LONG MainStyle = 0;
volatile LONG MainExStyle = 0;

} // namespace

void StoreMainWindowTitle(const char *title) {
    MainTitle = title ? title : "";
}

void StoreMainWindowFrame(LONG style, LONG exStyle) {
    InterlockedExchange(&MainStyle, style);
    InterlockedExchange(&MainExStyle, exStyle);
}

const char *MainWindowTitle() {
    return MainTitle.c_str();
}

DWORD MainWindowStyle() {
    return static_cast<DWORD>(MainStyle);
}

DWORD MainWindowExStyle() {
    return static_cast<DWORD>(MainExStyle);
}

bool MainWindowHasMenu() {
    return !WindowStyleHas(WindowStyleNoMenu);
}

void ApplyControlFont(HWND control) {
    LONG_PTR mode = ControlFontMode;
    if (mode == 0)
        return;
    HFONT font = mode == 1 ? ControlFont : reinterpret_cast<HFONT>(mode);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
