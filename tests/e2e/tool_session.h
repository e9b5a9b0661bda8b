// One run of the real Quillsort.exe for the end-to-end tests: a demo browser
// installation registered in the test prefix, a plugin folder written by the
// test, the recorder registered as the handler of web addresses and folders,
// and the tool's process and windows. Test thread only; every registry key and
// file the session creates is removed again when it ends.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Unix path of a build product as a Windows path on drive Z:.
std::string WindowsPath(const std::string &unixPath);

// A test program that hangs would be stopped from outside and leave the
// prefix changed for the tests after it. The watchdog, started once at
// program start, ends the tools still running, restores the registry and
// ends the program with exit code 3 when it runs longer than this.
constexpr int WatchdogSeconds = 540;

// Registry keys set for the session and restored (or removed) afterwards.
class RegistryFixture {
  public:
    RegistryFixture();
    ~RegistryFixture();
    RegistryFixture(const RegistryFixture &) = delete;
    RegistryFixture &operator=(const RegistryFixture &) = delete;

    // Sets the default or named value of root\path, creating the key; the
    // value it had (or the key's absence) is put back by the destructor.
    void SetValue(HKEY root, const std::string &path, const std::string &name, const std::string &value);
    // Puts everything back now; later calls do nothing.
    void Restore();

  private:
    struct Saved {
        HKEY root;
        std::string path;
        std::string name;
        bool existed;
        std::string value;
        std::vector<std::string> createdKeys; // outermost first
    };
    std::vector<Saved> saved_;
};

// The demo installation: <root>\searchplugins holding the files given.
class PluginFolder {
  public:
    // Creates a fresh, empty folder tree under the temporary folder.
    explicit PluginFolder(const std::string &leaf);
    ~PluginFolder();
    PluginFolder(const PluginFolder &) = delete;
    PluginFolder &operator=(const PluginFolder &) = delete;

    const std::string &Root() const { return root_; }       // ends in a backslash
    const std::string &Plugins() const { return plugins_; } // no trailing backslash
    void Write(const std::string &name, const std::string &bytes) const;
    std::string Read(const std::string &name) const;
    // File name -> contents of every file in the plugin folder (not in sub-folders).
    std::map<std::string, std::string> Files() const;
    // Removes everything inside the plugin folder, sub-folders included.
    void Clear() const;

  private:
    std::string root_;
    std::string plugins_;
};

// The handler recorder: each web address or folder the tool hands to the
// shell becomes one line of the record file.
class Recorder {
  public:
    Recorder(RegistryFixture &registry, const std::string &recordFile);
    std::vector<std::string> Lines() const;
    // Waits until at least n lines are there.
    bool WaitForLines(size_t n, int timeoutMs = 10000) const;
    void Clear() const;

  private:
    std::string file_;
};

// The running tool.
class ToolProcess {
  public:
    explicit ToolProcess(const std::string &workingFolder);
    ~ToolProcess(); // ends the process if it still runs
    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;

    DWORD Pid() const { return info_.dwProcessId; }
    bool Started() const { return info_.hProcess != nullptr; }
    // Waits for the main window to be shown at its final (centred) place.
    HWND WaitForMainWindow(int timeoutMs = 15000);
    HWND Main() const { return main_; }
    // Waits for the process to end; true with its exit code when it did.
    bool WaitForExit(DWORD &exitCode, int timeoutMs = 10000);
    bool Running() const;

  private:
    PROCESS_INFORMATION info_ = {};
    HWND main_ = nullptr;
};
