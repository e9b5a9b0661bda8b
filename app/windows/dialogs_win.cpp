// The input dialog and the hidden-plugins dialog.
#include <windows.h>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/plugin_ops.h"
#include "app/windows/dialogs.h"
#include "app/windows/input.h"
#include "app/windows/main_window.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/system/library_call.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_ops.h"
#include "runtime/window/window_services.h"

namespace {

constexpr std::uint32_t ButtonStyle = 0x54010000;
constexpr std::uint32_t TextStyle = 0x54000100;
constexpr std::uint32_t LineStyle = 0x54000130;
constexpr std::uint32_t ListStyle = 0x54211141;
constexpr std::int32_t EscapeKey = 27;
constexpr std::int32_t EnterKey = 13;
constexpr std::int32_t ShiftKey = 16;
constexpr std::int32_t KeypadMultiply = 106;
constexpr std::int32_t PlusKey = 187;

void SetFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

// Opening steps shared by both dialogs: the frame, the main window disabled,
// the window created off-screen.
HWND OpenDialog(const StringValue &title) {
    SetWindowStyle(18);
    EnableControl(MainWindow, 0);
    return OpenDialogWindow(MainWindow, title, ScreenWidth, ScreenHeight, 0, 0);
}

// Moves the finished dialog to the middle of the screen at its outer size. The
// halves are exact (an odd size gives half a pixel) and the sum is cut toward
// zero, so an odd height does not put the dialog a pixel low.
std::int32_t CentredStart(std::int32_t screen, std::int32_t size) {
    return static_cast<std::int32_t>(screen / 2.0 - size / 2.0);
}

void CentreDialog(HWND dialog, std::int32_t width, std::int32_t height) {
    SetPosition(dialog, CentredStart(ScreenWidth, width), CentredStart(ScreenHeight, height), width, height,
                0);
}

// Ends a dialog: the main window is enabled and made the active window before
// the dialog goes, so the dialog is no longer active when it is destroyed and
// Windows never hands the activation to another program's window in between;
// then the main window is put back at its own place, silently even when it
// lies partly off-screen.
void CloseDialog(HWND dialog) {
    // Enabled on the GUI thread, which owns the window: enabling it from the
    // script thread while the dialog is still active can leave the two
    // threads waiting for each other.
    CallLibrary("user32", "EnableWindow", {reinterpret_cast<std::uintptr_t>(MainWindow), 1});
    CallLibrary("user32", "SetActiveWindow", {reinterpret_cast<std::uintptr_t>(MainWindow)});
    DestroyControl(dialog);
    TakeCloseRequest(dialog); // a close request of the gone window must not linger
    SetErrorLevel(-1);
    SetPosition(MainWindow, WindowLeft(), WindowTop(), WindowRight() - WindowLeft(),
                WindowBottom() - WindowTop(), -2);
    SetErrorLevel(0);
}

HWND Control(HWND dialog, const char *className, const StringValue &text, std::uint32_t style,
             std::uint32_t exStyle, int x, int y, int width, int height) {
    return CreateControl(className, text, style, x, y, width, height, dialog, 0, Instance, exStyle);
}

} // namespace

StringValue InputDialog(const StringValue &prompt, const StringValue &title, const StringValue &initial) {
    HWND dialog = OpenDialog(title);
    HWND ok = Control(dialog, "BUTTON", "&OK", ButtonStyle, 0, 15, 68, 60, 23);
    HWND cancel = Control(dialog, "BUTTON", "&Cancel", ButtonStyle, 0, 195, 68, 60, 23);
    HWND text = Control(dialog, "STATIC", prompt, TextStyle, 0, 16, 14, 240, 16);
    HWND edit = CreateByKeyword("edit", dialog, initial, 15, 33, 240, 20);
    CentreDialog(dialog, 276 + WidthExtra, 148 + HeightExtra);
    for (HWND control : {ok, cancel, text, edit}) {
        SetFont(control, NormalFont);
    }

    SetFocusTo(edit);
    SendMessageA(edit, EM_LIMITTEXT, 48, 0);
    SendMessageA(edit, EM_SETSEL, 0, static_cast<LPARAM>(initial.length));

    // Only a fresh press of Enter confirms: an Enter still held from the menu
    // item or key that opened the dialog is let go first.
    // A held Enter also repeats, and the dialog manager turns each repeat into
    // a click of OK. So while the latch holds nothing confirms; the pass that
    // first sees the key up clears it and drops the recorded input: every
    // repeat came before the key went up, so no OK of theirs can follow.
    bool enterLatch = true;
    StringValue result;
    for (;;) {
        SleepMs(20);
        const bool enterDown = KeyDown(EnterKey);
        if (Clicked(cancel) || KeyDown(EscapeKey) || TakeCloseRequest(dialog)) {
            FlushInput();
            break;
        }
        if (enterLatch) {
            if (!enterDown) {
                enterLatch = false;
                FlushInput();
            }
        } else if (Clicked(ok) || enterDown) {
            FlushInput();
            result = GetText(edit);
            break;
        }
    }
    CloseDialog(dialog);
    return result;
}

StringValue HiddenPluginsDialog() {
    HWND dialog = OpenDialog("Hidden Search Plugins");
    HWND heading =
        Control(dialog, "STATIC", "Here you can restore hidden search plugins:", TextStyle, 0, 8, 7, 300, 16);
    Control(dialog, "STATIC", "", LineStyle, 0, 5, 215, 308, 4);
    HWND names = Control(dialog, "LISTBOX", "", ListStyle, 0x200, 5, 25, 0, 0);
    HWND shown = Control(dialog, "LISTBOX", "", ListStyle, 0x200, 5, 25, 304, 155);
    HWND ok = Control(dialog, "BUTTON", "OK", ButtonStyle, 0, 222, 225, 80, 22);
    HWND restore = Control(dialog, "BUTTON", "Restore Selected Plugin", ButtonStyle, 0, 5, 186, 304, 22);
    CentreDialog(dialog, 320 + WidthExtra, 300 + HeightExtra);
    SetFont(heading, BoldFont);
    SetFont(shown, NormalFont);
    SetFont(ok, BoldFont);
    SetFont(restore, NormalFont);

    LoadCatalogue(shown, names, 0, "*.HID");
    SetFocusTo(shown);

    bool restoreLatch = false;
    bool restoreDisabled = false;
    StringValue result;
    for (;;) {
        std::int32_t sel = static_cast<std::int32_t>(SendMessageA(shown, LB_GETCURSEL, 0, 0));
        if (!KeyDown(KeypadMultiply) && !KeyDown(PlusKey)) {
            restoreLatch = false;
        }
        if (KeyDown(EscapeKey) || TakeCloseRequest(dialog)) {
            FlushInput();
            break;
        }
        bool restoreKey =
            HasFocus(shown) && (KeyDown(KeypadMultiply) || (KeyDown(ShiftKey) && KeyDown(PlusKey)));
        if ((restoreKey && sel >= 0 && !restoreLatch) || Clicked(restore)) {
            FlushInput();
            restoreLatch = true;
            RestorePlugin(shown, names, sel);
        } else if (Clicked(ok) || KeyDown(EnterKey)) {
            FlushInput();
            result = GetText(shown);
            break;
        }
        if (!restoreDisabled && sel < 0) {
            EnableControl(restore, 0);
            restoreDisabled = true;
        } else if (restoreDisabled && sel >= 0) {
            EnableControl(restore, 1);
            restoreDisabled = false;
        }
        SleepMs(20);
    }
    CloseDialog(dialog);
    SetFocusTo(MainList);
    EnterLatch = 1;
    return result;
}
