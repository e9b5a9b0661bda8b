// "DIALOG" windows, "LDIALOG" dialogs, the command rules and the popup menu.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "procs_support.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/window_procs.h"
#include "runtime/core/window_settings.h"

namespace {

using Word = std::uintptr_t;

struct CommandResult {
    LONG clickKind = -1, clickItem = 0;
    HWND button = nullptr, clickFocus = nullptr, focusAfterClick = nullptr;
    bool clickWoke = false;
    LONG listKind = -1, listItem = 0;
    HWND list = nullptr, listFocus = nullptr;
    LONG menuItem = 0, mainMenuItem = 0, mainListKind = -1;
    LONG cancelKind = -1;
    HWND cancelFocus = reinterpret_cast<HWND>(1);
    bool closeWoke = false, openAfterClose = false;
    LONG closeKind = -1;
} Command;

void DialogWindowScenario() {
    HWND main = OpenTestWindow(50, 50, 300, 200);
    HWND dialog = OpenTestDialogWindow(main, 420, 120, 320, 240);
    Command.button = CreateTestControl("BUTTON", "Push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 61, 20, 20,
                                       120, 40, dialog);
    Command.list = CreateTestControl("LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_BORDER, 62, 20,
                                     80, 120, 80, dialog);
    Activate(dialog);

    // A click on a button: EventKind 255, the button gets the focus.
    Command.clickWoke = ActAndWaitInput([] { ClickWindow(Command.button); }, [] { return EventKind == 255; });
    Command.clickKind = EventKind;
    Command.clickItem = MenuItem;
    Command.clickFocus = FocusWindow;
    Command.focusAfterClick = GetFocus();

    // Notification 1 from a list (selection changed): EventKind 1 in dialog mode.
    StoreLong(&EventKind, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(62, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Command.list));
    Command.listKind = EventKind;
    Command.listItem = MenuItem;
    Command.listFocus = FocusWindow;
    // Main window without the dialog flag: no EventKind for it.
    StoreLong(&EventKind, 0);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(62, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Command.list));
    Command.mainListKind = EventKind;

    // Menu commands: the dialog takes the low word as a signed number, the main window all of wParam.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0xFFFE, 0), 0);
    Command.menuItem = MenuItem;
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(77, 1), 0);
    Command.mainMenuItem = MenuItem;
    // Cancel (Escape) in the dialog: EventKind 2, nobody has the focus.
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    Command.cancelKind = EventKind;
    Command.cancelFocus = GetFocus();

    // The close box never closes a "DIALOG" window.
    Activate(dialog);
    POINT box = FindHitPoint(dialog, HTCLOSE);
    if (box.x >= 0)
        Command.closeWoke = ActAndWaitInput([box] { ClickAt(box); }, [] { return EventKind == 2; });
    Command.closeKind = EventKind;
    Command.openAfterClose = IsWindow(dialog) != FALSE;
}

TEST(DialogWindow, CommandRulesAndCloseBox) {
    ASSERT_EQ(0, RunScenario(DialogWindowScenario));
    ASSERT_TRUE(Command.clickWoke);
    EXPECT_EQ(255, Command.clickKind);
    EXPECT_EQ(-61, Command.clickItem); // "messagemode" 1: the negated control id
    EXPECT_EQ(Command.button, Command.clickFocus);
    EXPECT_EQ(Command.button, Command.focusAfterClick);
    EXPECT_EQ(1, Command.listKind);
    EXPECT_EQ(-62, Command.listItem);
    EXPECT_EQ(Command.list, Command.listFocus);
    EXPECT_EQ(0, Command.mainListKind);
    EXPECT_EQ(-2, Command.menuItem);
    EXPECT_EQ(static_cast<LONG>(MAKEWPARAM(77, 1)), Command.mainMenuItem);
    EXPECT_EQ(2, Command.cancelKind);
    EXPECT_EQ(nullptr, Command.cancelFocus);
    EXPECT_TRUE(Command.closeWoke);
    EXPECT_EQ(2, Command.closeKind);
    EXPECT_TRUE(Command.openAfterClose);
}

