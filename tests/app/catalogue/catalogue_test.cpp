// Loading the catalogue from real plugin folders into real list boxes, with
// the real runtime: which files become rows and with which shown name, in
// which order, the selection and focus afterwards, the prefix letter, and the
// files that cannot be read or do not fit.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <sddl.h>

#include <map>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/windows/main_window.h"
#include "catalogue_support.h"
#include "runtime/core/settings.h"
#include "tests/support/box_watch.h"
#include "tests/support/temp_folder.h"

namespace {

const char CutMessage[] = "Der Text pa\xDFt nicht komplett in die Bereichsvariable!";

// The shown names the rows must have, in the folder's own search order, for
// the files that have one.
std::vector<std::string> ExpectedRows(const std::vector<std::string> &order,
                                      const std::map<std::string, std::string> &shown) {
    std::vector<std::string> rows;
    for (const std::string &file : order) {
        auto found = shown.find(file);
        if (found != shown.end()) {
            rows.push_back(found->second);
        }
    }
    return rows;
}

std::vector<std::string> Listed(const std::vector<std::string> &order,
                                const std::map<std::string, std::string> &shown) {
    std::vector<std::string> files;
    for (const std::string &file : order) {
        if (shown.count(file) != 0) {
            files.push_back(file);
        }
    }
    return files;
}

std::string Plugin(const std::string &entry) {
    return "<search\r\n   " + entry + "\r\n   method=\"GET\"\r\n>\r\n";
}

} // namespace

TEST(CatalogueScan, ShownNamesAreCutFromTheNameEntry) {
    std::string folder = FreshFolder("names");
    WriteBytes(folder + "\\a_google.src", Plugin("name = \"Google\""));
    WriteBytes(folder + "\\b_yahoo.src", Plugin("NAME=\"Yahoo!\""));
    WriteBytes(folder + "\\c_mixed.src", Plugin("nAmE=\"Mixed\""));
    WriteBytes(folder + "\\d_myname.src", Plugin("name=\"My Name\""));
    WriteBytes(folder + "\\e_twoblanks.src", Plugin("name  =\"Lost\""));
    WriteBytes(folder + "\\f_later.src", Plugin("name  =\"Lost\"") + "<input name=\"q\" value=\"\">\r\n");
    WriteBytes(folder + "\\g_unquoted.src", Plugin("name=GooGle"));
    WriteBytes(folder + "\\h_unquoted.src", "name=Google");
    WriteBytes(folder + "\\i_blank.src", Plugin("name=\"   \""));
    WriteBytes(folder + "\\j_padded.src", Plugin("name=\" abc \""));
    WriteBytes(folder + "\\k_none.src", Plugin("action=\"http://x\""));
    const std::map<std::string, std::string> shown = {
        {"a_google.src", "Google"}, {"b_yahoo.src", "Yahoo!"}, {"d_myname.src", "My name"},
        {"f_later.src", "q"},       {"g_unquoted.src", "oo"},  {"h_unquoted.src", "oogle\r\n"},
        {"j_padded.src", " abc "},
    };
    std::vector<std::string> order = SearchOrder(folder);
    ASSERT_EQ(11u, order.size());

    LoadedLists lists;
    BoxWatch boxes;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] { lists = Load(folder); }));
    EXPECT_EQ(ExpectedRows(order, shown), lists.shown);
    EXPECT_EQ(Listed(order, shown), lists.files);
    EXPECT_EQ(0, lists.selection);
    EXPECT_TRUE(lists.focused);
    EXPECT_FALSE(lists.upEnabled);
    EXPECT_TRUE(lists.downEnabled);
    EXPECT_TRUE(lists.backInStart);
    EXPECT_TRUE(boxes.Boxes().empty());
    RemoveTree(folder);
}

