// Dragging rows of the main list with the real pointer, and the progress line
// of a long re-sort. Every test starts the tool afresh on plugins of its own;
// the drags check both lists and that the disk stayed as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "session_support.h"

namespace {

using Rows = std::vector<std::string>;

const char UsualHint[] = "Use the right-click menu to delete, edit, rename or hide plugins.";

// p000.src, p001.src, ... (listed in that order) show made-up search sites,
// then "Plugin 008" and so on.
std::string FileName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%03d.src", i);
    return name;
}
std::string ShownName(int i) {
    static const char *const Sites[] = {"Example Search", "Sample Wiki",        "Test Shop",
                                        "Demo News",      "Placeholder Maps",   "Fictional Dictionary",
                                        "Mock Images",    "Sandbox Code Search"};
    return i < 8 ? Sites[i] : "Plugin " + FileName(i).substr(1, 3);
}

Rows Moved(Rows rows, int from, int to) {
    std::string row = rows[static_cast<size_t>(from)];
    rows.erase(rows.begin() + from);
    rows.insert(rows.begin() + to, row);
    return rows;
}

bool Tracking(HWND list) { // the list box holds the mouse: a drag is under way
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(list, nullptr), &info) && info.hwndCapture == list;
}

class ListDragAndProgress : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { session_ = new Session("qs_e2e_drag"); }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    void TearDown() override {
        ReleaseAllInput();
        if (session_->tool && session_->tool->Running()) {
            EXPECT_EQ("", Leftovers(session_->tool->Pid(), Main())) << "the test left this behind";
        }
        session_->Stop();
    }

    // Starts the tool on count plugins, listed and in front.
    static void StartWithPlugins(int count) {
        ReleaseAllInput();
        MoveMouse(1010, 750);
        files_.clear();
        rows_.clear();
        for (int i = 0; i < count; ++i) {
            files_[FileName(i)] = PluginText(ShownName(i), "\r\n");
            rows_.push_back(ShownName(i));
        }
        ASSERT_TRUE(session_->StartWith(files_)) << "the tool did not show its main window";
        ASSERT_TRUE(WaitUntil([] { return ListRows(List()) == rows_; }, 30000));
        ASSERT_TRUE(WaitUntil([] { return IsForeground(Main()); })) << FocusReport(Main());
    }

    static HWND Main() { return session_->main; }
    static HWND List() { return MainList(Main()); }

    // The shown names are rows, each file name beside its own, and the plugin
    // folder holds what the test wrote.
    static void ExpectListsAndDisk(const Rows &rows) {
        Rows files;
        for (const std::string &row : rows) {
            files.push_back(
                FileName(static_cast<int>(std::find(rows_.begin(), rows_.end(), row) - rows_.begin())));
        }
        EXPECT_EQ(rows, ListRows(List()));
        EXPECT_EQ(files, ListRows(NameList(Main())));
        EXPECT_TRUE(session_->folder.Files() == files_) << "the plugin folder changed";
    }

    // Presses the left button on a row: the list box selects it and follows
    // the pointer. A press the tool never saw (now and then one goes
    // missing) is let go and made again.
    static bool PressOnRow(int row) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            POINT at = RowPoint(List(), row);
            MoveMouse(at.x, at.y);
            PressMouse();
            if (WaitUntil([row] { return ListSelection(List()) == row && Tracking(List()); }, 2000)) {
                return true;
            }
            Release();
        }
        return false;
    }

    // Moves the held pointer to x, y until the list box has followed it. Now
    // and then Wine hands the list an older position after the new one, and
    // the list stays there while the pointer rests; as a user's hand would,
    // the pointer then moves a little.
    static void MoveHeld(int x, int y, const std::function<bool()> &followed) {
        for (int attempt = 0; attempt < 4; ++attempt) {
            MoveMouse(x + (attempt % 2) * 3, y);
            if (WaitUntil(followed, 1500)) {
                return;
            }
            std::fprintf(stderr, "MoveHeld %d,%d: the list stays on row %d\n", x, y, ListSelection(List()));
        }
    }
    static void DragOnto(int row) {
        POINT at = RowPoint(List(), row);
        MoveHeld(at.x, at.y, [row] { return ListSelection(List()) == row; });
    }
    static void Release() {
        ReleaseMouse();
        WaitUntil([] { return !Tracking(List()); });
    }

    static Session *session_;
    static std::map<std::string, std::string> files_;
    static Rows rows_;
};

Session *ListDragAndProgress::session_ = nullptr;
std::map<std::string, std::string> ListDragAndProgress::files_;
Rows ListDragAndProgress::rows_;

