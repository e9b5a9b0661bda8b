// Process frame: the process-wide state shared by the GUI thread and the script
// thread, the process entry and the program end.
//
// Threads: the GUI thread is the thread that calls RunRuntime; it owns every
// window and runs the message loop. The script thread runs the application's
// main routine. Unless a line says otherwise, a global is written by the
// start-up (GUI thread, before the script thread exists) and only read later.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/command_line.h" // ParameterList, ParameterCount

extern DWORD GuiThreadId;        // target of every posted request
extern HINSTANCE Instance;       // the program's instance handle
extern std::int32_t ScreenWidth; // SM_CXSCREEN, read once at start-up
extern std::int32_t ScreenHeight;
extern std::int32_t NextControlId; // next automatic control id; GUI thread only
extern HANDLE RequestDoneEvent;    // set by the GUI thread when a posted request is done
extern HANDLE MessagePumpedEvent;  // pulsed by the GUI loop after each dispatched message
extern HWND RequestWindow;         // invisible window "CW" that serves sent requests
extern HWND volatile MainWindow;   // set by GR_CREATE_MAIN_WINDOW (GUI thread)
extern HWND volatile ActiveDialog; // written by window procedures on WM_ACTIVATE
extern HANDLE ScriptThread;        // handle of the script thread while it runs
extern volatile LONG FastMode;     // "fastmode"; written with InterlockedExchange
extern HMENU PopupMenu;            // menu shown by GR_SHOW_POPUP; filled by the application
extern volatile LONG DialogResult; // 1 when the last runtime dialog was confirmed, else 0

// The process entry (the body of WinMain), on the thread that becomes the GUI
// thread: core start-up, the other layers' start-ups, the run (script thread
// running scriptMain, message loop), the teardowns. Returns the exit code:
// the quit message's wParam (0 after a normal end). Start-up failures end the
// process with ExitProcess(1). All state is set up anew on each call, so a
// test may call it several times in one process, one call at a time.
int RunRuntime(HINSTANCE instance, void (*scriptMain)());

// The application's end statement, on the script thread: with FastMode on it
// first posts GR_PUMP_REQUESTS_ONLY and GR_LEAVE_FAST_LOOP, then posts WM_QUIT
// (wParam 0) to the GUI thread and ends the script thread. Called on the GUI
// thread by mistake, it ends the process with exit code 0.
[[noreturn]] void EndProgram();

// EndProgram with the given exit code in the quit message's wParam.
[[noreturn]] void EndProgramWithCode(int code);
// The exit code after a failure escaped the script routine.
constexpr int ScriptFaultExitCode = 3;

// The main window's WM_DESTROY, on the GUI thread: stops the script thread
// (exit code 0), with FastMode on posts GR_PUMP_REQUESTS_ONLY and
// GR_LEAVE_FAST_LOOP to the GUI thread, then PostQuitMessage(0).
void EndOnMainWindowDestroyed();

// Core start-up and teardown, on the GUI thread (called by RunRuntime).
void StartCore();
void EndCore();
