// Ending the program: destroying the main window while the script is busy
// or by request. Scenarios live in scenarios.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/core/script_thread.h"
#include "spine_support.h"

namespace {

constexpr DWORD ChildTimeoutMs = 20000;

TEST(Ending, DestroyingTheMainWindowByRequestStopsTheScript) {
    EXPECT_EQ(0, RunChild("destroy_by_request", nullptr, ChildTimeoutMs));
}

TEST(Ending, DestroyWhileBusyEndsPromptlyFiftyTimes) {
    // Each run is a process of its own; five run side by side at a time.
    constexpr int Runs = 50;
    constexpr int Together = 5;
    for (int first = 0; first < Runs; first += Together) {
        HANDLE children[Together];
        for (int i = 0; i < Together; ++i) {
            children[i] = StartChild((first + i) % 2 == 0 ? "destroy_busy" : "destroy_busy_fast", nullptr);
        }
        for (int i = 0; i < Together; ++i) {
            int run = first + i;
            EXPECT_EQ(0, WaitChild(children[i], ChildTimeoutMs))
                << (run % 2 == 0 ? "destroy_busy" : "destroy_busy_fast") << " run " << run;
        }
    }
}

} // namespace
