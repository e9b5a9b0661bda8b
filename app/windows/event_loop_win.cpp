// The main event loop: one command a pass, the two links, the right-click menu.
#include <windows.h>

#include <cstdlib>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_ops.h"
#include "app/catalogue/progress.h"
#include "app/windows/about_window.h"
#include "app/windows/dialogs.h"
#include "app/windows/event_loop.h"
#include "app/windows/input.h"
#include "app/windows/list_drag.h"
#include "app/windows/main_window.h"
#include "app/windows/web_addresses.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/system/library_call.h"
#include "runtime/system/shell.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t LeftButton = 1;
constexpr std::int32_t RightButton = 2;
constexpr std::int32_t Backspace = 8;
constexpr std::int32_t EnterKey = 13;
constexpr std::int32_t ShiftKey = 16;
constexpr std::int32_t AltKey = 18;
constexpr std::int32_t DeleteKey = 46;
constexpr std::int32_t TKey = 84;
constexpr std::int32_t ContextMenuKey = 93;
constexpr std::int32_t KeypadMultiply = 106;
constexpr std::int32_t KeypadPlus = 107;
constexpr std::int32_t KeypadMinus = 109;
constexpr std::int32_t PlusKey = 187;

constexpr std::int32_t GracePeriodMs = 1501;
constexpr std::int32_t HandCursor = 11;
constexpr std::int32_t ArrowCursor = 0;

// Loop state.
std::int32_t ConvertLatch = 0;
std::int32_t HideLatch = 0;
bool GraceOver = false;
std::int32_t CursorX = 0;
std::int32_t CursorY = 0;
bool PressedOnLogo = false;
bool PressedOnAuthor = false;
bool PressSeen = false;
bool ButtonDownOutside = false;
bool HandShown = false;
bool MenuShown = false;
// Set when long work ends: the keys that run commands must all be up before
// any of them runs one again, so a key pressed during the work does nothing.
bool KeysHeldFromWork = false;

std::int32_t RowCount() {
    return static_cast<std::int32_t>(SendMessageA(MainList, LB_GETCOUNT, 0, 0));
}

bool ListHasFocus() {
    return HasFocus(MainList);
}

// Moves row from to the place before row at in one list (Win32 list-box indices).
void MoveRow(HWND list, std::int32_t row, std::int32_t insertAt, std::int32_t deleteAt) {
    StringValue text = GetListItem(list, row);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(insertAt), reinterpret_cast<LPARAM>(text.data));
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(deleteAt), 0);
}

void MoveUp(std::int32_t r) {
    SleepMs(50);
    MoveRow(MainList, r, r - 1, r + 1);
    MoveRow(NameList, r, r - 1, r + 1);
    SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(r - 1), 0);
    UpdateMoveButtons();
}

void MoveDown(std::int32_t r) {
    SleepMs(50);
    MoveRow(MainList, r, r + 2, r);
    MoveRow(NameList, r, r + 2, r);
    SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(r + 1), 0);
    UpdateMoveButtons();
}

// Tests the commands in their order and runs the first that applies; true
// when one ran. The key tests read one poll: the first key a test needs
// brings the states of all of them in a single hand-over to the GUI thread.
bool RunOneCommand() {
    std::int32_t sel = Selection;
    std::int32_t count = RowTotal; // read by UpdateMoveButtons at the top of this pass
    InputPoll keys;
    AddKeyPolls(keys, {KeypadMinus, KeypadPlus, AltKey, TKey, Backspace, KeypadMultiply, ShiftKey, PlusKey,
                       EnterKey, DeleteKey});
    auto down = [&keys](std::int32_t vk) { return !KeysHeldFromWork && KeyDown(keys, vk); };
    if (Clicked(OrigNamesButton) && RenameMethod == 1) {
        FlushInput();
        RestoreOriginalNames();
    } else if (Clicked(SortButton)) {
        FlushInput();
        ResortPlugins();
    } else if ((sel > 0 && (Clicked(MoveUpButton) || (down(KeypadMinus) && ListHasFocus()))) ||
               MenuCommand(210)) {
        FlushInput();
        if (sel > 0) {
            MoveUp(sel);
        }
    } else if ((sel < count - 1 && sel > -1 &&
                (Clicked(MoveDownButton) || (down(KeypadPlus) && ListHasFocus()))) ||
               MenuCommand(220)) {
        FlushInput();
        if (sel > -1 && sel < count - 1) {
            MoveDown(sel);
        }
    } else if (Clicked(OpenFolderButton)) {
        FlushInput();
        ShellOpen(PluginFolder, "explore", 1);
    } else if (Clicked(ShowHiddenButton)) {
        FlushInput();
        HiddenPluginsDialog();
    } else if (Clicked(AddPluginButton)) {
        FlushInput();
        ShellOpen(PluginDownloadPage, "open", 1);
    } else if (Clicked(HelpButton)) {
        if (AboutWindowOpen == 0) {
            ShowAboutWindow();
        } else {
            FlushInput();
        }
    } else if (Clicked(RefreshButton)) {
        FlushInput();
        LoadCatalogue(MainList, NameList, sel, "*.SRC");
    } else if (sel > -1 && (MenuCommand(205) || (down(AltKey) && down(TKey) && ListHasFocus())) &&
               ConvertLatch == 0) {
        FlushInput();
        ConvertLatch = 1;
        ConvertPlugin(sel);
    } else if (sel > -1 && (MenuCommand(200) || (down(Backspace) && ListHasFocus()))) {
        FlushInput();
        StringValue name = InputDialog("New Name:", "Rename Plugin", GetListItem(MainList, sel));
        RenamePlugin(sel, name);
    } else if (sel > -1 &&
               (MenuCommand(400) || (down(KeypadMultiply) && ListHasFocus()) ||
                (down(ShiftKey) && down(PlusKey) && ListHasFocus())) &&
               HideLatch == 0) {
        FlushInput();
        HideLatch = 1;
        HidePlugin(sel);
    } else if (sel > -1 && (MenuCommand(100) || (down(EnterKey) && ListHasFocus())) && EnterLatch == 0) {
        FlushInput();
        EnterLatch = 1;
        EditPlugin(sel);
    } else if (((!KeysHeldFromWork && KeyState(keys, DeleteKey) < 0 && ListHasFocus()) || MenuCommand(500)) &&
               sel > -1) {
        FlushInput();
        DeletePlugin(sel);
    } else if (TakeCloseRequest(MainWindow)) {
        // A close request stays pending through waits and other commands, so
        // the close box always ends the tool, however busy the pass was.
        FlushInput();
        QuitTool();
    } else {
        return false;
    }
    return true;
}

