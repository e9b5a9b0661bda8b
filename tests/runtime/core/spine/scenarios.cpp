// Runtime scenarios. Each script either ends with EndProgram (exit code 0) or
// is ended by the destruction of the main window; a failed check ends the
// child process with the check's own code, so the test can tell which failed.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"
#include "runtime/core/string_value.h"
#include "runtime/window/window_classes.h"
#include "spine_support.h"

namespace {

using Word = std::uintptr_t;

template <typename T> Word W(T value) {
    return reinterpret_cast<Word>(value);
}

LPARAM P(Word *block) {
    return reinterpret_cast<LPARAM>(block);
}

volatile LONG ScriptLoops;
volatile DWORD DestroyTick;
volatile DWORD EndTick;

void DestroyMain() {
    HWND main = MainWindow;
    if (main != nullptr && IsWindow(main)) {
        DestroyTick = GetTickCount();
        DestroyWindow(main);
    }
}

// ---- automatic control ids ----------------------------------------------

HWND OpenSecondWindow(HWND owner) {
    Word *block = NewRequestBlock(7);
    block[0] = W("second");
    block[1] = W(owner);
    block[2] = 320;
    block[3] = 10;
    block[4] = 200;
    block[5] = 150;
    PostRequestAndWait(GR_CREATE_DIALOG_WINDOW, P(block));
    HWND window = reinterpret_cast<HWND>(block[6]);
    FreeRequestBlock(block);
    return window;
}

void IdsScript() {
    HWND main = OpenMainWindow();
    Check(main != nullptr, 10, "main window created");
    Check(GetMenu(main) == nullptr, 11, "missing menu LEER gives no menu");
    Check(GetDlgCtrlID(CreateChild("BUTTON", main)) == 1000, 12, "first automatic id 1000");
    HWND second = OpenSecondWindow(main);
    Check(second != nullptr && GetWindow(second, GW_OWNER) == main, 13, "second window owned by main");
    Check(GetDlgCtrlID(CreateChild("BUTTON", second)) == 1001, 14, "ids count across windows");
    Check(CreateChild("NoSuchClassAtAll", main) == nullptr, 15, "unknown class fails");
    Check(GetDlgCtrlID(CreateChild("BUTTON", main, true, 77)) == 77, 16, "explicit id kept");
    Check(GetDlgCtrlID(CreateChild("BUTTON", main)) == 1003, 17, "failed creation used up 1002");
    EndProgram();
}

// ---- the request kinds --------------------------------------------------

DWORD WINAPI PostLater(LPVOID window) {
    Sleep(150);
    PostMessageA(static_cast<HWND>(window), WM_USER + 6, 0, 0);
    return 0;
}

DWORD WINAPI CloseMenuLater(LPVOID) {
    for (int i = 0; i < 200; ++i) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) {
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

void MissingTemplatesComplete(HWND main) {
    Word *dialog = NewRequestBlock(7);
    dialog[0] = W("t");
    dialog[1] = W(main);
    dialog[6] = 0xDEAD;
    PostRequestAndWait(GR_CREATE_LDIALOG, P(dialog));
    Check(dialog[6] == 0, 20, "LDIALOG missing: null handle");
    FreeRequestBlock(dialog);

    Word resource[4] = {W("LDIALOG"), W(main), W(Instance), 0xDEAD};
    PostRequestAndWait(GR_CREATE_RESOURCE_DIALOG, P(resource));
    Check(resource[3] == 0, 21, "resource dialog missing: null handle");
    resource[0] = W("123");
    resource[3] = 0xDEAD;
    PostRequestAndWait(GR_CREATE_RESOURCE_DIALOG, P(resource));
    Check(resource[3] == 0, 22, "numbered resource dialog missing: null handle");

    // The modal template dialogs fail at once and still complete.
    Word modal[3] = {0, 2, 0};
    PostRequestAndWait(GR_EDIT_BOX_DIALOG, P(modal));
    modal[1] = 3;
    PostRequestAndWait(GR_LIST_BOX_DIALOG, P(modal));
    PostRequestAndWait(GR_INPUT_DIALOG, P(modal));
}

void UnknownCodesIgnored() {
    // None of these may complete anything: only the awaited request below may
    // set RequestDoneEvent, once.
    PostRequestNoWait(0xA000, 0);
    PostRequestNoWait(LastRequestCode + 1, 0);
    PostRequestNoWait(0xFFFF, 0);
    PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
    PostRequestNoWait(GR_LEAVE_FAST_LOOP, 0);
    PostRequestNoWait(GR_PUMP_ALL, 0);
    Check(SendRequest(LastRequestCode + 1, 0) == 0, 30, "unknown sent code returns 0");
    Word peek = 77;
    PostRequestAndWait(GR_PEEK_INPUT, reinterpret_cast<LPARAM>(&peek));
    Check(peek == 0 || peek == 1, 31, "peek result stored");
    Check(WaitForSingleObject(RequestDoneEvent, 0) == WAIT_TIMEOUT, 32, "no stray completion");

    // The request window serves only its five kinds when sent.
    Word block[7] = {W("x"), 0, 0, 0, 50, 50, 0xDEAD};
    Check(SendRequest(GR_CREATE_DIALOG_WINDOW, P(block)) == 0 && block[6] == 0xDEAD, 33,
          "posted-only kind not served when sent");
}

void WindowKinds(HWND main, int &nextId) {
    Word control[CONTROL_BLOCK_WORDS] = {};
    control[CB_STYLE] = WS_CHILD | WS_VISIBLE;
    control[CB_CLASS] = W("BUTTON");
    control[CB_TEXT] = W("posted");
    control[CB_PARENT] = W(main);
    PostRequestAndWait(GR_CREATE_CONTROL, P(control));
    HWND posted = reinterpret_cast<HWND>(control[CB_RESULT]);
    Check(posted != nullptr && GetDlgCtrlID(posted) == nextId++, 40, "posted control created");

    Word destroy[2] = {W(posted), 0};
    SendRequest(GR_DESTROY_WINDOW, P(destroy));
    Check(destroy[1] != 0 && !IsWindow(posted), 41, "window destroyed");
    SendRequest(GR_DESTROY_WINDOW, P(destroy));
    Check(destroy[1] == 0, 42, "destroying it again fails");

    HWND list = CreateChild("LISTBOX", main, false, 0, WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS);
    ++nextId;
    std::vector<StringValue> items{StringValue("b"), StringValue("a"), StringValue("c")};
    Word fill[5] = {W(list), LB_ADDSTRING, W(&items), 0, 0};
    PostRequestAndWait(GR_FILL_LIST, P(fill));
    char text[8] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Check(SendMessageA(list, LB_GETCOUNT, 0, 0) == 3 && std::strcmp(text, "b") == 0, 43,
          "list filled in order");
    std::vector<StringValue> rows;
    Word read[2] = {W(list), W(&rows)};
    PostRequestAndWait(GR_READ_LIST, P(read));
    Check(rows.size() == 3 && std::strcmp(rows[0].c_str(), "b") == 0 &&
              std::strcmp(rows[2].c_str(), "c") == 0,
          44, "list read back in order");

    Word tab[CONTROL_BLOCK_WORDS] = {};
    tab[CB_EXPLICIT_ID] = 1; // ignored: tab controls always take the automatic id
    tab[CB_ID] = 5;
    tab[CB_STYLE] = WS_CHILD | WS_VISIBLE;
    tab[CB_CLASS] = W("SysTabControl32");
    tab[CB_TEXT] = W("First");
    tab[CB_WIDTH] = 100;
    tab[CB_HEIGHT] = 60;
    tab[CB_PARENT] = W(main);
    PostRequestAndWait(GR_CREATE_TAB_CONTROL, P(tab));
    HWND tabs = reinterpret_cast<HWND>(tab[CB_RESULT]);
    char label[16] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    Check(tabs != nullptr && GetDlgCtrlID(tabs) == nextId++ &&
              SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1 && std::strcmp(label, "First") == 0 &&
              GetWindowTextLengthA(tabs) == 0,
          44, "tab control with one tab");

    HWND edit = CreateChild("EDIT", main);
    ++nextId;
    Word upDown[9] = {0, 0, 0, 0, W(main), W(edit), 10, 0, 5};
    PostRequestAndWait(GR_CREATE_UP_DOWN, P(upDown));
    HWND spinner = FindWindowExA(main, nullptr, "msctls_updown32", nullptr);
    int low = -1;
    int high = -1;
    if (spinner != nullptr) {
        SendMessageA(spinner, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
    }
    Check(spinner != nullptr && GetDlgCtrlID(spinner) == nextId++ && low == 0 && high == 10 &&
              SendMessageA(spinner, UDM_GETPOS32, 0, 0) == 5,
          45, "up-down control with range and position");

    Word status[3] = {W(main), W("ready"), 0};
    PostRequestAndWait(GR_CREATE_STATUS_BAR, P(status));
    HWND bar = reinterpret_cast<HWND>(status[2]);
    Check(bar != nullptr && GetDlgCtrlID(bar) == nextId++, 46, "status bar");

    Word tip[4] = {W(main), W(edit), W("tip"), 0};
    PostRequestAndWait(GR_CREATE_TOOLTIP, P(tip));
    HWND tips = reinterpret_cast<HWND>(tip[3]);
    Check(tips != nullptr && SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0) == 1, 47, "tooltip with one tool");

    Check(GetDlgCtrlID(CreateChild("BUTTON", main)) == nextId++, 48, "ids used up by all kinds");
}

void ThreadKinds(HWND main) {
    Word call[3] = {W(&GetCurrentThreadId), 0, 0};
    SendRequest(GR_CALL_FUNCTION, P(call));
    Check(call[2] == GuiThreadId && GuiThreadId != GetCurrentThreadId(), 50, "call runs on the GUI thread");

    DWORD start = GetTickCount();
    SendRequest(GR_SLEEP, 150);
    Check(GetTickCount() - start >= 140, 51, "sleep request blocks for its time");

    Word pending = 5;
    SendRequest(GR_INPUT_PENDING, reinterpret_cast<LPARAM>(&pending));
    Check(pending == 0 || pending == 1, 52, "input pending answered");
    PostRequestAndWait(GR_PUMP_PENDING, 0);

    PostMessageA(main, WM_USER + 5, 11, 22);
    for (int i = 0; i < 400 && LastMessage.number != WM_USER + 5; ++i) {
        Sleep(5);
    }
    Check(LastMessage.number == WM_USER + 5 && LastMessage.wParam == 11 && LastMessage.lParam == 22 &&
              LastMessage.window == reinterpret_cast<LONG_PTR>(main),
          53, "last message recorded");

    HANDLE poster = CreateThread(nullptr, 0, PostLater, main, 0, nullptr);
    Check(ScriptWait(MessagePumpedEvent, 3000) == WAIT_OBJECT_0, 54, "dispatch pulses MessagePumpedEvent");
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);

    PopupMenu = CreatePopupMenu();
    AppendMenuA(PopupMenu, MF_STRING, 1, "One");
    HANDLE closer = CreateThread(nullptr, 0, CloseMenuLater, nullptr, 0, nullptr);
    Word at[2] = {5, 5};
    PostRequestAndWait(GR_SHOW_POPUP, P(at));
    WaitForSingleObject(closer, INFINITE);
    CloseHandle(closer);
    DestroyMenu(PopupMenu);
    PopupMenu = nullptr;
}

void RequestsScript() {
    HWND main = OpenMainWindow();
    Check(main != nullptr, 10, "main window");
    MissingTemplatesComplete(main);
    UnknownCodesIgnored();
    int nextId = 1000;
    WindowKinds(main, nextId);
    ThreadKinds(main);
    EndProgram();
}

// ---- the command line ---------------------------------------------------

void ParamsScript() {
    Check(ParameterCount == 3 && ParameterList.size() == 4, 60, "four tokens");
    Check(std::strcmp(ParameterList[2].c_str(), "two words") == 0, 61, "quoted token");
    Check(std::strcmp(ParameterList[3].c_str(), "x") == 0, 62, "plain token");
    Check(std::strstr(GetCommandLineA(), "\"two words\" x") != nullptr, 63, "command line left intact");
    // Returning from the main routine ends the program like EndProgram.
}

// ---- fast loop ----------------------------------------------------------

volatile LONG PaintCount;

LRESULT CALLBACK PaintCounterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        InterlockedIncrement(&PaintCount);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPaintCounter() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PaintCounterProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SpinePaintCounter";
    RegisterClassA(&wc);
}

