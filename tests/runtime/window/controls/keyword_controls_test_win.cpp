// Controls created by keyword on the real runtime: what the GUI thread made
// of each keyword (class, styles, id) and the extra steps of some keywords.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <thread>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/window/controls.h"
#include "support_win.h"

namespace {

struct Expected {
    const char *keyword;
    const char *className;
    DWORD style;
    DWORD exStyle;
    int idsUsed;
};

const Expected kControls[] = {
    {"button", "Button", 0x50010000, 0, 1},
    {"DefButton", "Button", 0x50010001, 0, 1},
    {"checkbox", "Button", 0x50010003, 0, 1},
    {"radiobutton", "Button", 0x50010009, 0, 1},
    {"Text", "Static", 0x50000000, 0, 1},
    {"edit", "Edit", 0x50010080, WS_EX_CLIENTEDGE, 1},
    {"multiedit", "Edit", 0x50311144, WS_EX_CLIENTEDGE, 1},
    {"LISTBOX", "ListBox", 0x50B101C1, WS_EX_CLIENTEDGE, 1},
    {"sortedlistbox", "ListBox", 0x50B101C3, WS_EX_CLIENTEDGE, 1},
    {"choicebox", "ComboBox", 0x50210303, 0, 1},
    {"GroupBox", "Button", 0x50020007, 0, 1},
    {"hscroll", "ScrollBar", 0x50010000, 0, 1},
    {"vscroll", "ScrollBar", 0x50010001, 0, 1},
    {"tabctrl", "SysTabControl32", 0x54010000, 0, 1},
    {"richedit", "RichEdit20A", 0x54214044, WS_EX_CLIENTEDGE, 1},
    {"spinedit", "Edit", 0x50010080, WS_EX_CLIENTEDGE, 2},
    {"dateedit", "SysDateTimePick32", 0x50000000, WS_EX_CLIENTEDGE, 1},
    {"timeedit", "SysDateTimePick32", 0x50000009, WS_EX_CLIENTEDGE, 1},
};

bool SameName(const std::string &a, const char *b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

DWORD StyleOf(HWND w) {
    return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE));
}
DWORD ExStyleOf(HWND w) {
    return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE));
}

HWND Parent() {
    return OpenDialogWindow(nullptr, "controls", 10, 10, 700, 500);
}

// The styles a window was asked for, caught on the GUI thread as it is created
// (controls drop scroll-bar bits they do not need yet, so reading back is not
// enough).
struct Requested {
    bool seen = false; // the first creation only: controls create their own parts
    DWORD style = 0;
    DWORD exStyle = 0;
};
Requested LastRequested;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !LastRequested.seen) {
        LastRequested.seen = true;
        const CREATESTRUCTA &create = *reinterpret_cast<CBT_CREATEWNDA *>(lParam)->lpcs;
        LastRequested.style = static_cast<DWORD>(create.style);
        LastRequested.exStyle = create.dwExStyle;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND UpDownOf(HWND parent, HWND edit) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (SameName(ClassOf(w), UPDOWN_CLASSA) &&
            reinterpret_cast<HWND>(SendMessageA(w, UDM_GETBUDDY, 0, 0)) == edit)
            return w;
    return nullptr;
}

} // namespace

TEST(KeywordControls, EveryKeywordMakesItsClassStylesAndNextId) {
    RunChecked([] {
        HWND parent = Parent();
        ASSERT_NE(nullptr, parent);
        HHOOK hook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GuiThreadId);
        ASSERT_NE(nullptr, hook);
        const DWORD dynamic = WS_HSCROLL | WS_VSCROLL;
        int id = 1000;
        int y = 0;
        for (const Expected &e : kControls) {
            SCOPED_TRACE(e.keyword);
            LastRequested = Requested();
            HWND control = CreateByKeyword(e.keyword, parent, "", 5, y, 120, 22);
            y += 24;
            ASSERT_NE(nullptr, control);
            EXPECT_TRUE(SameName(ClassOf(control), e.className)) << ClassOf(control);
            EXPECT_EQ(e.style, LastRequested.style);
            EXPECT_EQ(e.exStyle, LastRequested.exStyle);
            EXPECT_EQ(e.style & ~dynamic, StyleOf(control) & ~dynamic);
            EXPECT_EQ(e.exStyle, ExStyleOf(control));
            EXPECT_EQ(parent, GetParent(control));
            EXPECT_EQ(id, GetDlgCtrlID(control));
            id += e.idsUsed;
        }
        UnhookWindowsHookEx(hook);
    });
}

