// Holding the script thread during a move or size loop, and stopping it
// while held. Scenarios live in scenarios.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/core/script_thread.h"
#include "spine_support.h"

namespace {

constexpr DWORD ChildTimeoutMs = 20000;

TEST(Holding, HeldScriptWaitsForTheRelease) {
    EXPECT_EQ(0, RunChild("hold", nullptr, ChildTimeoutMs));
}

TEST(Holding, HeldScriptStillStopsOnDestruction) {
    EXPECT_EQ(0, RunChild("hold_destroy", nullptr, ChildTimeoutMs));
}

} // namespace
