// Scroll-bar rules: the bar moves itself, the script hears of the end.
#include <gtest/gtest.h>

#include "procs_support.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"

namespace {

HWND Bar = nullptr;

void SetRange(int minimum, int maximum, int position) {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_POS, minimum, maximum, 0, position, 0};
    SetScrollInfo(Bar, SB_CTL, &info, TRUE);
}

// The position after one scroll request sent to the window that owns the bar.
int After(HWND window, UINT message, WORD request, WORD thumb = 0) {
    SendMessageA(window, message, MAKEWPARAM(request, thumb), reinterpret_cast<LPARAM>(Bar));
    return GetScrollPos(Bar, SB_CTL);
}

struct ScrollResult {
    int smallPageDown = -1, lineDownAtMax = -1, lineUp = -1, lineUpAtZero = -1, bottom = -1, top = -1;
    int pageDown1 = -1, pageDown2 = -1, pageUp = -1, thumb = -1, track = -1, pageUpClamped = -1;
    LONG kindBeforeEnd = -1, kindAfterEnd = -1;
    int dialogPageDown = -1;
    LONG dialogKindAfterEnd = -1;
    bool clickWoke = false;
    int afterClick = -1;
} Scroll;

void ScrollScenario() {
    HWND main = OpenTestWindow();
    Bar = CreateTestControl("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 50, 20, 20, 240, 24, main);

    SetRange(0, 9, 0);
    Scroll.smallPageDown = After(main, WM_HSCROLL, SB_PAGEDOWN); // step 9 / 10 = 0
    SetRange(0, 9, 9);
    Scroll.lineDownAtMax = After(main, WM_HSCROLL, SB_LINEDOWN);
    Scroll.lineUp = After(main, WM_HSCROLL, SB_LINEUP);
    SetRange(0, 9, 0);
    Scroll.lineUpAtZero = After(main, WM_HSCROLL, SB_LINEUP);
    Scroll.bottom = After(main, WM_HSCROLL, SB_BOTTOM);
    Scroll.top = After(main, WM_HSCROLL, SB_TOP);

    SetRange(0, 100, 0);
    Scroll.pageDown1 = After(main, WM_HSCROLL, SB_PAGEDOWN);
    Scroll.pageDown2 = After(main, WM_HSCROLL, SB_PAGEDOWN);
    Scroll.pageUp = After(main, WM_HSCROLL, SB_PAGEUP);
    Scroll.thumb = After(main, WM_HSCROLL, SB_THUMBPOSITION, 37);
    Scroll.track = After(main, WM_HSCROLL, SB_THUMBTRACK, 50);
    SetRange(0, 100, 5);
    Scroll.pageUpClamped = After(main, WM_HSCROLL, SB_PAGEUP);
    Scroll.kindBeforeEnd = EventKind;
    After(main, WM_HSCROLL, SB_ENDSCROLL);
    Scroll.kindAfterEnd = EventKind;

    // "DIALOG" windows follow the same rules.
    HWND dialog = OpenTestDialogWindow(main, 520, 100, 300, 200);
    SetRange(0, 100, 0);
    Scroll.dialogPageDown = After(dialog, WM_VSCROLL, SB_PAGEDOWN);
    StoreLong(&EventKind, 0);
    After(dialog, WM_VSCROLL, SB_ENDSCROLL);
    Scroll.dialogKindAfterEnd = EventKind;

    // A real click on the bar's right arrow: one line, then the end wakes the script.
    SetRange(0, 100, 0);
    Activate(main);
    RECT r;
    GetWindowRect(Bar, &r);
    POINT arrow = {r.right - 6, (r.top + r.bottom) / 2};
    Scroll.clickWoke = ActAndWaitInput([arrow] { ClickAt(arrow); }, [] { return EventKind == 255; });
    Scroll.afterClick = GetScrollPos(Bar, SB_CTL);
}

TEST(Scroll, RulesAtTheEndsAndPageSteps) {
    ASSERT_EQ(0, RunScenario(ScrollScenario));
    EXPECT_EQ(0, Scroll.smallPageDown);
    EXPECT_EQ(9, Scroll.lineDownAtMax);
    EXPECT_EQ(8, Scroll.lineUp);
    EXPECT_EQ(0, Scroll.lineUpAtZero);
    EXPECT_EQ(9, Scroll.bottom);
    EXPECT_EQ(0, Scroll.top);
    EXPECT_EQ(10, Scroll.pageDown1);
    EXPECT_EQ(20, Scroll.pageDown2);
    EXPECT_EQ(10, Scroll.pageUp);
    EXPECT_EQ(37, Scroll.thumb);
    EXPECT_EQ(37, Scroll.track);
    EXPECT_EQ(0, Scroll.pageUpClamped);
    EXPECT_NE(255, Scroll.kindBeforeEnd);
    EXPECT_EQ(255, Scroll.kindAfterEnd);
    EXPECT_EQ(10, Scroll.dialogPageDown);
    EXPECT_EQ(255, Scroll.dialogKindAfterEnd);
    ASSERT_TRUE(Scroll.clickWoke);
    EXPECT_GE(Scroll.afterClick, 1);
    EXPECT_LE(Scroll.afterClick, 4); // one line per attempt
}

} // namespace