TEST(KeywordControls, TwoControlsInARowGetIds1000And1001) {
    RunChecked([] {
        HWND parent = Parent();
        EXPECT_EQ(1000, GetDlgCtrlID(CreateByKeyword("groupbox", parent, "Group", 0, 0, 100, 50)));
        EXPECT_EQ(1001, GetDlgCtrlID(CreateByKeyword("text", parent, "Label", 0, 60, 100, 20)));
        // An explicit id leaves the automatic ids alone.
        EXPECT_EQ(77, GetDlgCtrlID(CreateControl("BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 90, 50, 20, parent,
                                                 77, GetModuleHandleA(nullptr), 0)));
        EXPECT_EQ(1002, GetDlgCtrlID(CreateByKeyword("button", parent, "x", 0, 120, 50, 20)));
    });
}

TEST(KeywordControls, CreateControlUsesTheGivenClassStylesAndId) {
    RunChecked([] {
        HWND parent = Parent();
        HWND c = CreateControl("EDIT", "abc", WS_CHILD | WS_VISIBLE | ES_READONLY, 3, 4, 80, 20, parent, 42,
                               GetModuleHandleA(nullptr), WS_EX_STATICEDGE);
        ASSERT_NE(nullptr, c);
        EXPECT_TRUE(SameName(ClassOf(c), "Edit"));
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | ES_READONLY), StyleOf(c));
        EXPECT_EQ(static_cast<DWORD>(WS_EX_STATICEDGE), ExStyleOf(c));
        EXPECT_EQ(42, GetDlgCtrlID(c));
        EXPECT_EQ("abc", std::string(GetText(c).c_str()));
        EXPECT_EQ(nullptr, CreateControl("NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, parent, 43,
                                         GetModuleHandleA(nullptr), 0));
    });
}

TEST(KeywordControls, UnknownKeywordIsFatal101AndMakesNoWindow) {
    RunChecked([] {
        SetErrorLevel(-1);
        EXPECT_EQ(nullptr, CreateByKeyword("slider", nullptr, "", 0, 0, 10, 10));
        EXPECT_EQ(2, TakeErrorKind());
        EXPECT_EQ(101, LastErrorNumber);
    });
}

TEST(KeywordControls, UnknownKeywordIsNamedInCapitalsInTheErrorBox) {
    std::string caption;
    // The box is shown from the script thread; answer it from another thread.
    std::thread watcher([&caption] {
        HWND box = WaitForTopWindow("#32770", nullptr, 10000);
        if (box) {
            char text[256] = "";
            GetWindowTextA(box, text, sizeof text);
            caption = text;
            PressButton(box, IDOK);
        }
    });
    RunChecked([] {
        CreateByKeyword("Slider", nullptr, "", 0, 0, 10, 10);
        ADD_FAILURE() << "a fatal error at errorlevel 1 ends the program";
    });
    watcher.join();
    EXPECT_EQ("Unbekanntes Create-Objekt: SLIDER", caption);
}

TEST(KeywordControls, NegativeHeightGivesThePasswordEditAtTheAbsoluteHeight) {
    RunChecked([] {
        HWND parent = Parent();
        HWND password = CreateByKeyword("edit", parent, "secret", 5, 5, 100, -20);
        ASSERT_NE(nullptr, password);
        EXPECT_EQ(0x500100A0u, StyleOf(password));
        EXPECT_NE(0, SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0));
        RECT r;
        GetWindowRect(password, &r);
        EXPECT_EQ(20, r.bottom - r.top);

        HWND wrapping = CreateByKeyword("multiedit", parent, "", 5, 40, 100, -60);
        EXPECT_EQ(0x50211144u, StyleOf(wrapping));
        GetWindowRect(wrapping, &r);
        EXPECT_EQ(60, r.bottom - r.top);
    });
}

