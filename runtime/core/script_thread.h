// The script thread: its start, its hand-shake with the GUI thread, and how
// the GUI thread holds and stops it.
//
// The script thread is never suspended or terminated from outside: that could
// freeze it inside the heap lock (or the string or file layer) and leave the
// GUI thread waiting on that lock for ever. Instead it is held by a gate and
// stopped by a flag, both of which it looks at in ScriptCheckpoint. Every
// request send and every wait of the script thread (RequestDoneEvent, the
// input waits, SleepMs) passes a checkpoint, and the waits also wake when the
// thread is stopped, so a stopped script thread ends at its next runtime
// operation. If it is in pure computation and does not reach one, the GUI
// thread waits StopGraceMs after its loop has ended and then ends the whole
// process at once (TerminateProcess, exit code 0), running no teardown step
// that could need a lock the script thread holds.
#pragma once

#include <windows.h>

// How long the GUI thread waits for the script thread after its loop ended.
constexpr DWORD StopGraceMs = 3000;

// GUI thread, core start-up: creates the gate and stop events, clears the flags.
void StartScriptControl();
// GUI thread, core teardown: closes them.
void EndScriptControl();

// GUI thread, run step: creates ScriptThread running scriptMain after the
// hand-shake (WM_NULL post to GuiThreadId retried with Sleep(0), input attached
// to the GUI thread, "truecolor" 1). If scriptMain returns, EndProgram follows.
// Returns false when the thread cannot be created.
bool StartScriptThread(void (*scriptMain)());

// GUI thread, after the loop: stops the script thread if it still runs and
// waits up to StopGraceMs for it, serving sent requests meanwhile (they are
// refused while stopped). Closes ScriptThread. If the thread does not end in
// time, ends the process with exit code 0 and does not return.
void FinishScriptThread();

// GUI thread: hold the script thread at its next checkpoint (move/size loop);
// nested holds need as many releases.
void HoldScriptThread();
void ReleaseScriptThread();
// GUI thread: stop the script thread; it ends with ExitThread(0) at its next
// checkpoint; waits made through ScriptWait wake at once.
void StopScriptThread();
// True once StopScriptThread (or EndProgram) has run for this run.
bool ScriptStopped();
// Marks the run as ending (EndProgram): fast loops unwind instead of waiting.
void MarkProgramEnding();
bool ProgramEnding();

// Script thread: ends the thread if stopped; waits at the gate while held.
// Does nothing on the GUI thread.
void ScriptCheckpoint();
// Script thread: checkpoint, wait for the event (or the stop) with the given
// time-out, checkpoint; returns the wait's result for the event
// (WAIT_OBJECT_0 or WAIT_TIMEOUT).
DWORD ScriptWait(HANDLE event, DWORD timeoutMs = INFINITE);
