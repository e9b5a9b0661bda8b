#include "runtime/core/frame.h"

#include "runtime/core/message_loop.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"
#include "runtime/core/spine_hooks.h"

DWORD GuiThreadId;
HINSTANCE Instance;
std::int32_t ScreenWidth;
std::int32_t ScreenHeight;
std::int32_t NextControlId = 1000;
HANDLE RequestDoneEvent;
HANDLE MessagePumpedEvent;
HWND RequestWindow;
HWND volatile MainWindow;
HWND volatile ActiveDialog;
HANDLE ScriptThread;
volatile LONG FastMode;
HMENU PopupMenu;
volatile LONG DialogResult;

namespace {

const char RequestClassName[] = "CW";

bool CreateRequestWindow() {
    WNDCLASSA wc = {};
    wc.style = 0;
    wc.lpfnWndProc = RequestWindowProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.hInstance = Instance;
    wc.lpszClassName = RequestClassName;
    if (RegisterClassA(&wc) == 0) {
        return false;
    }
    RequestWindow = CreateWindowExA(0, RequestClassName, RequestClassName, 0, 0, 0, 0, 0, nullptr, nullptr,
                                    Instance, nullptr);
    return RequestWindow != nullptr;
}

// The main window (and the windows it owns) still open after the run is
// closed, so that the classes can be unregistered and a later run starts
// clean. Requests the ended script thread left queued are dropped unexecuted
// (their blocks may be gone), and so is the quit message the destruction posts.
void CloseMainWindow() {
    HWND window = MainWindow;
    if (window != nullptr && IsWindow(window)) {
        DestroyWindow(window);
    }
    MainWindow = nullptr;
    MSG left;
    while (PeekMessageA(&left, nullptr, GUI_REQUEST_MESSAGE, GUI_REQUEST_MESSAGE, PM_REMOVE)) {
    }
    while (PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Run step: the script thread runs, the GUI thread pumps until WM_QUIT.
int Run(void (*scriptMain)()) {
    if (!StartScriptThread(scriptMain)) {
        return 1;
    }
    int code = RunMessageLoop();
    FinishScriptThread();
    CloseMainWindow();
    ReleaseRemainingRegistries();
    return code;
}

} // namespace

void StartCore() {
    GuiThreadId = GetCurrentThreadId();
    NextControlId = 1000;
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    MainWindow = nullptr;
    ActiveDialog = nullptr;
    ScriptThread = nullptr;
    InterlockedExchange(&FastMode, 0);
    PopupMenu = nullptr;
    InterlockedExchange(&DialogResult, 0);
    StartNumberDefaults();
    RequestDoneEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    MessagePumpedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    StartScriptControl();
    StartErrorLevel();
    // COM is initialised on this thread when the shell or a file dialog is
    // first used (the shell hooks): loading ole32 here would slow every start.
    LoadParameterList(GetCommandLineA());
    if (!CreateRequestWindow()) {
        ExitProcess(1);
    }
}

void EndCore() {
    DestroyWindow(RequestWindow);
    RequestWindow = nullptr;
    UnregisterClassA(RequestClassName, Instance);
    CloseHandle(RequestDoneEvent);
    CloseHandle(MessagePumpedEvent);
    RequestDoneEvent = nullptr;
    MessagePumpedEvent = nullptr;
    EndScriptControl();
    EndShellCom();
    ClearParameterList();
    ClearMemoryAreas();
    MainWindow = nullptr;
    ActiveDialog = nullptr;
}

int RunRuntime(HINSTANCE instance, void (*scriptMain)()) {
    Instance = instance;
    StartCore();
    StartLocaleLayer();
    StartWindowLayer();
    StartDrawingLayer();
    StartSystemLayer();
    int code = Run(scriptMain);
    EndSystemLayer();
    EndDrawingLayer();
    EndWindowLayer();
    EndLocaleLayer();
    EndCore();
    return code;
}

void EndProgram() {
    EndProgramWithCode(0);
}

void EndProgramWithCode(int code) {
    if (GetCurrentThreadId() == GuiThreadId) {
        ExitProcess(static_cast<UINT>(code));
    }
    MarkProgramEnding();
    if (FastMode != 0) {
        PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
        PostRequestNoWait(GR_LEAVE_FAST_LOOP, 0);
    }
    PostThreadMessageA(GuiThreadId, WM_QUIT, static_cast<WPARAM>(code), 0);
    ExitThread(0);
}

void EndOnMainWindowDestroyed() {
    StopScriptThread();
    if (FastMode != 0) {
        PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
        PostRequestNoWait(GR_LEAVE_FAST_LOOP, 0);
    }
    PostQuitMessage(0);
}
