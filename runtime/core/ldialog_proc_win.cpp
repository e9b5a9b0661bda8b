// Dialog procedure of the runtime's template dialogs ("LDIALOG"). What it
// does not handle it leaves to the dialog manager by returning FALSE.
#include "runtime/core/window_procs.h"

#include <cstdint>

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_rules.h"

namespace {

// Words of the creation block of GR_CREATE_LDIALOG.
enum LDialogWord : std::size_t { LD_TITLE, LD_PARENT, LD_X, LD_Y, LD_WIDTH, LD_HEIGHT, LD_RESULT };

int Int(std::uintptr_t word) {
    return static_cast<int>(static_cast<std::intptr_t>(word));
}

// The result a dialog procedure gives for a message it handled itself.
INT_PTR Handled(HWND dialog, LRESULT result) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR OnInitDialog(HWND dialog, LPARAM lParam) {
    const std::uintptr_t *block = reinterpret_cast<const std::uintptr_t *>(lParam);
    if (!block)
        return TRUE; // the dialog manager gives the first control the focus
    SetWindowTextA(dialog, reinterpret_cast<const char *>(block[LD_TITLE]));
    SetWindowPos(dialog, nullptr, Int(block[LD_X]), Int(block[LD_Y]), Int(block[LD_WIDTH]),
                 Int(block[LD_HEIGHT]), SWP_NOZORDER);
    SetFocus(dialog);
    return FALSE; // the focus is set
}

INT_PTR LDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
        // The dialog manager's own handling of WM_COMMAND does nothing more, so
        // it may run after the rules in every case.
        HandleCommand(CommandWindow::Dialog, dialog, wParam, lParam, NoDefaultProcessing);
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE)
            return FALSE;
        SetFocus(dialog);
        StoreLong(&EventKind, 2);
        PulseInput();
        return Handled(dialog, 0); // the dialog stays open
    case WM_ACTIVATE:
        StoreWindow(&ActiveDialog, wParam != 0 ? dialog : nullptr);
        return FALSE;
    case WM_SETFOCUS:
        StoreWindow(&FocusWindow, dialog);
        return FALSE;
    case WM_KILLFOCUS:
        StoreWindow(&FocusWindow, reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_PAINT:
        if (AutoPaint < 2) {
            StoreLong(&PaintedFlag, 1);
            SetInput();
        }
        return FALSE;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_RBUTTONDOWN || LOWORD(wParam) == WM_MBUTTONDOWN)
            PulseInput();
        return Handled(dialog, 0);
    case WM_ENTERSIZEMOVE:
        BeginSizeMove(dialog);
        return FALSE;
    case WM_EXITSIZEMOVE:
        EndSizeMove(dialog);
        WakeIfPainted();
        return FALSE;
    case DM_GETDEFID:
        HandleEnterKey(dialog, false);
        return Handled(dialog, 0);
    case WM_HSCROLL:
    case WM_VSCROLL:
        HandleScroll(dialog, message, wParam, lParam, NoDefaultProcessing);
        return Handled(dialog, 0);
    case WM_NOTIFY:
        HandleNotify(dialog, wParam, lParam);
        return Handled(dialog, 0);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK LDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CaptureOrRecord(dialog, message, wParam, lParam))
        return static_cast<INT_PTR>(message);
    return LDialogMessage(dialog, message, wParam, lParam);
}
