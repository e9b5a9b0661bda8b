// Operations on the main window and on any window by handle, called on the
// script thread. Reading operations call Win32 directly; the platform carries
// messages to the GUI thread, which owns the windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/core/string_value.h"

// Opens the main window (class "FENSTER", the stored title, frame style and
// extended style) at x, y with the given outer size, or moves and sizes it
// when it is already open and records its new client size. Negative x or y
// report the non-fatal runtime error 223 first. Ends the process with exit
// code 1 when the window cannot be created.
void OpenWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

// Z-order choices of SetPosition.
constexpr std::int32_t KeepZOrder = 0;
constexpr std::int32_t ToBottom = 1;
constexpr std::int32_t MakeTopmost = -1;
constexpr std::int32_t EndTopmost = -2;
// Moves and sizes window (asynchronously, SWP_ASYNCWINDOWPOS) and puts it in
// the z-order by choice: 0 unchanged, 1 bottom, -1 topmost, -2 no longer
// topmost, any other value top. Negative x or y report the non-fatal runtime
// error 223 first.
void SetPosition(HWND window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 std::int32_t zOrder);

// The main window's outer rectangle in screen coordinates; 0 without one.
std::int32_t WindowLeft();
std::int32_t WindowTop();
std::int32_t WindowRight();
std::int32_t WindowBottom();

// The window's text; the empty text for a window without text (or no window).
StringValue GetText(HWND window);
// The text of a list box row; the empty text when there is no such row.
StringValue GetListItem(HWND listBox, std::int32_t row);
// Script thread. The texts of all rows of the list box in their order, each
// as GetListItem gives it, read in one GR_READ_LIST request to the GUI thread
// instead of two cross-thread messages per row.
std::vector<StringValue> GetListItems(HWND listBox);

// Script thread. Appends rows to the list box in their order (LB_ADDSTRING
// each), all in one GR_FILL_LIST request to the GUI thread instead of one
// cross-thread message per row; returns when every row is in. A caller adding
// many rows turns the list's redraw off around it (WM_SETREDRAW), as each row
// of a list that redraws updates its scroll bar at once.
void AddListRows(HWND listBox, const std::vector<StringValue> &rows);
// Script thread. As AddListRows for two lists that hold a row each for the
// same entry (firstRows[i] belongs with secondRows[i]; the shorter vector
// counts): a row that either list refuses goes into neither, so row i of one
// list stays row i of the other. One GR_FILL_LIST request for both.
void AddListRowPairs(HWND firstList, const std::vector<StringValue> &firstRows, HWND secondList,
                     const std::vector<StringValue> &secondRows);

// MoveListRowPair's place meaning the first list's selection.
constexpr std::int32_t AtSelection = -1;
// Script thread. Moves row from of two lists that hold a row each for the same
// entry to place to in both, the rows between shifting by one as repeated
// single moves would leave them, and selects it in the first list; all in one
// GR_MOVE_LIST_ROW request, so nothing the GUI thread does comes in between.
// With to AtSelection the row goes to the first list's selection of that
// moment and the list stays scrolled as it is; nothing moves when there is
// none or it is from. Returns where the row stands afterwards: from when it
// could not move (a row out of range, lists of unequal length, no memory).
std::int32_t MoveListRowPair(HWND firstList, HWND secondList, std::int32_t from, std::int32_t to);

// Enables or disables the window; disabling the window held in FocusWindow
// clears FocusWindow.
void EnableControl(HWND window, std::int32_t enable);

// The message box and the folder chooser run on the GUI thread, owned by the
// main window (none before it exists), while the script thread waits; both
// set DialogResult (frame.h).

// Script thread. MessageBoxA(MainWindow, text, caption, flags) called through
// CallLibrary; returns the button code (IDOK, IDYES, ...), also stored in
// DialogResult.
std::int32_t ShowMessageBox(const StringValue &text, const StringValue &caption, std::uint32_t flags);

// Script thread. The shell's folder chooser titled with prompt; the chosen
// folder's path ending in a backslash ("C:\" for a drive root), or "\" alone
// when cancelled. DialogResult becomes 1 or 0.
StringValue BrowseForFolder(const StringValue &prompt);
