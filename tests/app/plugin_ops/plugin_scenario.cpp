#include "plugin_scenario.h"

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_state.h"
#include "app/windows/main_window.h"
#include "runtime/core/drive_dir.h"
#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/script_thread.h"
#include "runtime/core/settings.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_services.h"

namespace {

const std::function<void()> *CurrentBody = nullptr;
std::string CurrentFolder;

void ScenarioScript() {
    AllocateAreas();
    IconExtensions = ".png#.gif#.jpg#.jpeg#.jpe#.ico#.bmp";
    PluginFolder = CurrentFolder.c_str();
    StartDirectory = DriveDirectory("@");
    UpDisabled = 0;
    DownDisabled = 0;
    EnterLatch = 0;

    SetWindowTitle("Plugin operations");
    SetWindowStyle(538);
    OpenWindow(60, 60, 460, 380);
    NameList = CreateControl("LISTBOX", "", 0x54211141, 500, 500, 0, 0, MainWindow, 0, Instance, 0x200);
    MainList = CreateControl("LISTBOX", "", 0x54211141, 15, 25, 300, 170, MainWindow, 0, Instance, 0x200);
    MoveUpButton = CreateByKeyword("button", MainWindow, "Move Up", 327, 27, 100, 24);
    MoveDownButton = CreateByKeyword("button", MainWindow, "Move Down", 327, 62, 100, 24);
    LoadCatalogue(MainList, NameList, -1, "*.SRC");
    SetErrorLevel(1);

    (*CurrentBody)();

    ReleaseAreas();
    // Closing the main window ends the run; this thread stops at its next
    // checkpoint.
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    ScriptCheckpoint();
}

} // namespace

std::string PluginText(const std::string &shown) {
    return "<search\r\n name=\"" + shown + "\"\r\n method=\"GET\"\r\n>\r\n</search>\r\n";
}

int RunPluginScenario(const std::string &folder, const std::function<void()> &body) {
    CurrentBody = &body;
    CurrentFolder = folder;
    int code = RunRuntime(GetModuleHandleA(nullptr), ScenarioScript);
    CurrentBody = nullptr;
    return code;
}

std::vector<std::string> ListRows(HWND list) {
    std::vector<std::string> rows;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[512] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

int ListSelection(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

void ForgetFocusAndLatch() {
    SetFocusTo(MainWindow);
    EnterLatch = 0;
}

bool BackOnMainList() {
    return EnterLatch == 1 && FocusWindow == MainList && GetFocus() == MainList;
}
