// The re-copy method on a real FAT16 volume (drive F: of the test prefix):
// the start-up chooses it by itself, and afterwards the directory entries
// stand in the catalogue's order, the order the browser reads. Wine lists
// every folder sorted by name, so the entry order is read from the drive's
// image (DirectoryEntryOrder).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../app_scenario.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/recopy.h"
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
        if (name.size() > 4 && lstrcmpiA(name.substr(name.size() - 4).c_str(), ".src") == 0) {
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
    }
    // Seven plugins whose names each take one directory entry, and two icons.
    void AddSimplePlugins() {
        for (const char *name : {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"}) {
            std::string shown = name;
            shown[0] = static_cast<char>(shown[0] - 'a' + 'A');
            browser->AddPlugin(std::string(name) + ".src", shown);
        }
        browser->AddFile("bravo.gif", "GIF89a");
        browser->AddFile("echo.png", "png");
    }
    std::vector<std::string> EntryOrder() {
        return PluginsIn(DirectoryEntryOrder(drive, browser->Plugins()));
    }
    // Re-sorts into each order in turn; each must end with the success box
    // and the directory entries in exactly that order.
    void ResortInto(const std::vector<std::vector<std::string>> &orders) {
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
    }

    TestDrive drive;
    std::unique_ptr<DemoBrowser> browser;
};

} // namespace

TEST_F(FatVolume, StartUpChoosesTheRecopyMethod) {
    AddSimplePlugins();
    EXPECT_EQ(testdrives::FileSystemOf(drive.root).substr(0, 3), "FAT");
    RunApplication([&] {
        EXPECT_EQ(RenameMethod, 0);
        EXPECT_EQ(OrigNamesButton, nullptr);
        EXPECT_EQ(EntryOrder(), CatalogueFiles()); // created in name order
    });
}

TEST_F(FatVolume, ResortWritesTheCatalogueOrderIntoTheDirectory) {
    AddSimplePlugins();
    ResortInto({
        {"golf.src", "foxtrot.src", "echo.src", "delta.src", "charlie.src", "bravo.src", "alpha.src"},
        {"delta.src", "alpha.src", "golf.src", "bravo.src", "foxtrot.src", "charlie.src", "echo.src"},
    });
    EXPECT_FALSE(FileExists(browser->Staging()));
    EXPECT_EQ(ReadBytes(browser->Path("charlie.src")), PluginText("Charlie"));
    EXPECT_EQ(ReadBytes(browser->Path("bravo.gif")), "GIF89a");
}

// The browser's own first plugins, each icon written just before its
// plugin: long names and short ones, one in mixed case. The holes they leave
// differ in size, so a re-copy into the same folder misorders them.
TEST_F(FatVolume, TheBrowsersFirstPluginsTakeTheArrangedOrder) {
    const char *const plugins[][2] = {{"amazondotcom", "Amazon.com"},
                                      {"answers", "Answers.com"},
                                      {"creativecommons", "Creative Commons"},
                                      {"dictionary", "Dictionary.com"},
                                      {"eBay", "eBay"},
                                      {"google", "Google"},
                                      {"yahoo", "Yahoo"}};
    for (const auto &plugin : plugins) {
        browser->AddFile(std::string(plugin[0]) + ".gif", std::string("GIF89a ") + plugin[1]);
        browser->AddPlugin(std::string(plugin[0]) + ".src", plugin[1]);
    }
    // Google, Amazon.com, Yahoo, Answers.com, eBay, Creative Commons, Dictionary.com
    ResortInto({{"google.src", "amazondotcom.src", "yahoo.src", "answers.src", "eBay.src",
                 "creativecommons.src", "dictionary.src"}});
    EXPECT_EQ(ReadBytes(browser->Path("eBay.gif")), "GIF89a eBay");
}