bool WaitForPaint(DWORD ms) {
    for (DWORD waited = 0; waited < ms && PaintCount == 0; waited += 10) {
        Sleep(10);
    }
    return PaintCount != 0;
}

void FastScript() {
    InterlockedExchange(&FastMode, 1);
    PostRequestNoWait(GR_ENTER_FAST_LOOP, 0);
    HWND painted = CreateChild("SpinePaintCounter", nullptr, true, 0, WS_POPUP | WS_VISIBLE);
    Check(painted != nullptr, 70, "window created while in fast mode");
    InvalidateRect(painted, nullptr, TRUE);
    Sleep(300);
    Check(PaintCount == 0, 71, "no WM_PAINT while the fast loop runs");
    Word peek = 7;
    PostRequestAndWait(GR_PEEK_INPUT, reinterpret_cast<LPARAM>(&peek));
    Check(peek != 7, 72, "posted requests still execute");

    PostRequestNoWait(GR_PUMP_ALL, 0);
    Check(WaitForPaint(3000), 73, "WM_PAINT delivered at the next pump");
    PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
    PostRequestAndWait(GR_PEEK_INPUT, reinterpret_cast<LPARAM>(&peek));
    InterlockedExchange(&PaintCount, 0);
    InvalidateRect(painted, nullptr, TRUE);
    Sleep(300);
    Check(PaintCount == 0, 74, "no painting after GR_PUMP_REQUESTS_ONLY");

    // A nested fast loop: ending must unwind both levels without waiting.
    PostRequestNoWait(GR_ENTER_FAST_LOOP, 0);
    PostRequestAndWait(GR_PEEK_INPUT, reinterpret_cast<LPARAM>(&peek));
    EndTick = GetTickCount();
    EndProgram();
}

