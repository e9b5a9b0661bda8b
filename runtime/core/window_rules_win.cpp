// Rules shared by the runtime window procedures.
#include "runtime/core/window_rules.h"

#include <climits>
#include <cstdint>

#include "runtime/core/events.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_settings.h"

namespace {

// GUI thread only: how many move/size loops hold the script thread, and the
// window rectangle at the start of the current one.
int SizeMoveHolds = 0;
RECT SizeMoveStart = {0, 0, 0, 0};

// Notification codes of WM_NOTIFY that the rules single out.
constexpr int IgnoredNotification = -1249;
constexpr int TabSelectionChanged = -551; // TCN_SELCHANGE
constexpr int UnrecordedNotification = -17;

LONG Clamp(long long value) {
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<LONG>(value);
}

} // namespace

LRESULT CALLBACK NoDefaultProcessing(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

bool CaptureOrRecord(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsUserMessage(message)) {
        StoreLong(&UserMessage.number, static_cast<LONG>(message));
        StoreWord(&UserMessage.wParam, static_cast<LONG_PTR>(wParam));
        StoreWord(&UserMessage.lParam, lParam);
        if (message == WM_CLOSE) {
            StoreWindow(&CloseRequest, window);
        }
        PulseInput();
        return true;
    }
    RecordLastMessage(window, message, wParam, lParam);
    return false;
}

void PulseInput() {
    // With the script thread held, nobody waits to be released by a pulse;
    // the end of the loop wakes it with SetEvent where that is wanted.
    if (SizeMoveHolds == 0 && InputEvent)
        PulseEvent(InputEvent);
}

void SetInput() {
    if (InputEvent)
        SetEvent(InputEvent);
}

LRESULT HandleCommand(CommandWindow kind, HWND window, WPARAM wParam, LPARAM lParam,
                      DefaultProcedure defaultProc) {
    bool dialogMode = kind == CommandWindow::Dialog || DialogMode != 0;
    bool reportsAll = MessageMode != 0 || !dialogMode;
    if (reportsAll)
        StoreLong(&MenuItem, -static_cast<LONG>(static_cast<SHORT>(LOWORD(wParam))));

    if (lParam != 0) {
        HWND control = reinterpret_cast<HWND>(lParam);
        WORD code = HIWORD(wParam);
        if (code == 1 || code == 9 || code == 10) {
            StoreWindow(&FocusWindow, control);
            if (dialogMode)
                StoreLong(&EventKind, 1);
            PulseInput();
            return 0;
        }
        if (code == 256 || code == 768)
            StoreWindow(&FocusWindow, control);
        if (code != 0) {
            if (reportsAll)
                PulseInput();
            return defaultProc(window, WM_COMMAND, wParam, lParam);
        }
        // A click.
        StoreWindow(&FocusWindow, control);
        StoreLong(&EventKind, 255);
        SetFocus(control);
        PulseInput();
        Sleep(0);
        return 0;
    }

    // A menu item or an accelerator.
    bool cancel = LOBYTE(LOWORD(wParam)) == IDCANCEL;
    if (kind == CommandWindow::Main)
        cancel = cancel && dialogMode && HIWORD(wParam) == 0;
    if (cancel) {
        SetFocus(nullptr);
        StoreLong(&EventKind, 2);
    } else if (kind == CommandWindow::Main) {
        StoreLong(&MenuItem, static_cast<LONG>(wParam));
    } else {
        StoreLong(&MenuItem, static_cast<SHORT>(LOWORD(wParam)));
    }
    PulseInput();
    return 0;
}

void HandleScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DefaultProcedure defaultProc) {
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (!bar)
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(bar, SB_CTL, &info))
        return;
    long long minimum = info.nMin, maximum = info.nMax, position = info.nPos;
    long long step = (maximum >= minimum ? maximum - minimum : minimum - maximum) / 10;
    WORD request = LOWORD(wParam);
    switch (request) {
    case SB_LINEUP:
        if (position != 0)
            --position;
        break;
    case SB_LINEDOWN:
        if (position < maximum)
            ++position;
        break;
    case SB_PAGEUP:
        position -= step;
        break;
    case SB_PAGEDOWN:
        position += step;
        break;
    case SB_THUMBPOSITION:
        position = HIWORD(wParam);
        break;
    case SB_TOP:
        position = minimum;
        break;
    case SB_BOTTOM:
        position = maximum;
        break;
    default: // SB_THUMBTRACK, SB_ENDSCROLL: the position stays
        break;
    }
    SCROLLINFO update = {};
    update.cbSize = sizeof update;
    update.fMask = SIF_POS;
    update.nPos = Clamp(position); // Windows clamps it to the range
    SetScrollInfo(bar, SB_CTL, &update, TRUE);
    if (request == SB_ENDSCROLL) {
        defaultProc(window, message, wParam, lParam);
        StoreLong(&EventKind, 255);
        PulseInput();
    }
}

void HandleNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
    if (!header)
        return;
    int code = static_cast<int>(header->code);
    HWND sender = header->hwndFrom;
    if (code == IgnoredNotification)
        return;
    if (code < -552 || (code >= -549 && code <= -11)) {
        StoreLong(&NotifyCode, code);
        StoreWindow(&NotifySender, sender);
        if (MessageMode == 2 || ManifestPresent == 0) {
            StoreLong(&NotifiedFlag, 1);
            PulseInput();
        }
        return;
    }
    if (code == TabSelectionChanged) {
        StoreLong(&TabChangedFlag, 1);
        StoreWindow(&ChangedTabControl, sender);
    }
    if (code != UnrecordedNotification)
        RecordLastMessage(window, WM_NOTIFY, wParam, lParam);
    StoreLong(&NotifiedFlag, 1);
    StoreLong(&NotifyCode, code);
    StoreWindow(&NotifySender, sender);
    PulseInput();
}

void HandleEnterKey(HWND window, bool skipSelf) {
    if (GetKeyState(VK_RETURN) >= 0)
        return;
    HWND focus = GetFocus();
    if (!(skipSelf && focus == window)) {
        // Past the last window there is nothing to move to; the focus stays
        // where it is rather than being lost.
        HWND next = focus ? GetWindow(focus, GW_HWNDNEXT) : nullptr;
        if (next)
            SetFocus(next);
    }
    StoreLong(&EventKind, 13);
    PulseInput();
}

bool ConfirmClose(HWND window) {
    const char *text = CloseConfirmText;
    if (!text)
        return true;
    const char *caption = CloseConfirmCaption;
    return MessageBoxA(window, text, caption ? caption : "", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void BeginSizeMove(HWND window) {
    GetWindowRect(window, &SizeMoveStart);
    ++SizeMoveHolds;
    HoldScriptThread();
}

bool EndSizeMove(HWND window) {
    if (SizeMoveHolds > 0) {
        --SizeMoveHolds;
        ReleaseScriptThread();
    }
    RECT now = {0, 0, 0, 0};
    if (!GetWindowRect(window, &now))
        return false;
    return now.right - now.left != SizeMoveStart.right - SizeMoveStart.left ||
           now.bottom - now.top != SizeMoveStart.bottom - SizeMoveStart.top;
}

void WakeIfPainted() {
    if (PaintedFlag == 0)
        return;
    StoreLong(&MenuItem, 0);
    StoreLong(&TabChangedFlag, 0);
    StoreLong(&KeyCode, 0);
    StoreLong(&MouseX, 0);
    StoreLong(&MouseY, 0);
    SetInput();
}
