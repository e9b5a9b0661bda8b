// Test helper for the application's tests: real files and folders to load.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

// Writes a file with exactly the given bytes, creating missing folders on the way.
inline void WriteBytes(const std::string &path, const std::string &bytes) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Deletes a folder with everything in it; nothing happens when it is missing.
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
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