bool Within(std::int32_t v, std::int32_t low, std::int32_t high) {
    return v >= low && v <= high;
}

// The pointer's poll: the cursor position into PointArea, the foreground
// window and the left button, which the cursor reading and the links take
// one after the other.
struct PointerPoll {
    InputPoll poll;
    int cursor;
    int foreground;
};

void ListPointerPolls(PointerPoll &pointer) {
    pointer.cursor =
        AddUser32Poll(pointer.poll, "GetCursorPos", {reinterpret_cast<std::uintptr_t>(PointArea)});
    pointer.foreground = AddUser32Poll(pointer.poll, "GetForegroundWindow", {});
    AddKeyPolls(pointer.poll, {LeftButton});
}

// The browser picture and the credit line open their web pages when the left
// button is pressed and released over the same one.
void HandleLinks(PointerPoll &pointer) {
    if (reinterpret_cast<HWND>(PollResult(pointer.poll, pointer.foreground)) != MainWindow) {
        return;
    }
    bool overLogo = Within(CursorX, 248, 434) && Within(CursorY, 238, 307);
    bool overAuthor = Within(CursorX, 293, 437) && Within(CursorY, 332, 341);
    bool leftDown = KeyDown(pointer.poll, LeftButton);
    bool pending = PressedOnLogo || PressedOnAuthor;
    if ((overLogo || overAuthor) && !ButtonDownOutside) {
        if (!HandShown) {
            SetCursorShape(HandCursor);
            HandShown = true;
        }
        if (leftDown && !pending && !PressSeen) {
            PressSeen = true;
            PressedOnLogo = overLogo;
            PressedOnAuthor = overAuthor;
        } else if (pending && !leftDown) {
            if (GraceOver) {
                if (PressedOnLogo && overLogo) {
                    ShellOpen(BrowserProductPage, "open", 1);
                } else if (PressedOnAuthor && overAuthor) {
                    ShellOpen(MakerHomePage, "open", 1);
                }
            }
            SendMessageA(MainWindow, WM_LBUTTONUP, 1, 0);
            SetCursorShape(ArrowCursor);
            HandShown = false;
            if (overLogo) {
                PressedOnLogo = false;
            }
            if (overAuthor) {
                PressedOnAuthor = false;
            }
        } else {
            PressSeen = false;
        }
    } else {
        ButtonDownOutside = leftDown;
        if (pending && !leftDown) {
            PressedOnLogo = false;
            PressedOnAuthor = false;
            PressSeen = false;
        } else if (!pending && HandShown) {
            SetCursorShape(ArrowCursor);
            HandShown = false;
        }
    }
}

// The poll of the pass's last tests: the keys whose latches are cleared, then
// the window under the cursor and the keys that open the right-click menu.
struct LatePoll {
    InputPoll poll;
    int under;
};

void ListLatePolls(LatePoll &late) {
    AddKeyPolls(late.poll,
                {KeypadMultiply, PlusKey, EnterKey, TKey, Backspace, DeleteKey, KeypadPlus, KeypadMinus});
    std::int32_t left = WindowLeft();
    std::int32_t top = WindowTop();
    POINT point{left + CursorX, top + CursorY};
    // WindowFromPoint takes the point by value: one word on 64-bit, two on 32-bit.
    std::uintptr_t packed[2] = {};
    static_assert(sizeof(POINT) <= sizeof(packed), "POINT fits two words");
    CopyMemory(packed, &point, sizeof point);
    late.under = sizeof(void *) == 8 ? AddUser32Poll(late.poll, "WindowFromPoint", {packed[0]})
                                     : AddUser32Poll(late.poll, "WindowFromPoint", {packed[0], packed[1]});
    AddKeyPolls(late.poll, {ContextMenuKey, RightButton});
}

