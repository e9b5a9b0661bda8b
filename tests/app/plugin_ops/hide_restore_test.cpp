// Hiding a plugin and restoring a hidden one, on real files.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/window/controls.h"
#include "tests/support/box_watch.h"

namespace {

using Rows = std::vector<std::string>;

} // namespace

TEST(HidePlugin, LastOfThreeRowsSelectsTheNewLastRow) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.src", PluginText("Beta"));
    folder.Write("c.src", PluginText("Gamma"));
    Rows shown, names;
    int selection = -2;
    bool back = false;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        ForgetFocusAndLatch();
        HidePlugin(2);
        shown = ListRows(MainList);
        names = ListRows(NameList);
        selection = ListSelection(MainList);
        back = BackOnMainList();
    });
    EXPECT_EQ((Rows{"Alpha", "Beta"}), shown);
    EXPECT_EQ((Rows{"a.src", "b.src"}), names);
    EXPECT_EQ(1, selection);
    EXPECT_TRUE(back);
    EXPECT_EQ((Rows{"a.src", "b.src", "c.hid"}), folder.Files());
    EXPECT_EQ(PluginText("Gamma"), ReadBytes(folder / "c.hid"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(HidePlugin, TheOnlyRowLeavesAnEmptyListWithoutSelection) {
    TempPluginFolder folder;
    folder.Write("alpha.SRC", PluginText("Alpha"));
    folder.Write("alpha.png", "PNG");
    Rows shown{"?"};
    int selection = -2;
    RunPluginScenario(folder.Path(), [&] {
        HidePlugin(0);
        shown = ListRows(MainList);
        selection = ListSelection(MainList);
    });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(-1, selection);
    // The last three characters are replaced whatever their case; the icon stays.
    EXPECT_EQ((Rows{"alpha.hid", "alpha.png"}), folder.Files());
}

TEST(HidePlugin, AFailedRenameKeepsTheRowAndSaysWhy) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.src", PluginText("Beta"));
    folder.Write("b.hid", "older hidden copy");
    Rows shown, names;
    bool back = false;
    bool goneOn = false;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        ForgetFocusAndLatch();
        HidePlugin(1); // b.hid is in the way
        // A plugin file removed behind the tool's back is reported the same way.
        DeleteFileA((folder / "a.src").c_str());
        HidePlugin(0);
        goneOn = true;
        shown = ListRows(MainList);
        names = ListRows(NameList);
        back = BackOnMainList();
    });
    EXPECT_TRUE(goneOn);
    EXPECT_EQ((Rows{"Alpha", "Beta"}), shown);
    EXPECT_EQ((Rows{"a.src", "b.src"}), names);
    EXPECT_TRUE(back);
    EXPECT_EQ("older hidden copy", ReadBytes(folder / "b.hid"));
    EXPECT_EQ(PluginText("Beta"), ReadBytes(folder / "b.src"));
    auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    for (const SeenBox &box : seen) {
        EXPECT_EQ("Message:", box.caption);
        EXPECT_TRUE(box.okOnly);
    }
    EXPECT_EQ(0u, seen[0].text.find("Could not hide ''b.src'':\r"));
    EXPECT_EQ(0u, seen[1].text.find("Could not hide ''a.src'':\r"));
}

TEST(RestorePlugin, RenamesBackToSrcAndReloadsTheCatalogue) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.hid", PluginText("Beta"));
    folder.Write("alpha.HID", PluginText("Hidden Alpha"));
    Rows dialogShown, dialogNames, mainShown, mainNames;
    int dialogSelection = -2;
    bool dialogKeepsFocus = false;
    RunPluginScenario(folder.Path(), [&] {
        // A pair of lists like the hidden-plugins dialog's.
        HWND names = CreateControl("LISTBOX", "", 0x54211141, 5, 25, 0, 0, MainWindow, 0, nullptr, 0x200);
        HWND shown = CreateControl("LISTBOX", "", 0x54211141, 5, 200, 300, 60, MainWindow, 0, nullptr, 0x200);
        LoadCatalogue(shown, names, 0, "*.HID");
        int last = static_cast<int>(SendMessageA(shown, LB_GETCOUNT, 0, 0)) - 1;
        for (int row = 0; row <= last; ++row) {
            if (ListRows(names)[static_cast<std::size_t>(row)] == "alpha.HID") {
                SendMessageA(shown, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
                RestorePlugin(shown, names, row);
                break;
            }
        }
        dialogShown = ListRows(shown);
        dialogNames = ListRows(names);
        dialogSelection = ListSelection(shown);
        dialogKeepsFocus = HasFocus(shown) && !HasFocus(MainList);
        mainShown = ListRows(MainList);
        mainNames = ListRows(NameList);
    });
    EXPECT_EQ((Rows{"Beta"}), dialogShown);
    EXPECT_EQ((Rows{"b.hid"}), dialogNames);
    EXPECT_EQ(0, dialogSelection);
    // The next key press still reaches the dialog's list.
    EXPECT_TRUE(dialogKeepsFocus);
    EXPECT_EQ(2u, mainShown.size());
    EXPECT_NE(mainNames.end(), std::find(mainNames.begin(), mainNames.end(), "alpha.src"));
    EXPECT_EQ((Rows{"a.src", "alpha.src", "b.hid"}), folder.Files());
    EXPECT_EQ(PluginText("Hidden Alpha"), ReadBytes(folder / "alpha.src"));
}

TEST(RestorePlugin, AFailedRenameKeepsTheDialogRowAndSaysWhy) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("a.hid", PluginText("Old Alpha"));
    Rows dialogNames, mainNames;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        HWND names = CreateControl("LISTBOX", "", 0x54211141, 5, 25, 0, 0, MainWindow, 0, nullptr, 0x200);
        HWND shown = CreateControl("LISTBOX", "", 0x54211141, 5, 200, 300, 60, MainWindow, 0, nullptr, 0x200);
        LoadCatalogue(shown, names, 0, "*.HID");
        RestorePlugin(shown, names, 0); // a.src is in the way
        dialogNames = ListRows(names);
        mainNames = ListRows(NameList);
    });
    EXPECT_EQ((Rows{"a.hid"}), dialogNames);
    EXPECT_EQ((Rows{"a.src"}), mainNames);
    EXPECT_EQ(PluginText("Alpha"), ReadBytes(folder / "a.src"));
    EXPECT_EQ(PluginText("Old Alpha"), ReadBytes(folder / "a.hid"));
    auto seen = boxes.Boxes();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Message:", seen[0].caption);
    EXPECT_EQ(0u, seen[0].text.find("Could not restore ''a.hid'':\r")) << seen[0].text;
}
