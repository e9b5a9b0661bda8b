// The runtime's window procedures: the main window (class "FENSTER"), the
// secondary windows (class "DIALOG") and the dialog procedure of "LDIALOG"
// dialogs. The window services register the classes with these procedures.
// They run on the GUI thread, write the event variables of events.h and wake
// the script thread; a registered message (SetUserMessages) is stored in
// UserMessage and answered with its own number, without further processing.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// lParam of WM_INITDIALOG: null, or a request block of uintptr_t words
// (title, parent, x, y, width, height, result) whose title and placement it applies.
INT_PTR CALLBACK LDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Drawing state of the main window, set up at its WM_CREATE and released at its
// WM_DESTROY (null outside). GUI thread writes; the drawing layer uses them
// from the script thread while the main window exists.
extern HDC WindowDC;           // the main window's own device context (CS_OWNDC)
extern HDC BackBuffer;         // screen-sized memory copy of the client area; WM_PAINT repaints from it
extern HDC DrawingTarget;      // where drawing goes: WindowDC once the main window exists
extern HBRUSH BackgroundBrush; // fills erased areas while "autopaint" is 0
// While not null, the pointer over the main window and every control in it,
// whatever their own cursors (the main window answers WM_SETCURSOR with it).
// Written by the drawing layer (SetBusyPointer), read on the GUI thread.
extern HCURSOR volatile BusyPointer;
