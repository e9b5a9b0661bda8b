// The main event loop.
#include <windows.h>

#include "app/catalogue/location.h"
#include "app/windows/event_loop.h"
#include "app/windows/main_window.h"
#include "runtime/core/events.h"

void RunEventLoop() {
    for (;;) {
        UpdateMoveButtons();
        if (UserMessage.number == WM_CLOSE) {
            FlushInput();
            QuitTool();
        }
        SleepMs(25);
        WaitMessage();
    }
}
