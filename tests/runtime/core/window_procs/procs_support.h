// Scenarios for the runtime window procedures: a test runs a script routine on
// the real runtime's script thread (RunRuntime in this process) and drives the
// windows with real input (SendInput). Every wait in a scenario is bounded.
#pragma once

#include <windows.h>

#include <functional>

// Main thread: runs script on the runtime's script thread and returns
// RunRuntime's exit code. A scenario that has not ended after timeoutMs ends
// the test program (exit code 3) after saying which one hung.
int RunScenario(void (*script)(), DWORD timeoutMs = 30000);

// --- Script-thread helpers ---

// GR_CREATE_MAIN_WINDOW at x, y with the given size; returns MainWindow.
HWND OpenTestWindow(int x = 100, int y = 100, int width = 400, int height = 300);
// GR_CREATE_CONTROL with an explicit id, as a visible child of parent.
HWND CreateTestControl(const char *className, const char *text, DWORD style, int id, int x, int y, int width,
                       int height, HWND parent);
// GR_CREATE_DIALOG_WINDOW: a "DIALOG" window owned by owner.
HWND OpenTestDialogWindow(HWND owner, int x, int y, int width, int height);
// Runs work on the GUI thread and returns when it is done.
void RunOnGuiThread(const std::function<void()> &work);

// Brings the window to the front and gives it the focus.
void Activate(HWND window);
// Real input: a left click at a screen point; a key pressed and released;
// the left button dragged from one screen point to another.
void ClickAt(POINT screen);
void ClickWindow(HWND window); // the centre of the window
void PressKey(WORD virtualKey);
void Drag(POINT from, POINT to);
// The first screen point of the window (scanned along its middle rows) at
// which WM_NCHITTEST answers hit; {-1, -1} when there is none.
POINT FindHitPoint(HWND window, LRESULT hit);

// A bounded wait: ArmTimeout makes the main window receive WM_TIMER with id 1
// after ms (which wakes both waits and sets TimerFlag), DisarmTimeout cancels
// it. ArmTimeout clears TimerFlag.
void ArmTimeout(DWORD ms);
void DisarmTimeout();

// Calls act, then WaitInput until accept() holds after a wait. A wait that ends
// on the time-out (the wake was missed: pulses reach only a waiting script)
// repeats act, up to attempts times. Returns whether accept() held.
bool ActAndWaitInput(const std::function<void()> &act, const std::function<bool()> &accept, int attempts = 4,
                     DWORD timeoutMs = 1500);
// Waits (Script::WaitMessage) until accept() holds, at most timeoutMs.
bool WaitMessageUntil(const std::function<bool()> &accept, DWORD timeoutMs = 3000);
