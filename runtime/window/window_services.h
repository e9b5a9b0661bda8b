// Window services: start-up and teardown of the runtime's window layer, and
// the main window's settings (title, frame style, extended style) that the
// script thread chooses and the GUI thread uses when it creates windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// Start values of the main window's settings.
constexpr char InitialMainTitle[] = "Vantrokit-Fenster";
constexpr LONG InitialMainStyle = 0x14CF2000;
constexpr LONG InitialMainExStyle = WS_EX_WINDOWEDGE;

// GUI thread, at process start (RunRuntime): settings to their start values,
// classes "FENSTER" and "DIALOG" registered (ExitProcess(1) when that fails),
// common controls, the input events, the manifest check, the console values,
// and the defaults "messagemode" 1, "autopaint" 2, "sqlwidth" 50, "pdc" 0.
void StartWindowServices();
// GUI thread, at process end: empties the user-message set and unregisters
// the two classes.
void EndWindowServices();

// Script thread: stores the main window's title and, when the main window
// exists, sets its text.
void SetWindowTitle(const StringValue &title);
// Script thread: the frame style for the next main window (and for windows
// opened later with OpenDialogWindow) from the flag bits: 1 maximize box,
// 2 minimize box, 4 sizable border, 8 system menu, 0x10 no menu, 0x20 screen
// as background, 0x40 popup without caption or window edge, 0x200 dialog
// keyboard handling.
void SetWindowStyle(std::uint32_t bits);

// The settings themselves (MainWindowTitle, MainWindowStyle, ...) are kept in
// runtime/core/window_settings.h, where the GUI thread reads them.
#include "runtime/core/window_settings.h"
