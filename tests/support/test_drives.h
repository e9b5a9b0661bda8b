// Test helper: the drives that the Wine harness (tools/harness.sh) maps into
// the test prefix, and a look at them from Linux.
//   FatDrive():  F:, a FAT16 image mounted with fusefat; Wine reports "FAT".
//   FullDrive(): G:, a small tmpfs that a test may fill to run out of space.
// A drive the harness could not set up carries the reason, for GTEST_SKIP.
// All functions may be called from any thread.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

struct TestDrive {
    std::string root;      // "F:\", empty when the drive is missing
    std::string unixMount; // the Linux folder behind the root, no trailing slash
    std::string skip;      // why the drive is missing

    bool Ready() const { return !root.empty(); }
    // The Linux path of a path on this drive ("F:\a\b" -> "<mount>/a/b").
    std::string UnixPath(const std::string &path) const {
        std::string rest = path.substr(root.size());
        for (char &c : rest) {
            if (c == '\\') {
                c = '/';
            }
        }
        return rest.empty() ? unixMount : unixMount + "/" + rest;
    }
};

namespace testdrives {

inline std::string Env(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The file-system name Windows reports for a drive root ("FAT", "NTFS"...).
inline std::string FileSystemOf(const std::string &root) {
    char name[64] = {};
    if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name)) {
        return "";
    }
    return name;
}

inline TestDrive FromEnv(const char *prefix, const char *wantedFileSystem) {
    TestDrive drive;
    std::string p = prefix;
    std::string letter = Env((p + "_DRIVE").c_str());
    if (letter.empty()) {
        drive.skip = Env((p + "_SKIP").c_str());
        if (drive.skip.empty()) {
            drive.skip = "the test drives are set up by tools/harness.sh (harness_start); none here";
        }
        return drive;
    }
    std::string root = letter + "\\";
    std::string fileSystem = FileSystemOf(root);
    if (wantedFileSystem != nullptr && fileSystem.find(wantedFileSystem) == std::string::npos) {
        drive.skip = root + " reports the file system '" + fileSystem + "', not " + wantedFileSystem;
        return drive;
    }
    drive.root = root;
    drive.unixMount = Env((p + "_MOUNT").c_str());
    return drive;
}

} // namespace testdrives

inline TestDrive FatDrive() {
    return testdrives::FromEnv("QS_FAT", "FAT");
}

inline TestDrive FullDrive() {
    return testdrives::FromEnv("QS_FULL", nullptr);
}

// Starts a Linux shell command line (Wine starts Linux programs by their Z:
// path). Wine does not tell when such a program ends nor how: the command
// must leave a file behind to wait for. True when it was started.
inline bool StartLinuxShell(const std::string &command) {
    std::string line = "Z:\\bin\\sh -c \"" + command + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The Z: path of a Linux path.
inline std::string WindowsPathOf(const std::string &unixPath) {
    std::string path = "Z:" + unixPath;
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// The names of a folder on the drive in the order of its directory entries,
// as Linux lists them unsorted (ls -U). Wine itself lists every folder sorted
// by name, so only Linux shows this order. {"<ls failed>"} when that failed.
inline std::vector<std::string> DirectoryEntryOrder(const TestDrive &drive, const std::string &folder) {
    static int serial = 0;
    std::string out =
        drive.unixMount + ".ls-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    std::string done = WindowsPathOf(out);
    std::string failed = done + ".failed";
    // The listing appears under its final name only once it is complete.
    if (!StartLinuxShell("if ls -U -- '" + drive.UnixPath(folder) + "' > '" + out + ".part'; then mv '" +
                         out + ".part' '" + out + "'; else : > '" + out + ".failed'; fi")) {
        return {"<ls failed>"};
    }
    for (int waited = 0; waited < 30000 && !FileExists(done) && !FileExists(failed); waited += 10) {
        Sleep(10);
    }
    std::string text = FileExists(done) ? ReadBytes(done) : "";
    bool ok = FileExists(done);
    DeleteFileA(done.c_str());
    DeleteFileA(failed.c_str());
    DeleteFileA((done + ".part").c_str());
    if (!ok) {
        return {"<ls failed>"};
    }
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}
