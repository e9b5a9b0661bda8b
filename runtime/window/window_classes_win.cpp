// Registration of the runtime's window classes "FENSTER" and "DIALOG".
#include "runtime/window/window_classes.h"

#include <windows.h>

#include "runtime/core/frame.h"
#include "runtime/core/window_procs.h"

namespace {

// Extra window bytes of both classes. "DIALOG" windows are run by DefDlgProcA,
// which keeps its state there: 30 bytes on 32-bit Windows, 48 on 64-bit
// Windows (the SDK's DLGWINDOWEXTRA).
constexpr int kWindowExtraBytes = sizeof(void *) > 4 ? 48 : 30;

bool Register(const char *name, UINT style, WNDPROC procedure, HBRUSH background, HCURSOR cursor) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = kWindowExtraBytes;
    wc.hInstance = Instance;
    wc.hIcon = LoadIconA(Instance, "VANTRO"); // null while the program carries no such icon
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

} // namespace

bool RegisterRuntimeClasses() {
    // CS_BYTEALIGNWINDOW | CS_OWNDC | CS_HREDRAW | CS_VREDRAW
    const UINT mainStyle = 0x2023;
    return Register(MainWindowClassName, mainStyle, MainWindowProc,
                    static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), LoadCursorA(nullptr, IDC_ARROW)) &&
           Register(DialogWindowClassName, CS_CLASSDC, DialogWindowProc,
                    reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr);
}

void UnregisterRuntimeClasses() {
    UnregisterClassA(MainWindowClassName, Instance);
    UnregisterClassA(DialogWindowClassName, Instance);
}