// Down over two rows, then up over five in one quick move and let go beside
// the list: the row stands where it was let go (beside the list: where it
// stood), both lists in step, and the move buttons follow.
TEST_F(ListDragAndProgress, DraggedRowGoesWhereItIsLetGo) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlugins(8));
    ASSERT_TRUE(PressOnRow(1));
    DragOnto(2);
    DragOnto(4);
    const Rows down = Moved(rows_, 1, 4);
    EXPECT_TRUE(WaitUntil([&] { return ListRows(List()) == down; }));
    Pause(300); // the list repainted
    EXPECT_TRUE(SaveScreenshot(WindowRect(Main()), ScreenshotPath("list-drag")));
    Release();
    ExpectListsAndDisk(down);
    EXPECT_EQ(4, ListSelection(List()));
    EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(Button(Main(), "Move Up")) != FALSE; }));

    ASSERT_TRUE(PressOnRow(5));
    DragOnto(0);
    const Rows up = Moved(down, 5, 0);
    EXPECT_TRUE(WaitUntil([&] { return ListRows(List()) == up; }));
    MoveMouse(WindowRect(List()).right + 6, RowPoint(List(), 0).y);
    Pause(200);
    Release();
    ExpectListsAndDisk(up);
    EXPECT_EQ(0, ListSelection(List()));
    EXPECT_TRUE(WaitUntil([] { return !IsWindowEnabled(Button(Main(), "Move Up")); }));
}

// A press and release on one row, with a little movement within it, only
// selects the row. Escape puts a dragged row back where it began; the
// pointer, still held, moves nothing more.
TEST_F(ListDragAndProgress, ClickStaysAClickAndEscapePutsTheRowBack) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlugins(8));
    ASSERT_TRUE(PressOnRow(3));
    POINT at = RowPoint(List(), 3);
    MoveMouse(at.x + 20, at.y + 2);
    Release();
    Pause(200);
    ExpectListsAndDisk(rows_);
    EXPECT_EQ(3, ListSelection(List()));

    ASSERT_TRUE(PressOnRow(1));
    DragOnto(4);
    ASSERT_TRUE(WaitUntil([] { return ListRows(List()) == Moved(rows_, 1, 4); }));
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([] { return ListRows(List()) == rows_ && ListSelection(List()) == 1; }));
    at = RowPoint(List(), 6);
    MoveMouse(at.x, at.y);
    Pause(300);
    Release();
    ExpectListsAndDisk(rows_);
    EXPECT_EQ(1, ListSelection(List()));
}

// Held below the list, the pointer scrolls it and the row travels along,
// more than a hundred places; back over the list, the row stops under the
// pointer and stays where the button is let go.
TEST_F(ListDragAndProgress, DragPastTheBottomScrollsTheList) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlugins(200));
    ASSERT_TRUE(PressOnRow(2));
    RECT list = WindowRect(List());
    // The list scrolls while the pointer rests below it; should it stop (an
    // older position of the pointer reached it late), the pointer moves a
    // little, as a hand would.
    const int x = (list.left + list.right) / 2;
    int seen = -1;
    int nudges = 0;
    DWORD since = GetTickCount();
    MoveMouse(x, list.bottom + 20);
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (ListSelection(List()) != seen) {
                seen = ListSelection(List());
                since = GetTickCount();
            } else if (GetTickCount() - since > 1500) {
                MoveMouse(x + 3 * (++nudges % 2), list.bottom + 20);
                since = GetTickCount();
            }
            return seen >= 120;
        },
        60000))
        << seen;
    const int height = static_cast<int>(SendMessageW(List(), LB_GETITEMHEIGHT, 0, 0));
    auto thirdInView = [] { return static_cast<int>(SendMessageW(List(), LB_GETTOPINDEX, 0, 0)) + 2; };
    MoveHeld(x, ClientPoint(List(), 0, 2 * height + height / 2).y,
             [&] { return ListSelection(List()) == thirdInView(); });
    Release();
    const int place = ListSelection(List());
    EXPECT_EQ(thirdInView(), place);
    EXPECT_GE(place, 100);
    ExpectListsAndDisk(Moved(rows_, 2, place));
}

// A re-sort of 1,000 plugins tells how far it is on the line under the list
// while it runs, and the usual text comes back afterwards. A click on "Orig.
// Filenames" during the work is dropped: the names keep their sort prefix.
TEST_F(ListDragAndProgress, ResortShowsProgressAndDropsClicksMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlugins(1000));
    HWND line = Child(Main(), "Static", UsualHint);
    ASSERT_NE(nullptr, line);
    auto progress = [line] {
        std::string text = TextOf(line);
        return text.rfind("Sorting: ", 0) == 0 && text.find(" of 1,000 plugins") != std::string::npos;
    };
    ASSERT_TRUE(ClickButton(Button(Main(), "Sort Search Plugins!")));
    ASSERT_TRUE(WaitUntil(progress, 20000)) << TextOf(line);
    // Once the work is over, the success box keeps the click from the button.
    const bool clickedDuringWork = ClickButton(Button(Main(), "Orig. Filenames")) && progress();
    EXPECT_EQ("Message:|Re-sort successfully done!", AnswerMessageBox(session_->tool->Pid(), "OK", 30000));
    EXPECT_EQ(UsualHint, TextOf(line));
    if (!clickedDuringWork) {
        std::fprintf(stderr, "the click on Orig. Filenames came after the work; its drop is not tested\n");
        return;
    }
    Pause(1000);
    for (const auto &file : session_->folder.Files()) {
        EXPECT_NE(std::string::npos, file.first.find("##")) << file.first << " lost its sort prefix";
    }
}

} // namespace