// An "LDIALOG" dialog from an in-memory template (the program carries no such
// resource), created with the runtime's dialog procedure and a creation block.
std::vector<WORD> EmptyDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0); // no menu, default class, no title
    DLGTEMPLATE *t = reinterpret_cast<DLGTEMPLATE *>(words.data());
    t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE;
    t->cx = 100;
    t->cy = 60;
    return words;
}

struct LDialogResult {
    HWND dialog = nullptr;
    char title[32] = "";
    RECT rect = {0, 0, 0, 0};
    HWND focusAtStart = nullptr;
    bool activeIsDialog = false;
    LONG closeKind = -1;
    bool openAfterClose = false;
    LONG capturedNumber = 0;
    LONG itemAfterCapture = -1;
    LONG uncapturedItem = 0;
} LDialog;

void LDialogScenario() {
    HWND main = OpenTestWindow(50, 50, 300, 200);
    Word block[7] = {reinterpret_cast<Word>("Ltitle"), reinterpret_cast<Word>(main), 430, 140, 260, 180, 0};
    std::vector<WORD> dialogTemplate = EmptyDialogTemplate();
    RunOnGuiThread([&] {
        LDialog.dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                                    reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                                    main, LDialogProc, reinterpret_cast<LPARAM>(block));
        LDialog.focusAtStart = FocusWindow;
    });
    if (!LDialog.dialog)
        return;
    GetWindowTextA(LDialog.dialog, LDialog.title, sizeof LDialog.title);
    GetWindowRect(LDialog.dialog, &LDialog.rect);
    Activate(LDialog.dialog);
    LDialog.activeIsDialog = ActiveDialog == LDialog.dialog;

    SendMessageA(LDialog.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    LDialog.closeKind = EventKind;
    LDialog.openAfterClose = IsWindow(LDialog.dialog) != FALSE;

    SetUserMessages(1, WM_COMMAND);
    StoreLong(&MenuItem, 99);
    SendMessageA(LDialog.dialog, WM_COMMAND, MAKEWPARAM(5, 0), 0);
    LDialog.capturedNumber = UserMessage.number;
    LDialog.itemAfterCapture = MenuItem;
    SetUserMessages(1, 0);
    SendMessageA(LDialog.dialog, WM_COMMAND, MAKEWPARAM(5, 0), 0);
    LDialog.uncapturedItem = MenuItem;
}

TEST(LDialog, InitialisesFromTheBlockAndKeepsItselfOpen) {
    ASSERT_EQ(0, RunScenario(LDialogScenario));
    ASSERT_NE(nullptr, LDialog.dialog);
    EXPECT_STREQ("Ltitle", LDialog.title);
    EXPECT_EQ(430, LDialog.rect.left);
    EXPECT_EQ(140, LDialog.rect.top);
    EXPECT_EQ(260, LDialog.rect.right - LDialog.rect.left);
    EXPECT_EQ(180, LDialog.rect.bottom - LDialog.rect.top);
    EXPECT_EQ(LDialog.dialog, LDialog.focusAtStart);
    EXPECT_TRUE(LDialog.activeIsDialog);
    EXPECT_EQ(2, LDialog.closeKind);
    EXPECT_TRUE(LDialog.openAfterClose);
    EXPECT_EQ(WM_COMMAND, LDialog.capturedNumber);
    EXPECT_EQ(99, LDialog.itemAfterCapture); // captured: the command rules did not run
    EXPECT_EQ(5, LDialog.uncapturedItem);
}

// The popup menu: a real click on its second item.
struct PopupResult {
    HMENU menu = nullptr;
    bool clicked = false;
    bool slotCleared = false, menuDestroyed = false;
    bool commandSeen = false;
    LONG_PTR wParam = 0, lParam = -1;
} Popup;

DWORD WINAPI ClickSecondItem(LPVOID) {
    for (int i = 0; i < 300; ++i) { // up to 3 s for the menu to open
        RECT item;
        HWND shown = FindWindowA("#32768", nullptr);
        if (shown && IsWindowVisible(shown) && GetMenuItemRect(nullptr, Popup.menu, 1, &item)) {
            ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
            Popup.clicked = true;
            return 0;
        }
        Sleep(10);
    }
    PressKey(VK_ESCAPE);
    return 0;
}