TEST(KeywordControls, SpinEditRangeFromItsText) {
    RunChecked([] {
        HWND parent = Parent();
        HWND edit = CreateByKeyword("spinedit", parent, "5;0;10", 5, 5, 80, 22);
        ASSERT_NE(nullptr, edit);
        HWND upDown = UpDownOf(parent, edit);
        ASSERT_NE(nullptr, upDown);
        EXPECT_EQ(0x54000126u, StyleOf(upDown) & 0x54000126u);
        EXPECT_EQ(1001, GetDlgCtrlID(upDown));
        int low = 1, high = 1;
        SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(0, low);
        EXPECT_EQ(10, high);
        EXPECT_EQ(5, static_cast<int>(SendMessageA(upDown, UDM_GETPOS32, 0, 0)));
        EXPECT_EQ("5", std::string(GetText(edit).c_str()));

        HWND plain = CreateByKeyword("spinedit", parent, "", 5, 40, 80, 22);
        HWND plainUpDown = UpDownOf(parent, plain);
        ASSERT_NE(nullptr, plainUpDown);
        SendMessageA(plainUpDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(-32767, low);
        EXPECT_EQ(32767, high);
        EXPECT_EQ(0, static_cast<int>(SendMessageA(plainUpDown, UDM_GETPOS32, 0, 0)));
    });
}

TEST(KeywordControls, DateAndTimeFromTheirTexts) {
    RunChecked([] {
        HWND parent = Parent();
        char separator[8] = "";
        char order[8] = "";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof separator);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
        std::string s = separator;
        std::string text = order[0] == '0'   ? "3" + s + "14" + s + "2021"
                           : order[0] == '1' ? "14" + s + "3" + s + "2021"
                                             : "2021" + s + "3" + s + "14";
        HWND date = CreateByKeyword("dateedit", parent, text.c_str(), 5, 5, 150, 22);
        ASSERT_NE(nullptr, date);
        SYSTEMTIME t = {};
        ASSERT_EQ(GDT_VALID, SendMessageA(date, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)));
        EXPECT_EQ(2021, t.wYear);
        EXPECT_EQ(3, t.wMonth);
        EXPECT_EQ(14, t.wDay);

        HWND time = CreateByKeyword("timeedit", parent, "13:45:30", 5, 40, 150, 22);
        ASSERT_NE(nullptr, time);
        SYSTEMTIME now;
        GetSystemTime(&now);
        ASSERT_EQ(GDT_VALID, SendMessageA(time, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)));
        EXPECT_EQ(13, t.wHour);
        EXPECT_EQ(45, t.wMinute);
        EXPECT_EQ(30, t.wSecond);
        EXPECT_EQ(now.wYear, t.wYear);

        HWND noSeconds = CreateByKeyword("timeedit", parent, "7:05", 5, 70, 150, 22);
        ASSERT_EQ(GDT_VALID, SendMessageA(noSeconds, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)));
        EXPECT_EQ(7, t.wHour);
        EXPECT_EQ(5, t.wMinute);
        EXPECT_EQ(0, t.wSecond);
    });
}

TEST(KeywordControls, ScrollBarsTabsAndWindows) {
    RunChecked([] {
        HWND parent = Parent();
        HWND bar = CreateByKeyword("vscroll", parent, "", 5, 5, 16, 100);
        int low = -1, high = -1;
        GetScrollRange(bar, SB_CTL, &low, &high);
        EXPECT_EQ(0, low);
        EXPECT_EQ(100, high);
        EXPECT_EQ(0, GetScrollPos(bar, SB_CTL));

        HWND tabs = CreateByKeyword("tabctrl", parent, "First tab", 30, 5, 200, 100);
        ASSERT_NE(nullptr, tabs);
        EXPECT_EQ("", std::string(GetText(tabs).c_str()));
        EXPECT_EQ(1, static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)));
        char label[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        item.cchTextMax = sizeof label;
        SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ("First tab", label);

        HWND window = CreateByKeyword("window", parent, "Second", 50, 60, 300, 200);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ("DIALOG", ClassOf(window));
        EXPECT_EQ(parent, GetWindow(window, GW_OWNER));
        EXPECT_EQ(0x14CF2000u, StyleOf(window) & 0x14CF2000u);
        EXPECT_EQ("Second", std::string(GetText(window).c_str()));

        // No template "LDIALOG" in this program: nothing, and nothing reported.
        EXPECT_EQ(nullptr, CreateByKeyword("dialog", parent, "T", 0, 0, 100, 100));
    });
}

TEST(KeywordControls, ListRowsWindowTextsAndDestruction) {
    RunChecked([] {
        HWND parent = Parent();
        HWND list = CreateByKeyword("listbox", parent, "", 5, 5, 150, 100);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha"));
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta\tsecond"));
        EXPECT_EQ("alpha", std::string(GetListItem(list, 0).c_str()));
        EXPECT_EQ("beta\tsecond", std::string(GetListItem(list, 1).c_str()));
        EXPECT_EQ("", std::string(GetListItem(list, 2).c_str()));
        EXPECT_EQ("", std::string(GetListItem(list, -1).c_str()));

        HWND empty = CreateByKeyword("edit", parent, "", 5, 120, 100, 20);
        StringValue none = GetText(empty);
        EXPECT_EQ(0u, none.length);
        std::string longText(1000, 'x');
        HWND full = CreateByKeyword("text", parent, longText.c_str(), 5, 150, 100, 20);
        EXPECT_EQ(longText, std::string(GetText(full).c_str()));

        EXPECT_NE(0, DestroyControl(list));
        EXPECT_FALSE(IsWindow(list));
        EXPECT_EQ(0, DestroyControl(list));
    });
}
