// Location scenarios run in a child copy of this program, because most of them
// end the program. The child runs the real runtime with a scenario routine on
// its script thread, answers every box of its own process from a watcher
// thread, and writes what it saw into a result file that the test reads.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/box_watch.h"

struct ChildResult {
    int exitCode = -1; // -1: not started or timed out
    std::multimap<std::string, std::string> values;
    std::vector<SeenBox> boxes; // caption, text, directory and owned as the child saw them
    // The first value recorded under key; "<none>" when there is none.
    std::string Value(const std::string &key) const;
    std::vector<std::string> All(const std::string &key) const;
};

// --- Test side ------------------------------------------------------------

// Runs the scenario in a child; answer is "ok" or "cancel" (the button the
// watcher presses in every dialog).
ChildResult RunLocationChild(const char *scenario, const char *answer = "ok");

// Registry states of the browser, in this process's registry view (the same
// as the child's). RemoveBrowserKeys deletes the installation key, the
// document type's key and an emptied maker key.
void RemoveBrowserKeys();
// Creates the subkey under the installation key with a Main subkey; value is
// stored as "Install Directory" unless it is null.
void SetInstallDirectory(const char *subkey, const char *value);
// The default value of the document type's open command.
void SetOpenCommand(const char *command);

// The Program Files folder as the shell names it to this process.
std::string ProgramFilesPath();
// The file-system name of the volume at root ("C:\"); empty when unknown.
std::string FileSystemName(const std::string &root);

// --- Child side -----------------------------------------------------------

// The child's whole run: "--scenario=NAME --out=PATH --answer=ok|cancel".
int RunChildScenario(int argc, char **argv);
