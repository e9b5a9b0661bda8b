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
    startTick = GetTickCount();
    return main != nullptr;
}

void Session::Stop() {
    tool.reset();
    main = nullptr;
    CloseNotepads();
}

bool Session::StartWith(const std::map<std::string, std::string> &files) {
    Stop();
    folder.Clear();
    for (const auto &file : files) {
        folder.Write(file.first, file.second);
    }
    recorder->Clear();
    return Start();
}

std::string Leftovers(DWORD pid, HWND main) {
    std::string found;
    auto add = [&found](const std::string &what) { found += (found.empty() ? "" : "; ") + what; };
    for (HWND box : TopWindows(pid, "#32770")) {
        add("message box '" + TextOf(box) + "|" + StaticTexts(box) + "'");
    }
    if (!TopWindows(pid, "#32768").empty()) {
        add("a popup menu");
    }
    for (HWND dialog : TopWindows(pid, "DIALOG")) {
        add("window '" + TextOf(dialog) + "'");
    }
    if (main != nullptr && IsWindow(main) && !IsWindowEnabled(main)) {
        add("the main window disabled");
    }
    return found;
}

void ReleaseAllInput() {
    static const WORD keys[] = {VK_RETURN,   VK_ESCAPE,   VK_BACK,     VK_DELETE, VK_APPS, VK_ADD,
                                VK_SUBTRACT, VK_MULTIPLY, VK_OEM_PLUS, VK_DOWN,   VK_UP,   VK_F4,
                                'T',         VK_SHIFT,    VK_MENU,     VK_CONTROL};
    for (WORD key : keys) {
        if (GetAsyncKeyState(key) & 0x8000) {
            ReleaseKey(key);
        }
    }
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
        ReleaseMouse(false);
    }
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) {
        ReleaseMouse(true);
    }
}

namespace {

bool ThreadHasCapture(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndCapture != nullptr;
}

bool IsUnder(POINT point, HWND window) {
    return WindowFromPoint(point) == window;
}

} // namespace

bool ClickButton(HWND button) {
    const DWORD thread = GetWindowThreadProcessId(button, nullptr);
    auto pushed = [button] {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 1000, &state);
        return (state & BST_PUSHED) != 0;
    };
    auto released = [thread] { return !ThreadHasCapture(thread); };
    // The tool has handled the release of the click before (a press now would
    // go to the control that still holds the mouse).
    WaitUntil(released, 5000);
    POINT centre = CentreOf(button);
    MoveMouse(centre.x, centre.y);
    // Wine does not keep an owned window above its owner: when another window
    // of the tool covers the button, its window is brought to the front first,
    // as the user would.
    if (!IsUnder(centre, button)) {
        SetForegroundWindow(GetAncestor(button, GA_ROOT));
        if (!WaitUntil([centre, button] { return IsUnder(centre, button); }, 3000)) {
            std::fprintf(stderr, "ClickButton '%s': another window covers it: %s\n", TextOf(button).c_str(),
                         FocusReport(button).c_str());
        }
    }
    // Now and then a press never reaches the button (it shows no push while
    // the tool answers and nothing holds the mouse); it is let go and made
    // again. A press that did reach it is never repeated.
    for (int attempt = 0; attempt < 3; ++attempt) {
        PressMouse();
        const bool seen = WaitUntil(pushed, 2000);
        if (seen) {
            Pause(60);
        } else {
            std::fprintf(stderr, "ClickButton '%s': press %d did not reach it: %s\n", TextOf(button).c_str(),
                         attempt + 1, FocusReport(button).c_str());
        }
        ReleaseMouse();
        WaitUntil(released, 5000);
        if (seen) {
            return true;
        }
        MoveMouse(centre.x, centre.y);
    }
    return false;
}

bool ClickButtonUntil(HWND button, const std::function<bool()> &effect, int timeoutMs) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickButton(button);
        if (WaitUntil(effect, timeoutMs)) {
            return true;
        }
        std::fprintf(stderr, "ClickButtonUntil '%s': no effect after click %d: %s\n", TextOf(button).c_str(),
                     attempt + 1, FocusReport(button).c_str());
    }
    return false;
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

HWND NameList(HWND main) {
    for (HWND list : Children(main, "ListBox")) {
        RECT rect = WindowRect(list);
        if (rect.right - rect.left <= 10) {
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
    if (target == nullptr) {
        return seen + " (the box has no button '" + button + "')";
    }
    auto closed = [box] { return !IsWindow(box) || !IsWindowVisible(box); };
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickButton(target);
        if (WaitUntil(closed, 5000)) {
            return seen;
        }
        std::fprintf(stderr, "AnswerMessageBox: '%s' still open after click %d on %s: %s\n", seen.c_str(),
                     attempt + 1, button.c_str(), FocusReport(box).c_str());
    }
    return seen + " (the box stayed open after 3 clicks on '" + button + "')";
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
    // Typing goes to the active window: when the new dialog did not become it,
    // the user clicks it first; the test brings it to the front.
    if (!WaitUntil([dialog] { return GetForegroundWindow() == dialog; }, 2000)) {
        std::fprintf(stderr, "WaitForDialog '%s': not the active window: %s\n", title.c_str(),
                     FocusReport(dialog).c_str());
        SetForegroundWindow(dialog);
        WaitUntil([dialog] { return GetForegroundWindow() == dialog; }, 2000);
    }
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