int FastFinish(int code) {
    if (GetTickCount() - EndTick > 1500) {
        return 75;
    }
    return code;
}

// ---- ending by the main window's destruction ----------------------------

void CALLBACK DestroyWhenBusy(HWND, UINT, UINT_PTR, DWORD) {
    if (ScriptLoops > 3) {
        DestroyMain();
    }
}

void PrepareDestroyTimer() {
    SetTimer(nullptr, 0, 30, DestroyWhenBusy);
}

void BusyLoop(HWND main) {
    Word word = 0;
    for (unsigned i = 0;; ++i) {
        volatile unsigned spin = 0;
        for (unsigned k = 0; k < 20000; ++k) {
            spin = spin + k;
        }
        // Once the window is gone no runtime operation may return. The window
        // is looked at before the operation: looking after it would race with
        // a destroy that comes between the operation's return and the look.
        const bool goneBefore = !IsWindow(main);
        switch (i % 3) {
        case 0:
            SendRequest(GR_SLEEP, 1);
            break;
        case 1:
            PostRequestAndWait(GR_PEEK_INPUT, reinterpret_cast<LPARAM>(&word));
            break;
        default:
            SendRequest(GR_INPUT_PENDING, reinterpret_cast<LPARAM>(&word));
            break;
        }
        if (goneBefore) {
            ExitProcess(3);
        }
        InterlockedIncrement(&ScriptLoops);
    }
}

