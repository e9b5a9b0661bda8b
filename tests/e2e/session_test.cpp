// The real tool driven as a user drives it: every button, key shortcut, menu
// item and dialog. Every test starts a fresh tool on the same plugin folder,
// so one test's failure never fails the tests after it; a test that leaves a
// box, menu or dialog of the tool open fails, naming what it left.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "session_support.h"

namespace {

using Rows = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// The plugin folder every test starts from: five plugins (two with icons,
// one with CR LF line ends) and six hidden ones.
Files StandardFiles() {
    Files files = {
        {"alpha.src", PluginText("Alpha", "\n")},
        {"alpha.png", "png-icon"},
        {"alpha.gif", "gif-icon"},
        {"bravo.src", PluginText("Bravo", "\r\n")},
        {"charlie.src", PluginText("Charlie", "\n")},
        {"charlie.gif", "gif-icon"},
        {"delta.src", PluginText("Delta", "\n")},
        {"echo.src", PluginText("Echo", "\n")},
    };
    for (const char *name : {"Foxtrot", "Golf", "Hotel", "Juliet", "Kilo", "Lima"}) {
        std::string file = name;
        file[0] = static_cast<char>(file[0] - 'A' + 'a');
        files[file + ".hid"] = PluginText(name, "\n");
    }
    return files;
}

const Rows StandardRows = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};

class ToolSession : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { session_ = new Session("qs_e2e_session"); }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    void SetUp() override {
        ReleaseAllInput();
        // The pointer waits beside where the tool's window will be, so that
        // no stale pointer position falls on one of its controls.
        MoveMouse(1010, 750);
        ASSERT_TRUE(session_->StartWith(StandardFiles())) << "the tool did not show its main window";
        ASSERT_TRUE(WaitUntil([] { return RowsAre(StandardRows); })) << ::testing::PrintToString(RowsNow());
        ASSERT_TRUE(WaitUntil([] { return IsForeground(Main()); })) << FocusReport(Main());
    }
    void TearDown() override {
        ReleaseAllInput();
        if (session_->tool && session_->tool->Running()) {
            const std::string left = Leftovers(Pid(), Main());
            EXPECT_EQ("", left) << "the test left this behind";
        }
        session_->Stop();
    }

    // Starts the tool again on a folder of the test's own.
    static bool RestartWith(const Files &files) { return session_->StartWith(files); }

    static HWND Main() { return session_->main; }
    static DWORD Pid() { return session_->tool->Pid(); }
    static HWND List() { return MainList(Main()); }
    static Rows RowsNow() { return ListRows(List()); }
    static bool RowsAre(const Rows &rows) { return RowsNow() == rows; }
    static const PluginFolder &Folder() { return session_->folder; }
    static Recorder &Record() { return *session_->recorder; }

    static Session *session_;
};

Session *ToolSession::session_ = nullptr;

TEST_F(ToolSession, StartsWithTheCatalogueInFolderOrder) {
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie", "Delta", "Echo"}), RowsNow());
    EXPECT_EQ(0, ListSelection(List()));
    EXPECT_FALSE(IsWindowEnabled(Button(Main(), "Move Up")));
    EXPECT_TRUE(IsWindowEnabled(Button(Main(), "Move Down")));
    EXPECT_NE(nullptr, Button(Main(), "Orig. Filenames"));
    RECT rect = WindowRect(Main());
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    EXPECT_EQ((1024 - width) / 2, rect.left);
    EXPECT_EQ((768 - height) / 2, rect.top);
    EXPECT_TRUE(WaitUntil([] { return IsForeground(Main()); }));
    // The window appears with every control drawn: each shows more than its
    // background (its text, frame or rows).
    for (HWND control : Children(Main(), "")) {
        RECT area = WindowRect(control);
        if (IsWindowVisible(control) && area.right > area.left && area.bottom > area.top) {
            EXPECT_TRUE(WaitUntil([area] { return ColoursIn(area) > 1; }))
                << ClassOf(control) << " \"" << TextOf(control) << "\" is not drawn";
        }
    }
    Pause(300);
    EXPECT_TRUE(SaveScreenshot(rect, ScreenshotPath("main-window")));
}

TEST_F(ToolSession, MoveButtonsMoveTheSelectedRowOnePlace) {
    ASSERT_TRUE(ClickButtonUntil(Button(Main(), "Move Down"), [] {
        return RowsAre({"Bravo", "Alpha", "Charlie", "Delta", "Echo"});
    }));
    // The moved row is selected once it is in its new place (the rows change first).
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 1; })) << ListSelection(List());
    EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(Button(Main(), "Move Up")) != FALSE; }));
    ASSERT_TRUE(ClickButtonUntil(Button(Main(), "Move Up"), [] { return RowsAre(StandardRows); }));
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 0; })) << ListSelection(List());
    EXPECT_TRUE(WaitUntil([] { return !IsWindowEnabled(Button(Main(), "Move Up")); }));
}

