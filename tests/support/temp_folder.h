// Test helper: real files and folders for tests that run on the file system,
// and a temporary folder that is removed again with everything in it. All
// operations may be called from any thread; paths use backslashes.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// Deletes a folder with everything in it, read-only entries included; nothing
// happens when it is missing.
inline void RemoveTree(const std::string &folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// Creates a folder and the missing folders above it (path starts "C:\").
inline void CreateFolders(const std::string &path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

// Writes a file with exactly these bytes, creating missing folders on the way;
// true when all of them were written.
inline bool WriteBytes(const std::string &path, const std::string &bytes) {
    std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos && slash > 2) {
        CreateFolders(path.substr(0, slash));
    }
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

// The bytes of a file; "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

// True when a file or folder of that name exists.
inline bool FileExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void SetReadOnly(const std::string &path, bool on) {
    SetFileAttributesA(path.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

inline bool IsReadOnly(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The names in a folder (subfolders too, without "." and ".."), sorted
// case-insensitively.
inline std::vector<std::string> Listing(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

// A new, empty folder "<parent><stem>-<pid>-<n>" (parent ends in a backslash;
// the temporary folder when empty) with the nested folders of sub inside it
// (backslash-separated, may be empty). The destructor removes it with
// everything in it. Construct and destroy on one thread.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string &stem, const std::string &sub = "", std::string parent = "") {
        static int serial = 0;
        if (parent.empty()) {
            char temp[MAX_PATH] = {};
            GetTempPathA(MAX_PATH, temp);
            parent = temp;
        }
        root_ = parent + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        RemoveTree(root_);
        path_ = sub.empty() ? root_ : root_ + "\\" + sub;
        CreateFolders(path_);
    }
    ~ScratchFolder() { RemoveTree(root_); }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::string &Root() const { return root_; } // no trailing backslash
    const std::string &Path() const { return path_; } // the innermost folder, no trailing backslash
    std::string operator/(const std::string &name) const { return path_ + "\\" + name; }
    // Writes a file of the folder with exactly these bytes.
    bool Write(const std::string &name, const std::string &bytes) const {
        return WriteBytes(*this / name, bytes);
    }
    // Listing of the folder.
    std::vector<std::string> Files() const { return Listing(path_); }

  private:
    std::string root_;
    std::string path_;
};
