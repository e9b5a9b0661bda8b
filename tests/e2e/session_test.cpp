// One scripted session with the real tool: every button, key shortcut, menu
// item and dialog, in the order a user might use them. The tests of this suite
// share one running tool and run in the order written; each leaves the tool
// with no secondary window open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "session_support.h"

namespace {

using Rows = std::vector<std::string>;

class ToolSession : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        session_ = new Session("qs_e2e_session");
        const PluginFolder &f = session_->folder;
        f.Write("alpha.src", PluginText("Alpha", "\n"));
        f.Write("alpha.png", "png-icon");
        f.Write("alpha.gif", "gif-icon");
        f.Write("bravo.src", PluginText("Bravo", "\r\n"));
        f.Write("charlie.src", PluginText("Charlie", "\n"));
        f.Write("charlie.gif", "gif-icon");
        f.Write("delta.src", PluginText("Delta", "\n"));
        f.Write("echo.src", PluginText("Echo", "\n"));
        f.Write("foxtrot.hid", PluginText("Foxtrot", "\n"));
        f.Write("golf.hid", PluginText("Golf", "\n"));
        f.Write("hotel.hid", PluginText("Hotel", "\n"));
        started_ = session_->Start();
    }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(started_) << "the tool did not show its main window";
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        if (name != "PluginFolderHoldsExactlyTheExpectedFiles") {
            ASSERT_TRUE(session_->tool->Running());
        }
    }

    static HWND Main() { return session_->main; }
    static DWORD Pid() { return session_->tool->Pid(); }
    static HWND List() { return MainList(Main()); }
    static Rows RowsNow() { return ListRows(List()); }
    static bool RowsAre(const Rows &rows) { return RowsNow() == rows; }
    static const PluginFolder &Folder() { return session_->folder; }
    static Recorder &Record() { return *session_->recorder; }

    static Session *session_;
    static bool started_;
    static int menuItemHeight_;
    static int fullMenuHeight_;
};

Session *ToolSession::session_ = nullptr;
bool ToolSession::started_ = false;
int ToolSession::menuItemHeight_ = 0;
int ToolSession::fullMenuHeight_ = 0;

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
    Pause(300);
    EXPECT_TRUE(SaveScreenshot(rect, ScreenshotPath("main-window")));
}

TEST_F(ToolSession, MoveButtonsMoveTheSelectedRowOnePlace) {
    ClickWindow(Button(Main(), "Move Down"));
    ASSERT_TRUE(WaitUntil([] { return RowsAre({"Bravo", "Alpha", "Charlie", "Delta", "Echo"}); }));
    EXPECT_EQ(1, ListSelection(List()));
    EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(Button(Main(), "Move Up")) != FALSE; }));
    ClickWindow(Button(Main(), "Move Up"));
    ASSERT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo"}); }));
    EXPECT_EQ(0, ListSelection(List()));
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

    ClickWindow(Button(Main(), "Move Down"));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo"}); }));
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
    menuItemHeight_ = full - first;
    fullMenuHeight_ = full;
}

TEST_F(ToolSession, MenuMovesRunTheMoveCommands) {
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 2));
    TapKey('U');
    ASSERT_TRUE(MenuClosed(Pid()));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Charlie", "Bravo", "Delta", "Echo"}); }));
    EXPECT_EQ(1, ListSelection(List()));
    // Edit, Rename, Convert, Move Up, Move Down: the fifth item.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 1));
    ChooseMenuItem(Pid(), 5);
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Charlie", "Delta", "Echo"}); }));
    EXPECT_EQ(2, ListSelection(List()));
}

