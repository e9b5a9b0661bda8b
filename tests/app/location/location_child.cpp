// Child side of the location scenarios: the scenario routines that run on the
// script thread, the watcher that answers the child's dialogs, and the result
// file.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/windows/main_window.h"
#include "location_support.h"
#include "runtime/core/drive_dir.h"
#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"

namespace {

// What the scenario records, one "key=value" line each; written by the
// script thread while it runs and read by the main thread afterwards.
std::ostringstream Record;

// Line ends inside a value are written as \r and \n, one line per value.
std::string Escaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void Put(const char *key, const std::string &value) {
    Record << key << '=' << Escaped(value) << '\n';
}
void Put(const char *key, const char *value) {
    Put(key, std::string(value));
}
void Put(const char *key, const StringValue &value) {
    Put(key, std::string(value.data, value.length));
}
void Put(const char *key, long value) {
    Put(key, std::to_string(value));
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

void PutLocation() {
    Put("browser", BrowserFolder);
    Put("plugins", PluginFolder);
    Put("temp", TempFolder);
    Put("rename", static_cast<long>(RenameMethod));
    Put("errorlevel", static_cast<long>(ErrorLevel));
}

std::string ListRow(HWND list, WPARAM row) {
    std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, row, 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

// --- Scenarios (script thread) -----------------------------------------------

void LocateScript() {
    AllocateAreas();
    LocateBrowser();
    Put("reached", "1");
    PutLocation();
    EndProgram();
}

void StartupScript() {
    StartMainWindow();
    Put("reached", "1");
    PutLocation();
    LRESULT count = SendMessageA(MainList, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        Put("row", ListRow(MainList, static_cast<WPARAM>(row)));
        Put("file", ListRow(NameList, static_cast<WPARAM>(row)));
    }
    Put("selection", static_cast<long>(SendMessageA(MainList, LB_GETCURSEL, 0, 0)));
    Put("focus", GetFocus() == MainList ? "main list" : "elsewhere");
    Put("up", IsWindowEnabled(MoveUpButton) ? "enabled" : "disabled");
    Put("down", IsWindowEnabled(MoveDownButton) ? "enabled" : "disabled");
    Put("origbutton", OrigNamesButton != nullptr ? "yes" : "no");
    Put("back in start directory",
        std::string(DriveDirectory("@").c_str()) == StartDirectory.c_str() ? "yes" : "no");
    EndProgram();
}

void FatalTwoScript() {
    AllocateAreas();
    FatalStop(2);
}

void QuitScript() {
    AllocateAreas();
    LocateBrowser();
    Put("reached", "1");
    QuitTool();
}

struct ChildScenario {
    const char *name;
    void (*script)();
};

const ChildScenario ChildScenarios[] = {
    {"locate", LocateScript},
    {"startup", StartupScript},
    {"fatal2", FatalTwoScript},
    {"quit", QuitScript},
};

// --- The watcher ---------------------------------------------------------------

// Answers every visible dialog of this process once with one button, and
// records it with the current directory of that moment.
class DialogWatcher {
  public:
    explicit DialogWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}
    ~DialogWatcher() {
        stop_ = true;
        thread_.join();
    }
    DialogWatcher(const DialogWatcher &) = delete;
    DialogWatcher &operator=(const DialogWatcher &) = delete;
    std::vector<SeenBox> Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

  private:
    static std::string TextOf(HWND window) {
        char buffer[1024] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    static BOOL CALLBACK FirstStatic(HWND child, LPARAM param) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        std::string text = TextOf(child);
        if (lstrcmpiA(cls, "Static") == 0 && !text.empty()) {
            *reinterpret_cast<std::string *>(param) = text;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto *self = reinterpret_cast<DialogWatcher *>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window) ||
            self->answered_.count(window) != 0) {
            return TRUE;
        }
        SeenBox box;
        box.caption = TextOf(window);
        EnumChildWindows(window, FirstStatic, reinterpret_cast<LPARAM>(&box.text));
        box.directory = CurrentDirectory();
        box.owned = GetWindow(window, GW_OWNER) != nullptr;
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->seen_.push_back(box);
        }
        self->answered_.insert(window);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(self->answer_), 0);
        return TRUE;
    }
    void Watch() {
        while (!stop_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::set<HWND> answered_;
    std::thread thread_;
};

std::string Argument(int argc, char **argv, const char *prefix) {
    std::size_t n = std::strlen(prefix);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, n) == 0) {
            return argv[i] + n;
        }
    }
    return std::string();
}

} // namespace

int RunChildScenario(int argc, char **argv) {
    std::string name = Argument(argc, argv, "--scenario=");
    std::string out = Argument(argc, argv, "--out=");
    int answer = Argument(argc, argv, "--answer=") == "cancel" ? IDCANCEL : IDOK;
    const ChildScenario *scenario = nullptr;
    for (const ChildScenario &s : ChildScenarios) {
        if (name == s.name) {
            scenario = &s;
        }
    }
    if (scenario == nullptr) {
        return 99;
    }
    int code = 0;
    std::vector<SeenBox> seen;
    {
        DialogWatcher watcher(answer);
        code = RunRuntime(GetModuleHandleA(nullptr), scenario->script);
        seen = watcher.Seen();
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << Record.str();
    file << "areas released="
         << (SubkeyArea == nullptr && WorkArea == nullptr && PointArea == nullptr && VolumeArea == nullptr
                 ? "yes"
                 : "no")
         << '\n';
    for (const SeenBox &box : seen) {
        file << "box=" << Escaped(box.caption) << "\nbox.text=" << Escaped(box.text)
             << "\nbox.dir=" << box.directory << "\nbox.owned=" << (box.owned ? 1 : 0) << '\n';
    }
    return code;
}
