// Helpers of the plugin-operation tests: a plugin folder of real files (the
// file helpers come from tests/support/temp_folder.h), and a run of the
// runtime whose script builds a main window with the two catalogue lists,
// loads them from that folder and then runs the test's code.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

// A new, empty folder under the temporary folder (sub may hold backslashes for
// nested folders; Path() is the innermost one); removed again, with everything
// in it, by the destructor. Write and Files work on the innermost folder.
class TempPluginFolder : public ScratchFolder {
  public:
    explicit TempPluginFolder(const std::string &sub = "searchplugins")
        : ScratchFolder("qs_plugin_ops", sub) {}
};

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
