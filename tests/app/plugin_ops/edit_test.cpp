// Opening a plugin file in Notepad: only while the main window is in front.
#include <gtest/gtest.h>

#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "runtime/core/frame.h"
#include "runtime/system/library_call.h"

namespace {

struct NotepadSearch {
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK FindNotepad(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<NotepadSearch *>(param);
    char cls[64] = {};
    char title[512] = {};
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpiA(cls, "Notepad") == 0 && IsWindowVisible(window)) {
        search->found = window;
        search->title = title;
        return FALSE;
    }
    return TRUE;
}

// A visible Notepad window, waiting up to timeoutMs for one to appear.
NotepadSearch WaitForNotepad(DWORD timeoutMs) {
    NotepadSearch search;
    DWORD start = GetTickCount();
    do {
        EnumWindows(FindNotepad, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            break;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return search;
}

void CloseNotepad(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int waited = 0; waited < 5000 && IsWindow(window); waited += 50) {
        Sleep(50);
    }
}

// Script thread: makes window the foreground window, waiting a little for it.
bool BringToFront(HWND window) {
    CallLibrary("user32", "SetForegroundWindow", {reinterpret_cast<std::uintptr_t>(window)});
    for (int waited = 0; waited < 2000; waited += 20) {
        if (GetForegroundWindow() == window) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

} // namespace

TEST(EditPlugin, StartsNotepadOnThePluginFileWhileTheMainWindowIsInFront) {
    TempPluginFolder folder("plugins folder");
    folder.Write("a.src", PluginText("Alpha"));
    ASSERT_EQ(nullptr, WaitForNotepad(0).found);
    bool inFront = false;
    NotepadSearch notepad;
    RunPluginScenario(folder.Path(), [&] {
        inFront = BringToFront(MainWindow);
        EditPlugin(0);
        notepad = WaitForNotepad(20000);
    });
    ASSERT_TRUE(inFront);
    ASSERT_NE(nullptr, notepad.found);
    EXPECT_EQ(0u, notepad.title.find("a.src")) << notepad.title;
    CloseNotepad(notepad.found);
    EXPECT_FALSE(IsWindow(notepad.found));
    EXPECT_EQ(PluginText("Alpha"), ReadBytes(folder / "a.src"));
}

TEST(EditPlugin, DoesNothingWhileAnotherWindowIsInFront) {
    TempPluginFolder folder;
    folder.Write("a.src", PluginText("Alpha"));
    ASSERT_EQ(nullptr, WaitForNotepad(0).found);
    bool otherInFront = false;
    NotepadSearch notepad;
    RunPluginScenario(folder.Path(), [&] {
        // Another top-level window, owned like every window by the GUI thread.
        HWND other = reinterpret_cast<HWND>(CallLibrary(
            "user32", "CreateWindowExA",
            {0, reinterpret_cast<std::uintptr_t>("STATIC"), reinterpret_cast<std::uintptr_t>("Other window"),
             WS_POPUP | WS_VISIBLE | WS_CAPTION, 500, 100, 200, 100, 0, 0, 0, 0}));
        otherInFront = BringToFront(other);
        EditPlugin(0);
        notepad = WaitForNotepad(3000);
        CallLibrary("user32", "DestroyWindow", {reinterpret_cast<std::uintptr_t>(other)});
    });
    EXPECT_TRUE(otherInFront);
    EXPECT_EQ(nullptr, notepad.found);
    if (notepad.found != nullptr) {
        CloseNotepad(notepad.found);
    }
}