void HandleContextMenu(LatePoll &late) {
    HWND under = reinterpret_cast<HWND>(PollResult(late.poll, late.under));
    std::int32_t sel = Selection;
    if (under != MainList ||
        !(KeyState(late.poll, ContextMenuKey) < 0 || std::abs(KeyState(late.poll, RightButton)) > 1) ||
        sel <= -1 || KeysHeldFromWork) {
        return;
    }
    EndListDrag();
    FlushInput();
    SetFocusTo(MainWindow);
    std::int32_t count = RowCount();
    HMENU menu = reinterpret_cast<HMENU>(CallLibrary("user32", "CreatePopupMenu"));
    auto append = [menu](UINT flags, UINT_PTR id, const char *text) {
        CallLibrary(
            "user32", "AppendMenuA",
            {reinterpret_cast<std::uintptr_t>(menu), flags, id, reinterpret_cast<std::uintptr_t>(text)});
    };
    append(MF_STRING, 100, "&Edit\bEnter");
    append(MF_STRING, 200, "&Rename\b      BackSp");
    append(MF_STRING, 205, "&Convert: Unix -> DOS\bAlt+T");
    append(MF_SEPARATOR, 0, nullptr);
    if (sel > 0) {
        append(MF_STRING, 210, "Move &Up\b-");
    }
    if (sel < count - 1) {
        append(MF_STRING, 220, "Move &Down\b+");
    }
    append(MF_SEPARATOR, 0, nullptr);
    append(MF_STRING, 400, "&Hide\b * ");
    append(MF_SEPARATOR, 0, nullptr);
    append(MF_STRING, 500, "&Delete\bDel");
    PopupMenu = menu;
    // When the menu closes the list gets the focus back, so that its shortcuts
    // work again without a click; an Enter that chose an item and is still
    // held must not start Edit there.
    ShowPopup(CursorX - FrameWidth, CursorY - CaptionHeight - FrameWidth, MainList);
    EnterLatch = 1;
    MenuShown = true;
}

void ReadCursor(PointerPoll &pointer) {
    PollResult(pointer.poll, pointer.cursor);
    POINT point;
    CopyMemory(&point, PointArea, sizeof point);
    CursorX = point.x - WindowLeft();
    CursorY = point.y - WindowTop();
}

// After long work: the presses and keys that came meanwhile are dropped (its
// end dropped the captured click), so none of them starts another command
// once the work is done. A close request stays: the close box still ends the
// tool.
void DropInputOfWork() {
    LONG presses = 0;
    if (TakeFinishedWork(presses)) {
        ForgetListPresses(presses);
        KeysHeldFromWork = true;
    }
}

// Whether every key that runs a command or opens the menu is up.
bool CommandKeysUp(LatePoll &late) {
    for (std::int32_t vk : {KeypadMultiply, PlusKey, EnterKey, TKey, Backspace, KeypadPlus, KeypadMinus}) {
        if (KeyDown(late.poll, vk)) {
            return false;
        }
    }
    return KeyState(late.poll, DeleteKey) >= 0 && KeyState(late.poll, ContextMenuKey) >= 0 &&
           std::abs(KeyState(late.poll, RightButton)) <= 1;
}

} // namespace

void RunEventLoop() {
    for (;;) {
        DropInputOfWork(); // work at start-up: the recovery of an unfinished re-sort
        UpdateMoveButtons();
        FollowListDrag();
        if (RunOneCommand()) {
            EndListDrag();
            EndProgress(); // work that stopped early: the line and pointer come back all the same
            DropInputOfWork();
        }
        if (AboutWindowOpen == 1) {
            HandleAboutEvents();
        }
        if (!GraceOver && static_cast<std::uint32_t>(CallLibrary("kernel32", "GetTickCount")) - StartTick >=
                              GracePeriodMs) {
            GraceOver = true;
        }
        PointerPoll pointer;
        ListPointerPolls(pointer);
        ReadCursor(pointer);
        HandleLinks(pointer);
        LatePoll late;
        ListLatePolls(late);
        if (!KeyDown(late.poll, KeypadMultiply) && !KeyDown(late.poll, PlusKey)) {
            HideLatch = 0;
        }
        if (!KeyDown(late.poll, EnterKey)) {
            EnterLatch = 0;
        }
        if (!KeyDown(late.poll, TKey)) {
            ConvertLatch = 0;
        }
        if (KeysHeldFromWork && CommandKeysUp(late)) {
            KeysHeldFromWork = false;
        }
        HandleContextMenu(late);
        SleepMs(25);
        if (!MenuShown && !HandShown) {
            Script::WaitMessage(MainWindow); // ends at once for a pending close
            MenuShown = true;
        }
    }
}
