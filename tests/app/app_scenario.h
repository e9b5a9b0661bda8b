// Test support for the application layer under Windows: a browser
// installation in a fresh temporary folder, registered in HKLM for the run,
// and a runner that starts the application on the real runtime. The file
// helpers and the message-box watcher come from tests/support.
//
// The application keeps its state in process-wide values that its start-up
// expects at their initial values; RunApplication puts them back first, so a
// test executable can start the application several times, one after another.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/windows/main_window.h"
#include "runtime/core/frame.h"
#include "tests/support/box_watch.h"
#include "tests/support/temp_folder.h"

namespace apptest {

constexpr char InstallKey[] = "SOFTWARE\\Mozilla\\Mozilla Firefox";

// A minimal plugin file whose name= entry is shown.
inline std::string PluginText(const std::string &shown) {
    return "<search\r\n   version=\"7.1\"\r\n   name=\"" + shown +
           "\"\r\n   method=\"GET\"\r\n   action=\"http://search.example.com/find\"\r\n>\r\n"
           "<input name=\"q\" user>\r\n</search>\r\n";
}

// "<parent>\qs-app-<pid>-<n>\Mozilla Firefox" with an empty searchplugins
// folder, recorded as the only installation under the browser's registry key
// until destruction, which removes the keys and the folders again.
class DemoBrowser {
  public:
    // parent: the folder to work in, ending in a backslash; the temporary
    // folder when empty.
    explicit DemoBrowser(std::string parent = "")
        : root_("qs-app", "Mozilla Firefox\\searchplugins", std::move(parent)),
          folder_(root_.Root() + "\\Mozilla Firefox") {
        RemoveKeys();
        HKEY key = nullptr;
        std::string path = std::string(InstallKey) + "\\1.0 (en-US)\\Main";
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        std::string value = folder_ + "\\";
        RegSetValueExA(key, "Install Directory", 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    ~DemoBrowser() { RemoveKeys(); }
    DemoBrowser(const DemoBrowser &) = delete;
    DemoBrowser &operator=(const DemoBrowser &) = delete;

    const std::string &Folder() const { return folder_; }
    std::string Plugins() const { return root_.Path(); }
    std::string Temp() const { return Plugins() + "\\temp"; }
    // The folder beside the plugin folder where a re-copy keeps the files.
    std::string Staging() const { return folder_ + "\\searchplugins (re-sort)"; }
    std::string Path(const std::string &name) const { return root_ / name; }
    void AddPlugin(const std::string &file, const std::string &shown) const {
        WriteBytes(Path(file), PluginText(shown));
    }
    void AddFile(const std::string &file, const std::string &bytes = "") const {
        WriteBytes(Path(file), bytes);
    }
    std::vector<std::string> Files() const { return root_.Files(); }

  private:
    static void RemoveKeys() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, InstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, InstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla"); // only when nothing else is in it
    }
    ScratchFolder root_; // removed after the keys
    std::string folder_;
};

// Polls cond every 10 ms for up to timeoutMs; true once it holds.
inline bool WaitUntil(const std::function<bool()> &cond, int timeoutMs = 5000) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (cond()) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

inline const std::function<void()> *&CurrentBody() {
    static const std::function<void()> *body = nullptr;
    return body;
}

// Puts the application's start-up values back to what a fresh process has.
inline void ResetApplicationState() {
    UpDisabled = 0;
    DownDisabled = 0;
    Selection = -1;
    EnterLatch = 0;
    StartTick = 0;
    OrigNamesButton = nullptr;
    RenameMethod = 0;
    BrowserKey = 0;
    PrefixLetter = "";
}

// Runs the application on the real runtime, on this thread as the GUI thread:
// the script thread runs the start-up of the main window (StartMainWindow),
// then body, then QuitTool. body may instead run the event loop, which ends
// when the main window is sent WM_CLOSE. Returns RunRuntime's exit code.
inline int RunApplication(const std::function<void()> &body) {
    ResetApplicationState();
    CurrentBody() = &body;
    int code = RunRuntime(GetModuleHandleA(nullptr), [] {
        StartMainWindow();
        (*CurrentBody())();
        QuitTool();
    });
    CurrentBody() = nullptr;
    return code;
}

// A click on a button as the user makes it, posted to the GUI thread.
inline void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

} // namespace apptest
