// Event variables, the registered-message set and the script thread's waits.
#include "runtime/core/events.h"

#include <algorithm>
#include <cstdarg>
#include <initializer_list>
#include <set>

#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"

HANDLE InputEvent = nullptr;
CapturedMessage UserMessage = {0, 0, 0};
volatile LONG EventKind = 0;
volatile LONG MenuItem = 0;
volatile LONG KeyCode = 0;
volatile LONG MouseX = 0;
volatile LONG MouseY = 0;
HWND volatile FocusWindow = nullptr;
HWND volatile CloseRequest = nullptr;
HWND volatile ChildPressWindow = nullptr;
volatile LONG ChildPressRow = -1;
volatile LONG ChildPressCount = 0;
volatile LONG DialogMode = 0;
volatile LONG PaintedFlag = 0;
volatile LONG TimerFlag = 0;
volatile LONG TabChangedFlag = 0;
HWND volatile ChangedTabControl = nullptr;
volatile LONG NotifiedFlag = 0;
volatile LONG NotifyCode = 0;
HWND volatile NotifySender = nullptr;
volatile LONG MouseButtonState = 0;
volatile LONG LastMouseButton = 0;
volatile LONG_PTR Message996Value = 0;
volatile LONG KeyDownFlag = 0;

namespace {

// The registered set, published for the GUI thread without a lock (the script
// thread may be held at any point, so the GUI thread must never wait for it):
// the script thread first drops the count to 0, rewrites the numbers in
// ascending order, then publishes the new count. A reader in between sees a
// smaller set, never a number that was not registered at some point.
volatile LONG UserMessagesActive = 0;
volatile LONG UserMessageCount = 0;
volatile LONG UserMessageNumbers[UserMessageCapacity] = {};

void PublishUserMessages(const std::set<LONG> &set) {
    StoreLong(&UserMessageCount, 0);
    LONG n = 0;
    for (LONG number : set) {
        if (n == UserMessageCapacity)
            break;
        StoreLong(&UserMessageNumbers[n++], number);
    }
    StoreLong(&UserMessageCount, n);
    StoreLong(&UserMessagesActive, n > 0 ? 1 : 0);
}

// Step 1 of both waits; resetWords also clears UserMessage wParam and lParam.
void ResetEventVariables(bool resetWords) {
    StoreLong(&MenuItem, 0);
    StoreLong(&TabChangedFlag, 0);
    StoreLong(&EventKind, 0);
    StoreLong(&KeyCode, 0);
    StoreLong(&UserMessage.number, 0);
    if (resetWords) {
        StoreWord(&UserMessage.wParam, 0);
        StoreWord(&UserMessage.lParam, 0);
    }
    StoreLong(&MouseX, 0);
    StoreLong(&MouseY, 0);
}

// Steps 2 to 6 of both waits; with closeOf, a pending close request of that
// window ends the wait too.
void WaitAndRecord(HANDLE event, HWND closeOf = nullptr) {
    if (FastMode != 0)
        PostRequestNoWait(GR_PUMP_ALL, 0);
    if (closeOf == nullptr) {
        ScriptWait(event);
    } else {
        while (CloseRequest != closeOf && ScriptWait(event, 50) != WAIT_OBJECT_0) {
        }
    }
    if (FastMode != 0)
        PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
    if (EventKind != 5)
        StoreWindow(&FocusWindow, GetFocus());
    StoreLong(&MessageAtLastWait, static_cast<LONG>(LastMessage.number));
}

} // namespace

bool StartInputEvents() {
    // Every run starts from the initial values, even a second run in one process.
    PublishUserMessages({});
    ResetEventVariables(true);
    for (volatile LONG *flag : {&DialogMode, &PaintedFlag, &TimerFlag, &NotifiedFlag, &NotifyCode,
                                &MouseButtonState, &LastMouseButton, &KeyDownFlag, &ChildPressCount})
        StoreLong(flag, 0);
    for (HWND volatile *window :
         {&FocusWindow, &CloseRequest, &ChangedTabControl, &NotifySender, &ChildPressWindow})
        StoreWindow(window, nullptr);
    StoreLong(&ChildPressRow, -1);
    StoreWord(&Message996Value, 0);
    StoreLong(&MessageAtLastWait, 0);
    if (!InputEvent)
        InputEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return InputEvent != nullptr;
}

void EndInputEvents() {
    PublishUserMessages({});
    if (InputEvent)
        CloseHandle(InputEvent);
    InputEvent = nullptr;
}

void SetUserMessages(int count, ...) {
    std::set<LONG> set;
    LONG current[UserMessageCapacity];
    set.insert(current, current + UserMessageList(current));
    va_list args;
    va_start(args, count);
    for (int i = 0; i < count; ++i) {
        LONG number = va_arg(args, int);
        if (number == 0)
            set.clear();
        else
            set.insert(number);
    }
    va_end(args);
    PublishUserMessages(set);
}

bool IsUserMessage(UINT message) {
    if (UserMessagesActive == 0)
        return false;
    LONG n = std::min<LONG>(LONG(UserMessageCount), UserMessageCapacity);
    for (LONG i = 0; i < n; ++i) {
        if (UserMessageNumbers[i] == static_cast<LONG>(message))
            return true;
    }
    return false;
}

int UserMessageList(LONG *out) {
    if (UserMessagesActive == 0)
        return 0;
    LONG n = std::min<LONG>(LONG(UserMessageCount), UserMessageCapacity);
    for (LONG i = 0; i < n; ++i)
        out[i] = UserMessageNumbers[i];
    return static_cast<int>(n);
}

void WaitInput() {
    ResetEventVariables(true);
    WaitAndRecord(InputEvent);
}

void Script::WaitMessage(HWND closeOf) {
    ResetEventVariables(false);
    WaitAndRecord(MessagePumpedEvent, closeOf);
}

void DropUserMessage() {
    StoreLong(&UserMessage.number, 0);
    StoreWord(&UserMessage.wParam, 0);
    StoreWord(&UserMessage.lParam, 0);
}

bool TakeCloseRequest(HWND window) {
    if (window == nullptr)
        return false;
    return InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile *>(&CloseRequest), nullptr,
                                             window) == window;
}

bool HasFocus(HWND w) {
    return w == FocusWindow || w == GetFocus();
}

void SetFocusTo(HWND w) {
    StoreWindow(&FocusWindow, w);
    SetFocus(w);
}

void ShowPopup(int x, int y, HWND focusAfter) {
    std::uintptr_t *block = NewRequestBlock(3);
    block[0] = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(x));
    block[1] = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(y));
    block[2] = reinterpret_cast<std::uintptr_t>(focusAfter);
    StoreLong(&MenuItem, 0);
    PostRequestAndWait(GR_SHOW_POPUP, reinterpret_cast<LPARAM>(block));
    Sleep(0);
    // The menu is used up: clearing the slot keeps a later call from showing
    // or destroying a handle that may since belong to another menu.
    HMENU menu = PopupMenu;
    PopupMenu = nullptr;
    if (menu)
        DestroyMenu(menu);
    FreeRequestBlock(block);
}

void SleepMs(DWORD ms) {
    SendRequest(GR_SLEEP, static_cast<LPARAM>(ms));
    Sleep(0);
}