TEST_F(ToolSession, ContextMenuKeyOpensTheMenuOnlyOverTheList) {
    ClickRow(List(), 2);
    POINT row = RowPoint(List(), 2);
    MoveMouse(row.x, row.y);
    EXPECT_TRUE(HoldKeyUntil(VK_APPS, [this] { return PopupMenuWindow(Pid()) != nullptr; }));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed(Pid()));

    // Beside the list, over the separator line: no menu, by key or by button.
    POINT outside = ClientPoint(Main(), 120, 300);
    MoveMouse(outside.x, outside.y);
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
    TapKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([] { return DialogWindow(Pid(), "Rename Plugin") == nullptr; }));
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
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo", "Chuck", "Echo"}); }));
    EXPECT_EQ(3, ListSelection(List()));
    EXPECT_TRUE(WaitUntil([] { return Folder().Files().count("delta.hid") == 1; }));
    EXPECT_EQ(0u, Folder().Files().count("delta.src"));

    // On the last row: Edit, Rename, Convert, Move Up, Hide, Delete.
    ASSERT_NE(nullptr, OpenMenuOnRow(List(), Pid(), 3));
    ChooseMenuItem(Pid(), 6);
    EXPECT_EQ("Question:|Do yo really want to delete this plugin?\r\rEcho", AnswerMessageBox(Pid(), "&No"));
    Pause(200);
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Chuck", "Echo"}), RowsNow());
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
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(closed());
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("Zulu");
    ClickWindow(Child(dialog, "Button", "&Cancel"));
    EXPECT_TRUE(closed());
    // A one-character name changes nothing.
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("X");
    ClickWindow(Child(dialog, "Button", "&OK"));
    EXPECT_TRUE(closed());
    Pause(200);
    EXPECT_EQ((Rows{"Alpha", "Bravo", "Chuck", "Echo"}), RowsNow());
    EXPECT_EQ(PluginText("Bravo", "\r\n"), Folder().Read("bravo.src"));

    // The field takes at most 48 characters.
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    HWND edit = Child(dialog, "Edit");
    TypeText("abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz");
    EXPECT_TRUE(WaitUntil([edit] { return TextOf(edit).size() == 48; }));
    EXPECT_EQ("abcdefghijklmnopqrstuvwxyz0123456789abcdefghijkl", TextOf(edit));
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(closed());

    dialog = open();
    ASSERT_NE(nullptr, dialog);
    TypeText("Bravo Two");
    ClickWindow(Child(dialog, "Button", "&OK"));
    EXPECT_TRUE(closed());
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Alpha", "Bravo Two", "Chuck", "Echo"}); }));
    // Only the name entry changes.
    EXPECT_EQ(PluginText("Bravo Two", "\r\n"), Folder().Read("bravo.src"));
}

