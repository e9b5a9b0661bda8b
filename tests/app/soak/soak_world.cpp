#include "soak_world.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "tests/support/temp_folder.h"

namespace soak {

namespace {

void ReadFolder(const std::string &folder, const std::string &prefix, Disk &disk) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            disk[prefix + name + "\\"] = DiskFile{};
            continue;
        }
        DiskFile file;
        file.bytes = ReadBytes(folder + "\\" + name);
        file.readOnly = (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        disk[prefix + name] = file;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

bool HasPluginExtension(const std::string &name) {
    if (name.size() < 5 || name.find('\\') != std::string::npos) {
        return false;
    }
    std::string ext = name.substr(name.size() - 4);
    return SameName(ext, ".src") || SameName(ext, ".hid");
}

} // namespace

Disk ReadDisk(const std::string &pluginFolder) {
    Disk disk;
    ReadFolder(pluginFolder, "", disk);
    ReadFolder(pluginFolder + "\\temp", "temp\\", disk);
    std::string staging = pluginFolder + " (re-sort)";
    if (GetFileAttributesA(staging.c_str()) != INVALID_FILE_ATTRIBUTES) {
        disk[StagingPrefix] = DiskFile{};
        ReadFolder(staging, StagingPrefix, disk);
    }
    return disk;
}

bool Away(const std::string &path) {
    return path.compare(0, 5, "temp\\") == 0 || path.compare(0, 3, "..\\") == 0;
}

bool SameName(const std::string &a, const std::string &b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string BaseOf(const std::string &name) {
    return name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
}

std::string WithoutSortPrefix(const std::string &name) {
    if (name.size() < 5 || name[0] < 'A' || name[0] > 'Z') {
        return name;
    }
    std::size_t at = 1;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9') {
        ++at;
    }
    if (at < 3 || name.compare(at, 2, "##") != 0) {
        return name;
    }
    return name.substr(at + 2);
}

std::string DosLineEnds(const std::string &bytes) {
    std::size_t lf = bytes.find('\n');
    if (lf != std::string::npos && lf > 0 && bytes[lf - 1] == '\r') {
        return bytes;
    }
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            out += '\r';
        }
        out += bytes[i];
    }
    return out + "\r\n";
}

std::string Renamed(const std::string &bytes, const std::string &from, const std::string &to) {
    std::string entry = "name=\"" + from + "\"";
    std::size_t at = bytes.find(entry);
    if (at == std::string::npos) {
        return bytes;
    }
    return bytes.substr(0, at) + "name=\"" + to + "\"" + bytes.substr(at + entry.size());
}