TEST(CatalogueScan, PrefixLetterIsTheLastOneLoadedAndIsNeverCleared) {
    std::string k = FreshFolder("prefix-k");
    std::string p = FreshFolder("prefix-p");
    std::string plain = FreshFolder("prefix-plain");
    std::string both = FreshFolder("prefix-both");
    WriteBytes(k + "\\K03##alpha.src", Plugin("name=\"Alpha\""));
    WriteBytes(p + "\\P01##beta.src", Plugin("name=\"Beta\""));
    WriteBytes(p + "\\plain.src", Plugin("name=\"Plain\""));
    WriteBytes(plain + "\\gamma.src", Plugin("name=\"Gamma\""));
    WriteBytes(plain + "\\Z09##nameless.src", Plugin("version=\"1\"")); // no row, so no letter
    WriteBytes(both + "\\K03##alpha.src", Plugin("name=\"Alpha\""));
    WriteBytes(both + "\\P01##beta.src", Plugin("name=\"Beta\""));

    std::vector<LoadedLists> loads;
    PrefixLetter = "";
    EXPECT_EQ(0, RunWithCatalogueWindow([&] {
                  loads.push_back(Load(plain));
                  loads.push_back(Load(k));
                  loads.push_back(Load(p));
                  loads.push_back(Load(plain));
                  loads.push_back(Load(both));
              }));
    ASSERT_EQ(5u, loads.size());
    EXPECT_EQ("", loads[0].prefix);
    EXPECT_EQ("K", loads[1].prefix);
    EXPECT_EQ("P", loads[2].prefix);
    EXPECT_EQ("P", loads[3].prefix);
    EXPECT_EQ(std::vector<std::string>{"Gamma"}, loads[3].shown);
    // Within one load the last such file in the folder's order wins.
    std::vector<std::string> order = SearchOrder(both);
    ASSERT_EQ(2u, order.size());
    EXPECT_EQ(order, loads[4].files);
    EXPECT_EQ(order.back().substr(0, 1), loads[4].prefix);
    for (std::string folder : {k, p, plain, both}) {
        RemoveTree(folder);
    }
}

TEST(CatalogueScan, OnlyNamesWhoseOwnExtensionIsTheMasksAreListed) {
    std::string folder = FreshFolder("extensions");
    // The long names below also match "*.SRC" and "*.HID" through their
    // short names; they are no plugins.
    for (const char *name :
         {"a.src", "b.SRC", "c.srcx", "d.src.bak", "e.hid", "f.HID", "g.hidden", "h.hidsrc"}) {
        WriteBytes(folder + "\\" + name, Plugin(std::string("name=\"") + name + "\""));
    }
    std::vector<LoadedLists> loads;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] {
                  loads.push_back(Load(folder));
                  loads.push_back(Load(folder, -1, "*.HID"));
              }));
    ASSERT_EQ(2u, loads.size());
    std::vector<std::string> plugins = loads[0].files;
    std::vector<std::string> hidden = loads[1].files;
    std::sort(plugins.begin(), plugins.end());
    std::sort(hidden.begin(), hidden.end());
    EXPECT_EQ((std::vector<std::string>{"a.src", "b.SRC"}), plugins);
    EXPECT_EQ((std::vector<std::string>{"e.hid", "f.HID"}), hidden);
    RemoveTree(folder);
}

namespace {

// A list box that refuses to take one text, as a list box out of memory does.
WNDPROC ListProc = nullptr;
std::string RefusedText;

LRESULT CALLBACK RefusingListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) &&
        RefusedText == reinterpret_cast<const char *>(lParam)) {
        return LB_ERRSPACE;
    }
    return CallWindowProcA(ListProc, window, message, wParam, lParam);
}

void Refuse(HWND list, const std::string &text) {
    RefusedText = text;
    ListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListProc)));
}

void StopRefusing(HWND list) {
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
}

} // namespace

TEST(CatalogueScan, ARowEitherListRefusesGoesIntoNeither) {
    std::string folder = FreshFolder("refused");
    for (const char *name : {"a", "b", "c"}) {
        WriteBytes(folder + "\\" + name + ".src", Plugin(std::string("name=\"") + name + " shown\""));
    }
    std::vector<LoadedLists> loads;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] {
                  Refuse(NameList, "b.src");
                  loads.push_back(Load(folder));
                  StopRefusing(NameList);
                  Refuse(MainList, "c shown");
                  loads.push_back(Load(folder));
                  StopRefusing(MainList);
              }));
    ASSERT_EQ(2u, loads.size());
    for (const LoadedLists &lists : loads) {
        ASSERT_EQ(lists.shown.size(), lists.files.size());
        for (std::size_t row = 0; row < lists.shown.size(); ++row) {
            EXPECT_EQ(lists.shown[row], lists.files[row].substr(0, 1) + " shown");
        }
    }
    EXPECT_EQ(2u, loads[0].files.size());
    EXPECT_EQ(2u, loads[1].files.size());
    RemoveTree(folder);
}

