#include "support_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/frame.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_classes.h"

namespace {

const std::function<void()> *Body;

BOOL CALLBACK CollectDialogWindow(HWND window, LPARAM list) {
    if (ClassOf(window) == DialogWindowClassName)
        reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
    return TRUE;
}

void ScriptEntry() {
    (*Body)();
    std::vector<HWND> dialogs;
    EnumThreadWindows(GuiThreadId, CollectDialogWindow, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs)
        DestroyControl(dialog);
    if (MainWindow)
        DestroyControl(MainWindow); // ends the run; does not come back
}

struct Search {
    const char *className;
    const char *title;
    int id;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
    Search &search = *reinterpret_cast<Search *>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || ClassOf(window) != search.className)
        return TRUE;
    if (search.title) {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        if (std::string(text) != search.title)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    Search &search = *reinterpret_cast<Search *>(param);
    if (ClassOf(window) != search.className || (search.id != -1 && GetDlgCtrlID(window) != search.id))
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

int RunScript(const std::function<void()> &body) {
    Body = &body;
    int code = RunRuntime(GetModuleHandleA(nullptr), ScriptEntry);
    Body = nullptr;
    return code;
}

void RunChecked(const std::function<void()> &body) {
    EXPECT_EQ(0, RunScript(body));
}

bool WaitUntil(const std::function<bool()> &cond, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}

std::string ClassOf(HWND window) {
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND WaitForTopWindow(const char *className, const char *title, DWORD timeoutMs) {
    Search search{className, title, -1, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND FindChild(HWND parent, const char *className, int id) {
    Search search{className, nullptr, id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
