// A script that never calls the runtime again is still ended after the main
// window is destroyed. Scenarios live in scenarios.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/core/script_thread.h"
#include "spine_support.h"

namespace {

constexpr DWORD ChildTimeoutMs = 20000;

TEST(Ending, ScriptInPureComputationIsEndedAfterTheGracePeriod) {
    DWORD start = GetTickCount();
    EXPECT_EQ(0, RunChild("destroy_spinning", nullptr, ChildTimeoutMs));
    EXPECT_LT(GetTickCount() - start, StopGraceMs + 8000);
}

} // namespace
