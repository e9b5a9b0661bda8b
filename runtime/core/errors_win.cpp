// Windows side of the runtime error reporter: the message boxes and the end.
#include <windows.h>

#include "runtime/core/error_box.h"
#include "runtime/core/frame.h"

static_assert(kErrorBoxStyle == (MB_OK | MB_ICONERROR), "error box style");
static_assert(kWarningBoxStyle == (MB_OKCANCEL | MB_ICONWARNING), "warning box style");
static_assert(kBoxAnswerOk == IDOK && kBoxAnswerCancel == IDCANCEL, "box answers");

int ShowRuntimeErrorBox(const char *text, const char *caption, unsigned style) {
    // Shown from the script thread with its own modal loop; the owner (the main
    // window, null before it exists) belongs to the GUI thread, which keeps pumping.
    return MessageBoxA(MainWindow, text, caption, style);
}

void EndAfterRuntimeError() {
    EndProgram();
}