TEST(CatalogueScan, SelectionIsKeptOrFallsBackToRowZero) {
    std::string three = FreshFolder("three");
    std::string empty = FreshFolder("empty");
    WriteBytes(three + "\\one.src", Plugin("name=\"One\""));
    WriteBytes(three + "\\two.src", Plugin("name=\"Two\""));
    WriteBytes(three + "\\three.src", Plugin("name=\"Three\""));

    std::vector<LoadedLists> loads;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] {
                  loads.push_back(Load(empty, -1));
                  loads.push_back(Load(three, 5));
                  loads.push_back(Load(three, 2));
                  loads.push_back(Load(three, 1));
                  loads.push_back(Load(three, -1));
                  loads.push_back(Load(empty, 1));
              }));
    ASSERT_EQ(6u, loads.size());
    // An empty folder: nothing selected, Move Down off, Move Up as it was.
    EXPECT_TRUE(loads[0].shown.empty());
    EXPECT_TRUE(loads[0].files.empty());
    EXPECT_EQ(-1, loads[0].selection);
    EXPECT_TRUE(loads[0].upEnabled);
    EXPECT_FALSE(loads[0].downEnabled);

    EXPECT_EQ(3u, loads[1].shown.size());
    EXPECT_EQ(0, loads[1].selection) << "5 of 3 rows";
    EXPECT_FALSE(loads[1].upEnabled);
    EXPECT_TRUE(loads[1].downEnabled);
    EXPECT_EQ(2, loads[2].selection);
    EXPECT_TRUE(loads[2].upEnabled);
    EXPECT_FALSE(loads[2].downEnabled);
    EXPECT_EQ(1, loads[3].selection);
    EXPECT_TRUE(loads[3].upEnabled);
    EXPECT_TRUE(loads[3].downEnabled);
    EXPECT_EQ(0, loads[4].selection);
    for (const LoadedLists &load : loads) {
        EXPECT_TRUE(load.focused);
        EXPECT_TRUE(load.backInStart);
    }
    // Reloading an emptied folder clears both lists.
    EXPECT_TRUE(loads[5].shown.empty());
    EXPECT_TRUE(loads[5].files.empty());
    EXPECT_EQ(-1, loads[5].selection);
    RemoveTree(three);
    RemoveTree(empty);
}

TEST(CatalogueScan, MissingPluginFolderGivesAnEmptyCatalogue) {
    // The start directory holds a plugin of its own, which must not show up.
    std::string start = FreshFolder("start");
    WriteBytes(start + "\\stray.src", Plugin("name=\"Stray\""));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(start.c_str());
    LoadedLists lists;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] { lists = Load(start + "\\no such folder"); }));
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(lists.shown.empty());
    EXPECT_TRUE(lists.files.empty());
    EXPECT_EQ(-1, lists.selection);
    EXPECT_TRUE(lists.backInStart);
    RemoveTree(start);
}

TEST(CatalogueScan, FoldersMatchingTheMaskAreSkipped) {
    // The search gives the folder as "[sub.src]"; it is neither read (which
    // would fail) nor listed, and the load is not searched into.
    std::string folder = FreshFolder("subfolder");
    WriteBytes(folder + "\\sub.src\\inner.src", Plugin("name=\"Inner\""));
    WriteBytes(folder + "\\real.src", Plugin("name=\"Real\""));

    LoadedLists lists;
    BoxWatch boxes;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] { lists = Load(folder); }));
    EXPECT_EQ(std::vector<std::string>{"Real"}, lists.shown);
    EXPECT_EQ(std::vector<std::string>{"real.src"}, lists.files);
    EXPECT_EQ(1, lists.errorLevel);
    EXPECT_TRUE(boxes.Boxes().empty());
    RemoveTree(folder);
}

