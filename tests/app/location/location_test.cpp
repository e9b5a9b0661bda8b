// Finding the browser from each source, with real registry states and real
// files, in a child process that runs the real runtime. The child answers its
// own boxes and the folder chooser; the tests check what the child found and
// which boxes it showed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "location_support.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr char FirstSubkey[] = "1.0 (en-US)";
constexpr char LastSubkey[] = "2.0 (de)";
constexpr char FatalOne[] = "Fatal Error (#0001)";
constexpr char NoPluginFolder[] = "Can't find ''searchplugins'' folder!";
constexpr char StartFolder[] = "C:\\users\\Public\\qs-start";

// The method the child must choose for drive C: as this process sees its volume.
std::string ExpectedMethod() {
    return FileSystemName("C:\\").find("FAT") == std::string::npos ? "1" : "0";
}

// Every test starts and ends without the browser's registry entries, and
// without a browser folder under Program Files unless the prefix had one.
class Location : public testing::Test {
  protected:
    void SetUp() override {
        RemoveBrowserKeys();
        programFiles_ = ProgramFilesPath();
        browserFolder_ = programFiles_ + "\\Mozilla Firefox";
        ownsBrowserFolder_ = !programFiles_.empty() && !FileExists(browserFolder_);
    }
    void TearDown() override {
        RemoveBrowserKeys();
        if (ownsBrowserFolder_) {
            RemoveTree(browserFolder_);
        }
        RemoveTree(StartFolder);
    }
    // A firefox.exe of the given bytes in Program Files\Mozilla Firefox.
    bool PutFirefoxExe(const std::string &bytes) {
        if (!ownsBrowserFolder_) {
            return false;
        }
        WriteBytes(browserFolder_ + "\\firefox.exe", bytes);
        return true;
    }
    std::string programFiles_;
    std::string browserFolder_;
    bool ownsBrowserFolder_ = false;
};

void ExpectFolders(const ChildResult &r, const std::string &browser) {
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("1", r.Value("reached"));
    EXPECT_EQ(browser, r.Value("browser"));
    EXPECT_EQ(browser + "searchplugins", r.Value("plugins"));
    EXPECT_EQ(browser + "searchplugins\\temp", r.Value("temp"));
    EXPECT_EQ(ExpectedMethod(), r.Value("rename"));
}

void ExpectFatalOneOnly(const ChildResult &r) {
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("<none>", r.Value("reached"));
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(FatalOne, r.boxes[0].caption);
    EXPECT_EQ(NoPluginFolder, r.boxes[0].text);
    EXPECT_FALSE(r.boxes[0].owned) << "no main window exists yet";
}

} // namespace

TEST_F(Location, OneSubkeyGivesItsInstallDirectoryLowerCased) {
    SetInstallDirectory(FirstSubkey, "C:\\Program Files\\Mozilla Firefox\\");
    ChildResult r = RunLocationChild("locate");
    ExpectFolders(r, "c:\\program files\\mozilla firefox\\");
    EXPECT_EQ("1", r.Value("errorlevel")) << "the first source keeps the initial level";
    EXPECT_TRUE(r.boxes.empty());
}

TEST_F(Location, InstallDirectoryWithoutBackslashIsCompleted) {
    SetInstallDirectory(FirstSubkey, "C:\\Program Files\\Mozilla Firefox");
    ChildResult r = RunLocationChild("locate");
    ExpectFolders(r, "c:\\program files\\mozilla firefox\\");
    EXPECT_TRUE(r.boxes.empty());
}

