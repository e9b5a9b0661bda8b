// The order writer on the real runtime: the application starts on a plugin
// folder of its own, then the test calls the writer on the script thread and
// reads the folder back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "../app_scenario.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/recopy_journal.h"
#include "runtime/window/window_ops.h"

using namespace apptest;

namespace {

std::string Row(HWND list, int row) {
    return GetListItem(list, row).c_str();
}

int RowCount() {
    return static_cast<int>(SendMessageA(MainList, LB_GETCOUNT, 0, 0));
}

// Reverses the catalogue in both lists, as the user could with the move buttons.
void ReverseCatalogue() {
    int count = RowCount();
    for (int i = 0; i < count; ++i) {
        for (HWND list : {MainList, NameList}) {
            std::string text = Row(list, count - 1);
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
            SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
}

std::string Number(int n, int digits) {
    std::string s = std::to_string(n);
    return std::string(static_cast<std::size_t>(digits) - s.size(), '0') + s;
}

} // namespace

TEST(RenameMethod, PositionsKeepTwoDigitsUpToNinetyNine) {
    DemoBrowser browser;
    for (int i = 0; i < 11; ++i) {
        browser.AddPlugin("p" + Number(i, 2) + ".src", "Plugin " + std::to_string(i));
    }
    // The first icon found wins, in the order .gif, .png, .jpg, .ico.
    browser.AddFile("p03.png", "png");
    browser.AddFile("p03.ico", "ico");
    browser.AddFile("p04.jpg", "");
    BoxWatch boxes;
    RunApplication([&] {
        ReverseCatalogue();
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
        ASSERT_EQ(RowCount(), 11);
        std::string letter = Row(NameList, 0).substr(0, 1);
        for (int p = 0; p < 11; ++p) {
            // Position p holds the plugin that was (reversed) at p.
            EXPECT_EQ(Row(NameList, p), letter + Number(p, 2) + "##p" + Number(10 - p, 2) + ".src");
            EXPECT_EQ(Row(MainList, p), "Plugin " + std::to_string(10 - p));
        }
        EXPECT_TRUE(FileExists(browser.Path(letter + "07##p03.png")));
        EXPECT_TRUE(FileExists(browser.Path("p03.ico")));
        EXPECT_TRUE(FileExists(browser.Path(letter + "06##p04.jpg")));
        EXPECT_EQ(browser.Files().size(), 14u);
    });
}

TEST(RenameMethod, MoreThanAHundredPluginsStillSortInCatalogueOrder) {
    DemoBrowser browser;
    const int count = 101;
    for (int i = 0; i < count; ++i) {
        browser.AddPlugin("q" + Number(i, 3) + ".src", "Q" + std::to_string(i));
    }
    BoxWatch boxes;
    RunApplication([&] {
        ReverseCatalogue();
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
        // The reload lists the files in name order: with every position
        // written in three digits that is the catalogue's order.
        ASSERT_EQ(RowCount(), count);
        std::string letter = Row(NameList, 0).substr(0, 1);
        for (int p = 0; p < count; ++p) {
            EXPECT_EQ(Row(NameList, p), letter + Number(p, 3) + "##q" + Number(count - 1 - p, 3) + ".src");
            EXPECT_EQ(Row(MainList, p), "Q" + std::to_string(count - 1 - p));
        }
        EXPECT_EQ(Row(NameList, 100).substr(1, 6), "100##q");
    });
}

TEST(RestoreNames, GivesPrefixedPluginsAndIconsTheirNamesBack) {
    DemoBrowser browser;
    browser.AddPlugin("K03##alpha.src", "Alpha");
    browser.AddFile("K03##alpha.png", "");
    browser.AddPlugin("plain.src", "Plain");
    browser.AddFile("plain.gif", "gif");
    browser.AddPlugin("K04##beta.src", "Beta");
    BoxWatch boxes;
    RunApplication([&] {
        EXPECT_EQ(std::string(PrefixLetter.c_str()), "K");
        RestoreOriginalNames();
        EXPECT_EQ(browser.Files(),
                  (std::vector<std::string>{"alpha.png", "alpha.src", "beta.src", "plain.gif", "plain.src"}));
        EXPECT_EQ(Row(NameList, 0), "alpha.src");
        // The letter drawn next must still differ from the last prefix seen.
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_NE(Row(NameList, 0).substr(0, 1), "K");
    });
    EXPECT_EQ(boxes.Boxes().size(), 1u); // the restore itself says nothing
}

TEST(RenameMethod, NamesHoldingHashesKeepTheirWholeNameAndIcon) {
    DemoBrowser browser;
    browser.AddPlugin("a##b.src", "AB");
    browser.AddFile("a##b.png", "icon");
    browser.AddPlugin("x##y##z.src", "XYZ");
    browser.AddPlugin("R00##name.src", "Earlier");
    BoxWatch boxes;
    std::vector<std::string> sorted;
    RunApplication([&] {
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(1));
        for (int row = 0; row < RowCount(); ++row) {
            std::string name = Row(NameList, row);
            EXPECT_EQ(name.substr(0, 3), Row(NameList, 0).substr(0, 1) + Number(row, 2));
            sorted.push_back(name.substr(3));
        }
        RestoreOriginalNames();
    });
    // Every plugin is still listed, with its name after the new prefix.
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"##a##b.src", "##name.src", "##x##y##z.src"}));
    EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
    EXPECT_EQ(browser.Files(), (std::vector<std::string>{"a##b.png", "a##b.src", "name.src", "x##y##z.src"}));
}

