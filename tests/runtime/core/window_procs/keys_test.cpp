// Keyboard: F1 help over a control, Enter in dialog mode, keys typed into the
// main window itself, and the focus operations.
#include <gtest/gtest.h>

#include "procs_support.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/window_settings.h"

namespace {

constexpr DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

struct HelpResult {
    bool woke = false;
    HWND button = nullptr;
    HWND focusAfterWait = nullptr;
} Help;

void HelpScenario() {
    HWND main = OpenTestWindow();
    Help.button = CreateTestControl("BUTTON", "Help me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 20, 20,
                                    120, 40, main);
    Activate(main);
    Help.woke = ActAndWaitInput(
        [] {
            SetFocusTo(Help.button);
            PressKey(VK_F1);
        },
        [] { return EventKind == 5; });
    Help.focusAfterWait = FocusWindow;
}

TEST(Keys, F1OverAControlReportsTheNegatedHandle) {
    ASSERT_EQ(0, RunScenario(HelpScenario));
    ASSERT_TRUE(Help.woke);
    // The wait keeps the negated handle instead of reading the focus.
    EXPECT_EQ(reinterpret_cast<HWND>(0 - reinterpret_cast<std::uintptr_t>(Help.button)), Help.focusAfterWait);
}

struct EnterResult {
    bool woke = false, wokeAtLast = false;
    HWND first = nullptr, second = nullptr;
    HWND focusAfter = nullptr, focusWindowAfter = nullptr, focusAfterLast = nullptr;
    HWND active = nullptr;
} Enter;

void EnterScenario() {
    InterlockedExchange(&WindowStyleSetting, WindowStyleDialog);
    HWND main = OpenTestWindow();
    Enter.first = CreateTestControl("EDIT", "one", EditStyle, 21, 20, 20, 150, 24, main);
    Enter.second = CreateTestControl("EDIT", "two", EditStyle, 22, 20, 60, 150, 24, main);
    Activate(main);
    Enter.active = ActiveDialog;
    Enter.woke = ActAndWaitInput(
        [] {
            SetFocusTo(Enter.first);
            PressKey(VK_RETURN);
        },
        [] { return EventKind == 13; });
    Enter.focusAfter = GetFocus();
    Enter.focusWindowAfter = FocusWindow;
    // Enter in the last control: there is no next window, the focus stays.
    Enter.wokeAtLast = ActAndWaitInput(
        [] {
            SetFocusTo(Enter.second);
            PressKey(VK_RETURN);
        },
        [] { return EventKind == 13; });
    Enter.focusAfterLast = GetFocus();
}

TEST(Keys, EnterInDialogModeMovesTheFocusOn) {
    ASSERT_EQ(0, RunScenario(EnterScenario));
    EXPECT_NE(nullptr, Enter.active);
    ASSERT_TRUE(Enter.woke);
    EXPECT_EQ(Enter.second, Enter.focusAfter);
    EXPECT_EQ(Enter.second, Enter.focusWindowAfter);
    ASSERT_TRUE(Enter.wokeAtLast);
    EXPECT_EQ(Enter.second, Enter.focusAfterLast);
}

struct TypedResult {
    bool wokeOnLetter = false, wokeOnArrow = false;
    LONG letterKind = -1, letterCode = -1, arrowKind = -1, arrowCode = -1;
} Typed;

void TypedScenario() {
    HWND main = OpenTestWindow();
    Activate(main);
    Typed.wokeOnLetter =
        ActAndWaitInput([main] { SetFocusTo(main), PressKey('A'); }, [] { return KeyCode == 'A'; });
    Typed.letterKind = EventKind;
    Typed.letterCode = KeyCode;
    Typed.wokeOnArrow =
        ActAndWaitInput([main] { SetFocusTo(main), PressKey(VK_LEFT); }, [] { return KeyCode == VK_LEFT; });
    Typed.arrowKind = EventKind;
    Typed.arrowCode = KeyCode;
}

TEST(Keys, KeysTypedIntoTheMainWindowReportCharacterAndKey) {
    ASSERT_EQ(0, RunScenario(TypedScenario));
    ASSERT_TRUE(Typed.wokeOnLetter);
    EXPECT_EQ('a', Typed.letterKind); // the character, recorded before the runtime's own repost wakes
    EXPECT_EQ('A', Typed.letterCode);
    ASSERT_TRUE(Typed.wokeOnArrow);
    EXPECT_EQ(0, Typed.arrowKind); // no character
    EXPECT_EQ(VK_LEFT, Typed.arrowCode);
}

struct FocusResult {
    HWND edit = nullptr;
    bool setFocusTo = false, hasEdit = false, hasMain = true, hasByGetFocus = false;
    DWORD sleptMs = 0;
    bool guiBlocked = false;
} Focus;

DWORD WINAPI ProbeGui(LPVOID) {
    Sleep(30); // SleepMs below has started by then
    DWORD_PTR result;
    Focus.guiBlocked = SendMessageTimeoutA(MainWindow, WM_NULL, 0, 0, SMTO_BLOCK, 50, &result) == 0;
    return 0;
}

void FocusScenario() {
    HWND main = OpenTestWindow();
    Focus.edit = CreateTestControl("EDIT", "", EditStyle, 30, 20, 20, 150, 24, main);
    Activate(main);
    SetFocusTo(Focus.edit);
    Focus.setFocusTo = FocusWindow == Focus.edit && GetFocus() == Focus.edit;
    Focus.hasEdit = HasFocus(Focus.edit);
    Focus.hasMain = HasFocus(main);
    StoreWindow(&FocusWindow, nullptr);
    Focus.hasByGetFocus = HasFocus(Focus.edit);

    HANDLE probe = CreateThread(nullptr, 0, ProbeGui, nullptr, 0, nullptr);
    DWORD start = GetTickCount();
    SleepMs(200);
    Focus.sleptMs = GetTickCount() - start;
    WaitForSingleObject(probe, 5000);
    CloseHandle(probe);
}

TEST(Focus, SetFocusToHasFocusAndSleepMs) {
    ASSERT_EQ(0, RunScenario(FocusScenario));
    EXPECT_TRUE(Focus.setFocusTo);
    EXPECT_TRUE(Focus.hasEdit);
    EXPECT_FALSE(Focus.hasMain);
    EXPECT_TRUE(Focus.hasByGetFocus);
    EXPECT_GE(Focus.sleptMs, 180u);
    EXPECT_TRUE(Focus.guiBlocked); // the GUI thread slept, it answered nothing
}

} // namespace
