// Pieces owned by other runtime layers that the process frame calls and that
// have no header of their own (see spine_hooks_win.cpp for the remaining ones).

#pragma once

#include <windows.h>

// --- Start-up and teardown, GUI thread, in the order RunRuntime calls them ---
// String layer: decimals 6, field width 0; "truecolor" 0 (core start-up).
void StartNumberDefaults();
// Settings: "errorlevel" := 1 (core start-up).
void StartErrorLevel();
// String layer: locale and decimal separator.
void StartLocaleLayer();
// Window services: classes, input events and the main window's settings.
void StartWindowLayer();
void EndWindowLayer();
// Drawing: console values, current font and the drawing layer's object.
void StartDrawingLayer();
void EndDrawingLayer();
// Run step, after the script thread has ended: registries still held.
void ReleaseRemainingRegistries();
// String layer: frees the decimal separator.
void EndLocaleLayer();
// String layer: clears the memory-area registry (core teardown).
void ClearMemoryAreas();

// Settings, on the script thread at its start: "truecolor" := 1.
void MarkScriptThreadStarted();

// Dialog procedures of the runtime's modal template dialogs (never shown by
// this program: their templates are not among its resources).
INT_PTR CALLBACK EditBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ListBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
