// Registered messages: the set rules, capture of real clicks and of the close
// box, and what the two waits keep and reset.
#include <gtest/gtest.h>

#include <vector>

#include "procs_support.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_settings.h"

namespace {

std::vector<LONG> Registered() {
    LONG numbers[UserMessageCapacity];
    return std::vector<LONG>(numbers, numbers + UserMessageList(numbers));
}

TEST(UserMessages, ZeroEmptiesTheSetAndLaterNumbersAreAdded) {
    SetUserMessages(2, WM_CLOSE, WM_COMMAND);
    EXPECT_EQ((std::vector<LONG>{16, 273}), Registered());
    EXPECT_TRUE(IsUserMessage(WM_CLOSE));
    SetUserMessages(1, 5); // adds to what is there, duplicates collapse
    SetUserMessages(1, 5);
    EXPECT_EQ((std::vector<LONG>{5, 16, 273}), Registered());

    SetUserMessages(1, 0);
    EXPECT_TRUE(Registered().empty());
    EXPECT_FALSE(IsUserMessage(WM_CLOSE));

    SetUserMessages(3, WM_CLOSE, 0, WM_COMMAND);
    EXPECT_EQ((std::vector<LONG>{273}), Registered());
    EXPECT_FALSE(IsUserMessage(WM_CLOSE));
    EXPECT_TRUE(IsUserMessage(WM_COMMAND));
    SetUserMessages(0); // no numbers: nothing changes
    EXPECT_EQ((std::vector<LONG>{273}), Registered());
    SetUserMessages(1, 0);
}

// A click on a button with WM_COMMAND registered.
struct ClickResult {
    bool woke = false;
    LONG number = 0;
    LONG_PTR wParam = 0, lParam = 0;
    HWND button = nullptr;
    LONG_PTR lastNumberAfterClick = 0;
    LRESULT directResult = 0;
    LONG_PTR lastNumberAfterSend = 0;
    LONG menuItem = -1;
} Click;

void ClickScenario() {
    SetUserMessages(2, WM_CLOSE, WM_COMMAND);
    HWND main = OpenTestWindow();
    Click.button =
        CreateTestControl("BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 1234, 20, 20, 120, 40, main);
    Activate(main);
    Click.woke =
        ActAndWaitInput([] { ClickWindow(Click.button); }, [] { return UserMessage.number == WM_COMMAND; });
    Click.number = UserMessage.number;
    Click.wParam = UserMessage.wParam;
    Click.lParam = UserMessage.lParam;
    Click.menuItem = MenuItem;
    Click.lastNumberAfterClick = LastMessage.number;
    // The procedure answers a registered message with its number and nothing else.
    Click.directResult =
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), reinterpret_cast<LPARAM>(Click.button));
    Click.lastNumberAfterSend = LastMessage.number;
    SetUserMessages(1, 0);
}

TEST(Capture, ButtonClickArrivesAsCapturedCommand) {
    ASSERT_EQ(0, RunScenario(ClickScenario));
    ASSERT_TRUE(Click.woke);
    EXPECT_EQ(WM_COMMAND, Click.number);
    EXPECT_EQ(1234, LOWORD(Click.wParam));
    EXPECT_EQ(BN_CLICKED, HIWORD(Click.wParam));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(Click.button), Click.lParam);
    EXPECT_EQ(0, Click.menuItem); // the command rules did not run
    EXPECT_NE(WM_COMMAND, Click.lastNumberAfterClick);
    EXPECT_EQ(WM_COMMAND, Click.directResult);
    EXPECT_NE(WM_COMMAND, Click.lastNumberAfterSend);
}

// The close box, with and without WM_CLOSE registered.
struct CloseResult {
    bool found = false, woke = false, openAfter = false, reachedEnd = false;
    LONG number = 0, eventKind = -1;
} Close;

POINT CloseBox() {
    return FindHitPoint(MainWindow, HTCLOSE);
}

void CapturedCloseScenario() {
    SetUserMessages(1, WM_CLOSE);
    HWND main = OpenTestWindow();
    Activate(main);
    POINT box = CloseBox();
    Close.found = box.x >= 0;
    if (!Close.found)
        return;
    Close.woke = ActAndWaitInput([box] { ClickAt(box); }, [] { return UserMessage.number == WM_CLOSE; });
    Close.number = UserMessage.number;
    Close.eventKind = EventKind;
    Close.openAfter = IsWindow(main) != FALSE;
    SetUserMessages(1, 0);
}

