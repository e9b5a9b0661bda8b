#include "catalogue_support.h"

#include <cstring>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_state.h"
#include "app/windows/main_window.h"
#include "runtime/core/drive_dir.h"
#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/window/controls.h"
#include "tests/support/temp_folder.h"

namespace {

const std::function<void()> *Body = nullptr;

void Script() {
    AllocateAreas();
    OpenWindow(20, 20, 460, 380);
    NameList = CreateControl("LISTBOX", "", 0x54211141, 500, 500, 0, 0, MainWindow, 0, Instance, 0x200);
    MainList = CreateControl("LISTBOX", "", 0x54211141, 15, 25, 300, 170, MainWindow, 0, Instance, 0x200);
    MoveUpButton = CreateByKeyword("button", MainWindow, "Move Up", 327, 27, 100, 24);
    MoveDownButton = CreateByKeyword("button", MainWindow, "Move Down", 327, 62, 100, 24);
    UpDisabled = 0;
    DownDisabled = 0;
    Selection = -1;
    CatalogueLoaded = UpdateMoveButtons;
    StartDirectory = DriveDirectory("@");
    (*Body)();
    ReleaseAreas();
    EndProgram();
}

std::string Row(HWND list, WPARAM row) {
    std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, row, 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        rows.push_back(Row(list, static_cast<WPARAM>(i)));
    }
    return rows;
}

std::string EventsName(const std::string &base, const char *which) {
    return base + "." + which;
}

} // namespace

int RunWithCatalogueWindow(const std::function<void()> &body) {
    Body = &body;
    int code = RunRuntime(GetModuleHandleA(nullptr), Script);
    Body = nullptr;
    return code;
}

LoadedLists Load(const std::string &folder, int selection, const char *mask) {
    PluginFolder = folder.c_str();
    LoadCatalogue(MainList, NameList, selection, mask);
    LoadedLists lists;
    lists.shown = Rows(MainList);
    lists.files = Rows(NameList);
    lists.selection = static_cast<int>(SendMessageA(MainList, LB_GETCURSEL, 0, 0));
    lists.focused = GetFocus() == MainList;
    lists.upEnabled = IsWindowEnabled(MoveUpButton) != FALSE;
    lists.downEnabled = IsWindowEnabled(MoveDownButton) != FALSE;
    lists.prefix = PrefixLetter.c_str();
    lists.errorLevel = ErrorLevel;
    lists.backInStart = lstrcmpiA(DriveDirectory("@").c_str(), StartDirectory.c_str()) == 0;
    return lists;
}

std::vector<std::string> SearchOrder(const std::string &folder, const std::vector<std::string> &skip) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.SRC").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        bool skipped = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        for (const std::string &s : skip) {
            skipped = skipped || s == entry.cFileName;
        }
        if (!skipped) {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

std::string FreshFolder(const char *leaf) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "qs-catalogue-" + leaf;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

LockedFile::LockedFile(const std::string &path) {
    std::string base = "qs-lock-" + std::to_string(GetCurrentProcessId());
    HANDLE locked = CreateEventA(nullptr, TRUE, FALSE, EventsName(base, "locked").c_str());
    release_ = CreateEventA(nullptr, TRUE, FALSE, EventsName(base, "release").c_str());
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = std::string("\"") + program + "\" \"--lock=" + path + "\" --events=" + base;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        HANDLE either[] = {locked, process_};
        locked_ = WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
    }
    CloseHandle(locked);
}

LockedFile::~LockedFile() {
    SetEvent(release_);
    if (process_ != nullptr) {
        if (WaitForSingleObject(process_, 20000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 98);
        }
        CloseHandle(process_);
    }
    CloseHandle(release_);
}

int RunLocker(int argc, char **argv) {
    std::string path;
    std::string base;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--lock=", 7) == 0) {
            path = argv[i] + 7;
        } else if (std::strncmp(argv[i], "--events=", 9) == 0) {
            base = argv[i] + 9;
        }
    }
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    HANDLE locked = OpenEventA(EVENT_MODIFY_STATE, FALSE, EventsName(base, "locked").c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, EventsName(base, "release").c_str());
    SetEvent(locked);
    WaitForSingleObject(release, 60000);
    CloseHandle(file);
    return 0;
}
