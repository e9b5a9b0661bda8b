// "Sort Search Plugins!" and "Orig. Filenames" clicked in the running
// application: the event loop runs on the script thread, a driver thread
// clicks, answers the boxes and reads the plugin folder.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../app_scenario.h"
#include "app/windows/event_loop.h"
#include "runtime/core/frame.h"
#include "runtime/window/window_ops.h"

using namespace apptest;

namespace {

// Runs the application with its event loop; drive runs on a thread of its
// own once the start-up is done, and the main window is closed after it.
void RunWithEventLoop(const std::function<void()> &drive) {
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread driver([&] {
        if (WaitForSingleObject(started, 20000) == WAIT_OBJECT_0) {
            // The loop's first pass ends waiting for a message that the
            // window dispatches; give it some, as a moving mouse would.
            for (int i = 0; i < 20; ++i) {
                PostMessageA(MainWindow, WM_NULL, 0, 0);
                Sleep(10);
            }
            drive();
        } else {
            ADD_FAILURE() << "the start-up did not finish";
        }
        PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    });
    RunApplication([started] {
        SetEvent(started);
        RunEventLoop();
    });
    driver.join();
    CloseHandle(started);
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

std::vector<std::string> Prefixed(char letter, const std::vector<std::string> &names) {
    std::vector<std::string> result;
    for (const std::string &name : names) {
        result.push_back(std::string(1, letter) + name);
    }
    return result;
}

} // namespace

TEST(SortThroughTheWindow, RenamesPluginsAndIconsThenRestoresTheirNames) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddFile("alpha.gif", "GIF89a");
    browser.AddPlugin("beta.src", "Beta");
    browser.AddFile("beta.png", ""); // an empty icon is still an icon
    browser.AddPlugin("gamma.src", "Gamma");
    browser.AddFile("readme.txt", "not a plugin");
    BoxWatch boxes;
    char first = 0;
    char second = 0;
    RunWithEventLoop([&] {
        // Move Gamma to the top through the list's own button first.
        SendMessageA(MainList, LB_SETCURSEL, 2, 0);
        ASSERT_TRUE(WaitUntil([] { return Selection == 2; }));
        Click(MoveUpButton);
        ASSERT_TRUE(WaitUntil([] { return Selection == 1; }));
        Click(MoveUpButton);
        ASSERT_TRUE(WaitUntil([] { return Selection == 0; }));
        EXPECT_EQ(Rows(MainList), (std::vector<std::string>{"Gamma", "Alpha", "Beta"}));

        Click(SortButton);
        ASSERT_TRUE(boxes.WaitFor(1));
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.caption, "Message:");
        EXPECT_EQ(box.text, "Re-sort successfully done!");
        EXPECT_EQ(box.icon, "information");

        std::vector<std::string> files = browser.Files();
        ASSERT_EQ(files.size(), 6u);
        first = files[0][0];
        EXPECT_TRUE(first >= 'A' && first <= 'Z');
        std::vector<std::string> expected = Prefixed(
            first, {"00##gamma.src", "01##alpha.gif", "01##alpha.src", "02##beta.png", "02##beta.src"});
        expected.push_back("readme.txt");
        EXPECT_EQ(files, expected);
        EXPECT_EQ(ReadBytes(browser.Path(std::string(1, first) + "01##alpha.gif")), "GIF89a");
        // The reload shows the new file names in the new order.
        EXPECT_EQ(Rows(MainList), (std::vector<std::string>{"Gamma", "Alpha", "Beta"}));
        EXPECT_EQ(Rows(NameList), Prefixed(first, {"00##gamma.src", "01##alpha.src", "02##beta.src"}));

        // A second re-sort draws a new letter; the names keep one prefix.
        Click(SortButton);
        ASSERT_TRUE(boxes.WaitFor(2));
        EXPECT_EQ(boxes.Boxes()[1].text, "Re-sort successfully done!");
        files = browser.Files();
        ASSERT_EQ(files.size(), 6u);
        second = files[0][0];
        EXPECT_NE(second, first);
        expected = Prefixed(
            second, {"00##gamma.src", "01##alpha.gif", "01##alpha.src", "02##beta.png", "02##beta.src"});
        expected.push_back("readme.txt");
        EXPECT_EQ(files, expected);

        // "Orig. Filenames" gives plugins and icons their names back, silently.
        Click(OrigNamesButton);
        EXPECT_TRUE(WaitUntil([&] { return FileExists(browser.Path("gamma.src")); }));
        // The reload lists them in the folder's (name) order; wait for the
        // whole list, since the rows arrive one by one.
        const std::vector<std::string> restored{"alpha.src", "beta.src", "gamma.src"};
        EXPECT_TRUE(WaitUntil([&] { return Rows(NameList) == restored; }));
        EXPECT_EQ(Rows(NameList), restored);
        EXPECT_EQ(browser.Files(), (std::vector<std::string>{"alpha.gif", "alpha.src", "beta.png", "beta.src",
                                                             "gamma.src", "readme.txt"}));
        Sleep(200);
        EXPECT_EQ(boxes.Boxes().size(), 2u);
    });
}

TEST(SortThroughTheWindow, FailedRenamesAreReportedNotCalledSuccess) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddPlugin("beta.src", "Beta");
    browser.AddFile("beta.gif", "icon");
    browser.AddPlugin("gamma.src", "Gamma");
    BoxWatch boxes;
    RunWithEventLoop([&] {
        // The list still shows gamma.src, which is gone from the folder; and
        // beta.src is held open by another program.
        DeleteFileA(browser.Path("gamma.src").c_str());
        HANDLE held = CreateFileA(browser.Path("beta.src").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Click(SortButton);
        ASSERT_TRUE(boxes.WaitFor(1));
        CloseHandle(held);
        SeenBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.caption, "Message:");
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text, "2 plugin files could not be renamed or moved:\r\rbeta.src\rgamma.src");
        // alpha was renamed; beta keeps its name and so does its icon.
        std::vector<std::string> files = browser.Files();
        ASSERT_EQ(files.size(), 3u);
        EXPECT_EQ(files[0], "beta.gif");
        EXPECT_EQ(files[1], "beta.src");
        EXPECT_EQ(files[2].substr(1), "00##alpha.src");

        // The name restore reports its failures the same way.
        held =
            CreateFileA(browser.Path(files[2]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        Click(OrigNamesButton);
        ASSERT_TRUE(boxes.WaitFor(2));
        CloseHandle(held);
        box = boxes.Boxes()[1];
        EXPECT_EQ(box.caption, "Message:");
        EXPECT_EQ(box.icon, "warning");
        EXPECT_EQ(box.text, "1 plugin file could not be renamed or moved:\r\r" + files[2]);
    });
}