TEST(Capture, RegisteredCloseLeavesTheWindowOpen) {
    ASSERT_EQ(0, RunScenario(CapturedCloseScenario));
    ASSERT_TRUE(Close.found);
    EXPECT_TRUE(Close.woke);
    EXPECT_EQ(WM_CLOSE, Close.number);
    EXPECT_EQ(0, Close.eventKind);
    EXPECT_TRUE(Close.openAfter);
}

// A registered close stays pending as a close request of its window through
// every wait that resets the captured message, until the script takes it.
struct CloseRequestResult {
    bool captured = false;
    bool pendingAfterWaits = false;
    bool takenForOtherWindow = true;
    bool takenForItsWindow = false;
    bool takenTwice = true;
    bool waitEndedByTheClose = false;
} Request;

void CloseRequestScenario() {
    Request = {};
    SetUserMessages(2, WM_CLOSE, WM_COMMAND);
    HWND main = OpenTestWindow();
    PostMessageA(main, WM_CLOSE, 0, 0);
    Request.captured = WaitMessageUntil([] { return UserMessage.number == WM_CLOSE; });
    // Both waits clear the captured number; the request outlives them.
    ArmTimeout(30);
    WaitInput();
    DisarmTimeout();
    ArmTimeout(30);
    Script::WaitMessage();
    DisarmTimeout();
    Request.pendingAfterWaits = UserMessage.number != WM_CLOSE && CloseRequest == main;
    Request.takenForOtherWindow = TakeCloseRequest(GetDesktopWindow());
    Request.takenForItsWindow = TakeCloseRequest(main);
    Request.takenTwice = TakeCloseRequest(main);

    // A close dispatched while the script is not waiting still ends the
    // next WaitMessage that looks out for it at once.
    PostMessageA(main, WM_CLOSE, 0, 0);
    Sleep(300);
    ArmTimeout(3000);
    Script::WaitMessage(main);
    Request.waitEndedByTheClose = TimerFlag == 0;
    DisarmTimeout();
    TakeCloseRequest(main);
    SetUserMessages(1, 0);
}

TEST(Capture, CloseRequestStaysPendingUntilTakenForItsWindow) {
    ASSERT_EQ(0, RunScenario(CloseRequestScenario));
    ASSERT_TRUE(Request.captured);
    EXPECT_TRUE(Request.pendingAfterWaits);
    EXPECT_FALSE(Request.takenForOtherWindow);
    EXPECT_TRUE(Request.takenForItsWindow);
    EXPECT_FALSE(Request.takenTwice);
    EXPECT_TRUE(Request.waitEndedByTheClose);
}

void UnregisteredCloseScenario() {
    Close = {};
    SetUserMessages(2, WM_CLOSE, WM_COMMAND);
    SetUserMessages(1, 0);
    HWND main = OpenTestWindow();
    Activate(main);
    POINT box = CloseBox();
    Close.found = box.x >= 0;
    if (!Close.found)
        return;
    // The window handles WM_CLOSE itself: it is destroyed, which ends the run
    // and stops this thread in its wait.
    ActAndWaitInput([box] { ClickAt(box); }, [] { return false; });
    Close.reachedEnd = true;
}

TEST(Capture, EmptiedSetLetsTheWindowCloseAndEndTheRun) {
    ASSERT_EQ(0, RunScenario(UnregisteredCloseScenario));
    ASSERT_TRUE(Close.found);
    EXPECT_FALSE(Close.reachedEnd);
    EXPECT_EQ(nullptr, FindWindowA("FENSTER", nullptr));
}

void DialogFlagCloseScenario() {
    Close = {};
    InterlockedExchange(&WindowStyleSetting, WindowStyleDialog);
    HWND main = OpenTestWindow();
    Activate(main);
    POINT box = CloseBox();
    Close.found = box.x >= 0;
    if (!Close.found)
        return;
    Close.woke = ActAndWaitInput([box] { ClickAt(box); }, [] { return EventKind == 2; });
    Close.openAfter = IsWindow(main) != FALSE;
}

TEST(Capture, DialogFlagTurnsCloseIntoAnEvent) {
    ASSERT_EQ(0, RunScenario(DialogFlagCloseScenario));
    ASSERT_TRUE(Close.found);
    EXPECT_TRUE(Close.woke);
    EXPECT_TRUE(Close.openAfter);
}

