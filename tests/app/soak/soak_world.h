// The soak's picture of one plugin folder: which plugins, icons and other
// files the user has, what an operation intends to make of them, and the
// comparison of that picture with the disk after the operation. Plugins and
// icons are found on disk by their bytes (each one's bytes are unique), so a
// file that moved, was renamed or was copied is still recognised. Any thread;
// one world belongs to one sequence.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace soak {

struct Plugin {
    int id = 0;
    std::string name;  // file name in the plugin folder, ".src" or ".hid"
    std::string bytes; // whole content
    std::string shown; // value of its name entry
    bool readOnly = false;
};

struct Icon {
    int plugin = 0;  // id of the plugin it belongs to
    std::string ext; // ".gif", ".png", ".jpg" or ".ico"
    std::string bytes;
};

// A file of the user's that is neither a plugin nor an icon of one (a stray
// file, a look-alike name, an icon whose plugin was deleted by hand); path is
// relative to the plugin folder and may be "temp\name".
struct Other {
    std::string path;
    std::string bytes;
};

// What one operation means to do: the plugins' names and bytes afterwards
// (those not listed stay as they are), and the plugins it deletes with their
// icons. impossible: the operation cannot have its full effect whatever the
// tool does (its file is gone), so only a failure may be reported.
struct Intent {
    std::map<int, std::string> names;
    std::map<int, std::string> bytes;
    std::vector<int> deleted;
    bool impossible = false;
};

// One file as found on disk.
struct DiskFile {
    std::string bytes;
    bool readOnly = false;
};

// The plugin folder, its temp folder and the re-sort's staging folder beside
// it as found on disk: paths relative to the plugin folder ("temp\x" inside
// temp, StagingPrefix + "x" in the staging folder, StagingPrefix itself when
// that folder exists); folders end in "\".
using Disk = std::map<std::string, DiskFile>;
Disk ReadDisk(const std::string &pluginFolder);
constexpr char StagingPrefix[] = "..\\searchplugins (re-sort)\\";
// True for a path where the browser cannot see the file: in the staging
// folder, or where the previous version kept it, in temp.
bool Away(const std::string &path);

// The findings of one check.
struct Verdict {
    std::vector<std::string> lost;     // user files whose bytes are nowhere
    std::vector<std::string> stranded; // files found only away (Away), for a recovery to bring back
    std::vector<std::string> problems; // left-over or unexpected files, icons apart, changed attributes
    bool fullEffect = true;            // the disk shows everything the operation intended
    std::string shortfall;             // why not, for the log
};

class World {
  public:
    std::vector<Plugin> plugins;
    std::vector<Icon> icons;
    std::vector<Other> others;
    bool tempFolderKept = false; // temp was the user's before the operation: it may stay

    Plugin *ById(int id);
    Plugin *ByName(const std::string &name); // case-insensitive
    Plugin *ByShown(const std::string &shown);
    const Icon *IconOf(int plugin) const;
    std::string IconName(const Icon &icon) const;

    // Compares the disk with the intent; a plugin that kept its bytes must
    // also have kept its read-only bit. When nothing was lost the world then
    // follows the disk (plugins under the names and bytes found), so the next
    // operation starts from what is really there; a plugin found only in temp
    // stays under its old name, where a recovery must bring it back.
    Verdict Check(const Disk &disk, const Intent &intent);
};

// Case-insensitive equality, as the file systems compare names.
bool SameName(const std::string &a, const std::string &b);
// name without its last four characters (the ".src" or ".hid").
std::string BaseOf(const std::string &name);
// name with the tool's own sort prefix (a letter A-Z, two or more digits,
// "##") taken off its start; any other name unchanged.
std::string WithoutSortPrefix(const std::string &name);
// The lone LFs made CR LF and CR LF appended, unless the first LF follows a CR.
std::string DosLineEnds(const std::string &bytes);
// The text with name="from" replaced by name="to".
std::string Renamed(const std::string &bytes, const std::string &from, const std::string &to);

} // namespace soak
