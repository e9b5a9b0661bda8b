// Deleting a plugin and its icon after the question, on real files.
#include <gtest/gtest.h>

#include <fstream>

#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "runtime/core/errors.h"
#include "tests/support/box_watch.h"

namespace {

using Rows = std::vector<std::string>;

struct Outcome {
    Rows shown;
    Rows names;
    int selection = -2;
    bool back = false;
    bool wentOn = false;
    int errorLevel = 99;
};

// Selects row sel, deletes it and records the lists afterwards.
Outcome DeleteRow(const TempPluginFolder &folder, int sel, const std::function<void()> &before = {}) {
    Outcome outcome;
    RunPluginScenario(folder.Path(), [&] {
        SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
        if (before) {
            before();
        }
        ForgetFocusAndLatch();
        DeletePlugin(sel);
        outcome.wentOn = true;
        outcome.errorLevel = ErrorLevel;
        outcome.shown = ListRows(MainList);
        outcome.names = ListRows(NameList);
        outcome.selection = ListSelection(MainList);
        outcome.back = BackOnMainList();
    });
    return outcome;
}

} // namespace

TEST(DeletePlugin, AnsweredNoChangesNothing) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.src", PluginText("Beta"));
    folder.Write("b.png", "PNG");
    BoxWatch boxes(IDNO);
    Outcome outcome = DeleteRow(folder, 1);
    auto seen = boxes.Boxes();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Question:", seen[0].caption);
    EXPECT_EQ("Do yo really want to delete this plugin?\r\rBeta", seen[0].text);
    EXPECT_TRUE(seen[0].yesNo);
    EXPECT_EQ("question", seen[0].icon);
    EXPECT_EQ((Rows{"Alpha", "Beta"}), outcome.shown);
    EXPECT_EQ(1, outcome.selection);
    EXPECT_TRUE(outcome.back);
    EXPECT_EQ((Rows{"a.src", "b.png", "b.src"}), folder.Files());
}

TEST(DeletePlugin, AnsweredYesDeletesTheFileAndOnlyTheFirstIcon) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("alpha.src", PluginText("Beta"));
    folder.Write("alpha.gif", "GIF");
    folder.Write("alpha.png", "PNG");
    folder.Write("c.src", PluginText("Gamma"));
    BoxWatch boxes(IDYES);
    Outcome outcome = DeleteRow(folder, 1);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_TRUE(outcome.wentOn);
    EXPECT_EQ((Rows{"Alpha", "Gamma"}), outcome.shown);
    EXPECT_EQ((Rows{"a.src", "c.src"}), outcome.names);
    EXPECT_EQ(1, outcome.selection);
    EXPECT_TRUE(outcome.back);
    EXPECT_EQ(0, outcome.errorLevel);
    // ".png" is probed first; the GIF stays.
    EXPECT_EQ((Rows{"a.src", "alpha.gif", "c.src"}), folder.Files());
}

TEST(DeletePlugin, AnEmptyIconIsNotDeletedAndTheNextOneIs) {
    TempPluginFolder folder;
    folder.Write("alpha.src", PluginText("Alpha"));
    folder.Write("alpha.png", "");
    folder.Write("alpha.jpg", "JPG");
    folder.Write("beta.src", PluginText("Beta"));
    folder.Write("beta.gif", "");
    BoxWatch boxes(IDYES);
    Outcome first = DeleteRow(folder, 0);
    EXPECT_EQ((Rows{"Beta"}), first.shown);
    EXPECT_EQ(0, first.selection);
    EXPECT_EQ((Rows{"alpha.png", "beta.gif", "beta.src"}), folder.Files());
    Outcome second = DeleteRow(folder, 0);
    EXPECT_TRUE(second.shown.empty());
    EXPECT_EQ(-1, second.selection);
    EXPECT_EQ((Rows{"alpha.png", "beta.gif"}), folder.Files());
}

TEST(DeletePlugin, ReadOnlyPluginAndIconAreDeleted) {
    TempPluginFolder folder;
    folder.Write("alpha.src", PluginText("Alpha"));
    folder.Write("alpha.ico", "ICO");
    SetReadOnly(folder / "alpha.src", true);
    SetReadOnly(folder / "alpha.ico", true);
    BoxWatch boxes(IDYES);
    Outcome outcome = DeleteRow(folder, 0);
    EXPECT_TRUE(outcome.wentOn);
    EXPECT_TRUE(outcome.shown.empty());
    EXPECT_TRUE(folder.Files().empty());
    EXPECT_EQ(1u, boxes.Boxes().size());
}

TEST(DeletePlugin, TheIconIsFoundInsideAFolderWhosePathHoldsSrc) {
    TempPluginFolder folder("my.src.d\\searchplugins");
    folder.Write("alpha.src", PluginText("Alpha"));
    folder.Write("alpha.png", "PNG");
    folder.Write("alpha.gif", "GIF");
    // The icon beside the folder that a cut at the path's first ".src" would reach.
    std::string outside = folder.Path().substr(0, folder.Path().find(".src.d")) + ".png";
    { std::ofstream(outside, std::ios::binary) << "NOT MINE"; }
    BoxWatch boxes(IDYES);
    Outcome outcome = DeleteRow(folder, 0);
    EXPECT_TRUE(outcome.shown.empty());
    EXPECT_EQ((Rows{"alpha.gif"}), folder.Files());
    EXPECT_EQ("NOT MINE", ReadBytes(outside));
    DeleteFileA(outside.c_str());
}

