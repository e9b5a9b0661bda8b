// Child side of the location scenarios: the scenario routines that run on the
// script thread, and the result file with the dialogs that the child's
// BoxWatch answered.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/windows/main_window.h"
#include "location_support.h"
#include "runtime/core/drive_dir.h"
#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "tests/support/box_watch.h"

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

// The shell's path of the Cookies folder, which the test points at a path of
// the longest length the shell gives (MAX_PATH - 1 characters); then whether
// every heap of the process is still whole.
void LongFolderScript() {
    Put("path", SpecialFolderPath(0x21));
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    bool whole = count > 0 && count <= 64;
    for (DWORD i = 0; whole && i < count; ++i) {
        whole = HeapValidate(heaps[i], 0, nullptr) != 0;
    }
    Put("heaps", whole ? "whole" : "damaged");
    EndProgram();
}

struct ChildScenario {
    const char *name;
    void (*script)();
};

const ChildScenario ChildScenarios[] = {
    {"locate", LocateScript}, {"startup", StartupScript},       {"fatal2", FatalTwoScript},
    {"quit", QuitScript},     {"longfolder", LongFolderScript},
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
        BoxWatch watcher(answer);
        code = RunRuntime(GetModuleHandleA(nullptr), scenario->script);
        seen = watcher.Boxes();
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