TEST_F(Location, OnlyTheSubkeyEnumeratedLastIsConsulted) {
    // The value under the last subkey is found even though the first has none.
    SetInstallDirectory(FirstSubkey, nullptr);
    SetInstallDirectory(LastSubkey, "D:\\Browsers\\Firefox\\");
    ChildResult found = RunLocationChild("locate");
    EXPECT_EQ("d:\\browsers\\firefox\\", found.Value("browser"));
    EXPECT_TRUE(found.boxes.empty());

    // The value only under the first: the registry warning, then the fatal stop.
    RemoveBrowserKeys();
    SetInstallDirectory(FirstSubkey, "C:\\Program Files\\Mozilla Firefox\\");
    SetInstallDirectory(LastSubkey, nullptr);
    ChildResult r = RunLocationChild("locate", "ok");
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("<none>", r.Value("reached"));
    ASSERT_EQ(2u, r.boxes.size());
    EXPECT_EQ(0u, r.boxes[0].caption.find("REGISTRY: ")) << r.boxes[0].caption;
    EXPECT_NE(std::string::npos, r.boxes[0].caption.find(LastSubkey)) << r.boxes[0].caption;
    EXPECT_NE(std::string::npos, r.boxes[0].caption.find("Install Directory")) << r.boxes[0].caption;
    EXPECT_FALSE(r.boxes[0].owned);
    EXPECT_EQ(FatalOne, r.boxes[1].caption);
    EXPECT_EQ(NoPluginFolder, r.boxes[1].text);

    // Cancel on the warning ends the program there, without the fatal message.
    ChildResult cancelled = RunLocationChild("locate", "cancel");
    EXPECT_EQ(0, cancelled.exitCode);
    ASSERT_EQ(2u, cancelled.boxes.size());
    EXPECT_EQ(0u, cancelled.boxes[0].caption.find("REGISTRY: "));
    EXPECT_EQ("Programm abgebrochen!", cancelled.boxes[1].caption);
}

TEST_F(Location, OpenCommandGivesTheFolderBeforeFirefoxExe) {
    const char *forms[] = {
        "c:\\progra~1\\mozill~1\\firefox.exe -url \"%1\"",
        "c:\\progra~1\\mozill~1\\firefox.exe -url %1",
        "C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE -url %1",
    };
    for (const char *command : forms) {
        RemoveBrowserKeys();
        SetOpenCommand(command);
        ChildResult r = RunLocationChild("locate");
        SCOPED_TRACE(command);
        ExpectFolders(r, "c:\\progra~1\\mozill~1\\");
        EXPECT_EQ("0", r.Value("errorlevel")) << "the later sources leave the level at 0";
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST_F(Location, InstallationKeyWithoutSubkeysFallsBackSilently) {
    SetInstallDirectory(FirstSubkey, "C:\\x\\");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla\\Mozilla Firefox\\1.0 (en-US)");
    SetOpenCommand("e:\\apps\\ff\\firefox.exe -url \"%1\"");
    ChildResult r = RunLocationChild("locate");
    ExpectFolders(r, "e:\\apps\\ff\\");
    EXPECT_TRUE(r.boxes.empty());
}

TEST_F(Location, CommandStartingWithAQuoteStopsWithoutTryingProgramFiles) {
    if (!PutFirefoxExe("MZ")) {
        GTEST_SKIP() << "the prefix has its own browser folder";
    }
    SetOpenCommand("\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -url \"%1\"");
    ExpectFatalOneOnly(RunLocationChild("locate"));
}

TEST_F(Location, FirefoxUnderProgramFilesIsUsedWhenNoKeyExists) {
    if (!PutFirefoxExe("MZ\x90\x00 not really a program")) {
        GTEST_SKIP() << "the prefix has its own browser folder";
    }
    ChildResult r = RunLocationChild("locate");
    ExpectFolders(r, programFiles_ + "\\Mozilla Firefox\\");
    EXPECT_EQ("0", r.Value("errorlevel"));
    EXPECT_TRUE(r.boxes.empty()) << "no folder chooser";
}

TEST_F(Location, EmptyOrMissingFirefoxExeAsksForTheFolder) {
    if (!PutFirefoxExe("")) {
        GTEST_SKIP() << "the prefix has its own browser folder";
    }
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "zero-byte firefox.exe" : "no firefox.exe");
        ChildResult r = RunLocationChild("locate", "cancel");
        EXPECT_EQ(0, r.exitCode);
        EXPECT_EQ("<none>", r.Value("reached"));
        ASSERT_EQ(2u, r.boxes.size());
        // The chooser opens in the Program Files folder.
        EXPECT_NE(std::string::npos, r.boxes[0].text.find("Can't find ''Mozilla Firefox'' on your PC!"))
            << r.boxes[0].text;
        EXPECT_EQ(0, lstrcmpiA(programFiles_.c_str(), r.boxes[0].directory.c_str())) << r.boxes[0].directory;
        EXPECT_EQ(FatalOne, r.boxes[1].caption);
        EXPECT_EQ(NoPluginFolder, r.boxes[1].text);
        RemoveTree(browserFolder_);
    }
}