TEST_F(ToolSession, AltTConvertsOncePerPressOfT) {
    ClickRow(List(), 2); // Chuck: lone line feeds
    PressKey(VK_MENU);
    EXPECT_TRUE(HoldKeyUntil('T', [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    ReleaseKey(VK_MENU);
    EXPECT_EQ("Message:|Conversion successful!", AnswerMessageBox(Pid(), "OK"));
    ClickRow(List(), 2);
    EXPECT_TRUE(HoldChordUntil(VK_MENU, 'T', [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    EXPECT_EQ("Message:|Conversion not necessary!", AnswerMessageBox(Pid(), "OK"));
    Pause(200);
    EXPECT_EQ(nullptr, MessageBoxWindow(Pid()));
}

TEST_F(ToolSession, KeypadMultiplyAndShiftPlusHideOnePluginPerPress) {
    ClickRow(List(), 3); // Echo, the last row
    size_t before = RowsNow().size();
    EXPECT_TRUE(HoldKeyUntil(VK_MULTIPLY, [before] { return RowsNow().size() < before; }));
    Pause(250); // the key was held for more than one pass
    EXPECT_EQ((Rows{"Alpha", "Bravo Two", "Chuck"}), RowsNow());
    EXPECT_EQ(2, ListSelection(List())); // the new last row
    EXPECT_TRUE(HoldChordUntil(VK_SHIFT, VK_OEM_PLUS, [] { return RowsNow().size() == 2; }));
    Pause(250);
    EXPECT_EQ((Rows{"Alpha", "Bravo Two"}), RowsNow());
    auto files = Folder().Files();
    EXPECT_EQ(1u, files.count("echo.hid"));
    EXPECT_EQ(1u, files.count("charlie.hid"));
}

TEST_F(ToolSession, DeleteKeyDeletesThePluginAndItsFirstIconAfterYes) {
    ClickRow(List(), 0); // Alpha, with alpha.png and alpha.gif
    EXPECT_TRUE(HoldKeyUntil(VK_DELETE, [this] { return MessageBoxWindow(Pid()) != nullptr; }));
    EXPECT_EQ("Question:|Do yo really want to delete this plugin?\r\rAlpha", AnswerMessageBox(Pid(), "&Yes"));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo Two"}); }));
    auto files = Folder().Files();
    EXPECT_EQ(0u, files.count("alpha.src"));
    EXPECT_EQ(0u, files.count("alpha.png"));
    EXPECT_EQ(1u, files.count("alpha.gif"));
}

TEST_F(ToolSession, WithASingleRowTheMenuHasNeitherMove) {
    HWND menu = OpenMenuOnRow(List(), Pid(), 0);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(fullMenuHeight_ - 2 * menuItemHeight_, HeightOf(menu));
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(MenuClosed(Pid()));
    EXPECT_FALSE(IsWindowEnabled(Button(Main(), "Move Up")));
    EXPECT_FALSE(IsWindowEnabled(Button(Main(), "Move Down")));
}

// --- The hidden-plugins dialog ---

HWND OpenHiddenDialog(HWND main, DWORD pid) {
    ClickWindow(Button(main, "  Show Hidden..."));
    return WaitForDialog(pid, "Hidden Search Plugins");
}

HWND ShownList(HWND dialog) {
    return MainList(dialog);
}

TEST_F(ToolSession, HiddenPluginsAreRestoredByButtonAndKeys) {
    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    HWND list = ShownList(dialog);
    EXPECT_TRUE(WaitUntil(
        [list] { return ListRows(list) == Rows{"Chuck", "Delta", "Echo", "Foxtrot", "Golf", "Hotel"}; }));
    EXPECT_EQ(0, ListSelection(list));
    EXPECT_FALSE(IsWindowEnabled(Main()));
    EXPECT_TRUE(SaveScreenshot(WindowRect(dialog), ScreenshotPath("hidden-plugins-dialog")));

    HWND restore = Child(dialog, "Button", "Restore Selected Plugin");
    ClickWindow(restore);
    EXPECT_TRUE(WaitUntil([list] {
        return ListRows(list) == Rows{"Delta", "Echo", "Foxtrot", "Golf", "Hotel"};
    }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo Two", "Chuck"}); }));

    ClickRow(list, 0);
    EXPECT_TRUE(HoldKeyUntil(VK_MULTIPLY, [list] { return ListRows(list).size() == 4; }));
    Pause(250);
    EXPECT_EQ((Rows{"Echo", "Foxtrot", "Golf", "Hotel"}), ListRows(list));
    EXPECT_TRUE(HoldChordUntil(VK_SHIFT, VK_OEM_PLUS, [list] { return ListRows(list).size() == 3; }));
    Pause(250);
    EXPECT_EQ((Rows{"Foxtrot", "Golf", "Hotel"}), ListRows(list));

    // Restoring the last row selects the new last row.
    ClickRow(list, 2);
    ClickWindow(restore);
    EXPECT_TRUE(WaitUntil([list] { return ListRows(list) == Rows{"Foxtrot", "Golf"}; }));
    EXPECT_EQ(1, ListSelection(list));
    EXPECT_TRUE(IsWindowEnabled(restore));

    ClickRow(list, 0);
    TapKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(Main()) != FALSE; }));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo Two", "Chuck", "Delta", "Echo", "Hotel"}); }));
    Pause(400); // the Enter that closed the dialog must not start Notepad
    EXPECT_TRUE(NotepadWindows().empty());
}

TEST_F(ToolSession, HiddenPluginsDialogClosesByEscapeAndByOk) {
    HWND dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    dialog = OpenHiddenDialog(Main(), Pid());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((Rows{"Foxtrot", "Golf"}), ListRows(ShownList(dialog)));
    ClickWindow(Child(dialog, "Button", "OK"));
    EXPECT_TRUE(WaitUntil([this] { return DialogWindow(Pid(), "Hidden Search Plugins") == nullptr; }));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(Main()) != FALSE; }));
    EXPECT_EQ((Rows{"Bravo Two", "Chuck", "Delta", "Echo", "Hotel"}), RowsNow());
}

// --- The other buttons ---

TEST_F(ToolSession, RefreshListShowsPluginsAddedOutside) {
    Folder().Write("india.src", PluginText("India", "\n"));
    ClickRow(List(), 2);
    ClickWindow(Button(Main(), "  Refresh List"));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo Two", "Chuck", "Delta", "Echo", "Hotel", "India"}); }));
    EXPECT_EQ(2, ListSelection(List())); // the selection is kept
}

TEST_F(ToolSession, AddPluginAndOpenFolderHandTheirTargetsToTheShell) {
    Record().Clear();
    ClickWindow(Button(Main(), "  Add Plugin..."));
    ASSERT_TRUE(Record().WaitForLines(1));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find(" open https://mycroftproject.com/"));
    ClickWindow(Button(Main(), "  Open Folder..."));
    ASSERT_TRUE(Record().WaitForLines(2));
    const std::string line = Record().Lines()[1];
    EXPECT_NE(std::string::npos, line.find(" explore ")) << line;
    EXPECT_NE(std::string::npos, line.find("searchplugins")) << line;
    Pause(200);
    EXPECT_EQ(2u, Record().Lines().size());
}

TEST_F(ToolSession, SortRenamesInListOrderAndOrigFilenamesUndoesIt) {
    // India to the top first, so the order on disk has to change.
    ClickRow(List(), 5);
    EXPECT_TRUE(HoldKeyUntil(VK_SUBTRACT, [] { return ListSelection(List()) == 0; }));
    ASSERT_TRUE(WaitUntil([] { return RowsAre({"India", "Bravo Two", "Chuck", "Delta", "Echo", "Hotel"}); }));
    ClickWindow(Button(Main(), "Sort Search Plugins!"));
    EXPECT_EQ("Message:|Re-sort successfully done!", AnswerMessageBox(Pid(), "OK", 10000));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"India", "Bravo Two", "Chuck", "Delta", "Echo", "Hotel"}); }));
    auto files = Folder().Files();
    std::string letter;
    for (const auto &file : files) {
        if (file.first.find("##") != std::string::npos) {
            letter = file.first.substr(0, 1);
            break;
        }
    }
    ASSERT_EQ(1u, letter.size());
    // Positions count from 0, with two digits.
    for (const char *name : {"00##india.src", "01##bravo.src", "02##charlie.src", "02##charlie.gif",
                             "03##delta.src", "04##echo.src", "05##hotel.src"}) {
        EXPECT_EQ(1u, files.count(letter + name))
            << letter + name << " in " << ::testing::PrintToString(files);
    }

    ClickWindow(Button(Main(), "Orig. Filenames"));
    EXPECT_TRUE(WaitUntil([] { return RowsAre({"Bravo Two", "Chuck", "Delta", "Echo", "Hotel", "India"}); }));
    Pause(200);
    EXPECT_EQ(nullptr, MessageBoxWindow(Pid()));
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
    ClickWindow(Child(about, "Button", "Visit my website!"));
    ASSERT_TRUE(Record().WaitForLines(1));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find("https://quillsort.example.org/"));
    Pause(200);
    EXPECT_EQ(about, AboutWindowOf(Pid()));

    ClickAt(help.x, help.y); // a second "?" opens nothing more
    Pause(300);
    EXPECT_EQ(1u, TopWindows(Pid(), "DIALOG", "About...").size());
}

