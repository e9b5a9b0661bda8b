// Handling shared by the three runtime window procedures: the common
// beginning, waking the script, and the command, scroll-bar, notification,
// parent-notify, Enter-key and move/size rules. GUI thread only; nothing here
// allocates or calls script code.
#pragma once

#include <windows.h>

// Default processing of a message for the calling procedure: DefWindowProcA,
// DefDlgProcA, or nothing (a dialog procedure leaves it to the dialog manager).
using DefaultProcedure = LRESULT(CALLBACK *)(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK NoDefaultProcessing(HWND, UINT, WPARAM, LPARAM);

// The common beginning: a registered message is stored in UserMessage, the
// script is woken and true returned (the procedure then returns the message
// number and does nothing else). Otherwise LastMessage := the message and false.
bool CaptureOrRecord(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Wakes a waiting WaitInput (PulseEvent). While a move or size loop holds the
// script thread a pulse reaches nobody, so none is given.
void PulseInput();
// Wakes WaitInput now or at its next wait (SetEvent).
void SetInput();

// Which window's command rules apply.
enum class CommandWindow {
    Main,  // class "FENSTER"
    Dialog // class "DIALOG" and "LDIALOG" dialogs: dialog mode always on
};
// WM_COMMAND that was not captured. Returns the procedure's result.
LRESULT HandleCommand(CommandWindow kind, HWND window, WPARAM wParam, LPARAM lParam,
                      DefaultProcedure defaultProc);

// WM_HSCROLL / WM_VSCROLL from a scroll-bar control (lParam): moves the bar
// itself; at the end of scrolling EventKind := 255 and the script is woken.
void HandleScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DefaultProcedure defaultProc);

// WM_NOTIFY: records code and sender and wakes the script as the code asks.
void HandleNotify(HWND window, WPARAM wParam, LPARAM lParam);

// DM_GETDEFID while Enter is down: the focus moves to the window after the
// focused one (with skipSelf, not when the window itself has the focus),
// EventKind := 13, the script is woken. Nothing happens while Enter is up.
void HandleEnterKey(HWND window, bool skipSelf);

// Confirmation before closing: true when no confirmation is configured or the
// user answered Yes.
bool ConfirmClose(HWND window);

// Move and size loops: the script thread is held from the start to the end of
// the loop. EndSizeMove returns true when the window's size changed.
void BeginSizeMove(HWND window);
bool EndSizeMove(HWND window);
// The unchanged-size case of the loop's end: if the painted flag is set,
// MenuItem, the tab-change flag, KeyCode, MouseX, MouseY := 0 and SetInput.
void WakeIfPainted();
