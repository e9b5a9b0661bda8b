// Changing a plugin's shown name inside its file, on real files.
#include <gtest/gtest.h>

#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "tests/support/box_watch.h"

namespace {

using Rows = std::vector<std::string>;

struct Outcome {
    Rows shown;
    Rows names;
    int selection = -2;
    bool back = false;
    bool wentOn = false;
};

Outcome RenameRow(const TempPluginFolder &folder, int sel, const char *newName,
                  const std::function<void()> &before = {}) {
    Outcome outcome;
    RunPluginScenario(folder.Path(), [&] {
        SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
        if (before) {
            before();
        }
        ForgetFocusAndLatch();
        RenamePlugin(sel, newName);
        outcome.wentOn = true;
        outcome.shown = ListRows(MainList);
        outcome.names = ListRows(NameList);
        outcome.selection = ListSelection(MainList);
        outcome.back = BackOnMainList();
    });
    return outcome;
}

// Entries in several spellings, LF line ends and no line end at the very end.
const std::string Quirky = "<search\n"
                           "   version = '7.1'\n"
                           "   name = 'Foo'\n"
                           "   description='NAME=''Foo'' Name'\n"
                           "\tmethod=\"GET\" >\n"
                           "<input NAME='q' user>\n"
                           "</search>";

} // namespace

TEST(RenamePlugin, ChangesOnlyTheShownNameValue) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("foo.src", Quirky);
    BoxWatch boxes;
    Outcome outcome = RenameRow(folder, 1, "Bar'X");
    std::string expected = Quirky;
    expected.replace(expected.find("'Foo'"), 5, "'Bar_X'");
    EXPECT_EQ(expected, ReadBytes(folder / "foo.src"));
    EXPECT_EQ((Rows{"Alpha", "Bar_X"}), outcome.shown);
    EXPECT_EQ((Rows{"a.src", "foo.src"}), outcome.names);
    EXPECT_EQ(1, outcome.selection);
    EXPECT_TRUE(outcome.back);
    EXPECT_TRUE(boxes.Boxes().empty());
}

namespace {

WNDPROC ListProc = nullptr;

// The main list refusing every new row, as a list box out of memory does.
LRESULT CALLBACK FullListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_INSERTSTRING || message == LB_ADDSTRING) {
        return LB_ERRSPACE;
    }
    return CallWindowProcA(ListProc, window, message, wParam, lParam);
}

} // namespace

TEST(RenamePlugin, AListThatRefusesTheNewTextKeepsItsRows) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.src", PluginText("Beta"));
    Outcome outcome = RenameRow(folder, 0, "Gamma", [] {
        ListProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(MainList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FullListProc)));
    });
    EXPECT_EQ(2u, outcome.shown.size());
    EXPECT_EQ(outcome.names.size(), outcome.shown.size());
}

TEST(RenamePlugin, KeepsCrLfFilesAndReadOnlyFilesAreWritten) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha Engine"));
    SetReadOnly(folder / "a.src", true);
    Outcome outcome = RenameRow(folder, 0, "Al");
    EXPECT_EQ(PluginText("Al"), ReadBytes(folder / "a.src"));
    EXPECT_FALSE(IsReadOnly(folder / "a.src"));
    EXPECT_EQ((Rows{"Al"}), outcome.shown);
}

TEST(RenamePlugin, ShortOrCancelledNamesChangeNothing) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    for (const char *name : {"B", ""}) {
        Outcome outcome = RenameRow(folder, 0, name);
        EXPECT_EQ(PluginText("Alpha"), ReadBytes(folder / "a.src")) << name;
        EXPECT_EQ((Rows{"Alpha"}), outcome.shown) << name;
        EXPECT_EQ(0, outcome.selection) << name;
        // The Enter that confirmed the dialog must not start Edit.
        EXPECT_TRUE(outcome.back) << name;
    }
}

TEST(RenamePlugin, AFileLargerThanTheWorkAreaIsRefusedUntouched) {
    TempPluginFolder folder;
    std::string big = PluginText("Big") + std::string(40000, '#') + "\r\n";
    folder.Write("big.src", big);
    BoxWatch boxes;
    Outcome outcome = RenameRow(folder, 0, "Bigger");
    EXPECT_EQ(big, ReadBytes(folder / "big.src"));
    EXPECT_EQ((Rows{"Big"}), outcome.shown);
    EXPECT_TRUE(outcome.back);
    auto seen = boxes.Boxes();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ("Message:", seen.back().caption);
    EXPECT_NE(std::string::npos, seen.back().text.find("''big.src''")) << seen.back().text;
}

TEST(RenamePlugin, AFileGoneMeanwhileIsReported) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    BoxWatch boxes;
    Outcome outcome = RenameRow(folder, 0, "Beta", [&] { DeleteFileA((folder / "a.src").c_str()); });
    EXPECT_TRUE(outcome.wentOn);
    EXPECT_EQ((Rows{"Alpha"}), outcome.shown);
    EXPECT_TRUE(folder.Files().empty());
    auto seen = boxes.Boxes();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Message:", seen[0].caption);
}
