// Test support for the application layer under Windows: a browser
// installation in a fresh temporary folder, registered in HKLM for the run; a
// watcher that answers this process's message boxes and records caption, text
// and icon; and a runner that starts the application on the real runtime.
//
// The application keeps its state in process-wide values that its start-up
// expects at their initial values; RunApplication puts them back first, so a
// test executable can start the application several times, one after another.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/windows/main_window.h"
#include "runtime/core/frame.h"

namespace apptest {

constexpr char InstallKey[] = "SOFTWARE\\Mozilla\\Mozilla Firefox";

inline void DeleteTree(const std::string &path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string full = path + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                DeleteTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

inline bool WriteBytes(const std::string &path, const std::string &bytes) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

inline std::string ReadBytes(const std::string &path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) {
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    }
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file names in a folder (folders too), sorted case-insensitively.
inline std::vector<std::string> Listing(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

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
    explicit DemoBrowser(std::string parent = "") {
        static int serial = 0;
        if (parent.empty()) {
            char temp[MAX_PATH] = {};
            GetTempPathA(MAX_PATH, temp);
            parent = temp;
        }
        root_ = parent + "qs-app-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        DeleteTree(root_);
        CreateDirectoryA(root_.c_str(), nullptr);
        folder_ = root_ + "\\Mozilla Firefox";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA(Plugins().c_str(), nullptr);
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
    ~DemoBrowser() {
        RemoveKeys();
        DeleteTree(root_);
    }
    DemoBrowser(const DemoBrowser &) = delete;
    DemoBrowser &operator=(const DemoBrowser &) = delete;

    const std::string &Folder() const { return folder_; }
    std::string Plugins() const { return folder_ + "\\searchplugins"; }
    std::string Temp() const { return Plugins() + "\\temp"; }
    std::string Path(const std::string &name) const { return Plugins() + "\\" + name; }
    void AddPlugin(const std::string &file, const std::string &shown) const {
        WriteBytes(Path(file), PluginText(shown));
    }
    void AddFile(const std::string &file, const std::string &bytes = "") const {
        WriteBytes(Path(file), bytes);
    }
    std::vector<std::string> Files() const { return Listing(Plugins()); }

  private:
    static void RemoveKeys() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, InstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, InstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla"); // only when nothing else is in it
    }
    std::string root_;
    std::string folder_;
};

struct SeenBox {
    std::string caption;
    std::string text;
    std::string icon; // "information", "warning", "error", "question" or ""
};

// Answers every message box of this process with answer (a button id) from a
// helper thread, and records each box once.
class BoxWatch {
  public:
    explicit BoxWatch(int answer = IDOK) : answer_(answer), watcher_([this] { Watch(); }) {}
    ~BoxWatch() {
        stop_ = true;
        watcher_.join();
    }
    BoxWatch(const BoxWatch &) = delete;
    BoxWatch &operator=(const BoxWatch &) = delete;

    std::vector<SeenBox> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    bool WaitFor(std::size_t n, int timeoutMs = 10000) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (Boxes().size() >= n) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }

  private:
    static std::string TextOf(HWND window) {
        char buffer[2048] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    static std::string IconName(HICON icon) {
        if (icon == nullptr) {
            return "";
        }
        if (icon == LoadIconA(nullptr, IDI_ASTERISK)) {
            return "information";
        }
        if (icon == LoadIconA(nullptr, IDI_EXCLAMATION)) {
            return "warning";
        }
        if (icon == LoadIconA(nullptr, IDI_HAND)) {
            return "error";
        }
        if (icon == LoadIconA(nullptr, IDI_QUESTION)) {
            return "question";
        }
        return "other";
    }
    static BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
        auto *box = reinterpret_cast<SeenBox *>(param);
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) {
            return TRUE;
        }
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box->icon = IconName(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
        } else if (box->text.empty()) {
            box->text = TextOf(child);
        }
        return TRUE;
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto *self = reinterpret_cast<BoxWatch *>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window) ||
            self->answered_.count(window) != 0) {
            return TRUE;
        }
        SeenBox box{TextOf(window), "", ""};
        EnumChildWindows(window, ReadChild, reinterpret_cast<LPARAM>(&box));
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->boxes_.push_back(box);
        }
        self->answered_.insert(window);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(self->answer_), 0);
        return TRUE;
    }
    void Watch() {
        while (!stop_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(10);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::set<HWND> answered_;
    std::thread watcher_;
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