TEST_F(ToolSession, HeldKeypadKeysMoveTheRowOnToTheEndOfTheList) {
    ClickRow(List(), 1); // Bravo
    EXPECT_TRUE(HoldKeyUntil(VK_ADD, [] { return ListSelection(List()) == 4; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Charlie", "Delta", "Echo", "Bravo"}); }));
    EXPECT_TRUE(WaitUntil([] { return !IsWindowEnabled(Button(Main(), "Move Down")); }));
    TapKey(VK_ADD); // at the bottom: nothing more
    Pause(250);
    EXPECT_EQ((Rows{"Alpha", "Charlie", "Delta", "Echo", "Bravo"}), RowsNow());

    EXPECT_TRUE(HoldKeyUntil(VK_SUBTRACT, [] { return ListSelection(List()) == 0; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Alpha", "Charlie", "Delta", "Echo"}); }));
    TapKey(VK_SUBTRACT); // at the top: nothing more
    Pause(250);
    EXPECT_EQ((Rows{"Bravo", "Alpha", "Charlie", "Delta", "Echo"}), RowsNow());

    EXPECT_TRUE(ClickButtonUntil(Button(Main(), "Move Down"), [] { return RowsAre(StandardRows); }));
}

bool NotepadTitled(const std::string &file) {
    for (HWND window : NotepadWindows()) {
        if (TextOf(window).find(file) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// --- The right-click menu ---

HWND OpenMenuOnRow(HWND list, DWORD pid, int row) {
    ClickRow(list, row);
    POINT point = RowPoint(list, row);
    HWND menu = nullptr;
    HoldMouseUntil(point.x, point.y, true, [&] { return (menu = PopupMenuWindow(pid)) != nullptr; });
    Pause(100);
    return menu;
}

bool MenuClosed(DWORD pid) {
    return WaitUntil([pid] { return PopupMenuWindow(pid) == nullptr; }, 3000);
}

int HeightOf(HWND window) {
    RECT rect = WindowRect(window);
    return rect.bottom - rect.top;
}

// Runs the n-th item (counting from 1, separators left out) with the arrow keys.
void ChooseMenuItem(DWORD pid, int n) {
    for (int i = 0; i < n; ++i) {
        TapKey(VK_DOWN);
    }
    TapKey(VK_RETURN);
    MenuClosed(pid);
}

TEST_F(ToolSession, RightClickMenuOffersTheMovesThatArePossible) {
    HWND menu = OpenMenuOnRow(List(), Pid(), 2);
    ASSERT_NE(nullptr, menu);
    const int full = HeightOf(menu);
    RECT both = WindowRect(Main());
    RECT menuRect = WindowRect(menu);
    UnionRect(&both, &both, &menuRect);
    EXPECT_TRUE(SaveScreenshot(both, ScreenshotPath("context-menu")));
    // The menu opens where the pointer is.
    POINT point = RowPoint(List(), 2);
    EXPECT_LE(std::abs(menuRect.left - point.x), 2);
    EXPECT_LE(std::abs(menuRect.top - point.y), 2);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));

    menu = OpenMenuOnRow(List(), Pid(), 0);
    ASSERT_NE(nullptr, menu);
    const int first = HeightOf(menu);
    TapKey('U'); // no "Move Up" item: the key finds nothing
    Pause(250);
    EXPECT_NE(nullptr, PopupMenuWindow(Pid()));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie", "Delta", "Echo"}), RowsNow());

    menu = OpenMenuOnRow(List(), Pid(), 4);
    ASSERT_NE(nullptr, menu);
    const int last = HeightOf(menu);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));

    EXPECT_GT(full, first); // one item fewer at either end
    EXPECT_EQ(first, last);
    EXPECT_LT(full - first, 30);
}

TEST_F(ToolSession, MenuMovesRunTheMoveCommands) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 2));
    TapKey('U');
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Charlie", "Bravo", "Delta", "Echo"}); }));
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 1; }));
    // Edit, Rename, Convert, Move Up, Move Down: the fifth item.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 1));
    ChooseMenuItem(Pid(), 5);
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo"}); }));
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 2; }));
}

TEST_F(ToolSession, ContextMenuKeyOpensTheMenuOnlyOverTheList) {
    ClickRow(List(), 2);
    POINT row = RowPoint(List(), 2);
    MoveMouse(row.x, row.y);
    EXPECT_TRUE(HoldKeyUntil(VK_APPS, [this] { return PopupMenuWindow(Pid()) != nullptr; }));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));

    // Beside the list, over the separator line: no menu, by key or by button.
    // The tool reads the pointer once a pass: it must have seen the move.
    POINT outside = ClientPoint(Main(), 120, 300);
    MoveMouse(outside.x, outside.y);
    Pause(200);
    TapKey(VK_APPS);
    PressMouse(true);
    Pause(250);
    ReleaseMouse(true);
    Pause(150);
    EXPECT_EQ(nullptr, PopupMenuWindow(Pid()));
}

