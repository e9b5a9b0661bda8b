// Window procedure of the secondary windows (class "DIALOG"). They behave
// like dialogs: default processing is DefDlgProcA, keyboard handling is always
// the dialog kind, and the user cannot close them (only the script can).
#include "runtime/core/window_procs.h"

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_rules.h"

namespace {

LRESULT OnCreate(HWND window) {
    HDC dc = GetDC(window); // CS_CLASSDC: the class's shared context keeps the colour
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    ReleaseDC(window, dc);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
    return 0;
}

LRESULT OnClose(HWND window) {
    if (!ConfirmClose(window))
        return 0;
    SetFocus(window);
    StoreLong(&EventKind, 2);
    PulseInput();
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    if (AutoPaint < 2) {
        StoreLong(&PaintedFlag, 1);
        SetInput();
    }
    return 0;
}

LRESULT OnExitSizeMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (EndSizeMove(window)) {
        StoreLong(&EventKind, 4);
        StoreWord(&LastMessage.number, WM_NCMOUSEMOVE); // 160: tells the script the size changed
        SetInput();
        Sleep(0);
    } else {
        WakeIfPainted();
    }
    return DefWindowProcA(window, WM_EXITSIZEMOVE, wParam, lParam);
}

LRESULT DialogWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_COMMAND:
        return HandleCommand(CommandWindow::Dialog, window, wParam, lParam, DefDlgProcA);
    case WM_CLOSE:
        return OnClose(window);
    case WM_SIZE:
        if (wParam <= SIZE_MAXIMIZED) {
            StoreLong(&EventKind, 4);
            PulseInput();
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_ACTIVATE:
        StoreWindow(&ActiveDialog, wParam != 0 ? window : nullptr);
        break; // the dialog manager keeps the focus of the controls
    case WM_PAINT:
        return OnPaint(window);
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_RBUTTONDOWN || LOWORD(wParam) == WM_MBUTTONDOWN)
            PulseInput();
        return 0;
    case WM_ENTERSIZEMOVE:
        BeginSizeMove(window);
        BringWindowToTop(window);
        return 0;
    case WM_EXITSIZEMOVE:
        return OnExitSizeMove(window, wParam, lParam);
    case DM_GETDEFID:
        HandleEnterKey(window, false);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        HandleScroll(window, message, wParam, lParam, DefDlgProcA);
        return 0;
    case WM_NOTIFY:
        HandleNotify(window, wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefDlgProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CaptureOrRecord(window, message, wParam, lParam))
        return static_cast<LRESULT>(message);
    return DialogWindowMessage(window, message, wParam, lParam);
}
