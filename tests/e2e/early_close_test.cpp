// A close of the main window is never lost, however soon after the start it
// comes: the first pass of the tool waits once for a window message, and a
// close that arrives around that wait must still end the tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session_support.h"

namespace {

TEST(FreshStart, ACloseRightAfterTheWindowAppearsAlwaysEndsTheTool) {
    Session session("qs_e2e_early_close");
    session.folder.Write("alpha.src", PluginText("Alpha", "\r\n"));
    std::vector<std::string> lost;
    // Delays across the start-up passes, in 9 ms steps.
    for (int delay = 0; delay <= 117; delay += 9) {
        ASSERT_TRUE(session.Start()) << "delay " << delay;
        Sleep(static_cast<DWORD>(delay));
        PostMessageA(session.main, WM_CLOSE, 0, 0);
        DWORD exitCode = 1234;
        if (!session.tool->WaitForExit(exitCode, 10000)) {
            lost.push_back(std::to_string(delay) + " ms (" + ToolState(session.main) + ")");
        } else {
            EXPECT_EQ(0u, exitCode) << "delay " << delay;
        }
        session.Stop();
    }
    EXPECT_TRUE(lost.empty()) << "closes ignored at " << ::testing::PrintToString(lost);
}

} // namespace