void DestroyBusyScript() {
    BusyLoop(OpenMainWindow());
}

void DestroyBusyFastScript() {
    HWND main = OpenMainWindow();
    InterlockedExchange(&FastMode, 1);
    PostRequestNoWait(GR_ENTER_FAST_LOOP, 0);
    BusyLoop(main);
}

int PromptFinish(int code) {
    if (DestroyTick == 0 || GetTickCount() - DestroyTick > 1500) {
        return 76;
    }
    return code;
}

void DestroySpinningScript() {
    OpenMainWindow();
    InterlockedIncrement(&ScriptLoops);
    InterlockedIncrement(&ScriptLoops);
    InterlockedIncrement(&ScriptLoops);
    InterlockedIncrement(&ScriptLoops);
    for (volatile unsigned spin = 0;; spin = spin + 1) {
    }
}

void DestroyByRequestScript() {
    HWND main = OpenMainWindow();
    Word destroy[2] = {W(main), 0};
    SendRequest(GR_DESTROY_WINDOW, P(destroy));
    ExitProcess(3); // must not be reached
}

void MainWindowFailsScript() {
    UnregisterClassA(MainWindowClassName, Instance);
    OpenMainWindow();
    ExitProcess(4); // must not be reached
}

// ---- holding ------------------------------------------------------------

