// The main window's start-up, read back from the real window and its
// controls, and the two procedures every pass of the event loop uses.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "../app_scenario.h"
#include "app/windows/web_addresses.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/window/window_ops.h"

using namespace apptest;

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT ClientRectOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

struct ControlRow {
    const char *what;
    HWND window;
    const char *className;
    std::string text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    HFONT font;
};

void ExpectControl(const ControlRow &row) {
    SCOPED_TRACE(row.what);
    ASSERT_NE(row.window, nullptr);
    EXPECT_EQ(GetParent(row.window), MainWindow);
    EXPECT_EQ(lstrcmpiA(ClassOf(row.window).c_str(), row.className), 0) << ClassOf(row.window);
    EXPECT_EQ(TextOf(row.window), row.text);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(row.window, GWL_STYLE)), row.style)
        << std::hex << GetWindowLongA(row.window, GWL_STYLE);
    // The system gives an etched line a static edge of its own (one pixel
    // each side) and its fixed height.
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(row.window, GWL_EXSTYLE));
    bool etched = (row.style & SS_TYPEMASK) == SS_ETCHEDHORZ && exStyle == (row.exStyle | WS_EX_STATICEDGE);
    EXPECT_EQ(exStyle, etched ? row.exStyle | WS_EX_STATICEDGE : row.exStyle) << std::hex << exStyle;
    RECT r = ClientRectOf(row.window);
    EXPECT_EQ(r.left, row.x);
    EXPECT_EQ(r.top, row.y);
    EXPECT_EQ(r.right - r.left, etched ? row.width + 2 : row.width);
    EXPECT_EQ(r.bottom - r.top, row.height);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(row.window, WM_GETFONT, 0, 0)), row.font);
}

void ExpectFont(HFONT font, LONG weight, BYTE underline) {
    LOGFONTA info = {};
    ASSERT_EQ(GetObjectA(font, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_STREQ(info.lfFaceName, "Tahoma");
    EXPECT_EQ(info.lfHeight < 0 ? -info.lfHeight : info.lfHeight, 13);
    EXPECT_EQ(info.lfWidth, 0);
    EXPECT_EQ(info.lfWeight >= FW_BOLD, weight >= FW_BOLD);
    EXPECT_EQ(info.lfItalic, 0);
    EXPECT_EQ(info.lfUnderline, underline);
}

int ExpectedWidth() {
    return GetSystemMetrics(SM_CXFRAME) - 4 + 450;
}
int ExpectedHeight() {
    return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME) - 42 + 370;
}

// SetPosition moves the window asynchronously: wait until it has arrived.
RECT SettledWindowRect() {
    int x = static_cast<int>(ScreenWidth * 0.5 - ExpectedWidth() * 0.5);
    RECT r = {};
    WaitUntil([&] {
        GetWindowRect(MainWindow, &r);
        return r.left == x;
    });
    return r;
}

bool Enabled(HWND w) {
    return IsWindowEnabled(w) != FALSE;
}

} // namespace

