// The process frame run for real: GUI thread, script thread and requests.
// Scenarios live in scenarios.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/core/script_thread.h"
#include "spine_support.h"

namespace {

constexpr DWORD ChildTimeoutMs = 20000;

TEST(ProcessFrame, RunsTwiceInOneProcessWithFreshState) {
    // Control ids start at 1000 in every run, count across windows, and a
    // failed creation uses up its id.
    for (int run = 0; run < 2; ++run) {
        int failed = -1;
        EXPECT_EQ(0, RunInProcess("ids", failed)) << "run " << run;
        EXPECT_EQ(0, failed) << "run " << run;
    }
}

TEST(ProcessFrame, EveryRequestKindCompletesOnTheGuiThread) {
    EXPECT_EQ(0, RunChild("requests", nullptr, ChildTimeoutMs));
}

TEST(ProcessFrame, CommandLineBecomesTheParameterList) {
    EXPECT_EQ(0, RunChild("params", "\"two words\" x", ChildTimeoutMs));
}

TEST(ProcessFrame, MainWindowThatCannotBeCreatedEndsWithCode1) {
    EXPECT_EQ(1, RunChild("main_window_fails", nullptr, ChildTimeoutMs));
}

TEST(FastLoop, PaintsOnlyWhilePumpingAndEndsWithoutWaiting) {
    EXPECT_EQ(0, RunChild("fast", nullptr, ChildTimeoutMs));
}

} // namespace
