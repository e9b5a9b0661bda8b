#include "tool_session.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "desktop.h"

namespace {

// Removes everything inside folder, sub-folders included; the folder stays.
void RemoveContents(const std::string &folder);

void RemoveTree(const std::string &folder) {
    RemoveContents(folder);
    RemoveDirectoryA(folder.c_str());
}

void RemoveContents(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool KeyExists(HKEY root, const std::string &path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// What the watchdog must undo: the live registry fixtures and tool processes.
struct LiveState {
    CRITICAL_SECTION lock;
    std::vector<RegistryFixture *> fixtures;
    std::vector<HANDLE> processes;
    LiveState() { InitializeCriticalSection(&lock); }
};

LiveState &Live() {
    static LiveState state;
    return state;
}

template <typename T> void Track(std::vector<T> &list, T item, bool add) {
    EnterCriticalSection(&Live().lock);
    if (add) {
        list.push_back(item);
    } else {
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
    }
    LeaveCriticalSection(&Live().lock);
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(WatchdogSeconds * 1000);
    std::fprintf(stderr, "e2e watchdog: the run took longer than %d s; cleaning up\n", WatchdogSeconds);
    EnterCriticalSection(&Live().lock);
    for (HANDLE process : Live().processes) {
        TerminateProcess(process, 99);
    }
    for (RegistryFixture *fixture : Live().fixtures) {
        fixture->Restore();
    }
    std::fflush(nullptr);
    ExitProcess(3);
}

struct WatchdogStart {
    WatchdogStart() {
        HANDLE thread = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
        if (thread != nullptr) {
            CloseHandle(thread);
        }
    }
} watchdogStart;

} // namespace

std::string WindowsPath(const std::string &unixPath) {
    std::string path = "Z:" + unixPath;
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// --- RegistryFixture ---

void RegistryFixture::SetValue(HKEY root, const std::string &path, const std::string &name,
                               const std::string &value) {
    Saved saved{root, path, name, false, "", {}};
    // Remember which keys along the path do not exist yet.
    size_t from = 0;
    for (;;) {
        size_t slash = path.find('\\', from);
        std::string prefix = slash == std::string::npos ? path : path.substr(0, slash);
        if (!KeyExists(root, prefix)) {
            saved.createdKeys.push_back(prefix);
        }
        if (slash == std::string::npos) {
            break;
        }
        from = slash + 1;
    }
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key == nullptr) {
        return;
    }
    char old[2048] = {};
    DWORD size = sizeof old - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(old), &size) ==
        ERROR_SUCCESS) {
        saved.existed = true;
        saved.value = old;
    }
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    saved_.push_back(saved);
}

RegistryFixture::RegistryFixture() {
    Track(Live().fixtures, this, true);
}

RegistryFixture::~RegistryFixture() {
    Restore();
    Track(Live().fixtures, this, false);
}

void RegistryFixture::Restore() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(it->root, it->path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            if (it->existed) {
                RegSetValueExA(key, it->name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE *>(it->value.c_str()),
                               static_cast<DWORD>(it->value.size() + 1));
            } else {
                RegDeleteValueA(key, it->name.c_str());
            }
            RegCloseKey(key);
        }
        for (auto created = it->createdKeys.rbegin(); created != it->createdKeys.rend(); ++created) {
            RegDeleteKeyA(it->root, created->c_str());
        }
    }
    saved_.clear();
}

// --- PluginFolder ---

PluginFolder::PluginFolder(const std::string &leaf) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + leaf;
    RemoveTree(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
    root_ += "\\";
    plugins_ = root_ + "searchplugins";
    CreateDirectoryA(plugins_.c_str(), nullptr);
}

PluginFolder::~PluginFolder() {
    RemoveTree(root_.substr(0, root_.size() - 1));
}

void PluginFolder::Write(const std::string &name, const std::string &bytes) const {
    std::ofstream(plugins_ + "\\" + name, std::ios::binary) << bytes;
}

std::string PluginFolder::Read(const std::string &name) const {
    std::ifstream in(plugins_ + "\\" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, std::string> PluginFolder::Files() const {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((plugins_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                files[found.cFileName] = Read(found.cFileName);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return files;
}

void PluginFolder::Clear() const {
    RemoveContents(plugins_);
}

// --- Recorder ---

Recorder::Recorder(RegistryFixture &registry, const std::string &recordFile) : file_(recordFile) {
    const std::string recorder = "\"" + WindowsPath(QS_RECORDER_PATH) + "\"";
    for (const char *scheme : {"http", "https"}) {
        registry.SetValue(HKEY_CLASSES_ROOT, std::string(scheme) + "\\shell\\open\\command", "",
                          recorder + " open %1");
    }
    for (const char *type : {"Folder", "Directory"}) {
        registry.SetValue(HKEY_CLASSES_ROOT, std::string(type) + "\\shell\\explore\\command", "",
                          recorder + " explore \"%1\"");
    }
    SetEnvironmentVariableA("QS_RECORD_FILE", file_.c_str());
    Clear();
}

std::vector<std::string> Recorder::Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool Recorder::WaitForLines(size_t n, int timeoutMs) const {
    return WaitUntil([this, n] { return Lines().size() >= n; }, timeoutMs);
}

void Recorder::Clear() const {
    DeleteFileA(file_.c_str());
}

// --- ToolProcess ---

ToolProcess::ToolProcess(const std::string &workingFolder) {
    std::string exe = WindowsPath(QS_TOOL_PATH);
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &info_)) {
        info_ = {};
        return;
    }
    Track(Live().processes, info_.hProcess, true);
}

ToolProcess::~ToolProcess() {
    if (info_.hProcess != nullptr) {
        Track(Live().processes, info_.hProcess, false);
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

HWND ToolProcess::WaitForMainWindow(int timeoutMs) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    WaitUntil(
        [this, screenWidth] {
            main_ = TopWindow(Pid(), "FENSTER", "Quillsort 1.0");
            // Built off-screen first; done once it has been moved on-screen.
            return main_ != nullptr && WindowRect(main_).right < screenWidth;
        },
        timeoutMs);
    return main_;
}

bool ToolProcess::WaitForExit(DWORD &exitCode, int timeoutMs) {
    if (info_.hProcess == nullptr ||
        WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(info_.hProcess, &exitCode);
    return true;
}

bool ToolProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}