TEST(StartUp, WindowGeometryFollowsTheSystemMetrics) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    RunApplication([] {
        int caption = GetSystemMetrics(SM_CYCAPTION);
        int frame = GetSystemMetrics(SM_CXFRAME);
        std::cout << "SM_CYCAPTION " << caption << ", SM_CXFRAME " << frame << ", screen " << ScreenWidth
                  << " x " << ScreenHeight << "\n";
        EXPECT_EQ(CaptionHeight, caption);
        EXPECT_EQ(FrameWidth, frame);
        EXPECT_EQ(HeightExtra, caption + frame - 42);
        EXPECT_EQ(WidthExtra, frame - 4);
        EXPECT_EQ(ClientTopOffset, caption + frame);
        EXPECT_EQ(ClientLeftOffset, frame);
        EXPECT_EQ(MainWidth, ExpectedWidth());
        EXPECT_EQ(MainHeight, ExpectedHeight());

        RECT r = SettledWindowRect();
        EXPECT_EQ(r.right - r.left, ExpectedWidth());
        EXPECT_EQ(r.bottom - r.top, ExpectedHeight());
        EXPECT_EQ(r.left, static_cast<int>(ScreenWidth * 0.5 - ExpectedWidth() * 0.5));
        EXPECT_EQ(r.top, static_cast<int>(ScreenHeight * 0.5 - ExpectedHeight() * 0.5));
        // The test desktop is 1024 x 768 and Wine's metrics are those of the
        // classic Windows look: the design size exactly.
        if (caption == 19 && frame == 4 && ScreenWidth == 1024 && ScreenHeight == 768) {
            EXPECT_EQ(r.right - r.left, 450);
            EXPECT_EQ(r.bottom - r.top, 351);
            EXPECT_EQ(r.left, 287);
            EXPECT_EQ(r.top, 208);
        }
        // Brought to the front without staying on top.
        EXPECT_TRUE(WaitUntil([] { return (GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
        EXPECT_TRUE(IsWindowVisible(MainWindow));

        EXPECT_EQ(TextOf(MainWindow), "Quillsort 1.0");
        LONG style = GetWindowLongA(MainWindow, GWL_STYLE);
        EXPECT_NE(style & WS_SYSMENU, 0);
        EXPECT_NE(style & WS_MINIMIZEBOX, 0);
        EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
        EXPECT_EQ(style & WS_THICKFRAME, 0);
        EXPECT_EQ(GetMenu(MainWindow), nullptr);
        EXPECT_NE(StartTick, 0u);
        EXPECT_EQ(EnterLatch, 1);
    });
}

TEST(StartUp, EveryControlHasItsClassTextStylePlaceAndFont) {
    DemoBrowser browser;
    browser.AddPlugin("alpha.src", "Alpha");
    browser.AddPlugin("beta.src", "Beta");
    RunApplication([&] {
        // Wine reports NTFS for its drives: the rename method, and its button.
        EXPECT_EQ(RenameMethod, 1);
        std::string folder = StringValue(BrowserFolder).c_str();
        EXPECT_EQ(lstrcmpiA(folder.c_str(), (browser.Folder() + "\\").c_str()), 0) << folder;
        EXPECT_EQ(std::string(PluginFolder.c_str()), folder + "searchplugins");
        EXPECT_EQ(std::string(TempFolder.c_str()), folder + "searchplugins\\temp");

        ExpectFont(CreditFont, FW_NORMAL, 1);
        ExpectFont(NormalFont, FW_NORMAL, 0);
        ExpectFont(BoldFont, FW_BOLD, 0);

        const ControlRow rows[] = {
            {"hint", HintText, "Static", "Use the right-click menu to delete, edit, rename or hide plugins.",
             0x5C000100, 0, 9, 218, 230, 40, NormalFont},
            {"file names", NameList, "ListBox", "", 0x54211141, 0x200, 500, 500, 0, 0, nullptr},
            {"main list", MainList, "ListBox", "", 0x54211141, 0x200, 15, 25, 300, 170, NormalFont},
            {"move up", MoveUpButton, "Button", "Move Up", 0x58010000, 0, 327, 27, 100, 24, NormalFont},
            {"move down", MoveDownButton, "Button", "Move Down", 0x50010000, 0, 327, 62, 100, 24, NormalFont},
            {"refresh", RefreshButton, "Button", "  Refresh List", 0x54010100, 0, 327, 105, 100, 20,
             NormalFont},
            {"show hidden", ShowHiddenButton, "Button", "  Show Hidden...", 0x54010100, 0, 327, 128, 100, 20,
             NormalFont},
            {"add plugin", AddPluginButton, "Button", "  Add Plugin...", 0x54010100, 0, 327, 151, 100, 20,
             NormalFont},
            {"open folder", OpenFolderButton, "Button", "  Open Folder...", 0x54010100, 0, 327, 174, 100, 20,
             NormalFont},
            {"sort", SortButton, "Button", "Sort Search Plugins!", 0x50010000, 0, 5, 260, 140, 30, BoldFont},
            {"original names", OrigNamesButton, "Button", "Orig. Filenames", 0x50010000, 0, 150, 260, 85, 30,
             NormalFont},
            {"help", HelpButton, "Button", "?", 0x54010000, 0x20000, 5, 303, 23, 21, NormalFont},
            {"group", GroupFrame, "Button", "Search Engine Order", 0x50020007, 0, 5, 5, 434, 200, BoldFont},
            {"credit", CreditText, "Static", CreditLine, 0x50000000, 0, 290, 307, 200, 16, CreditFont},
            {"separator", SeparatorLine, "Static", "", 0x54000130, 0, 3, 298, 441, 2, nullptr},
        };
        for (const ControlRow &row : rows) {
            ExpectControl(row);
        }
        // Creation order is the order of the table: each control lies below
        // the one created before it (z-order of siblings).
        for (std::size_t i = 1; i < sizeof rows / sizeof rows[0]; ++i) {
            EXPECT_EQ(GetWindow(rows[i - 1].window, GW_HWNDNEXT), rows[i].window) << rows[i].what;
        }

        // The catalogue: both lists filled in file order, row 0 selected.
        ASSERT_EQ(SendMessageA(MainList, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(std::string(GetListItem(MainList, 0).c_str()), "Alpha");
        EXPECT_EQ(std::string(GetListItem(MainList, 1).c_str()), "Beta");
        EXPECT_EQ(std::string(GetListItem(NameList, 0).c_str()), "alpha.src");
        EXPECT_EQ(std::string(GetListItem(NameList, 1).c_str()), "beta.src");
        EXPECT_EQ(SendMessageA(MainList, LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(Selection, 0);
        EXPECT_TRUE(HasFocus(MainList));

        // The hint is greyed: disabled, so it takes no input.
        EXPECT_FALSE(Enabled(HintText));
    });
}

TEST(StartUp, MoveButtonsFollowTheNumberOfPlugins) {
    struct Case {
        int plugins;
        bool upEnabled;
        bool downEnabled;
    };
    // Empty folder: nothing selected, so Move Up keeps its enabled state.
    for (Case c : {Case{0, true, false}, Case{1, false, false}, Case{2, false, true}}) {
        SCOPED_TRACE(c.plugins);
        DemoBrowser browser;
        for (int i = 0; i < c.plugins; ++i) {
            browser.AddPlugin("p" + std::to_string(i) + ".src", "Plugin " + std::to_string(i));
        }
        RunApplication([c] {
            EXPECT_EQ(SendMessageA(MainList, LB_GETCOUNT, 0, 0), c.plugins);
            EXPECT_EQ(Selection, c.plugins == 0 ? -1 : 0);
            EXPECT_EQ(Enabled(MoveUpButton), c.upEnabled);
            EXPECT_EQ(Enabled(MoveDownButton), c.downEnabled);
            EXPECT_EQ(UpDisabled, c.upEnabled ? 0 : 1);
            EXPECT_EQ(DownDisabled, c.downEnabled ? 0 : 1);
        });
    }
}

TEST(UpdateMoveButtons, TouchesTheButtonsOnlyWhenTheirStateChanges) {
    DemoBrowser browser;
    for (const char *name : {"a", "b", "c"}) {
        browser.AddPlugin(std::string(name) + ".src", name);
    }
    RunApplication([] {
        auto select = [](int row) {
            SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
            UpdateMoveButtons();
            EXPECT_EQ(Selection, row);
        };
        select(1);
        EXPECT_TRUE(Enabled(MoveUpButton));
        EXPECT_TRUE(Enabled(MoveDownButton));
        select(2);
        EXPECT_TRUE(Enabled(MoveUpButton));
        EXPECT_FALSE(Enabled(MoveDownButton));
        // The flags, not the buttons, decide: a button enabled behind their
        // back stays enabled while the flag says nothing changed.
        EnableControl(MoveDownButton, 1);
        select(2);
        EXPECT_TRUE(Enabled(MoveDownButton));
        select(0);
        EXPECT_FALSE(Enabled(MoveUpButton));
        EXPECT_TRUE(Enabled(MoveDownButton));
        // No selection: Move Up keeps its state, Move Down is enabled while
        // the list has rows.
        select(-1);
        EXPECT_FALSE(Enabled(MoveUpButton));
        EXPECT_TRUE(Enabled(MoveDownButton));
    });
}

TEST(FlushInput, ReplacesTheEventThatStartedACommand) {
    DemoBrowser browser;
    browser.AddPlugin("a.src", "A");
    RunApplication([] {
        Click(RefreshButton);
        ASSERT_TRUE(
            WaitUntil([] { return UserMessage.lParam == reinterpret_cast<LONG_PTR>(RefreshButton); }));
        EXPECT_EQ(UserMessage.number, WM_COMMAND);
        DWORD start = GetTickCount();
        FlushInput(); // returns at the latest with the timer's tick
        EXPECT_LT(GetTickCount() - start, 1000u);
        EXPECT_NE(UserMessage.lParam, reinterpret_cast<LONG_PTR>(RefreshButton));
        // The timer is gone again: a later wait is not woken by it.
        TimerFlag = 0;
        Sleep(100);
        EXPECT_EQ(TimerFlag, 0);
    });
}

TEST(StartUp, TheHintIsGreyedAndLetsClicksThrough) {
    DemoBrowser browser;
    browser.AddPlugin("a.src", "A");
    RunApplication([] {
        SettledWindowRect();
        EXPECT_FALSE(Enabled(HintText));
        // A disabled window is never the target of the mouse: a click on the
        // hint reaches the main window itself, a click on a button the button.
        auto under = [](HWND control) {
            RECT r;
            GetWindowRect(control, &r);
            return WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        };
        EXPECT_EQ(under(HintText), MainWindow);
        EXPECT_EQ(under(RefreshButton), RefreshButton);
    });
}
