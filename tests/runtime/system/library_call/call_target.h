// Where the test library lies and what its Args<n> exports answer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The folder of the test executable, with a trailing backslash; the test
// library and its copies lie there.
inline std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

inline std::string TargetPath(const char *name = "call_target.dll") {
    return TestFolder() + name;
}

// Distinct argument words; on 64-bit Windows they use the upper half too.
inline std::uintptr_t Word(int i) {
    return static_cast<std::uintptr_t>(0x9E3779B97F4A7C15ull * static_cast<unsigned>(i + 1));
}

// What Args<n> returns for Word(0) .. Word(n - 1).
inline std::uintptr_t ExpectedChecksum(int n) {
    std::uintptr_t h = 0x1000 + static_cast<std::uintptr_t>(n);
    for (int i = 0; i < n; ++i)
        h = h * 31u + Word(i);
    return h;
}