TEST_F(ToolSession, WithoutASelectionNoShortcutOrMenuDoesAnything) {
    SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_EQ(-1, ListSelection(List()));
    POINT row = RowPoint(List(), 1);
    MoveMouse(row.x, row.y);
    PressMouse(true);
    Pause(250);
    ReleaseMouse(true);
    TapKey(VK_APPS);
    for (WORD key : {VK_DELETE, VK_MULTIPLY, VK_RETURN, VK_BACK, VK_ADD, VK_SUBTRACT}) {
        TapKey(key);
    }
    for (WORD modifier : {VK_MENU, VK_SHIFT}) {
        PressKey(modifier);
        TapKey(modifier == VK_MENU ? 'T' : VK_OEM_PLUS);
        ReleaseKey(modifier);
    }
    Pause(300);
    EXPECT_EQ(nullptr, PopupMenuWindow(Pid()));
    EXPECT_EQ(nullptr, MessageBoxWindow(Pid()));
    EXPECT_EQ(nullptr, DialogWindow(Pid(), "Rename Plugin"));
    EXPECT_TRUE(NotepadWindows().empty());
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie", "Delta", "Echo"}), RowsNow());
    // Move Down stays enabled while the list has rows.
    EXPECT_TRUE(IsWindowEnabled(Button(Main(), "Move Down")));
    const auto files = Folder().Files();
    for (const char *name : {"alpha.src", "bravo.src", "charlie.src", "delta.src", "echo.src"}) {
        EXPECT_EQ(1u, files.count(name)) << name;
    }
    EXPECT_EQ(PluginText("Alpha", "\n"), Folder().Read("alpha.src"));
}

TEST_F(ToolSession, MenuEditOpensThePluginInNotepad) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 0));
    TapKey('E');
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_TRUE(WaitUntil([] { return NotepadTitled("alpha.src"); }, 10000)) << FocusReport(List());
    CloseNotepads();
    ActivateByCaption(Main());
}

TEST_F(ToolSession, MenuRenameAsksForTheNewShownName) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 2));
    TapKey('R');
    HWND dialog = WaitForDialog(Pid(), "Rename Plugin");
    ASSERT_NE(nullptr, dialog);
    HWND edit = Child(dialog, "Edit");
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit) == "Charlie"; }));
    EXPECT_NE(nullptr, Child(dialog, "Static", "New Name:"));
    EXPECT_FALSE(IsWindowEnabled(Main()));
    Pause(150);
    EXPECT_TRUE(SaveScreenshot(WindowRect(dialog), ScreenshotPath("rename-dialog")));
    TypeText("Chuck"); // the whole text starts selected, so typing replaces it
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit) == "Chuck"; }));
    EXPECT_TRUE(HoldKeyUntil(VK_RETURN, [] { return DialogWindow(Pid(), "Rename Plugin") == nullptr; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Chuck", "Delta", "Echo"}); }));
    EXPECT_NE(std::string::npos, Folder().Read("charlie.src").find("name=\"Chuck\""));
    EXPECT_TRUE(IsWindowEnabled(Main()));
    Pause(400); // the Enter that closed the dialog must not start Notepad
    EXPECT_TRUE(NotepadWindows().empty());
}

TEST_F(ToolSession, MenuConvertTurnsLineFeedsIntoCrLfOnce) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 0));
    TapKey('C');
    EXPECT_EQ("Message:|Conversion successful!", AnswerMessageBox(Pid(), "OK"));
    EXPECT_EQ(PluginText("Alpha", "\r\n") + "\r\n", Folder().Read("alpha.src"));
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 0));
    TapKey('C');
    EXPECT_EQ("Message:|Conversion not necessary!", AnswerMessageBox(Pid(), "OK"));
    EXPECT_EQ(PluginText("Alpha", "\r\n") + "\r\n", Folder().Read("alpha.src"));
}

TEST_F(ToolSession, MenuHideAndDelete) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 3));
    TapKey('H');
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Echo"}); }));
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 3; }));
    EXPECT_TRUE(WaitUntil([] { return Folder().Files().count("delta.hid") == 1; }));
    EXPECT_EQ(0u, Folder().Files().count("delta.src"));

    // On the last row: Edit, Rename, Convert, Move Up, Hide, Delete.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 3));
    ChooseMenuItem(Pid(), 6);
    EXPECT_EQ("Question:|Do yo really want to delete this plugin?\r\rEcho", AnswerMessageBox(Pid(), "&No"));
    Pause(200);
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie", "Echo"}), RowsNow());
    EXPECT_EQ(1u, Folder().Files().count("echo.src"));
}

// --- Key shortcuts of the list ---

TEST_F(ToolSession, EnterStartsNotepadOncePerPress) {
    ClickRow(List(), 1);
    // Held well beyond one pass: one Notepad only.
    EXPECT_TRUE(HoldKeyUntil(
        VK_RETURN, [] { return NotepadTitled("bravo.src"); }, 10000));
    Pause(300);
    EXPECT_EQ(1u, NotepadWindows().size());
    CloseNotepads();
    ActivateByCaption(Main());
}

