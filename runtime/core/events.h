// Input events: what the runtime window procedures saw, and the waits through
// which the script thread learns of it.
//
// The event variables below are written on the GUI thread by the window
// procedures with atomic exchanges (the Store* helpers) and read by the script
// thread with plain loads, right after one of its waits has returned. No group
// of variables is updated as a unit; a procedure writes its variables first and
// wakes the script afterwards. LastMessage and MessageAtLastWait live with the
// requests (requests.h), ActiveDialog with the process frame (frame.h).
#pragma once

#include <windows.h>

#include <cstdint>

// --- Atomic stores of the shared words (any thread) ---

inline void StoreLong(volatile LONG *target, LONG value) {
    InterlockedExchange(target, value);
}
inline void StoreWord(volatile LONG_PTR *target, LONG_PTR value) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(target), reinterpret_cast<PVOID>(value));
}
inline void StoreWindow(HWND volatile *target, HWND value) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(target), value);
}

// --- Event state ---

// Auto-reset, unnamed; created by StartInputEvents. Pulsed (or set where the
// procedures say so) for every event that should wake WaitInput.
extern HANDLE InputEvent;

// The last registered message that reached a runtime window procedure.
struct CapturedMessage {
    volatile LONG number;
    volatile LONG_PTR wParam;
    volatile LONG_PTR lParam;
};
extern CapturedMessage UserMessage;

extern volatile LONG EventKind; // 1, 2, 4, 5, 13, 255 or a character code
extern volatile LONG MenuItem;  // menu item id, or the negated control id
extern volatile LONG KeyCode;   // virtual key of the main window's last WM_KEYDOWN
extern volatile LONG MouseX;    // client coordinates of the last button press in the main window
extern volatile LONG MouseY;
// Window that has the focus as far as the script knows; the negated handle of
// a control after F1 (EventKind 5). Written by the procedures, the waits and SetFocusTo.
extern HWND volatile FocusWindow;
// The window that last received a registered WM_CLOSE. Unlike UserMessage,
// no wait resets it: a close stays pending until the script takes it, however
// many waits and commands come in between.
extern HWND volatile CloseRequest;
// The last left-button press on a child window of the main window, as the
// main window's WM_PARENTNOTIFY reports it (before the child itself sees the
// press): the child, the list-box row under it as the list stood then (-1
// when the child is no list box or the press was on no row), and a count that
// goes up by one with every such press. Everything else is written first,
// then the count.
extern HWND volatile ChildPressWindow;
extern volatile LONG ChildPressRow;
extern volatile LONG ChildPressCount;
// The main window's dialog flag, copied at its WM_CREATE.
extern volatile LONG DialogMode;
// 1 once a window without automatic repainting received WM_PAINT.
extern volatile LONG PaintedFlag;

// Written for facilities this program does not read.
extern volatile LONG TimerFlag;           // WM_TIMER with id 1
extern volatile LONG TabChangedFlag;      // a tab control's selection changed
extern HWND volatile ChangedTabControl;   // ... and which one
extern volatile LONG NotifiedFlag;        // a WM_NOTIFY was reported
extern volatile LONG NotifyCode;          // its code
extern HWND volatile NotifySender;        // its sender
extern volatile LONG MouseButtonState;    // 1 left, 2 right while held, else 0
extern volatile LONG LastMouseButton;     // 1 left, 2 right
extern volatile LONG_PTR Message996Value; // wParam of the last message 996
extern volatile LONG KeyDownFlag;         // between the main window's WM_KEYDOWN and its WM_CHAR

// --- Start-up and teardown (GUI thread, window services) ---

// Creates InputEvent (auto-reset, not signalled), empties UserMessageSet and
// gives every event variable its initial value. Returns false when the event
// cannot be created.
bool StartInputEvents();
// Empties UserMessageSet and closes InputEvent.
void EndInputEvents();

// --- Registered messages ---

// Script thread. For each of the count numbers in order: a non-zero number is
// added to UserMessageSet, a zero empties it (numbers added earlier in the same
// call included). Afterwards the set is active when it is not empty. The set
// holds up to UserMessageCapacity numbers; further ones are not registered.
void SetUserMessages(int count, ...);
constexpr int UserMessageCapacity = 64;
// GUI thread. True when the set is active and holds the message number.
bool IsUserMessage(UINT message);
// Any thread: the current set in ascending order (at most UserMessageCapacity
// numbers written to out); returns how many there are. 0 when inactive.
int UserMessageList(LONG *out);

// --- Waits and operations of the script thread ---

// Resets MenuItem, the tab-change flag, EventKind, KeyCode, UserMessage (all
// three words), MouseX and MouseY; waits for InputEvent (with FastMode on the
// GUI thread dispatches window messages meanwhile); then, unless EventKind is
// 5, FocusWindow := GetFocus(); MessageAtLastWait := LastMessage number.
void WaitInput();
// As WaitInput, but keeps UserMessage wParam and lParam (only the number is
// reset) and waits for MessagePumpedEvent, pulsed after each dispatched message.
// In a namespace because user32 has a WaitMessage of its own: call it as
// Script::WaitMessage() (the bare name is the Win32 function).
// With closeOf given, the wait also ends once a close request of that window
// is pending (looked at every 50 ms): a close that came just before the wait
// must not leave the script waiting for a message that may never come.
namespace Script {
void WaitMessage(HWND closeOf = nullptr);
}
// Script thread. Forgets the captured message: UserMessage := 0, 0, 0, with
// no wait. A pending close request stays.
void DropUserMessage();
// Script thread. True when window has a pending close request; the request is
// then taken (cleared). A request for another window is left pending.
bool TakeCloseRequest(HWND window);
// True when w is FocusWindow or has the focus.
bool HasFocus(HWND w);
// FocusWindow := w, then SetFocus(w).
void SetFocusTo(HWND w);
// Shows PopupMenu at x, y (main-window client coordinates) and waits until the
// menu has closed; the choice arrives later as WM_COMMAND. Destroys PopupMenu
// afterwards and clears the slot: the caller builds a new menu for each call.
// A focusAfter window gets the focus (and becomes FocusWindow) on the GUI
// thread as soon as the menu has closed, before the choice is dispatched, so
// the focus change's own notifications never replace the recorded choice.
void ShowPopup(int x, int y, HWND focusAfter = nullptr);
// Sleeps on the GUI thread for ms milliseconds (no repainting meanwhile).
void SleepMs(DWORD ms);
