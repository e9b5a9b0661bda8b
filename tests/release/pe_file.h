// Test helper: reads a Windows executable's headers and import tables from
// its bytes, as the loader would find them. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One library the executable imports, with the functions it takes from it.
struct ImportedLibrary {
    std::string name;                   // as written in the file, e.g. "KERNEL32.dll"
    bool delayed = false;               // from the delay-load table
    std::vector<std::string> functions; // by name; "#<n>" for one by ordinal
};

struct PeFile {
    std::string error; // empty when the file was read completely
    bool pe32 = false; // 32-bit image (not PE32+)
    std::uint16_t osMajor = 0, osMinor = 0;
    std::uint16_t subsystemMajor = 0, subsystemMinor = 0;
    std::vector<ImportedLibrary> imports; // both tables, in file order
};

// The headers and imports of an image given as its file contents; a damaged
// or truncated file gives a PeFile whose error says what was wrong.
PeFile ReadPeFile(const std::string &bytes);

// A file's whole contents; "" when it cannot be read.
std::string ReadWholeFile(const std::string &path);