TEST_F(Location, FatalStopTwoAndQuitTool) {
    ChildResult fatal = RunLocationChild("fatal2");
    EXPECT_EQ(0, fatal.exitCode);
    ASSERT_EQ(1u, fatal.boxes.size());
    EXPECT_EQ("Fatal Error (#0002)", fatal.boxes[0].caption);
    EXPECT_EQ("Failed to create temporary folder!", fatal.boxes[0].text);

    SetInstallDirectory(FirstSubkey, "C:\\Program Files\\Mozilla Firefox\\");
    ChildResult quit = RunLocationChild("quit");
    EXPECT_EQ(0, quit.exitCode);
    EXPECT_EQ("1", quit.Value("reached"));
    EXPECT_EQ("yes", quit.Value("areas released"));
    EXPECT_TRUE(quit.boxes.empty());
}

// The whole start-up: location first, then the window and the first load.
TEST_F(Location, StartUpLoadsTheCatalogueFromTheLocatedFolder) {
    const std::string plugins = std::string(StartFolder) + "\\searchplugins\\";
    WriteBytes(plugins + "alpha.src", "<search\r\n name=\"Alpha\"\r\n>\r\n");
    WriteBytes(plugins + "beta.src", "<search\r\n name=\"Beta\"\r\n>\r\n");
    WriteBytes(plugins + "nameless.src", "<search>\r\n");
    std::vector<std::string> expectedFiles;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((plugins + "*.SRC").c_str(), &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        if (std::string(entry.cFileName) != "nameless.src") {
            expectedFiles.push_back(entry.cFileName);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);

    SetInstallDirectory(FirstSubkey, StartFolder);
    ChildResult r = RunLocationChild("startup");
    ExpectFolders(r, "c:\\users\\public\\qs-start\\");
    EXPECT_EQ("1", r.Value("errorlevel"));
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(expectedFiles, r.All("file"));
    ASSERT_EQ(2u, r.All("row").size());
    for (std::size_t i = 0; i < expectedFiles.size(); ++i) {
        EXPECT_EQ(expectedFiles[i] == "alpha.src" ? "Alpha" : "Beta", r.All("row")[i]);
    }
    EXPECT_EQ("0", r.Value("selection"));
    EXPECT_EQ("main list", r.Value("focus"));
    EXPECT_EQ("disabled", r.Value("up"));
    EXPECT_EQ("enabled", r.Value("down"));
    EXPECT_EQ(ExpectedMethod() == "1" ? "yes" : "no", r.Value("origbutton"));
    EXPECT_EQ("yes", r.Value("back in start directory"));

    // Through the open command the event loop would start at level 0.
    RemoveBrowserKeys();
    SetOpenCommand("c:\\users\\public\\qs-start\\firefox.exe -url \"%1\"");
    ChildResult second = RunLocationChild("startup");
    ExpectFolders(second, "c:\\users\\public\\qs-start\\");
    EXPECT_EQ("0", second.Value("errorlevel"));
    EXPECT_EQ(2u, second.All("row").size());
}

// The shell writes a folder path of up to MAX_PATH bytes; the area it writes
// into holds them all, and nothing past it is touched.
TEST(SpecialFolder, APathOfTheLongestLengthComesBackWhole) {
    const char *key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    std::string folder = "C:\\users\\Public\\qs-long";
    std::string path = folder;
    while (path.size() < MAX_PATH - 1) {
        std::size_t room = MAX_PATH - 1 - path.size() - 1;
        path += "\\" + std::string(room < 100 ? room : 100, 'x');
    }
    ASSERT_EQ(static_cast<std::size_t>(MAX_PATH - 1), path.size());
    CreateFolders(path);
    ASSERT_TRUE(FileExists(path));
    HKEY shellFolders = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &shellFolders));
    char before[1024] = {};
    DWORD size = sizeof before;
    DWORD type = 0;
    bool had = RegQueryValueExA(shellFolders, "Cookies", nullptr, &type, reinterpret_cast<BYTE *>(before),
                                &size) == ERROR_SUCCESS;
    RegSetValueExA(shellFolders, "Cookies", 0, REG_SZ, reinterpret_cast<const BYTE *>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    ChildResult r = RunLocationChild("longfolder");
    if (had) {
        RegSetValueExA(shellFolders, "Cookies", 0, type, reinterpret_cast<const BYTE *>(before), size);
    } else {
        RegDeleteValueA(shellFolders, "Cookies");
    }
    RegCloseKey(shellFolders);
    RemoveTree(folder);
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ(path, r.Value("path"));
    EXPECT_EQ("whole", r.Value("heaps"));
}
