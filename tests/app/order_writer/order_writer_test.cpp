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
#include "app/catalogue/recopy.h"
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

TEST(RecopyMethod, FilesEndWhereTheyStartedAndTheStagingFolderIsRemoved) {
    for (int there : {0, 1, 2}) {
        SCOPED_TRACE(there == 0 ? "nothing there" : there == 1 ? "empty temp there" : "empty staging there");
        DemoBrowser browser;
        browser.AddPlugin("alpha.src", "Alpha");
        browser.AddFile("alpha.gif", "icon");
        browser.AddPlugin("beta.src", "Beta");
        browser.AddFile("notes.txt", "mine");
        std::vector<std::string> before = browser.Files();
        CreateDirectoryA((there == 1 ? browser.Temp() : browser.Staging()).c_str(), nullptr);
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
        EXPECT_EQ(browser.Files(), before);
        EXPECT_FALSE(FileExists(browser.Staging()));
        EXPECT_EQ(ReadBytes(browser.Path("beta.src")), PluginText("Beta"));
        EXPECT_EQ(ReadBytes(browser.Path("notes.txt")), "mine");
    }
}

TEST(RecopyMethod, AnEmptyCatalogueStillMakesTheFolderAnew) {
    DemoBrowser browser;
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
    });
    EXPECT_TRUE(FileExists(browser.Plugins()));
    EXPECT_TRUE(browser.Files().empty());
    EXPECT_FALSE(FileExists(browser.Staging()));
}

// Files whose names the ANSI code page cannot spell are moved by their own
// names, and the folder made anew keeps its attributes.
TEST(RecopyMethod, KeepsNamesBeyondTheCodePageAndTheFolderAttributes) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    std::wstring odd = std::wstring(L"\x0416\x043E\x0440.gif");
    std::string folder = browser.Plugins();
    std::wstring path = std::wstring(folder.begin(), folder.end()) + L"\\" + odd;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "odd", 3, &written, nullptr);
    CloseHandle(file);
    const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    SetFileAttributesA(browser.Plugins().c_str(), attributes);
    bool kept = (GetFileAttributesA(browser.Plugins().c_str()) & attributes) == attributes;
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].text, "Re-sort successfully done!");
    });
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(browser.Files().size(), 2u);
    if (kept) {
        EXPECT_EQ(GetFileAttributesA(browser.Plugins().c_str()) & attributes, attributes);
    }
    SetFileAttributesA(browser.Plugins().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str()); // the clean-up lists by ANSI names
}

// A folder inside the plugin folder, or files in the staging folder: the
// re-sort says so and changes nothing.
TEST(RecopyMethod, RefusesAroundAFolderOfTheUsersOrAFullStagingFolder) {
    for (bool subFolder : {true, false}) {
        SCOPED_TRACE(subFolder ? "folder inside" : "staging not empty");
        DemoBrowser browser;
        browser.AddPlugin("alpha.src", "Alpha");
        browser.AddPlugin("beta.src", "Beta");
        std::string kept = subFolder ? browser.Temp() + "\\beta.src" : browser.Staging() + "\\old.src";
        WriteBytes(kept, "left over");
        std::vector<std::string> before = browser.Files();
        BoxWatch boxes;
        RunApplication([&] {
            ResortByRecopying();
            ASSERT_TRUE(boxes.WaitFor(1));
            SeenBox box = boxes.Boxes()[0];
            EXPECT_EQ(box.icon, "warning");
            EXPECT_EQ(box.text,
                      subFolder ? SubFolderRefusal({"temp"}).c_str() : StagingInUseRefusal().c_str());
        });
        EXPECT_EQ(browser.Files(), before);
        EXPECT_EQ(ReadBytes(kept), "left over");
        EXPECT_EQ(FileExists(browser.Staging()), !subFolder);
    }
}

