#include "session_support.h"

#include <cstdio>

std::string PluginText(const std::string &shownName, const std::string &lineEnd) {
    return "# Mycroft plugin for the end-to-end tests" + lineEnd + "<search" + lineEnd + "   name=\"" +
           shownName + "\"" + lineEnd + "   method=\"GET\"" + lineEnd + "   action=\"http://example.org/q\"" +
           lineEnd + ">" + lineEnd + "<input name=\"q\" user>" + lineEnd + "</search>" + lineEnd;
}

Session::Session(const std::string &leaf) : folder(leaf) {
    // The tool takes the installation enumerated last: this name sorts after
    // any version number another test may have registered.
    registry.SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla\\Mozilla Firefox\\zz e2e 1.0 (en-US)\\Main",
                      "Install Directory", folder.Root());
    recorder = std::make_unique<Recorder>(registry, folder.Root() + "record.txt");
}

Session::~Session() {
    tool.reset();
    CloseNotepads();
    SetEnvironmentVariableA("QS_RECORD_FILE", nullptr);
}

bool Session::Start() {
    tool = std::make_unique<ToolProcess>(folder.Root());
    if (!tool->Started()) {
        return false;
    }
    main = tool->WaitForMainWindow();
    return main != nullptr;
}

HWND Button(HWND main, const std::string &caption) {
    return Child(main, "Button", caption);
}

HWND MainList(HWND main) {
    for (HWND list : Children(main, "ListBox")) {
        RECT rect = WindowRect(list);
        if (rect.right - rect.left > 10) {
            return list;
        }
    }
    return nullptr;
}

POINT RowPoint(HWND list, int row) {
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    POINT point{30, (row - top) * height + height / 2};
    ClientToScreen(list, &point);
    return point;
}

POINT ClientPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void ClickRow(HWND list, int row) {
    auto done = [list, row] { return ListSelection(list) == row && HasKeyboardFocus(list); };
    // Now and then a click on the list is not seen by the tool at all (the
    // row stays unselected while the list keeps the focus); clicking a row
    // again changes nothing once it is selected, so the user's remedy is
    // used: click again, a few times at most.
    for (int attempt = 0; attempt < 3; ++attempt) {
        POINT point = RowPoint(list, row);
        ClickAt(point.x, point.y);
        if (WaitUntil(done, 1500)) {
            return;
        }
        std::fprintf(stderr, "ClickRow %d, click %d without effect: %s\n", row, attempt + 1,
                     FocusReport(list).c_str());
    }
}

bool IsForeground(HWND window) {
    return GetForegroundWindow() == window;
}

bool HasKeyboardFocus(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus == window &&
           info.hwndActive == GetForegroundWindow();
}

std::string FocusReport(HWND window) {
    auto name = [](HWND w) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char text[160];
        std::snprintf(text, sizeof text, "%p %s '%s' pid %lu", static_cast<void *>(w), ClassOf(w).c_str(),
                      TextOf(w).c_str(), static_cast<unsigned long>(pid));
        return std::string(text);
    };
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    POINT cursor = {};
    GetCursorPos(&cursor);
    char flags[96];
    std::snprintf(flags, sizeof flags, "; flags %#lx; pointer %ld,%ld",
                  static_cast<unsigned long>(info.flags), cursor.x, cursor.y);
    return "foreground " + name(GetForegroundWindow()) + "; tool thread: active " + name(info.hwndActive) +
           ", focus " + name(info.hwndFocus) + ", capture " + name(info.hwndCapture) + flags;
}

std::string ToolState(HWND window) {
    DWORD_PTR answer = 0;
    bool responds = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
    return std::string("window ") + (IsWindow(window) ? "exists" : "is gone") +
           (IsWindowVisible(window) ? ", visible" : ", hidden") +
           (responds ? ", answers" : ", does not answer");
}

POINT CloseBoxPoint(HWND window) {
    RECT rect = WindowRect(window);
    const int y = rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = rect.right - 2; x > rect.left; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
        if (hit == HTCLOSE) {
            return POINT{x - 4, y};
        }
    }
    return POINT{rect.right - 12, y};
}

void ActivateByCaption(HWND window) {
    RECT rect = WindowRect(window);
    ClickAt(rect.left + 60, rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    if (!WaitUntil([window] { return IsForeground(window); }, 2000)) {
        std::fprintf(stderr, "ActivateByCaption: %s\n", FocusReport(window).c_str());
    }
}

HWND PopupMenuWindow(DWORD pid) {
    return TopWindow(pid, "#32768");
}

HWND MessageBoxWindow(DWORD pid) {
    return TopWindow(pid, "#32770");
}

std::string AnswerMessageBox(DWORD pid, const std::string &button, int timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = MessageBoxWindow(pid)) != nullptr; }, timeoutMs)) {
        return "";
    }
    Pause(100); // the box is laid out and activated right after it is shown
    std::string seen = TextOf(box) + "|" + StaticTexts(box);
    HWND target = Child(box, "Button", button);
    if (target != nullptr) {
        ClickWindow(target);
    }
    WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000);
    return seen;
}

HWND DialogWindow(DWORD pid, const std::string &title) {
    return TopWindow(pid, "DIALOG", title);
}

HWND WaitForDialog(DWORD pid, const std::string &title, int timeoutMs) {
    HWND dialog = nullptr;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    if (!WaitUntil(
            [&] {
                dialog = DialogWindow(pid, title);
                return dialog != nullptr && WindowRect(dialog).right < screenWidth;
            },
            timeoutMs)) {
        return nullptr;
    }
    Pause(100); // its controls get their fonts right after the move
    return dialog;
}

std::vector<HWND> NotepadWindows() {
    return TopWindows(0, "Notepad");
}

void CloseNotepads() {
    for (HWND window : NotepadWindows()) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    WaitUntil([] { return NotepadWindows().empty(); }, 5000);
}

std::string ScreenshotPath(const std::string &name) {
    std::string folder = WindowsPath(QS_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name + ".bmp";
}