TEST_F(ToolSession, BackspaceRenamesThroughTheInputDialog) {
    auto open = [this] {
        ClickRow(List(), 1);
        HoldKeyUntil(VK_BACK, [this] { return DialogWindow(Pid(), "Rename Plugin") != nullptr; });
        return WaitForDialog(Pid(), "Rename Plugin");
    };
    auto closed = [this] {
        return WaitUntil([this] { return DialogWindow(Pid(), "Rename Plugin") == nullptr; });
    };

    // Escape and Cancel give up, even with text typed.
    HWND dialog = open();
    ASSERT_NE(nullptr, dialog) << FocusReport(List());
    TypeText("Zulu");
    EXPECT_TRUE(HoldKeyUntil(VK_ESCAPE, closed));
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("Zulu");
    EXPECT_TRUE(ClickButtonUntil(Child(dialog, "Button", "&Cancel"), closed));
    // A one-character name changes nothing.
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("X");
    EXPECT_TRUE(ClickButtonUntil(Child(dialog, "Button", "&OK"), closed));
    Pause(200);
    EXPECT_EQ(StandardRows, RowsNow());
    EXPECT_EQ(PluginText("Bravo", "\r\n"), Folder().Read("bravo.src"));

    // The field takes at most 48 characters.
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    HWND edit = Child(dialog, "Edit");
    TypeText("abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz");
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit).size() == 48; }));
    EXPECT_EQ("abcdefghijklmnopqrstuvwxyz0123456789abcdefghijkl", TextOf(edit));
    EXPECT_TRUE(HoldKeyUntil(VK_ESCAPE, closed));

    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("Bravo Two");
    EXPECT_TRUE(ClickButtonUntil(Child(dialog, "Button", "&OK"), closed));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo Two", "Charlie", "Delta", "Echo"}); }));
    // Only the name entry changes.
    EXPECT_EQ(PluginText("Bravo Two", "\r\n"), Folder().Read("bravo.src"));
}