// A folder with a history: names of 1 to 40 characters in mixed case, icons
// between the plugins, hidden plugins, a text file, a file deleted before the
// first re-sort, and several re-sorts in a row.
TEST_F(FatVolume, AFolderWithAHistoryTakesEveryArrangedOrder) {
    const std::vector<std::string> files = {"x.src",
                                            "News.gif",
                                            "News.src",
                                            "Old Engine.hid",
                                            "wikipedia-en.src",
                                            "wikipedia-en.png",
                                            "readme.txt",
                                            "MiXeD.SRC",
                                            "A Search Plugin With A Long Name.src",
                                            "scratch.tmp",
                                            "abcdefghijklmnopqrstuvwxyz0123456789.src",
                                            "q.ico",
                                            "q.src",
                                            "Retired.hid"};
    for (const std::string &file : files) {
        std::string base = file.substr(0, file.rfind('.'));
        browser->AddFile(file,
                         file.find(".src") != std::string::npos || file.find(".SRC") != std::string::npos
                             ? PluginText("Shown " + base)
                             : "bytes of " + file);
    }
    ASSERT_TRUE(DeleteFileA(browser->Path("scratch.tmp").c_str()));
    const std::vector<std::string> plugins = {"x.src",
                                              "News.src",
                                              "wikipedia-en.src",
                                              "MiXeD.SRC",
                                              "A Search Plugin With A Long Name.src",
                                              "abcdefghijklmnopqrstuvwxyz0123456789.src",
                                              "q.src"};
    std::vector<std::vector<std::string>> orders;
    std::vector<std::string> order(plugins.rbegin(), plugins.rend());
    orders.push_back(order);
    // Long names forward, short ones behind them, then rotated twice.
    orders.push_back({"abcdefghijklmnopqrstuvwxyz0123456789.src", "A Search Plugin With A Long Name.src",
                      "wikipedia-en.src", "x.src", "q.src", "News.src", "MiXeD.SRC"});
    for (int turn = 0; turn < 2; ++turn) {
        order = orders.back();
        std::rotate(order.begin(), order.begin() + 3, order.end());
        orders.push_back(order);
    }
    ResortInto(orders);
    for (const std::string &file : files) {
        if (file != "scratch.tmp" && file.find(".src") == std::string::npos &&
            file.find(".SRC") == std::string::npos) {
            EXPECT_EQ(ReadBytes(browser->Path(file)), "bytes of " + file);
        }
    }
    EXPECT_EQ(ReadBytes(browser->Path("MiXeD.SRC")), PluginText("Shown MiXeD"));
    EXPECT_EQ(PluginsIn(Listing(browser->Plugins())).size(), plugins.size());
}

// A folder of the user's inside the plugin folder: a folder cannot be moved
// out (fusefat even loses a moved folder's files), so the re-sort refuses,
// names it and changes nothing.
TEST_F(FatVolume, AFolderOfTheUsersInsideStopsTheResortWithNothingChanged) {
    AddSimplePlugins();
    browser->AddFile("mine\\inner.src", PluginText("Inner"));
    std::vector<std::string> before = DirectoryEntryOrder(drive, browser->Plugins());
    BoxWatch boxes;
    RunApplication([&] {
        std::vector<std::string> files = CatalogueFiles();
        ArrangeCatalogue(std::vector<std::string>(files.rbegin(), files.rend()));
        ResortPlugins();
        ASSERT_TRUE(boxes.WaitFor(1));
        EXPECT_EQ(boxes.Boxes()[0].icon, "warning");
        EXPECT_EQ(boxes.Boxes()[0].text, SubFolderRefusal({"mine"}).c_str());
    });
    EXPECT_EQ(DirectoryEntryOrder(drive, browser->Plugins()), before);
    EXPECT_EQ(ReadBytes(browser->Path("mine\\inner.src")), PluginText("Inner"));
    EXPECT_FALSE(FileExists(browser->Staging()));
}

// A plugin held open by another program cannot leave, so the folder cannot
// be made anew; the others still go back in catalogue order around it.
TEST_F(FatVolume, APluginThatCannotMoveKeepsItsPlaceAndTheOthersFollowTheCatalogue) {
    AddSimplePlugins();
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
        EXPECT_NE(box.text.find("may not hold"), std::string::npos) << box.text;

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
    EXPECT_FALSE(FileExists(browser->Staging()));
    EXPECT_EQ(ReadBytes(browser->Path("delta.src")), PluginText("Delta"));
}
