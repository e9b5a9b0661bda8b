// Helpers of the plugin-operation tests: a plugin folder of real files, and a
// run of the runtime whose script builds a main window with the two catalogue
// lists, loads them from that folder and then runs the test's code.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A new, empty folder under the temporary folder (sub may hold backslashes for
// nested folders); removed again, with everything in it, by the destructor.
class TempPluginFolder {
  public:
    explicit TempPluginFolder(const std::string &sub = "searchplugins");
    ~TempPluginFolder();
    TempPluginFolder(const TempPluginFolder &) = delete;
    TempPluginFolder &operator=(const TempPluginFolder &) = delete;

    const std::string &Path() const { return path_; } // no trailing backslash
    std::string operator/(const std::string &file) const { return path_ + "\\" + file; }
    // Writes a file of the folder with exactly these bytes.
    void Write(const std::string &file, const std::string &bytes) const;
    // The file names of the folder, sorted, without "." and "..".
    std::vector<std::string> Files() const;

  private:
    std::string root_;
    std::string path_;
};

// The bytes of a file; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string &path);
bool FileExists(const std::string &path);
void SetReadOnly(const std::string &path, bool on);
bool IsReadOnly(const std::string &path);
// A plugin text with the given shown name, lines ended by CR LF.
std::string PluginText(const std::string &shown);

// Runs the runtime with a script that opens a main window with MainList,
// NameList and the two move buttons (as the start-up creates them), sets the
// catalogue's folder values to folder, loads the lists from "*.SRC" and runs
// body with "errorlevel" 1; afterwards the window is closed. Returns the exit
// code of RunRuntime.
int RunPluginScenario(const std::string &folder, const std::function<void()> &body);

// Script thread, inside a scenario: the rows of a list box.
std::vector<std::string> ListRows(HWND list);
int ListSelection(HWND list);
// Script thread: moves the focus to the main window and clears the Enter
// latch, so that a test can see an operation set both again.
void ForgetFocusAndLatch();
// Script thread: the main list has the focus (as the runtime and Win32 see
// it) and the Enter latch is set.
bool BackOnMainList();
