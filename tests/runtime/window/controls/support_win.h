// Running test bodies on the real runtime's script thread, and finding the
// windows they create.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Runs body on the script thread of a fresh RunRuntime (GetModuleHandle(0) as
// the instance) and returns RunRuntime's exit code. After body the windows it
// left are destroyed ("DIALOG" windows first, then the main window, whose
// destruction ends the run), so that the next run can register the classes.
int RunScript(const std::function<void()> &body);

// RunScript with the expectation that the run ends normally (exit code 0).
void RunChecked(const std::function<void()> &body);

// Polls cond every 10 ms until it holds or timeoutMs passed; true when it held.
bool WaitUntil(const std::function<bool()> &cond, DWORD timeoutMs = 5000);

// The window's class name.
std::string ClassOf(HWND window);
// The first visible top-level window of this process with the class (and,
// when title is not null, the title), waiting up to timeoutMs; null if none.
HWND WaitForTopWindow(const char *className, const char *title, DWORD timeoutMs = 5000);
// The first child of parent with the class and, unless id is -1, the id.
HWND FindChild(HWND parent, const char *className, int id = -1);
// Presses a dialog's button by id, as a click would.
void PressButton(HWND dialog, int id);
