// The GUI thread's message loops: the main loop of the run step and the fast
// loop that executes requests without dispatching window messages. GUI thread only.
#pragma once

#include <windows.h>

// Runs GetMessageA until WM_QUIT and returns the quit message's wParam.
// Requests are executed; every other message goes through HandleWindowMessage.
int RunMessageLoop();

// GR_ENTER_FAST_LOOP: executes only requests until GR_LEAVE_FAST_LOOP or
// WM_QUIT (which is posted again so that outer loops end too). GR_PUMP_ALL
// opens a phase that dispatches everything until GR_PUMP_REQUESTS_ONLY.
void RunFastLoop();

// A window message as the main loop handles it: IsDialogMessageA on
// ActiveDialog, else TranslateMessage and DispatchMessageA; then LastMessage
// is recorded and MessagePumpedEvent pulsed.
void HandleWindowMessage(MSG &message);

// True when the queued message is a request (GUI_REQUEST_MESSAGE posted to
// the thread or to the request window).
bool IsRequestMessage(const MSG &message);

// Depth of nested fast loops (0 outside); GUI thread only.
int FastLoopDepth();