TEST(RecopyMethod, FilesEndWhereTheyStartedAndTheFolderIsRemoved) {
    for (bool folderThere : {false, true}) {
        SCOPED_TRACE(folderThere ? "temporary folder already there" : "temporary folder created");
        DemoBrowser browser;
        browser.AddPlugin("alpha.src", "Alpha");
        browser.AddFile("alpha.gif", "icon");
        browser.AddPlugin("beta.src", "Beta");
        if (folderThere) {
            CreateDirectoryA(browser.Temp().c_str(), nullptr);
        }
        std::vector<std::string> before = browser.Files();
        BoxWatch boxes;
        RunApplication([&] {
            ResortByRecopying();
            ASSERT_TRUE(boxes.WaitFor(1));
            SeenBox box = boxes.Boxes()[0];
            EXPECT_EQ(box.caption, "Message:");
            EXPECT_EQ(box.text, "Re-sort successfully done!");
            EXPECT_EQ(box.icon, "information");
            // No name changed, so the catalogue is not reloaded.
            EXPECT_EQ(Row(NameList, 0), "alpha.src");
        });
        std::vector<std::string> after = browser.Files();
        EXPECT_FALSE(FileExists(browser.Temp()));
        before.erase(std::remove(before.begin(), before.end(), "temp"), before.end());
        EXPECT_EQ(after, before);
        EXPECT_EQ(ReadBytes(browser.Path("beta.src")), PluginText("Beta"));
    }
}

TEST(RecopyMethod, AnEmptyCatalogueStillCreatesAndRemovesTheFolder) {
    DemoBrowser browser;
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
    });
    EXPECT_TRUE(browser.Files().empty());
}

TEST(RecopyMethod, AFileOfTheSameNameInTheTemporaryFolderKeepsThePluginInPlace) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddPlugin("beta.src", "Beta");
    CreateDirectoryA(browser.Temp().c_str(), nullptr);
    WriteBytes(browser.Temp() + "\\beta.src", "left over");
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text, "1 plugin file could not be renamed or moved:\r\rbeta.src");
    });
    EXPECT_EQ(ReadBytes(browser.Path("beta.src")), PluginText("Beta"));
    EXPECT_EQ(ReadBytes(browser.Path("alpha.src")), PluginText("Alpha"));
    EXPECT_EQ(ReadBytes(browser.Temp() + "\\beta.src"), "left over");
    EXPECT_EQ(Listing(browser.Temp()), std::vector<std::string>{"beta.src"});
}

