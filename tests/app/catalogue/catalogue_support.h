// Catalogue loads run for real: a runtime run whose script thread opens a main
// window with the two list boxes and the move buttons as the main window has
// them, and then loads plugin folders into them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What one load left behind, read back from the windows on the script thread.
struct LoadedLists {
    std::vector<std::string> shown; // rows of the main list
    std::vector<std::string> files; // rows of the file-name list
    int selection = -2;             // LB_GETCURSEL of the main list
    bool focused = false;           // the main list has the keyboard focus
    bool upEnabled = false;
    bool downEnabled = false;
    std::string prefix;       // the prefix letter after the load
    int errorLevel = -9;      // "errorlevel" after the load
    bool backInStart = false; // the current directory is the start directory again
};

// Runs RunRuntime with body on the script thread, after the window, lists,
// buttons and memory areas exist (the start directory is the current one);
// ends the run afterwards. Returns RunRuntime's exit code.
int RunWithCatalogueWindow(const std::function<void()> &body);
// Script thread, inside body: LoadCatalogue of folder's files matching mask
// into the two lists with the given selection, and what it left behind.
LoadedLists Load(const std::string &folder, int selection = -1, const char *mask = "*.SRC");

// The names FindFirstFileA/FindNextFileA give for folder\*.SRC, in their
// order, leaving out folders and the names in skip.
std::vector<std::string> SearchOrder(const std::string &folder, const std::vector<std::string> &skip = {});

// A fresh, empty folder under the temporary folder.
std::string FreshFolder(const char *leaf);

// Holds a file open with no sharing in a child copy of this program until
// the object is destroyed.
class LockedFile {
  public:
    explicit LockedFile(const std::string &path);
    ~LockedFile();
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;
    bool locked() const { return locked_; }

  private:
    HANDLE release_ = nullptr;
    HANDLE process_ = nullptr;
    bool locked_ = false;
};
// Child side: "--lock=PATH --events=NAME".
int RunLocker(int argc, char **argv);