// The emptied plugin folder held open (a window showing it): it stays, every
// file goes back into it, and the box says why and what to do.
TEST(RecopyMethod, AFolderThatCannotBeRemovedGetsEveryFileBack) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddFile("alpha.gif", "icon");
    std::vector<std::string> before = browser.Files();
    HANDLE held = CreateFileA(browser.Plugins().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    BoxWatch boxes;
    RunApplication([&] {
        ResortByRecopying();
        ASSERT_TRUE(boxes.WaitFor(1));
    });
    CloseHandle(held);
    SeenBox box = boxes.Boxes()[0];
    EXPECT_EQ(box.icon, "warning");
    EXPECT_EQ(box.text.rfind("The plugin folder could not be made anew:", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(CloseBrowserAdvice().c_str()), std::string::npos) << box.text;
    EXPECT_EQ(browser.Files(), before);
    EXPECT_FALSE(FileExists(browser.Staging()));
}

// The names the staging journal at path lists, in its order.
std::vector<std::string> StagedNames(const std::string &path) {
    std::string bytes = ReadBytes(path);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
    }
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], static_cast<int>(text.size()))));
    std::vector<std::string> names;
    for (const StagedFile &file : ParseStagingJournal(text).files) {
        names.push_back(std::string(file.name.begin(), file.name.end()));
    }
    return names;
}

// The plugin folder cannot be made again (a file took its name): the files
// wait in the staging folder, named by the journal, and the next start makes
// the folder again and brings them back.
TEST(RecopyMethod, AFolderThatCannotBeMadeAgainIsMadeByTheNextStart) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddFile("alpha.gif", "icon");
    browser.AddPlugin("beta.src", "Beta");
    std::vector<std::string> before = browser.Files();
    {
        RecopyStepReached = [](RecopyStep step, std::int32_t done) {
            if (step == RecopyStep::RemoveFolder && done == 1) {
                WriteBytes(PluginFolder.c_str(), "in the way");
            }
        };
        BoxWatch boxes;
        RunApplication([&] {
            ResortByRecopying();
            ASSERT_TRUE(boxes.WaitFor(1));
        });
        RecopyStepReached = nullptr;
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text.rfind("The plugin folder could not be made again:", 0), 0u) << box.text;
        EXPECT_NE(box.text.find("3 files wait in"), std::string::npos) << box.text;
        EXPECT_EQ(StagedNames(browser.Staging() + "\\" + RecopyJournalName),
                  (std::vector<std::string>{"alpha.src", "beta.src", "alpha.gif"}));
    }
    DeleteFileA(browser.Plugins().c_str());

    BoxWatch answers(IDYES);
    RunApplication([] {});
    std::vector<SeenBox> seen = answers.Boxes();
    ASSERT_EQ(seen.size(), 2u) << (seen.empty() ? "" : seen[0].text);
    EXPECT_EQ(seen[0].text, RecoveryQuestion(3, StagingWhere()).c_str());
    EXPECT_EQ(seen[1].text, "3 files came back:\r\ralpha.src\rbeta.src\ralpha.gif");
    EXPECT_EQ(browser.Files(), before);
    EXPECT_FALSE(FileExists(browser.Staging()));
}

// A plugin whose way back is blocked for a while: held open by another
// program from the moment it reaches the staging folder.
class BlockedReturn : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 30; ++i) {
            browser.AddPlugin("p" + Number(i, 2) + ".src", "P" + std::to_string(i));
        }
        browser.AddPlugin("zz.src", "Last");
    }
    // Holds zz.src open in the staging folder from its arrival until
    // release() says so.
    void Block(const std::function<bool()> &release) {
        blocker = std::thread([this, release] {
            std::string path = browser.Staging() + "\\zz.src";
            // Looked for by time, not by count: under load the file may
            // arrive only after many tries.
            HANDLE held = INVALID_HANDLE_VALUE;
            for (DWORD start = GetTickCount();
                 held == INVALID_HANDLE_VALUE && GetTickCount() - start < 30000;) {
                held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                if (held == INVALID_HANDLE_VALUE) {
                    Sleep(0);
                }
            }
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
            journalSeen = StagedNames(Journal());
            WaitUntil(release, 20000);
            CloseHandle(held);
        });
    }
    void TearDown() override {
        if (blocker.joinable()) {
            blocker.join();
        }
    }
    std::string Journal() const { return browser.Staging() + "\\" + RecopyJournalName; }
    std::vector<std::string> AllPlugins() const {
        std::vector<std::string> names;
        for (int i = 0; i < 30; ++i) {
            names.push_back("p" + Number(i, 2) + ".src");
        }
        names.push_back("zz.src");
        return names;
    }
    DemoBrowser browser;
    std::thread blocker;
    std::vector<std::string> journalSeen;
};