// The waits: what wakes them and what they reset.
struct WaitResult {
    bool timerWokeWaitMessage = false;
    bool paintWokeWaitMessage = false;
    bool waitInputIgnoredOtherTimer = false;
    LONG numberAfterWaitMessage = -1;
    LONG_PTR wParamAfterWaitMessage = 0, lParamAfterWaitMessage = 0;
    LONG_PTR wParamAfterWaitInput = -1, lParamAfterWaitInput = -1;
    bool setEventKeptForNextWait = false;
    bool lostPulse = false;
} Waits;

void WaitScenario() {
    HWND main = OpenTestWindow();
    // A timer of another id wakes WaitMessage (a dispatched message) but not WaitInput.
    RunOnGuiThread([main] { SetTimer(main, 7, 20, nullptr); });
    Script::WaitMessage();
    Waits.timerWokeWaitMessage = true;
    ArmTimeout(250);
    WaitInput();
    Waits.waitInputIgnoredOtherTimer = TimerFlag != 0;
    DisarmTimeout();

    // A captured message that arrives while nobody waits: WaitMessage resets
    // only its number, WaitInput all three words.
    SetUserMessages(1, WM_COMMAND);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(42, 0), 4242);
    Script::WaitMessage();
    Waits.numberAfterWaitMessage = UserMessage.number;
    Waits.wParamAfterWaitMessage = UserMessage.wParam;
    Waits.lParamAfterWaitMessage = UserMessage.lParam;
    ArmTimeout(100);
    WaitInput();
    Waits.wParamAfterWaitInput = UserMessage.wParam;
    Waits.lParamAfterWaitInput = UserMessage.lParam;
    DisarmTimeout();
    SetUserMessages(1, 0);
    RunOnGuiThread([main] { KillTimer(main, 7); });

    // A paint message wakes WaitMessage. Other messages may be dispatched
    // after it now and then, so it is tried again, with a generous limit.
    // The wake is a pulse: a paint done before the wait began wakes nobody,
    // so a timer of another id ends such a wait soon and the paint is tried
    // again.
    ArmTimeout(10000);
    RunOnGuiThread([main] { SetTimer(main, 7, 50, nullptr); });
    while (TimerFlag == 0 && !Waits.paintWokeWaitMessage) {
        InvalidateRect(main, nullptr, FALSE);
        Script::WaitMessage();
        Waits.paintWokeWaitMessage = MessageAtLastWait == WM_PAINT;
    }
    RunOnGuiThread([main] { KillTimer(main, 7); });
    DisarmTimeout();

    // Without automatic repainting, WM_PAINT sets InputEvent: the next wait
    // takes it even though it started later.
    __atomic_exchange_n(&AutoPaint, 0, __ATOMIC_SEQ_CST);
    StoreLong(&PaintedFlag, 0);
    InvalidateRect(main, nullptr, TRUE);
    WaitMessageUntil([] { return PaintedFlag != 0; });
    ArmTimeout(2000);
    WaitInput();
    Waits.setEventKeptForNextWait = PaintedFlag != 0 && TimerFlag == 0;
    DisarmTimeout();
    __atomic_exchange_n(&AutoPaint, 2, __ATOMIC_SEQ_CST);

    // A pulse while nobody waits is lost.
    SendMessageA(main, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    ArmTimeout(200);
    WaitInput();
    Waits.lostPulse = TimerFlag != 0;
    DisarmTimeout();
}

TEST(Waits, WhatWakesThemAndWhatTheyReset) {
    ASSERT_EQ(0, RunScenario(WaitScenario));
    EXPECT_TRUE(Waits.timerWokeWaitMessage);
    EXPECT_TRUE(Waits.waitInputIgnoredOtherTimer);
    EXPECT_EQ(0, Waits.numberAfterWaitMessage);
    EXPECT_EQ(42, Waits.wParamAfterWaitMessage);
    EXPECT_EQ(4242, Waits.lParamAfterWaitMessage);
    EXPECT_EQ(0, Waits.wParamAfterWaitInput);
    EXPECT_EQ(0, Waits.lParamAfterWaitInput);
    EXPECT_TRUE(Waits.paintWokeWaitMessage);
    EXPECT_TRUE(Waits.setEventKeptForNextWait);
    EXPECT_TRUE(Waits.lostPulse);
}

} // namespace
