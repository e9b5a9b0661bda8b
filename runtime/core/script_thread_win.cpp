#include "runtime/core/script_thread.h"

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/spine_hooks.h"

namespace {

HANDLE GateEvent;         // manual reset; signalled while the script may run
HANDLE StopEvent;         // manual reset; signalled once the script is stopped
volatile LONG HoldCount;  // nested holds (GUI thread writes)
volatile LONG StopFlag;   // 1 once stopped
volatile LONG EndingFlag; // 1 once the program is ending
void (*ScriptEntry)();

DWORD WINAPI ScriptThreadMain(LPVOID) {
    // The GUI thread's queue must exist before anything is posted to it.
    while (!PostThreadMessageA(GuiThreadId, WM_NULL, 0, 0)) {
        Sleep(0);
    }
    // Shared focus, active window and key state with the GUI thread.
    AttachThreadInput(GetCurrentThreadId(), GuiThreadId, TRUE);
    MarkScriptThreadStarted();
    try {
        ScriptEntry();
    } catch (...) {
        // Nothing may leave the thread entry. An escaped exception (memory
        // ran out in a string operation, say) is a failure, never a normal
        // end: the user is told, and the exit code says so.
        ReportEscapedFault();
        EndProgramWithCode(ScriptFaultExitCode);
    }
    EndProgram();
}

bool OnScriptThread() {
    return ScriptThread != nullptr && GetCurrentThreadId() != GuiThreadId;
}

} // namespace

void StartScriptControl() {
    GateEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    StopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    InterlockedExchange(&HoldCount, 0);
    InterlockedExchange(&StopFlag, 0);
    InterlockedExchange(&EndingFlag, 0);
}

void EndScriptControl() {
    CloseHandle(GateEvent);
    CloseHandle(StopEvent);
    GateEvent = nullptr;
    StopEvent = nullptr;
}

bool StartScriptThread(void (*scriptMain)()) {
    ScriptEntry = scriptMain;
    ScriptThread = CreateThread(nullptr, 0, ScriptThreadMain, nullptr, 0, nullptr);
    return ScriptThread != nullptr;
}

void FinishScriptThread() {
    if (ScriptThread == nullptr) {
        return;
    }
    // Whatever ended the loop, the script thread must not run on.
    StopScriptThread();
    DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        if (waited >= StopGraceMs) {
            // Busy without reaching a checkpoint: it may hold the heap lock or
            // another runtime lock, so no teardown step may run. End now.
            TerminateProcess(GetCurrentProcess(), 0);
            ExitProcess(0);
        }
        DWORD r = MsgWaitForMultipleObjects(1, &ScriptThread, FALSE, StopGraceMs - waited, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) {
            break;
        }
        // Serve messages the script thread sends (it may be blocked in a send);
        // the request window refuses requests once stopped, so this only lets
        // the sender return to its next checkpoint.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(ScriptThread);
    ScriptThread = nullptr;
}

void HoldScriptThread() {
    if (InterlockedIncrement(&HoldCount) == 1) {
        ResetEvent(GateEvent);
    }
}

void ReleaseScriptThread() {
    LONG count = InterlockedDecrement(&HoldCount);
    if (count <= 0) {
        InterlockedExchange(&HoldCount, 0);
        SetEvent(GateEvent);
    }
}

void StopScriptThread() {
    InterlockedExchange(&StopFlag, 1);
    InterlockedExchange(&EndingFlag, 1);
    SetEvent(StopEvent);
    SetEvent(GateEvent);
}

bool ScriptStopped() {
    return StopFlag != 0;
}

void MarkProgramEnding() {
    InterlockedExchange(&EndingFlag, 1);
}

bool ProgramEnding() {
    return EndingFlag != 0;
}

void ScriptCheckpoint() {
    if (!OnScriptThread()) {
        return;
    }
    if (StopFlag != 0) {
        ExitThread(0);
    }
    if (HoldCount != 0) {
        HANDLE handles[2] = {GateEvent, StopEvent};
        WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (StopFlag != 0) {
            ExitThread(0);
        }
    }
}

DWORD ScriptWait(HANDLE event, DWORD timeoutMs) {
    ScriptCheckpoint();
    HANDLE handles[2] = {event, StopEvent};
    DWORD r = WaitForMultipleObjects(2, handles, FALSE, timeoutMs);
    ScriptCheckpoint();
    return r == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
