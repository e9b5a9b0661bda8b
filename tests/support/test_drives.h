// Test helper: the drives that the Wine harness (tools/harness.sh) maps into
// the test prefix, and the directory order of a folder on the FAT drive.
//   FatDrive():  F:, a FAT16 image mounted with fusefat; Wine reports "FAT".
//   FullDrive(): G:, a small tmpfs that a test may fill to run out of space.
// A drive the harness could not set up carries the reason, for GTEST_SKIP.
// All functions may be called from any thread.
#pragma once

#include <windows.h>

#include <cstdint>
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

namespace testdrives {

// Reads size bytes at offset of an open file; empty when that failed.
inline std::string ReadAt(HANDLE file, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (size == 0 || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file, &bytes[0], static_cast<DWORD>(size), &read, nullptr) || read != size) {
        return std::string();
    }
    return bytes;
}

inline unsigned Word16(const std::string &bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// One entry of a FAT directory: its name as Linux shows it, its first cluster.
struct FatEntry {
    std::string name;
    unsigned cluster = 0;
};

// The entries of a FAT directory's raw bytes in their order: long names
// where they have one, else the short name in the case its flags give;
// deleted entries, the volume label, "." and ".." left out.
inline std::vector<FatEntry> FatEntries(const std::string &raw) {
    std::vector<FatEntry> entries;
    std::vector<std::wstring> parts(32);
    bool haveLong = false;
    for (std::size_t at = 0; at + 32 <= raw.size(); at += 32) {
        unsigned char first = static_cast<unsigned char>(raw[at]);
        unsigned char attributes = static_cast<unsigned char>(raw[at + 11]);
        if (first == 0) {
            break;
        }
        if (first == 0xE5) {
            haveLong = false;
            continue;
        }
        if (attributes == 0x0F) {
            if ((first & 0x40) != 0) {
                parts.assign(32, std::wstring());
            }
            std::wstring part;
            for (std::size_t offset : {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30}) {
                wchar_t c = static_cast<wchar_t>(Word16(raw, at + offset));
                if (c == 0 || c == 0xFFFF) {
                    break;
                }
                part += c;
            }
            parts[first & 0x1F] = part;
            haveLong = true;
            continue;
        }
        FatEntry entry;
        entry.cluster = Word16(raw, at + 26);
        if (haveLong) {
            std::wstring name;
            for (const std::wstring &part : parts) {
                name += part;
            }
            char buffer[1024] = {};
            WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, buffer, sizeof buffer, "?", nullptr);
            entry.name = buffer;
        } else {
            unsigned char flags = static_cast<unsigned char>(raw[at + 12]);
            std::string base = raw.substr(at, 8);
            std::string ext = raw.substr(at + 8, 3);
            base.erase(base.find_last_not_of(' ') + 1);
            ext.erase(ext.find_last_not_of(' ') + 1);
            if ((flags & 0x08) != 0) {
                CharLowerBuffA(&base[0], static_cast<DWORD>(base.size()));
            }
            if ((flags & 0x10) != 0 && !ext.empty()) {
                CharLowerBuffA(&ext[0], static_cast<DWORD>(ext.size()));
            }
            entry.name = ext.empty() ? base : base + "." + ext;
        }
        haveLong = false;
        if ((attributes & 0x08) == 0 && entry.name != "." && entry.name != "..") {
            entries.push_back(entry);
        }
    }
    return entries;
}

} // namespace testdrives

// The names of a folder on the drive in the order of its directory entries,
// read from the drive's FAT16 image (beside its mount point), where the FAT
// driver wrote them: the order Linux lists them unsorted (ls -U) and the
// browser reads them. Wine itself lists every folder sorted by name. The
// entries are read from the image rather than by starting ls from here: a
// Linux program started from a Wine process now and then left one of the
// process's event handles invalid. {"<unreadable>"} when the image cannot be read
// or the folder is not in it.
inline std::vector<std::string> DirectoryEntryOrder(const TestDrive &drive, const std::string &folder) {
    using testdrives::ReadAt;
    using testdrives::Word16;
    const std::vector<std::string> unreadable = {"<unreadable>"};
    HANDLE image = CreateFileA(WindowsPathOf(drive.unixMount + ".img").c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    if (image == INVALID_HANDLE_VALUE) {
        return unreadable;
    }
    std::string boot = ReadAt(image, 0, 512);
    std::vector<testdrives::FatEntry> entries;
    bool found = !boot.empty();
    if (found) {
        std::uint64_t sectorSize = Word16(boot, 11);
        std::uint64_t clusterSize = sectorSize * static_cast<unsigned char>(boot[13]);
        std::uint64_t fatStart = sectorSize * Word16(boot, 14);
        std::uint64_t fatSize = sectorSize * Word16(boot, 22);
        std::uint64_t rootStart = fatStart + fatSize * static_cast<unsigned char>(boot[16]);
        std::uint64_t dataStart = rootStart + 32 * static_cast<std::uint64_t>(Word16(boot, 17));
        std::string fat = ReadAt(image, fatStart, static_cast<std::size_t>(fatSize));
        std::string raw = ReadAt(image, rootStart, static_cast<std::size_t>(dataStart - rootStart));
        entries = testdrives::FatEntries(raw);
        std::string rest = folder.substr(drive.root.size());
        while (found && !rest.empty()) {
            std::size_t slash = rest.find('\\');
            std::string part = rest.substr(0, slash);
            rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
            found = false;
            for (const testdrives::FatEntry &entry : entries) {
                if (!found && lstrcmpiA(entry.name.c_str(), part.c_str()) == 0) {
                    found = true;
                    raw.clear();
                    // The folder's clusters, along its chain in the FAT (FAT16).
                    for (unsigned cluster = entry.cluster, hops = 0;
                         cluster >= 2 && cluster < 0xFFF8 && 2 * cluster + 1 < fat.size() && hops < 65536;
                         cluster = Word16(fat, 2 * cluster), ++hops) {
                        raw += ReadAt(image, dataStart + (cluster - 2) * clusterSize,
                                      static_cast<std::size_t>(clusterSize));
                    }
                }
            }
            entries = testdrives::FatEntries(raw);
        }
    }
    CloseHandle(image);
    if (!found) {
        return unreadable;
    }
    std::vector<std::string> names;
    for (const testdrives::FatEntry &entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}
