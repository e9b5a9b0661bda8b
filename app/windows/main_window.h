// The main window: start-up of the application (ScriptMain), the window's
// controls and fonts, and the two small procedures that every pass of the
// event loop uses. Script thread only; the windows belong to the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/catalogue/main_lists.h"

// The controls of the main window, created once at start-up.
extern HWND HintText;
extern HWND MoveUpButton;
extern HWND MoveDownButton;
extern HWND RefreshButton;
extern HWND ShowHiddenButton;
extern HWND AddPluginButton;
extern HWND OpenFolderButton;
extern HWND SortButton;
extern HWND OrigNamesButton; // null unless the rename method is used
extern HWND HelpButton;
extern HWND GroupFrame;
extern HWND CreditText;
extern HWND SeparatorLine;

// The three Tahoma fonts, height 13.
extern HFONT CreditFont; // underlined
extern HFONT NormalFont;
extern HFONT BoldFont;

// Window metrics read once at start-up.
extern std::int32_t CaptionHeight; // SM_CYCAPTION
extern std::int32_t FrameWidth;    // SM_CXFRAME
extern std::int32_t HeightExtra;   // CaptionHeight + FrameWidth - 42
extern std::int32_t WidthExtra;    // FrameWidth - 4
extern std::int32_t ClientTopOffset;
extern std::int32_t ClientLeftOffset;
extern std::int32_t MainWidth;  // WidthExtra + 450
extern std::int32_t MainHeight; // HeightExtra + 370

// The main list's row count as UpdateMoveButtons last read it.
extern std::int32_t RowTotal;
// What UpdateMoveButtons last did to the move buttons.
extern std::int32_t UpDisabled;
extern std::int32_t DownDisabled;
// GetTickCount at the end of start-up; links wait 1.5 s after it.
extern std::uint32_t StartTick;

// The application's main routine: start-up, then the event loop. Never returns.
void ScriptMain();
// The start-up steps up to and including the logo, start tick and Enter latch.
void StartMainWindow();
// Reads the main list's selection into Selection and enables or disables the
// move buttons where their state has to change.
void UpdateMoveButtons();
// Consumes the event that started a command: a 1 ms timer and one input wait.
void FlushInput();
