// The re-copy method on a real FAT16 volume (drive F: of the test prefix):
// the start-up chooses it by itself, and afterwards the directory entries
// stand in the catalogue's order, the order the browser reads. Wine lists
// every folder sorted by name, so the entry order is read from Linux (ls -U).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../app_scenario.h"
#include "app/catalogue/order_writer.h"
#include "runtime/window/window_ops.h"
#include "tests/support/test_drives.h"

using namespace apptest;

namespace {

int RowCount() {
    return static_cast<int>(SendMessageA(MainList, LB_GETCOUNT, 0, 0));
}

std::vector<std::string> CatalogueFiles() {
    std::vector<std::string> files;
    for (int i = 0; i < RowCount(); ++i) {
        files.push_back(GetListItem(NameList, i).c_str());
    }
    return files;
}

// Puts the catalogue into the given file order, as the user could with the
// move buttons: both lists are rebuilt row by row.
void ArrangeCatalogue(const std::vector<std::string> &order) {
    std::vector<std::string> files = CatalogueFiles();
    std::vector<std::string> shown;
    for (int i = 0; i < RowCount(); ++i) {
        shown.push_back(GetListItem(MainList, i).c_str());
    }
    SendMessageA(MainList, LB_RESETCONTENT, 0, 0);
    SendMessageA(NameList, LB_RESETCONTENT, 0, 0);
    for (const std::string &file : order) {
        auto at = std::find(files.begin(), files.end(), file) - files.begin();
        SendMessageA(MainList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown[at].c_str()));
        SendMessageA(NameList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.c_str()));
    }
    SendMessageA(MainList, LB_SETCURSEL, 0, 0);
}

// The plugin files of a directory listing, in its order.
std::vector<std::string> PluginsIn(const std::vector<std::string> &entries) {
    std::vector<std::string> plugins;
    for (const std::string &name : entries) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".src") == 0) {
            plugins.push_back(name);
        }
    }
    return plugins;
}

// The path under which the tool opens a plugin: the browser folder as the
// registry gives it, lower-cased, then the file's own name. fusefat gives
// each spelling of a name its own inode number, so Wine notices another
// program's handle only when it was opened under the very same spelling.
std::string ToolPath(const DemoBrowser &browser, const std::string &file) {
    std::string folder = browser.Folder();
    CharLowerA(&folder[0]);
    return folder + "\\searchplugins\\" + file;
}

std::vector<std::string> Without(std::vector<std::string> names, const std::string &name) {
    names.erase(std::remove(names.begin(), names.end(), name), names.end());
    return names;
}

class FatVolume : public testing::Test {
  protected:
    void SetUp() override {
        drive = FatDrive();
        if (!drive.Ready()) {
            GTEST_SKIP() << "no FAT drive: " << drive.skip;
        }
        browser = std::make_unique<DemoBrowser>(drive.root);
        // Names of up to 13 characters: each takes the same number of
        // directory entries (its long name and its short name), so every
        // place a plugin leaves fits any other plugin.
        for (const char *name : {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"}) {
            std::string shown = name;
            shown[0] = static_cast<char>(shown[0] - 'a' + 'A');
            browser->AddPlugin(std::string(name) + ".src", shown);
        }
        // Icons stay where they are; the plugins move around them.
        browser->AddFile("bravo.gif", "GIF89a");
        browser->AddFile("echo.png", "png");
    }
    std::vector<std::string> EntryOrder() {
        return PluginsIn(DirectoryEntryOrder(drive, browser->Plugins()));
    }

    TestDrive drive;
    std::unique_ptr<DemoBrowser> browser;
};

} // namespace

TEST_F(FatVolume, StartUpChoosesTheRecopyMethod) {
    EXPECT_EQ(testdrives::FileSystemOf(drive.root).substr(0, 3), "FAT");
    RunApplication([&] {
        EXPECT_EQ(RenameMethod, 0);
        EXPECT_EQ(OrigNamesButton, nullptr);
        EXPECT_EQ(EntryOrder(), CatalogueFiles()); // created in name order
    });
}

TEST_F(FatVolume, ResortWritesTheCatalogueOrderIntoTheDirectory) {
    const std::vector<std::vector<std::string>> orders = {
        {"golf.src", "foxtrot.src", "echo.src", "delta.src", "charlie.src", "bravo.src", "alpha.src"},
        {"delta.src", "alpha.src", "golf.src", "bravo.src", "foxtrot.src", "charlie.src", "echo.src"},
    };
    BoxWatch boxes;
    RunApplication([&] {
        for (std::size_t i = 0; i < orders.size(); ++i) {
            SCOPED_TRACE("order " + std::to_string(i));
            ArrangeCatalogue(orders[i]);
            ResortPlugins();
            ASSERT_TRUE(boxes.WaitFor(i + 1));
            EXPECT_EQ(boxes.Boxes()[i].text, "Re-sort successfully done!");
            EXPECT_EQ(EntryOrder(), orders[i]);
        }
    });
    EXPECT_FALSE(FileExists(browser->Temp()));
    EXPECT_EQ(ReadBytes(browser->Path("charlie.src")), PluginText("Charlie"));
    EXPECT_EQ(ReadBytes(browser->Path("bravo.gif")), "GIF89a");
}

TEST_F(FatVolume, APluginThatCannotMoveKeepsItsPlaceAndTheOthersFollowTheCatalogue) {
    const std::vector<std::string> wanted = {"golf.src",    "foxtrot.src", "echo.src", "delta.src",
                                             "charlie.src", "bravo.src",   "alpha.src"};
    std::vector<std::string> before;
    BoxWatch boxes;
    RunApplication([&] {
        before = CatalogueFiles();
        // Another program holds delta.src open without sharing: it cannot
        // leave the folder, so its directory entry stays where it was.
        HANDLE held = CreateFileA(ToolPath(*browser, "delta.src").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ArrangeCatalogue(wanted);
        ResortPlugins();
        ASSERT_TRUE(boxes.WaitFor(1));
        CloseHandle(held);
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.icon, "warning");
        EXPECT_NE(box.text.find("delta.src"), std::string::npos) << box.text;

        std::vector<std::string> order = EntryOrder();
        auto heldAt = std::find(before.begin(), before.end(), "delta.src") - before.begin();
        ASSERT_EQ(order.size(), wanted.size());
        EXPECT_EQ(order[heldAt], "delta.src");
        EXPECT_EQ(Without(order, "delta.src"), Without(wanted, "delta.src"));

        // Once the other program let go, the next re-sort writes the whole order.
        ResortPlugins();
        ASSERT_TRUE(boxes.WaitFor(2));
        EXPECT_EQ(boxes.Boxes()[1].text, "Re-sort successfully done!");
        EXPECT_EQ(EntryOrder(), wanted);
    });
    EXPECT_FALSE(FileExists(browser->Temp()));
    EXPECT_EQ(ReadBytes(browser->Path("delta.src")), PluginText("Delta"));
}
