// The progress line during a re-sort and "Orig. Filenames": the line under the
// list as the GUI thread is told to change it, read through a subclass.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../app_scenario.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/progress.h"
#include "app/catalogue/progress_rules.h"
#include "app/catalogue/recopy.h"
#include "runtime/core/events.h"
#include "runtime/core/window_procs.h"
#include "runtime/window/window_ops.h"

using namespace apptest;

namespace {

struct LineChange {
    std::string text;
    DWORD tick;
    bool busy; // the wait pointer was on
};
std::vector<LineChange> Changes; // written on the GUI thread while the script waits
WNDPROC FormerProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam != 0) {
        Changes.push_back({reinterpret_cast<const char *>(lParam), GetTickCount(), BusyPointer != nullptr});
    }
    return CallWindowProcA(FormerProc, window, message, wParam, lParam);
}

// "<doing>: 0 of <total>" first, the count going up, the line changing no
// more often than it is meant to but four times a second at least, then
// "<doing>: <total> of <total>" and the line's own text again; the wait
// pointer is on until then and off afterwards.
void ExpectProgress(const std::string &doing, int total, const std::string &usual) {
    ASSERT_GE(Changes.size(), 3u);
    const std::size_t last = Changes.size() - 1;
    EXPECT_EQ(ProgressText(doing.c_str(), 0, total).c_str(), Changes.front().text);
    EXPECT_EQ(ProgressText(doing.c_str(), total, total).c_str(), Changes[last - 1].text);
    EXPECT_EQ(usual, Changes[last].text);
    int before = -1;
    for (std::size_t i = 0; i < last; ++i) {
        int done = -1;
        ASSERT_EQ(1, std::sscanf(Changes[i].text.c_str() + doing.size(), ": %d of", &done))
            << Changes[i].text;
        EXPECT_GT(done, before) << Changes[i].text;
        before = done;
        EXPECT_TRUE(Changes[i].busy) << Changes[i].text;
        if (i > 0 && i < last - 1) {
            EXPECT_GE(Changes[i].tick - Changes[i - 1].tick, 50u) << Changes[i].text << " came too soon";
        }
    }
    // While the count goes up the line changes four times a second or more.
    const DWORD counting = Changes[last - 1].tick - Changes.front().tick;
    EXPECT_GE(last, counting / 250) << last << " changes in " << counting << " ms";
    EXPECT_EQ(nullptr, BusyPointer);
}

} // namespace

TEST(Progress, ResortsAndOrigFilenamesShowHowFarTheyAre) {
    DemoBrowser browser;
    const int count = 300;
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%03d.src", i);
        browser.AddPlugin(name, "Plugin " + std::to_string(i));
    }
    BoxWatch boxes;
    RunApplication([&] {
        const std::string usual = GetText(HintText).c_str();
        FormerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(HintText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        Changes.clear();
        ResortByRenaming();
        ExpectProgress("Sorting", count, usual);
        LONG presses = -1;
        EXPECT_TRUE(TakeFinishedWork(presses));
        EXPECT_EQ(ChildPressCount, presses);
        EXPECT_FALSE(TakeFinishedWork(presses));

        Changes.clear();
        RestoreOriginalNames();
        ExpectProgress("Restoring names", count, usual);

        Changes.clear();
        ResortByRecopying(); // out first, then back in order
        EXPECT_EQ(ProgressText("Moving out", 0, count).c_str(), Changes.front().text);
        EXPECT_EQ(usual, Changes.back().text);
        SetWindowLongPtrA(HintText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FormerProc));
    });
}
