// A fresh, empty temporary folder per test, removed with everything in it
// (read-only files included) afterwards; the file layer is started and
// "errorlevel" is -1 so that reports are only recorded, never shown.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/core/errors.h"
#include "runtime/core/settings.h"
#include "runtime/system/files.h"

inline void RemoveTree(const std::string &path) {
    WIN32_FIND_DATAA entry;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &entry));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        dir_ = std::string(base) + "qs_files_" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(++serial);
        RemoveTree(dir_);
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
        GetCurrentDirectoryA(MAX_PATH, startDir_);
        StartFileLayer();
        SetErrorLevel(-1);
        TakeErrorKind();
        LastErrorNumber = 0;
    }
    void TearDown() override {
        for (int channel = 1; channel <= 15; ++channel)
            CloseFile(channel);
        EndFileLayer();
        SetCurrentDirectoryA(startDir_);
        RemoveTree(dir_);
    }

    std::string Path(const std::string &name) const { return dir_ + "\\" + name; }
    StringValue P(const std::string &name) const { return StringValue(Path(name).c_str()); }
    void Write(const std::string &name, const std::string &bytes) const {
        HANDLE h = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::string Read(const std::string &name) const {
        std::string bytes;
        HANDLE h = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
            bytes.append(buffer, n);
        CloseHandle(h);
        return bytes;
    }
    bool Exists(const std::string &name) const {
        return GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string dir_;
    char startDir_[MAX_PATH] = {};
};