TEST(DeletePlugin, TheIconBaseIsTheWholeNameBeforeTheExtension) {
    TempPluginFolder folder;
    folder.Write("web.src", PluginText("Web"));
    folder.Write("web.png", "PNG of web.src");
    folder.Write("Web.src.Copy.src", PluginText("Web copy"));
    folder.Write("Web.src.Copy.gif", "GIF of the copy");
    BoxWatch boxes(IDYES);
    Outcome outcome = DeleteRow(folder, 1);
    EXPECT_EQ((Rows{"Web"}), outcome.shown);
    EXPECT_EQ((Rows{"web.png", "web.src"}), folder.Files());
}

TEST(DeletePlugin, AFileGoneMeanwhileIsReportedAndKeepsItsRow) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("b.src", PluginText("Beta"));
    folder.Write("b.png", "PNG");
    BoxWatch boxes(IDYES);
    Outcome outcome = DeleteRow(folder, 1, [&] { DeleteFileA((folder / "b.src").c_str()); });
    EXPECT_TRUE(outcome.wentOn);
    EXPECT_EQ((Rows{"Alpha", "Beta"}), outcome.shown);
    EXPECT_EQ((Rows{"a.src", "b.src"}), outcome.names);
    EXPECT_EQ(1, outcome.selection);
    EXPECT_TRUE(outcome.back);
    // Its icon stays: only a deleted plugin takes its icon along.
    EXPECT_EQ((Rows{"a.src", "b.png"}), folder.Files());
    auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Message:", seen[1].caption);
    EXPECT_EQ(0u, seen[1].text.find("Could not delete ''b.src'':\r"));
}

TEST(DeletePlugin, AFileThatCannotBeErasedIsReportedAndKeepsItsRow) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    BoxWatch boxes(IDYES);
    HANDLE held = INVALID_HANDLE_VALUE;
    Outcome outcome = DeleteRow(folder, 0, [&] {
        // Open without delete sharing: the erase is refused.
        held = CreateFileA((folder / "a.src").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    });
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    EXPECT_EQ((Rows{"Alpha"}), outcome.shown);
    EXPECT_EQ((Rows{"a.src"}), folder.Files());
    auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Message:", seen[1].caption);
    // A lock is no matter of rights.
    EXPECT_EQ(std::string::npos, seen[1].text.find("administrator")) << seen[1].text;
}

TEST(DeletePlugin, AccessDeniedSuggestsStartingAsAdministrator) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    BoxWatch boxes(IDYES);
    // Replaced behind the tool's back by a folder, which a file erase may not
    // remove: the system answers "access denied".
    Outcome outcome = DeleteRow(folder, 0, [&] {
        DeleteFileA((folder / "a.src").c_str());
        CreateDirectoryA((folder / "a.src").c_str(), nullptr);
    });
    EXPECT_EQ((Rows{"Alpha"}), outcome.shown);
    auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    const std::string &text = seen[1].text;
    EXPECT_EQ(0u, text.find("Could not delete ''a.src'':\r")) << text;
    const std::string hint = "\rTry starting Quillsort as administrator.";
    ASSERT_GT(text.size(), hint.size());
    EXPECT_EQ(hint, text.substr(text.size() - hint.size())) << text;
}

TEST(DeletePlugin, AnIconThatCannotBeErasedIsNamedAfterThePluginWent) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    folder.Write("a.gif", "GIF");
    folder.Write("b.src", PluginText("Beta"));
    BoxWatch boxes(IDYES);
    HANDLE held = INVALID_HANDLE_VALUE;
    Outcome outcome = DeleteRow(folder, 0, [&] {
        held = CreateFileA((folder / "a.gif").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    });
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    // The plugin is gone with its row; its icon stays and the user hears of it.
    EXPECT_EQ((Rows{"Beta"}), outcome.shown);
    EXPECT_TRUE(outcome.back);
    EXPECT_EQ((Rows{"a.gif", "b.src"}), folder.Files());
    auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Message:", seen[1].caption);
    EXPECT_EQ("warning", seen[1].icon);
    EXPECT_EQ(0u, seen[1].text.find("''a.src'' was deleted, but not its icon ''a.gif'':\r")) << seen[1].text;
}

TEST(DeletePlugin, AReadOnlyPluginThatCannotBeErasedStaysReadOnly) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    SetReadOnly(folder / "a.src", true);
    BoxWatch boxes(IDYES);
    HANDLE held = INVALID_HANDLE_VALUE;
    Outcome outcome = DeleteRow(folder, 0, [&] {
        held = CreateFileA((folder / "a.src").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    });
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    EXPECT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ((Rows{"a.src"}), folder.Files());
    EXPECT_TRUE(IsReadOnly(folder / "a.src"));
}