TEST_F(ToolSession, AltTConvertsOncePerPressOfT) {
    ClickRow(List(), 2); // Charlie: lone line feeds
    PressKey(VK_MENU);
    EXPECT_TRUE(HoldKeyUntil('T', [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    ReleaseKey(VK_MENU);
    EXPECT_EQ("Message:|Conversion successful!", AnswerMessageBox(Pid(), "OK"));
    ClickRow(List(), 2);
    EXPECT_TRUE(HoldChordUntil(VK_MENU, 'T', [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    EXPECT_EQ("Message:|Conversion not necessary!", AnswerMessageBox(Pid(), "OK"));
    Pause(200);
    EXPECT_EQ(nullptr, MessageBoxWindow(Pid()));
    EXPECT_EQ(PluginText("Charlie", "\r\n") + "\r\n", Folder().Read("charlie.src"));
}

TEST_F(ToolSession, KeypadMultiplyAndShiftPlusHideOnePluginPerPress) {
    ClickRow(List(), 4); // Echo, the last row
    size_t before = RowsNow().size();
    EXPECT_TRUE(HoldKeyUntil(VK_MULTIPLY, [before] { return RowsNow().size() < before; }));
    Pause(250); // the key was held for more than one pass
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie", "Delta"}), RowsNow());
    EXPECT_EQ(3, ListSelection(List())); // the new last row
    EXPECT_TRUE(HoldChordUntil(VK_SHIFT, VK_OEM_PLUS, [] { return RowsNow().size() == 3; }));
    Pause(250);
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Charlie"}), RowsNow());
    auto files = Folder().Files();
    EXPECT_EQ(1u, files.count("echo.hid"));
    EXPECT_EQ(1u, files.count("delta.hid"));
}

TEST_F(ToolSession, DeleteKeyDeletesThePluginAndItsFirstIconAfterYes) {
    ClickRow(List(), 0); // Alpha, with alpha.png and alpha.gif
    EXPECT_TRUE(HoldKeyUntil(VK_DELETE, [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    EXPECT_EQ("Question:|Do yo really want to delete this plugin?\r\rAlpha", AnswerMessageBox(Pid(), "&Yes"));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Charlie", "Delta", "Echo"}); }));
    auto files = Folder().Files();
    EXPECT_EQ(0u, files.count("alpha.src"));
    EXPECT_EQ(0u, files.count("alpha.png"));
    EXPECT_EQ(1u, files.count("alpha.gif"));
}

TEST_F(ToolSession, WithASingleRowTheMenuHasNeitherMove) {
    HWND menu = OpenMenuOnRow(List(), Pid(), 2);
    ASSERT_NE(nullptr, menu);
    const int full = HeightOf(menu);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));
    menu = OpenMenuOnRow(List(), Pid(), 0);
    ASSERT_NE(nullptr, menu);
    const int itemHeight = full - HeightOf(menu);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));

    ASSERT_TRUE(RestartWith({{"alpha.src", PluginText("Alpha", "\n")}}));
    ASSERT_TRUE(WaitUntil([] { return RowsAre({"Alpha"}); }));
    menu = OpenMenuOnRow(List(), Pid(), 0);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(full - 2 * itemHeight, HeightOf(menu));
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(MenuClosed(Pid()));
    EXPECT_FALSE(IsWindowEnabled(Button(Main(), "Move Up")));
    EXPECT_FALSE(IsWindowEnabled(Button(Main(), "Move Down")));
}

// --- The hidden-plugins dialog ---

HWND ShownList(HWND dialog) {
    return MainList(dialog);
}

// Opens the dialog and waits until it is ready for keys as the user sees it:
// its hidden plugins listed and its list holding the keyboard focus.
HWND OpenHiddenDialog(HWND main, DWORD pid) {
    ClickButtonUntil(Button(main, "  Show Hidden..."),
                     [pid] { return DialogWindow(pid, "Hidden Search Plugins") != nullptr; });
    HWND dialog = WaitForDialog(pid, "Hidden Search Plugins");
    if (dialog != nullptr) {
        HWND list = ShownList(dialog);
        WaitUntil([list] { return !ListRows(list).empty() && HasKeyboardFocus(list); });
    }
    return dialog;
}

TEST_F(ToolSession, HiddenPluginsAreRestoredByButtonAndKeys) {
    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    HWND list = ShownList(dialog);
    EXPECT_TRUE(WaitUntil(
        [list] { return ListRows(list) == Rows{"Foxtrot", "Golf", "Hotel", "Juliet", "Kilo", "Lima"}; }));
    EXPECT_EQ(0, ListSelection(list));
    EXPECT_FALSE(IsWindowEnabled(Main()));
    EXPECT_TRUE(SaveScreenshot(WindowRect(dialog), ScreenshotPath("hidden-plugins-dialog")));

    HWND restore = Child(dialog, "Button", "Restore Selected Plugin");
    EXPECT_TRUE(ClickButtonUntil(restore, [list] {
        return ListRows(list) == Rows{"Golf", "Hotel", "Juliet", "Kilo", "Lima"};
    }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"}); }));

    ClickRow(list, 0);
    EXPECT_TRUE(HoldKeyUntil(VK_MULTIPLY, [list] { return ListRows(list).size() == 4; }));
    Pause(250);
    EXPECT_EQ((Rows{"Hotel", "Juliet", "Kilo", "Lima"}), ListRows(list));
    EXPECT_TRUE(HoldChordUntil(VK_SHIFT, VK_OEM_PLUS, [list] { return ListRows(list).size() == 3; }));
    Pause(250);
    EXPECT_EQ((Rows{"Juliet", "Kilo", "Lima"}), ListRows(list));

    // Restoring the last row selects the new last row.
    ClickRow(list, 2);
    EXPECT_TRUE(ClickButtonUntil(restore, [list] { return ListRows(list) == Rows{"Juliet", "Kilo"}; }));
    EXPECT_TRUE(WaitUntil([list] { return ListSelection(list) == 1; }));
    EXPECT_TRUE(IsWindowEnabled(restore));

    ClickRow(list, 0);
    EXPECT_TRUE(
        HoldKeyUntil(VK_RETURN, [this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(Main()) != FALSE; }));
    EXPECT_TRUE(WaitUntil([] {
        return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "Lima"});
    }));
    Pause(400); // the Enter that closed the dialog must not start Notepad
    EXPECT_TRUE(NotepadWindows().empty());
}

TEST_F(ToolSession, HiddenPluginsDialogClosesByEscapeAndByOk) {
    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(
        HoldKeyUntil(VK_ESCAPE, [this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }))
        << FocusReport(dialog) << "; main window " << (IsWindowEnabled(Main()) ? "enabled" : "disabled");
    dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(WaitUntil([dialog] {
        return ListRows(ShownList(dialog)) == Rows{"Foxtrot", "Golf", "Hotel", "Juliet", "Kilo", "Lima"};
    }));
    EXPECT_TRUE(ClickButtonUntil(Child(dialog, "Button", "OK"),
                                 [this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(Main()) != FALSE; }));
    EXPECT_EQ(StandardRows, RowsNow());
}

// --- The other buttons ---

TEST_F(ToolSession, RefreshListShowsPluginsAddedOutside) {
    Folder().Write("india.src", PluginText("India", "\n"));
    ClickRow(List(), 2);
    EXPECT_TRUE(ClickButtonUntil(Button(Main(), "  Refresh List"), [] {
        return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "India"});
    }));
    EXPECT_TRUE(WaitUntil([] { return ListSelection(List()) == 2; })); // the selection is kept
}

TEST_F(ToolSession, AddPluginAndOpenFolderHandTheirTargetsToTheShell) {
    Record().Clear();
    ASSERT_TRUE(ClickButtonUntil(
        Button(Main(), "  Add Plugin..."), [] { return Record().Lines().size() >= 1; }, 10000));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find(" open https://mycroftproject.com/"));
    ASSERT_TRUE(ClickButtonUntil(
        Button(Main(), "  Open Folder..."), [] { return Record().Lines().size() >= 2; }, 10000));
    const std::string line = Record().Lines()[1];
    EXPECT_NE(std::string::npos, line.find(" explore ")) << line;
    EXPECT_NE(std::string::npos, line.find("searchplugins")) << line;
    Pause(200);
    EXPECT_EQ(2u, Record().Lines().size());
}

TEST_F(ToolSession, SortRenamesInListOrderAndOrigFilenamesUndoesIt) {
    // Echo to the top first, so the order on disk has to change.
    ClickRow(List(), 4);
    EXPECT_TRUE(HoldKeyUntil(VK_SUBTRACT, [] { return ListSelection(List()) == 0; }));
    ASSERT_TRUE(WaitUntil([] { return RowsAre({"Echo", "Alpha", "Bravo", "Charlie", "Delta"}); }));
    ClickButtonUntil(
        Button(Main(), "Sort Search Plugins!"), [this] { return MessageBoxWindow(Pid()) != nullptr; }, 10000);
    EXPECT_EQ("Message:|Re-sort successfully done!", AnswerMessageBox(Pid(), "OK", 10000));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Echo", "Alpha", "Bravo", "Charlie", "Delta"}); }));
    auto files = Folder().Files();
    std::string letter;
    for (const auto &file : files) {
        if (file.first.find("##") != std::string::npos) {
            letter = file.first.substr(0, 1);
            break;
        }
    }
    ASSERT_EQ(1u, letter.size());
    // Positions count from 0, with two digits; icons follow their plugins.
    for (const char *name : {"00##echo.src", "01##alpha.src", "02##bravo.src", "03##charlie.src",
                             "03##charlie.gif", "04##delta.src"}) {
        EXPECT_EQ(1u, files.count(letter + name))
            << letter + name << " in " << ::testing::PrintToString(files);
    }

    EXPECT_TRUE(ClickButtonUntil(
        Button(Main(), "Orig. Filenames"), [] { return RowsAre(StandardRows); }, 10000));
    Pause(200);
    EXPECT_EQ(nullptr, MessageBoxWindow(Pid()));
    EXPECT_EQ(StandardFiles(), Folder().Files());
}

// --- The About window ---

HWND AboutWindowOf(DWORD pid) {
    return DialogWindow(pid, "About...");
}

POINT HelpButtonPoint(HWND main) {
    // The left edge of "?": the About window may cover the rest of it.
    RECT rect = WindowRect(Button(main, "?"));
    return POINT{rect.left + 4, (rect.top + rect.bottom) / 2};
}

// Opens the About window with a click on "?"; null when it did not come.
HWND OpenAboutWindow(HWND main, DWORD pid) {
    POINT help = HelpButtonPoint(main);
    ClickAt(help.x, help.y);
    return WaitForDialog(pid, "About...");
}

// Brings a window of the tool to the front as the task switcher would. Wine
// does not keep an owned window above its owner when the owner is clicked,
// so a window hidden that way cannot be reached by a click.
void BringToFront(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([window] { return IsForeground(window); }, 2000);
    Pause(100);
}

TEST_F(ToolSession, AboutWindowOpensOnceAndKeepsOpenForItsWebsiteButton) {
    POINT help = HelpButtonPoint(Main());
    ClickAt(help.x, help.y);
    HWND about = WaitForDialog(Pid(), "About...");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(Main(), GetWindow(about, GW_OWNER));
    Pause(200);
    EXPECT_TRUE(SaveScreenshot(WindowRect(about), ScreenshotPath("about-window")));
    HWND info = MainList(about);
    ASSERT_NE(nullptr, info);
    Rows rows = ListRows(info);
    ASSERT_EQ(86u, rows.size());
    EXPECT_EQ(std::string(44, '_'), rows.front());
    EXPECT_EQ("any errors in the software.", rows.back());
    EXPECT_EQ(312, WindowRect(about).left);
    EXPECT_EQ(219, WindowRect(about).top);

    Record().Clear();
    ASSERT_TRUE(ClickButtonUntil(
        Child(about, "Button", "Visit my website!"), [] { return Record().Lines().size() >= 1; }, 10000));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find("https://quillsort.example.org/"));
    Pause(200);
    EXPECT_EQ(about, AboutWindowOf(Pid()));

    ClickAt(help.x, help.y); // a second "?" opens nothing more
    Pause(300);
    EXPECT_EQ(1u, TopWindows(Pid(), "DIALOG", "About...").size());
    BringToFront(about);
    EXPECT_TRUE(
        ClickButtonUntil(Child(about, "Button", "OK"), [this] { return AboutWindowOf(Pid()) == nullptr; }));
}

TEST_F(ToolSession, EscapeClosesTheAboutWindowOnlyWhileItIsInFront) {
    HWND about = OpenAboutWindow(Main(), Pid());
    ASSERT_NE(nullptr, about);
    BringToFront(Main());
    ASSERT_TRUE(IsForeground(Main()));
    PressKey(VK_ESCAPE); // held over several passes: still nothing
    Pause(300);
    ReleaseKey(VK_ESCAPE);
    Pause(100);
    EXPECT_EQ(about, AboutWindowOf(Pid()));

    BringToFront(about);
    ASSERT_TRUE(IsForeground(about));
    EXPECT_TRUE(HoldKeyUntil(VK_ESCAPE, [this] { return AboutWindowOf(Pid()) == nullptr; }));
}

TEST_F(ToolSession, AboutWindowClosesByOkThenEnterStartsNothing) {
    HWND about = OpenAboutWindow(Main(), Pid());
    ASSERT_NE(nullptr, about);
    BringToFront(about);
    // Enter goes down while the mouse holds OK and stays down after the
    // click: the main list gets the focus back, and that Enter must not start Edit.
    POINT ok = CentreOf(Child(about, "Button", "OK"));
    MoveMouse(ok.x, ok.y);
    PressMouse();
    Pause(100);
    PressKey(VK_RETURN);
    Pause(100);
    ReleaseMouse();
    EXPECT_TRUE(WaitUntil([this] { return AboutWindowOf(Pid()) == nullptr; }));
    EXPECT_TRUE(WaitUntil([] { return IsForeground(Main()); }));
    Pause(300);
    ReleaseKey(VK_RETURN);
    Pause(200);
    EXPECT_TRUE(NotepadWindows().empty());
}

// --- The two links ---

TEST_F(ToolSession, LinksOpenOnPressAndReleaseOverTheSameArea) {
    // Links open nothing in the first 1.5 seconds after the start.
    while (GetTickCount() - session_->startTick < 1700) {
        Pause(50);
    }
    ActivateByCaption(Main());
    RECT rect = WindowRect(Main());
    auto at = [&rect](int x, int y) { return POINT{rect.left + x, rect.top + y}; };
    const POINT logo = at(340, 270);
    const POINT author = at(365, 336);
    const POINT elsewhere = at(120, 280);

    // The hand cursor shows over a link and goes away beside it.
    MoveMouse(elsewhere.x, elsewhere.y);
    Pause(150);
    CURSORINFO plain = {};
    plain.cbSize = sizeof plain;
    GetCursorInfo(&plain);
    MoveMouse(logo.x, logo.y);
    EXPECT_TRUE(WaitUntil([&plain] {
        CURSORINFO now = {};
        now.cbSize = sizeof now;
        GetCursorInfo(&now);
        return now.hCursor != plain.hCursor;
    }));
    MoveMouse(elsewhere.x, elsewhere.y);
    EXPECT_TRUE(WaitUntil([&plain] {
        CURSORINFO now = {};
        now.cbSize = sizeof now;
        GetCursorInfo(&now);
        return now.hCursor == plain.hCursor;
    })) << FocusReport(Main());

    Record().Clear();
    ASSERT_TRUE(ClickAtUntil(logo.x, logo.y, [] { return Record().Lines().size() >= 1; }));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find("https://www.mozilla.org/firefox/"));
    ASSERT_TRUE(ClickAtUntil(author.x, author.y, [] { return Record().Lines().size() >= 2; }));
    EXPECT_NE(std::string::npos, Record().Lines()[1].find("https://quillsort.example.org/"));

    // Pressed on the logo and released beside it; pressed beside and released on it.
    MoveMouse(logo.x, logo.y);
    PressMouse();
    Pause(150);
    MoveMouse(elsewhere.x, elsewhere.y);
    Pause(100);
    ReleaseMouse();
    Pause(150);
    MoveMouse(elsewhere.x, elsewhere.y);
    PressMouse();
    Pause(150);
    MoveMouse(logo.x, logo.y);
    Pause(100);
    ReleaseMouse();
    Pause(600);
    EXPECT_EQ(2u, Record().Lines().size());
}