// A plugin whose way back is blocked for a while: held open by another
// program from the moment it reaches the temporary folder.
class BlockedReturn : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 30; ++i) {
            browser.AddPlugin("p" + Number(i, 2) + ".src", "P" + std::to_string(i));
        }
        browser.AddPlugin("zz.src", "Last");
    }
    // Holds temp\zz.src open from its arrival until release() says so.
    void Block(const std::function<bool()> &release) {
        blocker = std::thread([this, release] {
            std::string path = browser.Temp() + "\\zz.src";
            // Looked for by time, not by count: under load the file may
            // arrive only after many tries.
            HANDLE held = INVALID_HANDLE_VALUE;
            for (DWORD start = GetTickCount();
                 held == INVALID_HANDLE_VALUE && GetTickCount() - start < 20000;) {
                held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                if (held == INVALID_HANDLE_VALUE) {
                    Sleep(0);
                }
            }
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
            // zz.src leaves last: by now the journal must name every plugin.
            journalSeen = JournalNames(ReadBytes(Journal()).c_str());
            WaitUntil(release, 20000);
            CloseHandle(held);
        });
    }
    void TearDown() override {
        if (blocker.joinable()) {
            blocker.join();
        }
    }
    std::string Journal() const { return browser.Temp() + "\\" + RecopyJournalName; }
    std::vector<std::string> AllPlugins() const {
        std::vector<std::string> names;
        for (int i = 0; i < 30; ++i) {
            names.push_back("p" + Number(i, 2) + ".src");
        }
        names.push_back("zz.src");
        return names;
    }
    static std::vector<std::string> Texts(const std::vector<StringValue> &values) {
        std::vector<std::string> texts;
        for (const StringValue &value : values) {
            texts.push_back(value.c_str());
        }
        return texts;
    }
    DemoBrowser browser;
    std::thread blocker;
    std::vector<StringValue> journalSeen;
};

TEST_F(BlockedReturn, IsRetriedAfterTheOthersAndNamedAsOutOfOrder) {
    // Released once all others are back, so the first try has failed and the
    // retry finds the way free.
    Block([this] {
        std::vector<std::string> left = Listing(browser.Temp());
        if (left != std::vector<std::string>{RecopyJournalName, "zz.src"}) {
            return false;
        }
        Sleep(100);
        return true;
    });
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
        // It now stands after the others, which is not the wanted order.
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text, "1 plugin file came back only on a second try and now stands after all the "
                            "others, out of the wanted order:\r\rzz.src\r\rRun the re-sort again to put it "
                            "in its place.");
    });
    EXPECT_EQ(Texts(journalSeen), AllPlugins());
    EXPECT_EQ(ReadBytes(browser.Path("zz.src")), PluginText("Last"));
    EXPECT_FALSE(FileExists(browser.Temp()));
}

TEST_F(BlockedReturn, StillBlockedIsNamedToTheUser) {
    {
        BoxWatch boxes;
        Block([&] { return boxes.Boxes().size() >= 1; });
        RunApplication([&] {
            ResortByRecopying();
            ASSERT_TRUE(boxes.WaitFor(1));
            SeenBox box = boxes.Boxes()[0];
            EXPECT_EQ(box.icon, "warning");
            EXPECT_EQ(box.text, "1 plugin file could not be renamed or moved:\r\rtemp\\zz.src");
        });
        blocker.join();
    }
    // Nothing is lost: the file waits in the temporary folder, which stays,
    // named by the journal.
    EXPECT_EQ(ReadBytes(browser.Temp() + "\\zz.src"), PluginText("Last"));
    EXPECT_EQ(browser.Files().size(), 31u); // 30 plugins and the folder
    EXPECT_EQ(Texts(journalSeen), AllPlugins());
    EXPECT_EQ(Listing(browser.Temp()), (std::vector<std::string>{RecopyJournalName, "zz.src"}));
    EXPECT_EQ(Texts(JournalNames(ReadBytes(Journal()).c_str())), std::vector<std::string>{"zz.src"});

    // The next start offers it back, and it comes back.
    BoxWatch answers(IDYES);
    int rows = 0;
    RunApplication([&] { rows = RowCount(); });
    std::vector<SeenBox> seen = answers.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].yesNo);
    EXPECT_EQ(seen[0].text, "A re-sort did not finish: 1 plugin file still waits in the temporary folder "
                            "''temp'', where the browser cannot see it.\r\rMove it back into the plugin "
                            "folder now?");
    EXPECT_EQ(seen[1].text, "1 plugin file came back:\r\rzz.src");
    EXPECT_EQ(seen[1].icon, "information");
    EXPECT_EQ(rows, 31);
    EXPECT_EQ(ReadBytes(browser.Path("zz.src")), PluginText("Last"));
    EXPECT_FALSE(FileExists(browser.Temp()));
}