TEST(CatalogueScan, FileLongerThanTheWorkAreaIsCutAndReported) {
    std::string folder = FreshFolder("long");
    WriteBytes(folder + "\\long.src", Plugin("name=\"Long\"") + std::string(40000, 'x'));
    WriteBytes(folder + "\\late.src", std::string(33000, 'y') + Plugin("name=\"Late\""));
    WriteBytes(folder + "\\short.src", Plugin("name=\"Short\""));
    std::vector<std::string> order = SearchOrder(folder);
    std::map<std::string, std::string> shown = {{"long.src", "Long"}, {"short.src", "Short"}};

    // At the initial level each cut is shown as a warning; answered OK, the
    // load goes on.
    LoadedLists warned;
    BoxWatch boxes(IDOK);
    EXPECT_EQ(0, RunWithCatalogueWindow([&] { warned = Load(folder); }));
    EXPECT_EQ(ExpectedRows(order, shown), warned.shown);
    EXPECT_EQ(1, warned.errorLevel);
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    for (const SeenBox &box : seen) {
        EXPECT_EQ(CutMessage, box.caption);
        EXPECT_EQ("Zeilennummer nicht verf\xFCgbar.", box.text);
    }

    // At level 0 the same load is silent.
    LoadedLists silent;
    EXPECT_EQ(0, RunWithCatalogueWindow([&] {
                  SetErrorLevel(0);
                  silent = Load(folder);
              }));
    EXPECT_EQ(ExpectedRows(order, shown), silent.shown);
    EXPECT_EQ(0, silent.errorLevel);
    EXPECT_EQ(2u, boxes.Boxes().size());
    RemoveTree(folder);
}

TEST(CatalogueScan, FilesThatCannotBeReadAreLeftOut) {
    std::string folder = FreshFolder("unreadable");
    WriteBytes(folder + "\\locked.src", Plugin("name=\"Locked\""));
    WriteBytes(folder + "\\fine.src", Plugin("name=\"Fine\""));
    // A name the ANSI functions cannot give back, so the file cannot be
    // opened by the name the search returns.
    std::wstring omega = std::wstring(folder.begin(), folder.end()) + L"\\\x03A9mega.src";
    HANDLE file = CreateFileW(omega.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, "name=\"Omega\"", 12, &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(3u, SearchOrder(folder).size());

    LoadedLists lists;
    {
        LockedFile lock(folder + "\\locked.src");
        ASSERT_TRUE(lock.locked());
        BoxWatch boxes;
        EXPECT_EQ(0, RunWithCatalogueWindow([&] { lists = Load(folder); }));
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    EXPECT_EQ(std::vector<std::string>{"Fine"}, lists.shown);
    EXPECT_EQ(std::vector<std::string>{"fine.src"}, lists.files);
    EXPECT_EQ(1, lists.errorLevel) << "the level in force is restored";
    DeleteFileW(omega.c_str());
    RemoveTree(folder);
}

TEST(CatalogueScan, FileWithoutReadAccessIsLeftOut) {
    std::string folder = FreshFolder("denied");
    std::string denied = folder + "\\denied.src";
    WriteBytes(denied, Plugin("name=\"Denied\""));
    WriteBytes(folder + "\\fine.src", Plugin("name=\"Fine\""));
    PSECURITY_DESCRIPTOR deny = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(D;;FA;;;WD)", SDDL_REVISION_1,
                                                                     &deny, nullptr));
    SetFileSecurityA(denied.c_str(), DACL_SECURITY_INFORMATION, deny);
    LocalFree(deny);
    HANDLE probe = CreateFileA(denied.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    bool enforced = probe == INVALID_HANDLE_VALUE;
    if (!enforced) {
        CloseHandle(probe);
    }

    LoadedLists lists;
    if (enforced) {
        BoxWatch boxes;
        EXPECT_EQ(0, RunWithCatalogueWindow([&] { lists = Load(folder); }));
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(std::vector<std::string>{"Fine"}, lists.shown);
    }
    PSECURITY_DESCRIPTOR allow = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;FA;;;WD)", SDDL_REVISION_1, &allow, nullptr);
    SetFileSecurityA(denied.c_str(), DACL_SECURITY_INFORMATION, allow);
    LocalFree(allow);
    RemoveTree(folder);
    if (!enforced) {
        GTEST_SKIP() << "file permissions are not enforced here";
    }
}
