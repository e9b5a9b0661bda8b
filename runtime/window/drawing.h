// The painting layer of the main window: filling it with a colour, drawing
// bitmap resources, fonts for controls, the mouse pointer and console text.
//
// Everything drawn goes both to the main window and to its BackBuffer (the
// full-screen memory copy that the main window procedure repaints from).
// ClearWindow, DrawBitmap, NewFont and SetCursorShape run on the script thread
// and use the GUI thread's device contexts directly; ConsolePrint runs on the
// GUI thread inside the main window procedure.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"
#include "runtime/core/window_procs.h" // WindowDC, BackBuffer, DrawingTarget

// --- Drawing state (process-wide) ---

// WindowDC, BackBuffer and DrawingTarget belong to the main window procedure
// (window_procs.h), which sets them up at the main window's WM_CREATE.

// Size of the last bitmap DrawBitmap loaded; 0 at start. Script thread.
extern std::int32_t LastBitmapWidth;
extern std::int32_t LastBitmapHeight;
// Font defaults of NewFont: text angle (escapement and orientation) and
// character set; both 0 at start.
extern std::int32_t FontAngle;
extern std::int32_t FontCharSet;

// --- Console state (GUI thread; ClearWindow resets the position) ---

extern const COLORREF ConsolePalette[16];
extern HFONT ConsoleFont;              // the stock SYSTEM_FIXED_FONT
extern std::int32_t ConsoleCharWidth;  // its tmAveCharWidth
extern std::int32_t ConsoleLineHeight; // its tmHeight minus 2
extern volatile LONG ConsoleColumn;    // 0 at start
extern volatile LONG ConsoleRow;       // 0 at start
extern std::int32_t ConsoleTextColour; // index into ConsolePalette, 0 at start
extern std::int32_t ConsoleBackColour; // index into ConsolePalette, 15 at start

// --- Start and end (GUI thread, before the script thread runs / after it ended) ---

// Drawing start: font defaults 0, last bitmap size 0, the default brush (the
// system COLOR_WINDOW brush) and pen (stock BLACK_PEN) taken, and the console
// started (StartConsole). May be called again; each call starts afresh.
void StartDrawing();
// Drawing end: releases the default brush and pen.
void EndDrawing();
// Console start: measures the console font and sets column, row and colour
// indices to their start values. Part of StartDrawing.
void StartConsole();

// --- Operations (script thread unless stated) ---

// A font: height and width as given, weight 700 when bold is nonzero (else
// 400), italic and underline from the low byte of their flags, the face name
// cut to 31 characters. The caller owns the font (DeleteObject).
HFONT NewFont(const StringValue &face, std::int32_t height, std::int32_t width, std::int32_t bold,
              std::int32_t italic, std::int32_t underline);

// Chooses the mouse pointer: 0 to 10 and 14 to 16 system cursors, 11 to 13 the
// program's cursors "DRUCKER", "SCHIEBEN" and "GROESSE". A loaded cursor
// becomes the current cursor and the main window's class cursor; one that does
// not load changes nothing. Other numbers: fatal RuntimeError 230.
void SetCursorShape(std::int32_t number);

// Shows pointer number (numbered as for SetCursorShape) over the main window
// and every control in it until EndBusyPointer, at once when the pointer is
// there; the windows' own cursors and the class cursor stay as they are. A
// cursor that does not load changes nothing; numbers outside 0 to 16: fatal
// RuntimeError 230.
void SetBusyPointer(std::int32_t number);
// Ends SetBusyPointer: the main window or control under the pointer shows its
// own pointer again at once, without waiting for the pointer to move.
void EndBusyPointer();

// Fills the main window and the BackBuffer with the colour (a COLORREF in
// true-colour mode, else a 15-bit value), opening the main window at 0, 0,
// 640 x 480 first when there is none; puts the console position to 0, 0 and
// makes every child window redraw itself.
void ClearWindow(std::uint32_t colour);

// Draws the bitmap resource name (decimal digits: a numeric id) of module at
// x, y: mode 1 AND, 2 OR, 3 XOR, 4 inverts the destination, -1 transparent
// (the colour of the bitmap's bottom-left pixel is left out), else a copy.
// Into DrawingTarget and, when that is WindowDC, the BackBuffer too; nothing
// is drawn when DrawingTarget equals the "pdc" setting. A bitmap that does not
// load: non-fatal RuntimeError 228 with the name, nothing drawn.
void DrawBitmap(HINSTANCE module, const StringValue &name, std::int32_t x, std::int32_t y, std::int32_t mode);

// Copies width x height of source at sourceX, sourceY to destination at x, y,
// leaving out the pixels that have the colour of the source area's
// bottom-left pixel. Any thread, for contexts it may draw into.
void DrawTransparent(HDC destination, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     HDC source, std::int32_t sourceX, std::int32_t sourceY);

// GUI thread (the main window procedure's line input): writes text at the
// console position in the console colours, into the main window and the
// BackBuffer. ending 0 appends a space, 1 nothing, 2 starts a new line; with
// wrap set, text longer than the line continues on the next one. Writing
// below the last full line scrolls the window up by one line first.
void ConsolePrint(const StringValue &text, std::int32_t ending, std::int32_t wrap);