// What a re-sort stopped midway (the program killed, the machine off) leaves:
// a journal, and plugins in the temporary folder. Only journal-named files are
// touched, and a name taken in the plugin folder meanwhile is kept.
TEST(RecopyJournal, ACatalogueLoadOffersTheStrandedPluginsBack) {
    DemoBrowser browser;
    browser.AddPlugin("b.src", "B at home");
    browser.AddPlugin("c.src", "C");
    const std::string temp = browser.Temp();
    WriteBytes(temp + "\\a.src", PluginText("A"));
    WriteBytes(temp + "\\b.src", PluginText("B away"));
    WriteBytes(temp + "\\mine.src", PluginText("Mine"));
    WriteBytes(temp + "\\" + RecopyJournalName, JournalText({"a.src", "b.src", "c.src"}).c_str());

    {
        BoxWatch declined(IDNO);
        std::vector<std::string> rows;
        RunApplication([&] { rows = {Row(NameList, 0), Row(NameList, 1)}; });
        ASSERT_EQ(declined.Boxes().size(), 1u);
        EXPECT_NE(declined.Boxes()[0].text.find("2 plugin files still wait"), std::string::npos);
        EXPECT_EQ(Listing(temp), (std::vector<std::string>{"a.src", "b.src", "mine.src", RecopyJournalName}));
    }

    BoxWatch accepted(IDYES);
    std::vector<std::string> names;
    RunApplication([&] {
        for (int row = 0; row < RowCount(); ++row) {
            names.push_back(Row(NameList, row));
        }
    });
    std::vector<SeenBox> seen = accepted.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "1 plugin file came back:\r\ra.src\r\r1 plugin file could not be moved back and "
                            "is still in the temporary folder:\r\rb.src");
    EXPECT_EQ(seen[1].icon, "warning");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.src", "b.src", "c.src"}));
    EXPECT_EQ(ReadBytes(browser.Path("a.src")), PluginText("A"));
    EXPECT_EQ(ReadBytes(browser.Path("b.src")), PluginText("B at home"));
    EXPECT_EQ(Listing(temp), (std::vector<std::string>{"b.src", "mine.src", RecopyJournalName}));
    EXPECT_EQ(ReadBytes(temp + "\\mine.src"), PluginText("Mine"));
    EXPECT_EQ(JournalText({"b.src"}).c_str(), ReadBytes(temp + "\\" + RecopyJournalName));
}

TEST(RecopyJournal, AJournalNamingNothingLeftIsRemovedWithoutAQuestion) {
    DemoBrowser browser;
    browser.AddPlugin("a.src", "A");
    WriteBytes(browser.Temp() + "\\" + RecopyJournalName, JournalText({"a.src"}).c_str());
    BoxWatch boxes;
    RunApplication([] {});
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(FileExists(browser.Temp()));
}

// The name of the file whose name holds part.
std::string NameWith(const DemoBrowser &browser, const std::string &part) {
    for (const std::string &name : browser.Files()) {
        if (name.find(part) != std::string::npos) {
            return name;
        }
    }
    return "?";
}

// An icon held open by another program cannot be renamed: its plugin takes
// its old name back, so the two still share a name, and the icon is named to
// the user; the other plugins are sorted as usual.
TEST(IconHeldOpen, KeepsItsPluginUnderTheOldNameInBothDirections) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddFile("alpha.gif", "icon");
    browser.AddPlugin("beta.src", "Beta");
    BoxWatch boxes;
    RunApplication([&] {
        HANDLE held = CreateFileA(browser.Path("alpha.gif").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(1));
        CloseHandle(held);
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text, "1 plugin file could not be renamed or moved:\r\ralpha.gif");
        EXPECT_TRUE(FileExists(browser.Path("alpha.gif")));
        EXPECT_TRUE(FileExists(browser.Path("alpha.src")));
        EXPECT_EQ(NameWith(browser, "##beta.src").substr(1), "01##beta.src");
        EXPECT_EQ(browser.Files().size(), 3u);

        // Sorted names given back while the sorted icon is held.
        ResortByRenaming();
        ASSERT_TRUE(boxes.WaitFor(2));
        std::string icon = NameWith(browser, "##alpha.gif");
        std::string plugin = icon.substr(0, icon.size() - 4) + ".src";
        ASSERT_TRUE(FileExists(browser.Path(plugin)));
        held = CreateFileA(browser.Path(icon).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        RestoreOriginalNames();
        ASSERT_TRUE(boxes.WaitFor(3));
        CloseHandle(held);
        EXPECT_EQ(boxes.Boxes()[2].text, "1 plugin file could not be renamed or moved:\r\r" + icon);
        EXPECT_TRUE(FileExists(browser.Path(icon)));
        EXPECT_TRUE(FileExists(browser.Path(plugin)));
        EXPECT_TRUE(FileExists(browser.Path("beta.src")));
        EXPECT_EQ(browser.Files().size(), 3u);
    });
    EXPECT_EQ(ReadBytes(browser.Path("beta.src")), PluginText("Beta"));
}
