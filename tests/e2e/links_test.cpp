// The links of a freshly started tool: for the first 1.5 seconds a click on
// them opens nothing; afterwards the same click opens the page. The close box
// ends the tool with exit code 0.
#include <gtest/gtest.h>

#include "session_support.h"

namespace {

TEST(FreshStart, LinksWaitForTheGracePeriodThenTheToolEndsByItsCloseBox) {
    Session session("qs_e2e_links");
    session.folder.Write("alpha.src", PluginText("Alpha", "\r\n"));
    ASSERT_TRUE(session.Start());
    const DWORD shown = GetTickCount();
    RECT rect = WindowRect(session.main);
    const POINT logo{rect.left + 340, rect.top + 270};

    ClickAt(logo.x, logo.y);
    const DWORD clicked = GetTickCount() - shown;
    ASSERT_LT(clicked, 1200u) << "the click came too late to test the grace period";
    // Well past the grace period now: the early click has opened nothing.
    Pause(static_cast<int>(2000 - clicked));
    EXPECT_TRUE(session.recorder->Lines().empty());

    ASSERT_TRUE(ClickAtUntil(logo.x, logo.y, [&session] { return session.recorder->Lines().size() >= 1; }));
    EXPECT_NE(std::string::npos, session.recorder->Lines()[0].find("https://www.mozilla.org/firefox/"));

    // No hidden plugins: an empty list, and no restoring without a row.
    ClickWindow(Button(session.main, "  Show Hidden..."));
    HWND dialog = WaitForDialog(session.tool->Pid(), "Hidden Search Plugins");
    ASSERT_NE(nullptr, dialog);
    HWND restore = Child(dialog, "Button", "Restore Selected Plugin");
    EXPECT_TRUE(WaitUntil([restore] { return !IsWindowEnabled(restore); }));
    EXPECT_TRUE(ListRows(MainList(dialog)).empty());
    ClickWindow(Child(dialog, "Button", "OK"));
    EXPECT_TRUE(
        WaitUntil([&] { return DialogWindow(session.tool->Pid(), "Hidden Search Plugins") == nullptr; }));

    POINT close = CloseBoxPoint(session.main);
    ClickAt(close.x, close.y);
    DWORD exitCode = 1234;
    ASSERT_TRUE(session.tool->WaitForExit(exitCode))
        << ToolState(session.main) << "; " << FocusReport(session.main);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(1u, session.recorder->Lines().size());
}

} // namespace
