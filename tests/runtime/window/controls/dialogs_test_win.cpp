// The message box and the folder chooser, answered from a watcher thread as a
// user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <thread>

#include "runtime/core/frame.h"
#include "runtime/window/window_ops.h"
#include "support_win.h"

namespace {

// Answers the folder chooser titled by prompt: selects path (or nothing) and
// presses the button. Returns whether the chooser was found.
bool AnswerChooser(const char *prompt, const char *path, int button) {
    HWND chooser = WaitForTopWindow("#32770", nullptr, 10000);
    if (!chooser)
        return false;
    HWND label = FindWindowExA(chooser, nullptr, "Static", prompt);
    if (path) {
        // The chooser's selection message; the path lives in this process.
        SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
    }
    PressButton(chooser, button);
    return label != nullptr;
}

} // namespace

TEST(MessageBoxes, ButtonCodeReturnedAndKeptInDialogResult) {
    std::string caption, text;
    std::thread user([&] {
        HWND box = WaitForTopWindow("#32770", "Question:", 10000);
        if (!box)
            return;
        char buffer[256] = "";
        GetWindowTextA(box, buffer, sizeof buffer);
        caption = buffer;
        HWND label = FindChild(box, "Static", 0xFFFF);
        if (label) {
            GetWindowTextA(label, buffer, sizeof buffer);
            text = buffer;
        }
        PressButton(box, IDNO);
    });
    RunChecked([] {
        EXPECT_EQ(IDNO, ShowMessageBox("Delete ''x''?", "Question:", MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(IDNO, DialogResult);
    });
    user.join();
    EXPECT_EQ("Question:", caption);
    EXPECT_EQ("Delete ''x''?", text);
}

TEST(FolderChooser, ChosenFolderEndsInABackslash) {
    bool found = false;
    std::thread user([&] { found = AnswerChooser("Pick a folder", "C:\\windows", IDOK); });
    RunChecked([] {
        StringValue path = BrowseForFolder("Pick a folder");
        EXPECT_STRCASEEQ("C:\\windows\\", path.c_str());
        EXPECT_EQ(1, DialogResult);
    });
    user.join();
    EXPECT_TRUE(found);
}

TEST(FolderChooser, DriveRootKeepsItsOneBackslash) {
    std::thread user([] { AnswerChooser("Root", "C:\\", IDOK); });
    RunChecked([] {
        EXPECT_STRCASEEQ("C:\\", BrowseForFolder("Root").c_str());
        EXPECT_EQ(1, DialogResult);
    });
    user.join();
}

TEST(FolderChooser, CancelledGivesABackslashAlone) {
    std::thread user([] { AnswerChooser("Cancel me", nullptr, IDCANCEL); });
    RunChecked([] {
        InterlockedExchange(&DialogResult, 7);
        EXPECT_STREQ("\\", BrowseForFolder("Cancel me").c_str());
        EXPECT_EQ(0, DialogResult);
    });
    user.join();
}
