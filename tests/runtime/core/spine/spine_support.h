// Scenarios that run the real runtime: a scenario's script routine runs on
// the script thread of RunRuntime, its optional prepare step on the GUI thread
// before RunRuntime. A test runs a scenario in a child copy of this program
// (the robust way for scenarios that end or kill the process) or in-process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct Scenario {
    const char *name;
    void (*prepare)(); // GUI thread, before RunRuntime; may be null
    void (*script)();  // script thread
    // GUI thread, after RunRuntime returned its code; returns the exit code.
    int (*finish)(int code);
};

// The scenario table (scenarios.cpp); ends with a null name.
extern const Scenario Scenarios[];

// Child side: runs the named scenario, returns the process exit code.
int RunScenarioByName(const char *name);

// Parent side: starts this program with "--scenario=name" and arguments,
// waits up to timeoutMs; returns the exit code, or -1 on time-out (the child
// is then killed) or when it could not be started.
int RunChild(const char *name, const char *arguments, DWORD timeoutMs);
// The two halves of RunChild, for children that run side by side: StartChild
// gives the process handle (null when it could not start), WaitChild waits
// for it as RunChild does and closes the handle.
HANDLE StartChild(const char *name, const char *arguments);
int WaitChild(HANDLE process, DWORD timeoutMs);

// Script-thread helpers.
// A failed check ends a child process with the given code after a message;
// in-process (RunInProcess) it records the code and ends the program.
void Check(bool cond, int code, const char *what);
// Runs the named scenario inside this process; returns RunRuntime's code and
// the first failed check's code in failedCheck (0 when all passed).
int RunInProcess(const char *name, int &failedCheck);
HWND OpenMainWindow(); // GR_CREATE_MAIN_WINDOW, posted and awaited
// GR_CREATE_CONTROL sent; explicitId false takes the automatic id.
HWND CreateChild(const char *className, HWND parent, bool explicitId = false, int id = 0,
                 DWORD style = WS_CHILD | WS_VISIBLE);
