#include "runtime/core/message_loop.h"

#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"

namespace {

int Depth; // nested fast loops

// GR_PUMP_ALL phase: dispatches everything until GR_PUMP_REQUESTS_ONLY.
// Returns false when WM_QUIT ended it (its wParam in quitCode).
bool RunPumpAllPhase(int &quitCode) {
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            quitCode = static_cast<int>(message.wParam);
            return false;
        }
        if (got == -1) {
            continue;
        }
        if (!IsRequestMessage(message)) {
            HandleWindowMessage(message);
        } else if (message.wParam == GR_PUMP_REQUESTS_ONLY) {
            return true;
        } else {
            // GR_PUMP_ALL and GR_LEAVE_FAST_LOOP do nothing here, so fast
            // mode cannot be left from inside this phase.
            ExecuteRequest(message.wParam, message.lParam);
        }
    }
}

} // namespace

bool IsRequestMessage(const MSG &message) {
    return message.message == GUI_REQUEST_MESSAGE &&
           (message.hwnd == nullptr || message.hwnd == RequestWindow);
}

void HandleWindowMessage(MSG &message) {
    HWND dialog = ActiveDialog;
    if (dialog == nullptr || !IsDialogMessageA(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    RecordLastMessage(message.hwnd, message.message, message.wParam, message.lParam);
    PulseEvent(MessagePumpedEvent);
}

int RunMessageLoop() {
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            continue;
        }
        if (IsRequestMessage(message)) {
            ExecuteRequest(message.wParam, message.lParam);
        } else {
            HandleWindowMessage(message);
        }
    }
}

void RunFastLoop() {
    ++Depth;
    bool quit = false;
    int quitCode = 0;
    MSG message;
    // Once the program is ending every fast loop unwinds: the quit message
    // posted by EndProgram is a window-range message that the filter below
    // would keep from an outer loop for ever.
    while (!ProgramEnding()) {
        BOOL got = GetMessageA(&message, nullptr, GUI_REQUEST_MESSAGE, GUI_REQUEST_MESSAGE);
        if (got == 0) {
            quit = true;
            quitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            continue;
        }
        if (!IsRequestMessage(message)) {
            HandleWindowMessage(message); // another window's own message 0x8001
        } else if (message.wParam == GR_LEAVE_FAST_LOOP) {
            break;
        } else if (message.wParam == GR_PUMP_ALL) {
            if (!RunPumpAllPhase(quitCode)) {
                quit = true;
                break;
            }
        } else {
            ExecuteRequest(message.wParam, message.lParam);
        }
    }
    --Depth;
    if (quit) {
        PostQuitMessage(quitCode);
    }
}

int FastLoopDepth() {
    return Depth;
}