// --- Focus, activation and closing ---

TEST_F(ToolSession, AltF4InTheAboutWindowClosesOnlyTheAboutWindow) {
    HWND about = OpenAboutWindow(Main(), Pid());
    ASSERT_NE(nullptr, about);
    BringToFront(about);
    ASSERT_TRUE(IsForeground(about));
    EXPECT_TRUE(HoldChordUntil(VK_MENU, VK_F4, [this] { return AboutWindowOf(Pid()) == nullptr; }));
    Pause(500);
    EXPECT_TRUE(session_->tool->Running());
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_EQ(StandardRows, RowsNow());
}

TEST_F(ToolSession, EnterThatChoosesRenameInTheMenuDoesNotConfirmTheDialog) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 2));
    TapKey(VK_DOWN);
    TapKey(VK_DOWN); // Rename
    PressKey(VK_RETURN);
    HWND dialog = WaitForDialog(Pid(), "Rename Plugin");
    ASSERT_NE(nullptr, dialog);
    Pause(300); // Enter still held over several of the dialog's passes
    ReleaseKey(VK_RETURN);
    Pause(200);
    ASSERT_EQ(dialog, DialogWindow(Pid(), "Rename Plugin")) << "the held Enter confirmed the dialog";
    HWND edit = Child(dialog, "Edit");
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit) == "Charlie"; }));
    TypeText("Chuck");
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit) == "Chuck"; }));
    EXPECT_TRUE(HoldKeyUntil(VK_RETURN, [this] {
        return DialogWindow(Pid(), "Rename Plugin") == nullptr;
    })); // a fresh press confirms
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Chuck", "Delta", "Echo"}); }));
}

