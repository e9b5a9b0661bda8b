#include "procs_support.h"

#include <cstdint>
#include <cstdio>

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"

namespace {

using Word = std::uintptr_t;

constexpr UINT RunWorkMessage = WM_APP + 7;
constexpr char ProbeClassName[] = "QsProcsProbe";

void (*CurrentScript)() = nullptr;
HWND Probe = nullptr;

template <typename T> Word W(T value) {
    return reinterpret_cast<Word>(value);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RunWorkMessage) {
        (*reinterpret_cast<const std::function<void()> *>(lParam))();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void DestroyViaRequest(HWND window) {
    Word *block = NewRequestBlock(2);
    block[0] = W(window);
    SendRequest(GR_DESTROY_WINDOW, reinterpret_cast<LPARAM>(block));
    FreeRequestBlock(block);
}

// The script: the scenario, then the main window's destruction, which ends the
// run (the runtime's classes can only be unregistered once their windows are gone).
void ScriptWrapper() {
    CurrentScript();
    if (MainWindow && IsWindow(MainWindow))
        DestroyViaRequest(MainWindow);
}

struct WatchdogData {
    HANDLE done;
    DWORD timeoutMs;
};

DWORD WINAPI WatchScenario(LPVOID parameter) {
    WatchdogData *data = static_cast<WatchdogData *>(parameter);
    if (WaitForSingleObject(data->done, data->timeoutMs) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "scenario did not end within %lu ms\n",
                     static_cast<unsigned long>(data->timeoutMs));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

INPUT MouseInput(POINT screen, DWORD flags) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

void Send(INPUT input) {
    SendInput(1, &input, sizeof input);
}

} // namespace

int RunScenario(void (*script)(), DWORD timeoutMs) {
    CurrentScript = script;
    WatchdogData data = {CreateEventA(nullptr, TRUE, FALSE, nullptr), timeoutMs};
    HANDLE watch = CreateThread(nullptr, 0, WatchScenario, &data, 0, nullptr);
    int code = RunRuntime(GetModuleHandleA(nullptr), ScriptWrapper);
    SetEvent(data.done);
    WaitForSingleObject(watch, INFINITE);
    CloseHandle(watch);
    CloseHandle(data.done);
    return code;
}

HWND OpenTestWindow(int x, int y, int width, int height) {
    Word *block = NewRequestBlock(4); // the GUI thread frees it
    block[0] = static_cast<Word>(x);
    block[1] = static_cast<Word>(y);
    block[2] = static_cast<Word>(width);
    block[3] = static_cast<Word>(height);
    PostRequestAndWait(GR_CREATE_MAIN_WINDOW, reinterpret_cast<LPARAM>(block));
    return MainWindow;
}

HWND CreateTestControl(const char *className, const char *text, DWORD style, int id, int x, int y, int width,
                       int height, HWND parent) {
    Word *block = NewRequestBlock(CONTROL_BLOCK_WORDS);
    block[CB_EXPLICIT_ID] = 1;
    block[CB_STYLE] = style;
    block[CB_CLASS] = W(className);
    block[CB_TEXT] = W(text);
    block[CB_X] = static_cast<Word>(x);
    block[CB_Y] = static_cast<Word>(y);
    block[CB_WIDTH] = static_cast<Word>(width);
    block[CB_HEIGHT] = static_cast<Word>(height);
    block[CB_PARENT] = W(parent);
    block[CB_ID] = static_cast<Word>(id);
    block[CB_INSTANCE] = W(GetModuleHandleA(nullptr));
    SendRequest(GR_CREATE_CONTROL, reinterpret_cast<LPARAM>(block));
    HWND created = reinterpret_cast<HWND>(block[CB_RESULT]);
    FreeRequestBlock(block);
    return created;
}

HWND OpenTestDialogWindow(HWND owner, int x, int y, int width, int height) {
    Word *block = NewRequestBlock(7);
    block[0] = W("second");
    block[1] = W(owner);
    block[2] = static_cast<Word>(x);
    block[3] = static_cast<Word>(y);
    block[4] = static_cast<Word>(width);
    block[5] = static_cast<Word>(height);
    PostRequestAndWait(GR_CREATE_DIALOG_WINDOW, reinterpret_cast<LPARAM>(block));
    HWND window = reinterpret_cast<HWND>(block[6]);
    FreeRequestBlock(block);
    return window;
}

void RunOnGuiThread(const std::function<void()> &work) {
    if (!Probe || !IsWindow(Probe)) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = ProbeClassName;
        RegisterClassA(&wc); // fails harmlessly once registered
        // Owned by the main window, so it goes when the run ends.
        Probe = CreateTestControl(ProbeClassName, "", WS_POPUP, 0, 0, 0, 1, 1, MainWindow);
    }
    SendMessageA(Probe, RunWorkMessage, 0, reinterpret_cast<LPARAM>(&work));
}

void Activate(HWND window) {
    SetForegroundWindow(window);
    SetFocus(window);
}

void ClickAt(POINT screen) {
    Send(MouseInput(screen, 0));
    Send(MouseInput(screen, MOUSEEVENTF_LEFTDOWN));
    Send(MouseInput(screen, MOUSEEVENTF_LEFTUP));
}

void ClickWindow(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void PressKey(WORD virtualKey) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    Send(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    Send(input);
}

void Drag(POINT from, POINT to) {
    Send(MouseInput(from, 0));
    Sleep(20);
    Send(MouseInput(from, MOUSEEVENTF_LEFTDOWN));
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        Sleep(15); // the move loop reads the pointer as it goes
        Send(MouseInput({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0));
    }
    Sleep(20);
    Send(MouseInput(to, MOUSEEVENTF_LEFTUP));
}

namespace {

bool Hits(HWND window, int x, int y, LRESULT hit) {
    return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit;
}

// The middle of the area around a point that hits: a click on the edge of a
// caption button does not press it.
POINT MiddleOfArea(HWND window, const RECT &r, int x, int y, LRESULT hit) {
    int bottom = y, left = x;
    while (bottom + 1 < r.bottom && Hits(window, x, bottom + 1, hit))
        ++bottom;
    int middleY = (y + bottom) / 2;
    while (left - 1 > r.left && Hits(window, left - 1, middleY, hit))
        --left;
    return {(left + x) / 2, middleY};
}

} // namespace

POINT FindHitPoint(HWND window, LRESULT hit) {
    RECT r;
    GetWindowRect(window, &r);
    int middleX = (r.left + r.right) / 2, middleY = (r.top + r.bottom) / 2;
    // The middle row from the right (side borders, client area), the middle
    // column from the top (caption, top and bottom borders), then the rows of
    // the top 48 pixels from the right (caption buttons).
    for (int x = r.right - 1; x > r.left; --x) {
        if (Hits(window, x, middleY, hit))
            return MiddleOfArea(window, r, x, middleY, hit);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        if (Hits(window, middleX, y, hit))
            return MiddleOfArea(window, r, middleX, y, hit);
    }
    for (int y = r.top + 1; y < r.top + 48 && y < r.bottom; y += 2) {
        for (int x = r.right - 2; x > r.left; x -= 2) {
            if (Hits(window, x, y, hit))
                return MiddleOfArea(window, r, x, y, hit);
        }
    }
    return {-1, -1};
}

void ArmTimeout(DWORD ms) {
    StoreLong(&TimerFlag, 0);
    RunOnGuiThread([ms] { SetTimer(MainWindow, 1, ms, nullptr); });
}

void DisarmTimeout() {
    RunOnGuiThread([] { KillTimer(MainWindow, 1); });
}

bool ActAndWaitInput(const std::function<void()> &act, const std::function<bool()> &accept, int attempts,
                     DWORD timeoutMs) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        ArmTimeout(timeoutMs);
        act();
        for (;;) {
            WaitInput();
            if (accept()) {
                DisarmTimeout();
                return true;
            }
            if (TimerFlag != 0)
                break;
        }
        DisarmTimeout();
    }
    return false;
}

bool WaitMessageUntil(const std::function<bool()> &accept, DWORD timeoutMs) {
    ArmTimeout(timeoutMs);
    bool accepted = false;
    while (!(accepted = accept()) && TimerFlag == 0)
        Script::WaitMessage();
    DisarmTimeout();
    return accepted;
}
