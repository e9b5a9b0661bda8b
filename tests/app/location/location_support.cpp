// Test side of the location scenarios: registry states, files, and running a
// scenario in a child copy of this program.
#include "location_support.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <fstream>

namespace {

constexpr char MakerKey[] = "SOFTWARE\\Mozilla";
constexpr char InstallKey[] = "SOFTWARE\\Mozilla\\Mozilla Firefox";
constexpr char DocumentTypeKey[] = "Software\\Classes\\FirefoxHTML";
constexpr DWORD ChildTimeoutMs = 60000;

std::string TempFileName() {
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "qsl", 0, path);
    return path;
}

ChildResult ReadResult(const std::string &path) {
    ChildResult result;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    SeenBox *box = nullptr;
    while (std::getline(in, line)) {
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (key == "box") {
            result.boxes.push_back(SeenBox());
            box = &result.boxes.back();
            box->caption = value;
        } else if (key == "box.text" && box != nullptr) {
            box->text = value;
        } else if (key == "box.dir" && box != nullptr) {
            box->directory = value;
        } else if (key == "box.owned" && box != nullptr) {
            box->owned = value == "1";
        } else {
            result.values.emplace(key, value);
        }
    }
    return result;
}

HKEY CreateKey(const std::string &path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetText(HKEY key, const char *name, const char *value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                   static_cast<DWORD>(std::strlen(value) + 1));
}

} // namespace

std::string ChildResult::Value(const std::string &key) const {
    auto found = values.find(key);
    return found == values.end() ? "<none>" : found->second;
}

std::vector<std::string> ChildResult::All(const std::string &key) const {
    std::vector<std::string> all;
    auto range = values.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        all.push_back(it->second);
    }
    return all;
}

ChildResult RunLocationChild(const char *scenario, const char *answer) {
    std::string out = TempFileName();
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = std::string("\"") + program + "\" --scenario=" + scenario + " \"--out=" + out +
                              "\" --answer=" + answer;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ChildResult result;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        DeleteFileA(out.c_str());
        return result;
    }
    CloseHandle(process.hThread);
    int code = -1;
    if (WaitForSingleObject(process.hProcess, ChildTimeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = static_cast<int>(exitCode);
    } else {
        TerminateProcess(process.hProcess, 98);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    result = ReadResult(out);
    result.exitCode = code;
    DeleteFileA(out.c_str());
    return result;
}

void RemoveBrowserKeys() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, InstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, MakerKey); // only succeeds when empty
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, DocumentTypeKey);
}

void SetInstallDirectory(const char *subkey, const char *value) {
    HKEY main = CreateKey(std::string(InstallKey) + "\\" + subkey + "\\Main");
    if (value != nullptr) {
        SetText(main, "Install Directory", value);
    }
    RegCloseKey(main);
}

void SetOpenCommand(const char *command) {
    HKEY key = CreateKey(std::string(DocumentTypeKey) + "\\shell\\open\\command");
    SetText(key, nullptr, command);
    RegCloseKey(key);
}

std::string ProgramFilesPath() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAM_FILES, FALSE)) {
        return std::string();
    }
    return path;
}

std::string FileSystemName(const std::string &root) {
    char name[100] = {};
    if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name)) {
        return std::string();
    }
    return name;
}
