// Window settings that the window services keep and the runtime window
// procedures read on the GUI thread. The storage and start values live in
// window_settings_win.cpp; the window services (script thread or start-up)
// write them with atomic exchanges, the procedures read them with plain loads.
#pragma once

#include <windows.h>

// Option bits of the main window, as SetWindowStyle stores them.
constexpr LONG WindowStyleNoMenu = 0x10;           // the main window gets no menu
constexpr LONG WindowStyleScreenBackground = 0x20; // the screen under the window is its first content
constexpr LONG WindowStyleDialog = 0x200;          // keyboard handling works as in a dialog

// The main window's option bits (above); 0 at start.
extern volatile LONG WindowStyleSetting;

// Close confirmation: when CloseConfirmText is not null, closing a runtime
// window first asks MessageBoxA(CloseConfirmText, CloseConfirmCaption) with
// Yes/No. Both null at start. The texts belong to the window services and
// must stay valid for as long as they are set here.
extern const char *volatile CloseConfirmCaption;
extern const char *volatile CloseConfirmText;

// 1 when the program carries an application manifest (resource type 24, id 1);
// recorded once by the window-services start-up. 0 at start.
extern volatile LONG ManifestPresent;

// The main window's client size, recorded at its WM_CREATE and by OpenWindow;
// the drawing layer reads it.
extern volatile LONG ClientWidth;
extern volatile LONG ClientHeight;

// The runtime's window classes: the main window and the secondary windows.
// Registered by the window-services start-up.
constexpr char MainWindowClassName[] = "FENSTER";
constexpr char DialogWindowClassName[] = "DIALOG";

// The main window's title and frame, as the window services choose them on
// the script thread (SetWindowTitle, SetWindowStyle) and the GUI thread reads
// them when it creates the main window or a "DIALOG" window. The title's text
// stays valid until the next StoreMainWindowTitle, which the script thread
// cannot call while it waits for a window request.
void StoreMainWindowTitle(const char *title);
void StoreMainWindowFrame(LONG style, LONG exStyle);
const char *MainWindowTitle();
DWORD MainWindowStyle();
DWORD MainWindowExStyle();
// False when SetWindowStyle chose the no-menu flag.
bool MainWindowHasMenu();

// Control font given to every control created by GR_CREATE_CONTROL and
// GR_CREATE_TAB_CONTROL: mode 0 none, 1 ControlFont, 2 or more the mode value
// itself as the font handle. 0 and null at start; nothing in this program
// changes them.
extern volatile LONG_PTR ControlFontMode;
extern HFONT volatile ControlFont;
// GUI thread, right after a control was created: WM_SETFONT by the font mode,
// with redrawing.
void ApplyControlFont(HWND control);

// True when the option bit is set in WindowStyleSetting. Any thread.
inline bool WindowStyleHas(LONG bit) {
    return (WindowStyleSetting & bit) != 0;
}
