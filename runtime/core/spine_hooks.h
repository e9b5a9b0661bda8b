// Pieces owned by other runtime layers that the process frame calls and that
// have no header of their own (see spine_hooks_win.cpp for the remaining ones).

#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <cstdint>

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

// --- The system layer's services, for the process frame and the request
// executor (GUI thread) ---
// Files: the channel table, at the frame's start and end.
void StartSystemLayer();
void EndSystemLayer();
// COM of the GUI thread, released at the core's teardown.
void EndShellCom();
// The file dialog (save: the save dialog, else the open dialog) and the folder
// chooser, with COM started first; the chooser writes the chosen folder to
// path (MAX_PATH bytes) and is false, with path empty, when none was chosen.
BOOL ChooseFileName(OPENFILENAMEA *dialog, bool save);
bool ChooseFolder(BROWSEINFOA *info, char *path);
// A library function's call with count argument slots, COM started first
// when the call could have loaded ole32.
std::uintptr_t CallAddressWithSlots(std::uintptr_t address, int count);
// The common-control classes, registered on first need.
void StartCommonControlClasses();
bool CommonControlClassesStarted();
HWND CreateUpDownBuddy(DWORD style, int x, int y, int width, int height, HWND parent, int id,
                       HINSTANCE instance, HWND buddy, int upper, int lower, int position);
HWND CreateStatusBarWindow(LONG style, LPCSTR text, HWND parent, UINT id);
