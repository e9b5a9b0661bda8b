// The shipped Quillsort.exe as Windows sees it before running it: its
// manifest, version information and icon, the libraries and functions it
// imports, and the Windows version its header asks for.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/windows/web_addresses.h"
#include "pe_file.h"
#include "xp_rules.h"

namespace {

std::string WindowsPath(const std::string &unixPath) {
    std::string path = "Z:" + unixPath;
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

const std::string ToolPath = WindowsPath(QS_TOOL_PATH);

// The program loaded as a data file: its resources, none of its code.
class ToolResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(ToolPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << ToolPath << ": error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    std::string Resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(module_, name, type);
        if (found == nullptr) {
            return "";
        }
        HGLOBAL loaded = LoadResource(module_, found);
        const char *data = static_cast<const char *>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(module_, found)) : "";
    }

    HMODULE module_ = nullptr;
};

TEST_F(ToolResources, ManifestRunsAsInvokerOnVistaToElevenWithoutDpiOrControlsChanges) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty()) << "no application manifest (type 24, id 1)";
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"" QS_VERSION ".0\""), std::string::npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
    const char *systems[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    for (const char *id : systems) {
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    }
    // The windows keep their fixed pixel layout and their classic controls.
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    // No byte-order mark and nothing but ASCII: read the same by every Windows.
    for (unsigned char c : manifest) {
        ASSERT_LT(c, 0x80);
    }
}

TEST_F(ToolResources, VersionInformationNamesTheProductItsVersionAndTheCreditLine) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(ToolPath.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(ToolPath.c_str(), 0, size, &block[0]));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    const DWORD high = MAKELONG(QS_VERSION_MINOR, QS_VERSION_MAJOR), low = MAKELONG(0, QS_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // Explorer reads the strings of the language the translation table names.
    struct {
        WORD language, codePage;
    } *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&translation), &length));
    ASSERT_GE(length, 4u);
    char prefix[64];
    wsprintfA(prefix, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
    auto value = [&](const char *name) -> std::string {
        char *text = nullptr;
        UINT chars = 0;
        if (!VerQueryValueA(block.data(), (std::string(prefix) + name).c_str(),
                            reinterpret_cast<void **>(&text), &chars) ||
            text == nullptr) {
            return "<missing>";
        }
        return text;
    };
    EXPECT_EQ(value("ProductName"), "Quillsort");
    EXPECT_EQ(value("FileVersion"), QS_VERSION);
    EXPECT_EQ(value("ProductVersion"), QS_VERSION);
    EXPECT_EQ(value("OriginalFilename"), "Quillsort.exe");
    EXPECT_EQ(value("LegalCopyright"), CreditLine);
    EXPECT_NE(value("FileDescription").find("Quillsort"), std::string::npos);
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<std::string *>(found) = IS_INTRESOURCE(name) ? "#" : name;
    return FALSE;
}

TEST_F(ToolResources, ProgramIconComesFirstSoThatExplorerShowsIt) {
    std::string first;
    EnumResourceNamesA(module_, MAKEINTRESOURCEA(14), TakeFirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, "A");
    EXPECT_FALSE(Resource(MAKEINTRESOURCEA(14), "A").empty());
}

PeFile ReadTool() {
    const std::string bytes = ReadWholeFile(QS_TOOL_PATH);
    EXPECT_FALSE(bytes.empty()) << QS_TOOL_PATH;
    PeFile pe = ReadPeFile(bytes);
    EXPECT_EQ(pe.error, "");
    return pe;
}

bool Imports(const PeFile &pe, const std::string &function) {
    for (const ImportedLibrary &library : pe.imports) {
        for (const std::string &f : library.functions) {
            if (f == function) {
                return true;
            }
        }
    }
    return false;
}

TEST(ToolImports, OnlyFromLibrariesWindowsItselfCarries) {
    const PeFile pe = ReadTool();
    ASSERT_TRUE(pe.pe32);
    // The reader found the table: the program opens its window through user32.
    EXPECT_TRUE(Imports(pe, "CreateWindowExA"));
    for (const ImportedLibrary &library : pe.imports) {
        EXPECT_TRUE(IsXpSystemLibrary(library.name)) << library.name;
    }
}

TEST(ToolImports, NothingWindowsXpSp3LacksAndAnXpSubsystemVersion) {
    const PeFile pe = ReadTool();
    for (const ImportedLibrary &library : pe.imports) {
        for (const std::string &function : library.functions) {
            EXPECT_EQ(XpLacks(library.name, function), "") << library.name << "!" << function;
        }
    }
    // XP (5.1) refuses to start images that ask for a later Windows.
    EXPECT_LE(pe.subsystemMajor * 100 + pe.subsystemMinor, 501);
    EXPECT_LE(pe.osMajor * 100 + pe.osMinor, 501);
}

TEST(ToolImports, CheckFindsTheVistaFunctionsThisTestProgramImports) {
    // This program is built with the posix thread model, whose library imports
    // GetTickCount64: the same reading of its own file must catch that.
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    const PeFile pe = ReadPeFile(ReadWholeFile(self));
    ASSERT_EQ(pe.error, "");
    ASSERT_TRUE(Imports(pe, "GetTickCount64"));
    EXPECT_EQ(XpLacks("KERNEL32.dll", "GetTickCount64"), "GetTickCount64 (Vista)");
    EXPECT_NE(XpLacks("kernel32.dll", "AcquireSRWLockExclusive"), "");
    EXPECT_NE(XpLacks("kernel32.dll", "SleepConditionVariableCS"), "");
    EXPECT_NE(XpLacks("kernel32.dll", "InitOnceExecuteOnce"), "");
    EXPECT_NE(XpLacks("kernel32.dll", "FlsAlloc"), "");
    EXPECT_NE(XpLacks("kernel32.dll", "GetLocaleInfoEx"), "");
    EXPECT_NE(XpLacks("msvcrt.dll", "strcpy_s"), "");
    // Functions XP has stay allowed, also the older ...Ex ones.
    EXPECT_EQ(XpLacks("kernel32.dll", "GetTickCount"), "");
    EXPECT_EQ(XpLacks("kernel32.dll", "FlushFileBuffers"), "");
    EXPECT_EQ(XpLacks("kernel32.dll", "GetStringTypeExA"), "");
    EXPECT_EQ(XpLacks("user32.dll", "CreateWindowExA"), "");
    EXPECT_FALSE(IsXpSystemLibrary("libwinpthread-1.dll"));
    EXPECT_TRUE(IsXpSystemLibrary("KERNEL32.dll"));
}

TEST(ToolImports, DamagedFilesAreReportedNotFollowed) {
    std::string bytes = ReadWholeFile(QS_TOOL_PATH);
    ASSERT_GT(bytes.size(), 4096u);
    EXPECT_NE(ReadPeFile(bytes.substr(0, 1024)).error, "");
    EXPECT_NE(ReadPeFile("MZ").error, "");
    bytes[0x3C] = '\x7F'; // the PE header offset now points at no signature
    EXPECT_NE(ReadPeFile(bytes).error, "");
}

} // namespace