TEST_F(ToolSession, EscapeClosesTheAboutWindowOnlyWhileItIsInFront) {
    HWND about = AboutWindowOf(Pid());
    ASSERT_NE(nullptr, about);
    ActivateByCaption(Main());
    ASSERT_TRUE(IsForeground(Main()));
    TapKey(VK_ESCAPE);
    Pause(300);
    EXPECT_EQ(about, AboutWindowOf(Pid()));

    BringToFront(about);
    ASSERT_TRUE(IsForeground(about));
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([this] { return AboutWindowOf(Pid()) == nullptr; }));
}

TEST_F(ToolSession, AboutWindowClosesByOkThenEnterStartsNothing) {
    POINT help = HelpButtonPoint(Main());
    ClickAt(help.x, help.y);
    HWND about = WaitForDialog(Pid(), "About...");
    ASSERT_NE(nullptr, about);
    Pause(100);
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
    }));

    Record().Clear();
    ClickAt(logo.x, logo.y);
    ASSERT_TRUE(Record().WaitForLines(1));
    EXPECT_NE(std::string::npos, Record().Lines()[0].find("https://www.mozilla.org/firefox/"));
    ClickAt(author.x, author.y);
    ASSERT_TRUE(Record().WaitForLines(2));
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

// --- The end ---

TEST_F(ToolSession, CloseBoxEndsTheToolWithExitCodeZero) {
    POINT close = CloseBoxPoint(Main());
    ClickAt(close.x, close.y);
    DWORD exitCode = 1234;
    ASSERT_TRUE(session_->tool->WaitForExit(exitCode)) << ToolState(Main()) << "; " << FocusReport(Main());
    EXPECT_EQ(0u, exitCode);
}

TEST_F(ToolSession, PluginFolderHoldsExactlyTheExpectedFiles) {
    const std::map<std::string, std::string> expected = {
        {"alpha.gif", "gif-icon"},
        {"bravo.src", PluginText("Bravo Two", "\r\n")},
        // Renamed (every other byte kept), then converted: every LF got its
        // CR, and one CR LF more at the end.
        {"charlie.src", PluginText("Chuck", "\r\n") + "\r\n"},
        {"charlie.gif", "gif-icon"},
        {"delta.src", PluginText("Delta", "\n")},
        {"echo.src", PluginText("Echo", "\n")},
        {"foxtrot.hid", PluginText("Foxtrot", "\n")},
        {"golf.hid", PluginText("Golf", "\n")},
        {"hotel.src", PluginText("Hotel", "\n")},
        {"india.src", PluginText("India", "\n")},
    };
    EXPECT_EQ(expected, Folder().Files());
}

} // namespace