volatile DWORD HoldStart;
volatile LONG HoldPhase;

void CALLBACK HoldAndRelease(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HoldPhase == 0 && ScriptLoops > 5) {
        HoldScriptThread();
        HoldStart = GetTickCount();
        HoldPhase = 1;
    } else if (HoldPhase == 1 && GetTickCount() - HoldStart >= 300) {
        ReleaseScriptThread();
        HoldPhase = 2;
        KillTimer(nullptr, timer);
    }
}

void CALLBACK HoldAndDestroy(HWND, UINT, UINT_PTR, DWORD) {
    if (HoldPhase == 0 && ScriptLoops > 5) {
        HoldScriptThread();
        HoldPhase = 1;
    } else if (HoldPhase == 1) {
        HoldPhase = 2;
        DestroyMain();
    }
}

void HoldScript() {
    HWND main = OpenMainWindow();
    DWORD start = GetTickCount();
    DWORD last = start;
    DWORD longest = 0;
    while (GetTickCount() - start < 1500) {
        SendRequest(GR_SLEEP, 1);
        DWORD now = GetTickCount();
        longest = now - last > longest ? now - last : longest;
        last = now;
        InterlockedIncrement(&ScriptLoops);
    }
    Check(HoldPhase == 2, 80, "hold and release happened");
    Check(longest >= 250 && longest < 1000, 81, "held for the length of the hold only");
    Check(IsWindow(main) != 0, 82, "window still there");
    EndProgram();
}

void HoldDestroyScript() {
    HWND main = OpenMainWindow();
    for (;;) {
        SendRequest(GR_SLEEP, 1);
        if (!IsWindow(main)) {
            ExitProcess(3);
        }
        InterlockedIncrement(&ScriptLoops);
    }
}

void PrepareHoldTimer() {
    SetTimer(nullptr, 0, 20, HoldAndRelease);
}

void PrepareHoldDestroyTimer() {
    SetTimer(nullptr, 0, 20, HoldAndDestroy);
}

} // namespace

const Scenario Scenarios[] = {
    {"ids", nullptr, IdsScript, nullptr},
    {"requests", nullptr, RequestsScript, nullptr},
    {"params", nullptr, ParamsScript, nullptr},
    {"fast", RegisterPaintCounter, FastScript, FastFinish},
    {"destroy_busy", PrepareDestroyTimer, DestroyBusyScript, PromptFinish},
    {"destroy_busy_fast", PrepareDestroyTimer, DestroyBusyFastScript, PromptFinish},
    {"destroy_spinning", PrepareDestroyTimer, DestroySpinningScript, nullptr},
    {"destroy_by_request", nullptr, DestroyByRequestScript, nullptr},
    {"main_window_fails", nullptr, MainWindowFailsScript, nullptr},
    {"hold", PrepareHoldTimer, HoldScript, nullptr},
    {"hold_destroy", PrepareHoldDestroyTimer, HoldDestroyScript, PromptFinish},
    {nullptr, nullptr, nullptr, nullptr},
};