Plugin *World::ById(int id) {
    for (Plugin &p : plugins) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

Plugin *World::ByName(const std::string &name) {
    for (Plugin &p : plugins) {
        if (SameName(p.name, name)) {
            return &p;
        }
    }
    return nullptr;
}

Plugin *World::ByShown(const std::string &shown) {
    for (Plugin &p : plugins) {
        if (p.shown == shown) {
            return &p;
        }
    }
    return nullptr;
}

const Icon *World::IconOf(int plugin) const {
    for (const Icon &icon : icons) {
        if (icon.plugin == plugin) {
            return &icon;
        }
    }
    return nullptr;
}

std::string World::IconName(const Icon &icon) const {
    for (const Plugin &p : plugins) {
        if (p.id == icon.plugin) {
            return BaseOf(p.name) + icon.ext;
        }
    }
    return "";
}

Verdict World::Check(const Disk &disk, const Intent &intent) {
    Verdict v;
    std::set<std::string> accounted;
    auto shortOf = [&v](const std::string &why) {
        v.fullEffect = false;
        if (v.shortfall.empty()) {
            v.shortfall = why;
        }
    };
    if (intent.impossible) {
        shortOf("the operation's file was gone before it started");
    }

    for (const Other &other : others) {
        auto it = disk.find(other.path);
        auto away = disk.find(StagingPrefix + other.path);
        if (it != disk.end() && it->second.bytes == other.bytes) {
            accounted.insert(other.path);
        } else if (away != disk.end() && away->second.bytes == other.bytes) {
            v.stranded.push_back(other.path + " (in " + away->first + ")");
            accounted.insert(away->first);
            shortOf(other.path + " is away");
        } else {
            v.lost.push_back(other.path + " (a file of the user's that is no plugin)");
        }
    }

    std::vector<Plugin> found;
    std::set<int> gone;
    for (const Plugin &p : plugins) {
        bool deleting = std::find(intent.deleted.begin(), intent.deleted.end(), p.id) != intent.deleted.end();
        std::string wantBytes = intent.bytes.count(p.id) != 0 ? intent.bytes.at(p.id) : p.bytes;
        std::string wantName = intent.names.count(p.id) != 0 ? intent.names.at(p.id) : p.name;
        std::vector<std::string> inFolder;
        std::vector<std::string> inTemp;
        for (const auto &entry : disk) {
            const std::string &path = entry.first;
            if (accounted.count(path) != 0 || path.back() == '\\') {
                continue;
            }
            if (entry.second.bytes == p.bytes || entry.second.bytes == wantBytes) {
                (Away(path) ? inTemp : inFolder).push_back(path);
            }
        }
        if (inFolder.empty()) {
            if (!inTemp.empty()) {
                // Kept under its old name: a recovery must bring it back there.
                v.stranded.push_back(p.name + " (in " + inTemp[0] + ")");
                for (const std::string &path : inTemp) {
                    accounted.insert(path);
                }
                shortOf(p.name + " is away");
                found.push_back(p);
            } else if (deleting) {
                gone.insert(p.id);
            } else {
                v.lost.push_back(p.name + " (its bytes are nowhere, not even changed as intended)");
            }
            continue;
        }
        // The plugin itself: the copy under a plugin name, preferably the
        // intended one; every further copy is a left-over.
        std::string chosen;
        for (const std::string &path : inFolder) {
            if (SameName(path, wantName)) {
                chosen = path;
            }
        }
        for (const std::string &path : inFolder) {
            if (chosen.empty() && HasPluginExtension(path)) {
                chosen = path;
            }
        }
        for (const std::string &path : inFolder) {
            accounted.insert(path);
            if (path != chosen) {
                v.problems.push_back("left-over copy of " + p.name + ": " + path);
            }
        }
        for (const std::string &path : inTemp) {
            accounted.insert(path);
            v.problems.push_back("a plugin in two places, " + p.name + " also in " + path);
        }
        if (chosen.empty()) {
            v.lost.push_back(p.name + " (only under a name that is no plugin's: " + inFolder[0] + ")");
            continue;
        }
        const DiskFile &file = disk.at(chosen);
        if (deleting) {
            shortOf(p.name + " was not deleted");
        } else if (!SameName(chosen, wantName) || file.bytes != wantBytes) {
            shortOf(p.name + " is " + chosen + (file.bytes == wantBytes ? "" : " with its old bytes") +
                    ", not " + wantName + (wantBytes == p.bytes ? "" : " with the new bytes"));
        }
        if (file.bytes == p.bytes && file.readOnly != p.readOnly) {
            v.problems.push_back(p.name + " kept its bytes but lost or gained its read-only bit");
        }
        Plugin now = p;
        now.name = chosen;
        now.bytes = file.bytes;
        now.readOnly = file.readOnly;
        found.push_back(now);
    }

    std::vector<Icon> keptIcons;
    std::vector<Other> orphans;
    for (const Icon &icon : icons) {
        std::string path;
        std::string awayPath;
        for (const auto &entry : disk) {
            if (accounted.count(entry.first) == 0 && entry.second.bytes == icon.bytes) {
                (Away(entry.first) ? awayPath : path) = entry.first;
            }
        }
        if (path.empty() && !awayPath.empty()) {
            // Away under its own name: a recovery brings it back.
            accounted.insert(awayPath);
            v.stranded.push_back("icon " + awayPath);
            shortOf("an icon is away");
            keptIcons.push_back(icon);
            continue;
        }
        const Plugin *owner = nullptr;
        for (const Plugin &p : found) {
            if (p.id == icon.plugin) {
                owner = &p;
            }
        }
        bool ownerDeleted = gone.count(icon.plugin) != 0;
        if (path.empty()) {
            if (!ownerDeleted) {
                v.lost.push_back("icon " + BaseOf(ById(icon.plugin) ? ById(icon.plugin)->name : "?") +
                                 icon.ext);
            }
            continue;
        }
        accounted.insert(path);
        if (ownerDeleted) {
            shortOf("the icon " + path + " of a deleted plugin is still there");
            orphans.push_back(Other{path, icon.bytes});
        } else if (owner == nullptr) {
            orphans.push_back(Other{path, icon.bytes}); // its plugin is lost; reported above
        } else if (!SameName(path, BaseOf(owner->name) + icon.ext)) {
            v.problems.push_back("icon " + path + " no longer shares the name of its plugin " + owner->name);
            shortOf("an icon was separated from its plugin");
            orphans.push_back(Other{path, icon.bytes});
        } else {
            keptIcons.push_back(icon);
        }
    }

    for (const auto &entry : disk) {
        const std::string &path = entry.first;
        if (accounted.count(path) != 0) {
            continue;
        }
        if (path == "temp\\") {
            if (!tempFolderKept) {
                v.problems.push_back("the folder temp was left behind");
            }
            continue;
        }
        if (path == StagingPrefix) {
            v.problems.push_back("the staging folder was left behind");
            continue;
        }
        v.problems.push_back("unexpected file " + path + " (" + std::to_string(entry.second.bytes.size()) +
                             " bytes)");
    }

    if (v.lost.empty()) {
        plugins = found;
        icons = keptIcons;
        others.insert(others.end(), orphans.begin(), orphans.end());
    }
    return v;
}

} // namespace soak