TEST_F(ToolSession, AfterTheMenuClosesTheListKeepsItsShortcuts) {
    // A held keypad key moves the row once a pass, so each hold runs to an
    // end of the list, where the row stops.

    // Closed with Escape: the keypad moves the row without a click.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 1));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_TRUE(WaitUntil([] { return HasKeyboardFocus(List()); })) << FocusReport(List());
    EXPECT_TRUE(HoldKeyUntil(VK_SUBTRACT, [] { return ListSelection(List()) == 0; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Alpha", "Charlie", "Delta", "Echo"}); }));

    // Closed by an item (Move Up, chosen with Enter): the same, and the
    // Enter that chose it starts no Notepad.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 2));
    for (int i = 0; i < 4; ++i) {
        TapKey(VK_DOWN);
    }
    TapKey(VK_RETURN);
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Charlie", "Alpha", "Delta", "Echo"}); }));
    EXPECT_TRUE(WaitUntil([] { return HasKeyboardFocus(List()); })) << FocusReport(List());
    EXPECT_TRUE(HoldKeyUntil(VK_ADD, [] { return ListSelection(List()) == 4; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Alpha", "Delta", "Echo", "Charlie"}); }));
    EXPECT_TRUE(NotepadWindows().empty());
}

// A visible window of another program, as a user always has one: the
// candidate Windows activates when the tool's active window goes away while
// its main window is still disabled.
class OtherProgramWindow {
  public:
    // Times the window was made the active window.
    static LONG Activations() { return activations_; }

    OtherProgramWindow() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, 5000);
    }
    ~OtherProgramWindow() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    OtherProgramWindow(const OtherProgramWindow &) = delete;
    OtherProgramWindow &operator=(const OtherProgramWindow &) = delete;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
            InterlockedIncrement(&activations_);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(LPVOID self) {
        auto *me = static_cast<OtherProgramWindow *>(self);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QsOtherProgram";
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, "QsOtherProgram", "Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      10, 10, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists now
        SetEvent(me->ready_);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(window);
        return 0;
    }
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    static volatile LONG activations_;
};

volatile LONG OtherProgramWindow::activations_ = 0;

TEST_F(ToolSession, ClosingADialogGivesTheMainWindowBackItsActivation) {
    OtherProgramWindow other;
    ActivateByCaption(Main());
    ClickRow(List(), 1);
    const LONG activations = OtherProgramWindow::Activations();

    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(ClickButtonUntil(Child(dialog, "Button", "OK"),
                                 [this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    EXPECT_TRUE(WaitUntil([] { return IsForeground(Main()); })) << FocusReport(Main());
    EXPECT_TRUE(WaitUntil([] { return HasKeyboardFocus(List()); })) << FocusReport(List());
    EXPECT_TRUE(HoldKeyUntil(VK_ADD, [] { return ListSelection(List()) == 4; })) << FocusReport(List());

    ASSERT_TRUE(HoldKeyUntil(VK_BACK, [this] { return DialogWindow(Pid(), "Rename Plugin") != nullptr; }));
    dialog = WaitForDialog(Pid(), "Rename Plugin");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(HoldKeyUntil(VK_ESCAPE, [this] { return DialogWindow(Pid(), "Rename Plugin") == nullptr; }));
    EXPECT_TRUE(WaitUntil([] { return IsForeground(Main()); })) << FocusReport(Main());
    // Not even for a moment did the other program's window become active.
    EXPECT_EQ(activations, OtherProgramWindow::Activations());
}

// Centred as left = width / 2 - outer width / 2, cut toward zero only after
// the halves are taken exactly.
int CentredStart(int screen, int size) {
    return static_cast<int>(screen / 2.0 - size / 2.0);
}

TEST_F(ToolSession, DialogsAreCentredOnTheScreenToTheExactHalf) {
    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    RECT rect = WindowRect(dialog);
    EXPECT_EQ(CentredStart(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left), rect.left);
    EXPECT_EQ(CentredStart(GetSystemMetrics(SM_CYSCREEN), rect.bottom - rect.top), rect.top);
    ASSERT_TRUE(
        HoldKeyUntil(VK_ESCAPE, [this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));

    ClickRow(List(), 0);
    ASSERT_TRUE(HoldKeyUntil(VK_BACK, [this] { return DialogWindow(Pid(), "Rename Plugin") != nullptr; }));
    dialog = WaitForDialog(Pid(), "Rename Plugin");
    ASSERT_NE(nullptr, dialog);
    rect = WindowRect(dialog);
    EXPECT_EQ(CentredStart(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left), rect.left);
    EXPECT_EQ(CentredStart(GetSystemMetrics(SM_CYSCREEN), rect.bottom - rect.top), rect.top);
    EXPECT_TRUE(HoldKeyUntil(VK_ESCAPE, [this] { return DialogWindow(Pid(), "Rename Plugin") == nullptr; }));
}

// --- The end ---

TEST_F(ToolSession, CloseBoxEndsTheToolWithExitCodeZero) {
    POINT close = CloseBoxPoint(Main());
    ClickAt(close.x, close.y);
    DWORD exitCode = 1234;
    ASSERT_TRUE(session_->tool->WaitForExit(exitCode)) << ToolState(Main()) << "; " << FocusReport(Main());
    EXPECT_EQ(0u, exitCode);
}

} // namespace