TEST_F(BlockedReturn, IsRetriedAfterTheOthersAndNamedAsOutOfOrder) {
    // Released once all others are back, so the first try has failed and the
    // retry finds the way free.
    Block([this] {
        std::vector<std::string> left = Listing(browser.Staging());
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
    // The journal named every plugin before the first one left.
    EXPECT_EQ(journalSeen, AllPlugins());
    EXPECT_EQ(ReadBytes(browser.Path("zz.src")), PluginText("Last"));
    EXPECT_FALSE(FileExists(browser.Staging()));
}

TEST_F(BlockedReturn, StillBlockedIsNamedToTheUserAndComesBackAtTheNextStart) {
    {
        BoxWatch boxes;
        Block([&] { return boxes.Boxes().size() >= 1; });
        RunApplication([&] {
            ResortByRecopying();
            ASSERT_TRUE(boxes.WaitFor(1));
            SeenBox box = boxes.Boxes()[0];
            EXPECT_EQ(box.icon, "warning");
            Failures left;
            left.Add("searchplugins (re-sort)\\zz.src");
            EXPECT_EQ(box.text, LeftAwayReport(left).c_str());
            EXPECT_EQ(
                box.text.rfind(
                    "1 plugin file could not be renamed or moved:\r\rsearchplugins (re-sort)\\zz.src", 0),
                0u);
        });
        blocker.join();
    }
    // Nothing is lost: the file waits in the staging folder, named by the
    // journal.
    EXPECT_EQ(ReadBytes(browser.Staging() + "\\zz.src"), PluginText("Last"));
    EXPECT_EQ(browser.Files().size(), 30u);
    EXPECT_EQ(journalSeen, AllPlugins());
    EXPECT_EQ(Listing(browser.Staging()), (std::vector<std::string>{RecopyJournalName, "zz.src"}));
    EXPECT_EQ(StagedNames(Journal()), std::vector<std::string>{"zz.src"});

    BoxWatch answers(IDYES);
    int rows = 0;
    RunApplication([&] { rows = RowCount(); });
    std::vector<SeenBox> seen = answers.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].yesNo);
    EXPECT_EQ(seen[0].text,
              "A re-sort did not finish: 1 file still waits in the folder ''searchplugins "
              "(re-sort)'' beside the plugin folder, where the browser cannot see it.\r\rMove it "
              "back into the plugin folder now?");
    EXPECT_EQ(seen[1].text, "1 file came back:\r\rzz.src");
    EXPECT_EQ(seen[1].icon, "information");
    EXPECT_EQ(rows, 31);
    EXPECT_EQ(ReadBytes(browser.Path("zz.src")), PluginText("Last"));
    EXPECT_FALSE(FileExists(browser.Staging()));
}

// What the previous version's re-sort, stopped midway, left: a journal, and
// plugins in the temporary folder inside the plugin folder. Only
// journal-named files are touched, and a name taken in the plugin folder
// meanwhile is kept.
TEST(RecopyJournal, ACatalogueLoadOffersThePreviousVersionsStrandedPluginsBack) {
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
        RunApplication([] {});
        ASSERT_EQ(declined.Boxes().size(), 1u);
        EXPECT_EQ(declined.Boxes()[0].text, RecoveryQuestion(2, OldTempWhere()).c_str());
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
    EXPECT_EQ(seen[1].text,
              "1 file came back:\r\ra.src\r\r1 file could not be moved back and is still in the "
              "temporary folder ''temp'':\r\rb.src");
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
    StagingJournal staged;
    staged.files = {StagedFile{L"gone.src", true}};
    std::wstring text = StagingJournalText(staged);
    WriteBytes(browser.Staging() + "\\" + RecopyJournalName, std::string(text.begin(), text.end()));
    BoxWatch boxes;
    RunApplication([] {});
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(FileExists(browser.Temp()));
    EXPECT_FALSE(FileExists(browser.Staging()));
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
