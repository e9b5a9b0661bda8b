// Move and size loops: the script is held meanwhile and woken once at the end
// when the size changed; a mere move does not wake it.
#include <gtest/gtest.h>

#include "procs_support.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"

namespace {

struct DragJob {
    POINT from, to;
};

DWORD WINAPI DragLater(LPVOID parameter) {
    const DragJob *job = static_cast<const DragJob *>(parameter);
    Drag(job->from, job->to);
    return 0;
}

// Drags on another thread while this one waits, so the wait has begun when
// the loop starts.
HANDLE StartDrag(DragJob &job) {
    return CreateThread(nullptr, 0, DragLater, &job, 0, nullptr);
}

void FinishDrag(HANDLE thread) {
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
}

struct SizeResult {
    bool found = false;
    LONG kind = -1;
    bool endedOnTimer = true;
    int widthBefore = 0, widthAfter = 0;
    bool nextWaitOnTimerOnly = false;
    LONG nextKind = -1;
    bool moveFound = false, moveWoke = true;
    LONG moveKind = -1;
    int leftBefore = 0, leftAfter = 0;
    bool paintedMoveWoke = false;
} Size;

int Width(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.right - r.left;
}

int Left(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.left;
}

void SizeScenario() {
    HWND main = OpenTestWindow(100, 100, 400, 300);
    Activate(main);
    POINT edge = FindHitPoint(main, HTRIGHT);
    Size.found = edge.x >= 0;
    if (!Size.found)
        return;
    Size.widthBefore = Width(main);
    DragJob job = {edge, {edge.x + 80, edge.y}};
    ArmTimeout(5000);
    HANDLE drag = StartDrag(job);
    WaitInput();
    Size.kind = EventKind;
    Size.endedOnTimer = TimerFlag != 0;
    DisarmTimeout();
    FinishDrag(drag);
    Size.widthAfter = Width(main);

    // Woken once: the next wait ends only on its time-out.
    ArmTimeout(300);
    WaitInput();
    Size.nextWaitOnTimerOnly = TimerFlag != 0;
    Size.nextKind = EventKind;
    DisarmTimeout();

    POINT caption = FindHitPoint(main, HTCAPTION);
    Size.moveFound = caption.x >= 0;
    if (!Size.moveFound)
        return;
    Size.leftBefore = Left(main);
    DragJob move = {caption, {caption.x - 60, caption.y + 30}};
    ArmTimeout(1500);
    drag = StartDrag(move);
    WaitInput();
    Size.moveWoke = TimerFlag == 0;
    Size.moveKind = EventKind;
    DisarmTimeout();
    FinishDrag(drag);
    Size.leftAfter = Left(main);

    // Without automatic repainting, a window that has repainted is reported
    // after a mere move too.
    __atomic_exchange_n(&AutoPaint, 0, __ATOMIC_SEQ_CST);
    InvalidateRect(main, nullptr, TRUE);
    WaitMessageUntil([] { return PaintedFlag != 0; });
    ArmTimeout(100);
    WaitInput(); // takes the event the paint set
    DisarmTimeout();
    caption = FindHitPoint(main, HTCAPTION);
    DragJob back = {caption, {caption.x + 60, caption.y - 30}};
    ArmTimeout(1500);
    drag = StartDrag(back);
    WaitInput();
    Size.paintedMoveWoke = TimerFlag == 0;
    DisarmTimeout();
    FinishDrag(drag);
}

TEST(SizeMove, ResizingWakesOnceAfterTheDragAndMovingDoesNot) {
    ASSERT_EQ(0, RunScenario(SizeScenario));
    ASSERT_TRUE(Size.found);
    EXPECT_FALSE(Size.endedOnTimer);
    EXPECT_EQ(4, Size.kind);
    EXPECT_GT(Size.widthAfter, Size.widthBefore + 40);
    EXPECT_TRUE(Size.nextWaitOnTimerOnly);
    EXPECT_EQ(0, Size.nextKind);
    ASSERT_TRUE(Size.moveFound);
    EXPECT_FALSE(Size.moveWoke);
    EXPECT_EQ(0, Size.moveKind);
    EXPECT_LT(Size.leftAfter, Size.leftBefore - 30);
    EXPECT_TRUE(Size.paintedMoveWoke);
}

} // namespace