void PopupScenario() {
    HWND main = OpenTestWindow(50, 50, 400, 300);
    Activate(main);
    SetUserMessages(1, WM_COMMAND);
    ArmTimeout(50);
    WaitInput(); // clears all UserMessage words
    DisarmTimeout();
    Popup.menu = CreatePopupMenu();
    AppendMenuA(Popup.menu, MF_STRING, 77, "First");
    AppendMenuA(Popup.menu, MF_STRING, 78, "Second");
    PopupMenu = Popup.menu;
    HANDLE clicker = CreateThread(nullptr, 0, ClickSecondItem, nullptr, 0, nullptr);
    ShowPopup(30, 30);
    WaitForSingleObject(clicker, 5000);
    CloseHandle(clicker);
    Popup.slotCleared = PopupMenu == nullptr;
    Popup.menuDestroyed = !IsMenu(Popup.menu);
    // WaitMessage keeps wParam and lParam, so the choice stays readable.
    Popup.commandSeen = WaitMessageUntil([] { return UserMessage.wParam == 78; });
    Popup.wParam = UserMessage.wParam;
    Popup.lParam = UserMessage.lParam;
    SetUserMessages(1, 0);
}

// With a window to focus afterwards, that window has the focus once the menu
// has closed, and the choice (not the focus notification of the list) is
// the command recorded.
struct PopupFocusResult {
    HWND list = nullptr;
    bool commandSeen = false;
    LONG_PTR wParam = 0;
    HWND focus = nullptr;
    HWND focusWindow = nullptr;
} PopupFocus;

void PopupFocusScenario() {
    PopupFocus = {};
    HWND main = OpenTestWindow(50, 50, 400, 300);
    // LBS_NOTIFY: a focus change sends LBN_SETFOCUS as WM_COMMAND to the window.
    PopupFocus.list =
        CreateTestControl("LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 55, 200, 10, 150, 100, main);
    Activate(main);
    SetUserMessages(1, WM_COMMAND);
    ArmTimeout(50);
    WaitInput();
    DisarmTimeout();
    Popup = {};
    Popup.menu = CreatePopupMenu();
    AppendMenuA(Popup.menu, MF_STRING, 77, "First");
    AppendMenuA(Popup.menu, MF_STRING, 78, "Second");
    PopupMenu = Popup.menu;
    HANDLE clicker = CreateThread(nullptr, 0, ClickSecondItem, nullptr, 0, nullptr);
    ShowPopup(30, 30, PopupFocus.list);
    WaitForSingleObject(clicker, 5000);
    CloseHandle(clicker);
    PopupFocus.commandSeen = WaitMessageUntil([] { return UserMessage.wParam == 78; });
    // Anything still queued has arrived after a short wait.
    ArmTimeout(100);
    Script::WaitMessage();
    DisarmTimeout();
    ArmTimeout(100);
    Script::WaitMessage();
    DisarmTimeout();
    PopupFocus.wParam = UserMessage.wParam;
    RunOnGuiThread([] { PopupFocus.focus = GetFocus(); });
    PopupFocus.focusWindow = FocusWindow;
    SetUserMessages(1, 0);
}

TEST(Popup, FocusGoesToTheGivenWindowBeforeTheChoiceArrives) {
    ASSERT_EQ(0, RunScenario(PopupFocusScenario));
    ASSERT_TRUE(Popup.clicked);
    EXPECT_TRUE(PopupFocus.commandSeen);
    EXPECT_EQ(78, PopupFocus.wParam);
    EXPECT_EQ(PopupFocus.list, PopupFocus.focus);
    EXPECT_EQ(PopupFocus.list, PopupFocus.focusWindow);
}

TEST(Popup, ChosenItemArrivesAsCapturedCommand) {
    ASSERT_EQ(0, RunScenario(PopupScenario));
    ASSERT_TRUE(Popup.clicked);
    EXPECT_TRUE(Popup.slotCleared);
    EXPECT_TRUE(Popup.menuDestroyed);
    EXPECT_TRUE(Popup.commandSeen);
    EXPECT_EQ(78, Popup.wParam);
    EXPECT_EQ(0, Popup.lParam);
}

} // namespace
