// Fault-injection soak: random sequences of the tool's file operations on a
// plugin folder with icons, run through the application's own code on the
// real runtime, with message boxes answered as a user would. Between and
// during the operations it injects faults: files held open without sharing,
// files deleted or added behind the tool's back, target names taken by stray
// files, a temp folder already there, read-only bits, a full disk, and a stop
// of the program in the middle of a re-copy, after which the tool starts
// again and its recovery must bring every file home. After every
// operation it checks that every plugin's bytes are in the folder under one
// plugin name (changed only as the operation intends), that every icon still
// shares its plugin's name, that nothing is left over, and that the tool
// reported a failure whenever the disk does not show the operation's full
// effect, and success never otherwise.
//
// Each sequence is drawn from its seed. QS_SOAK_SEQUENCES sets how many run
// (default 30, about a minute), QS_SOAK_SEED the first seed (default 1). A failing sequence
// prints its seed and steps; the run ends with
// "N sequences, M files lost, K false successes", lines also written to the
// file that QS_SOAK_REPORT names.
// Sequences run on the local drive (renaming), on the FAT drive F: (re-copy)
// and on the small drive G: (renaming, disk full); a drive the harness could
// not set up is replaced by the local drive, and the reason is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../app_scenario.h"
#include "app/catalogue/catalogue.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_ops.h"
#include "app/catalogue/recopy.h"
#include "runtime/core/frame.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_ops.h"
#include "soak_world.h"
#include "tests/support/test_drives.h"

using namespace apptest;
using soak::Intent;
using soak::Verdict;

namespace {

enum class Volume { Local, Fat, Full };

// The exit code of a program stopped in the middle of a re-copy.
constexpr int StopExitCode = 77;

const char *VolumeName(Volume v) {
    switch (v) {
    case Volume::Fat:
        return "F: (FAT, re-copy)";
    case Volume::Full:
        return "G: (small, renaming)";
    default:
        return "C: (local, renaming)";
    }
}

struct Tally {
    int sequences = 0;
    int stops[5] = {}; // re-copies stopped at each of their steps, recovered at the next start
    int lost = 0;
    int falseSuccesses = 0;
    int problems = 0;
    std::vector<unsigned> failedSeeds;
};

int EnvNumber(const char *name, int fallback) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        rows.push_back(GetListItem(list, i).c_str());
    }
    return rows;
}

std::string ShownOf(const std::string &bytes) {
    std::size_t at = bytes.find("name=\"");
    if (at == std::string::npos) {
        return "";
    }
    std::size_t end = bytes.find('"', at + 6);
    return end == std::string::npos ? "" : bytes.substr(at + 6, end - at - 6);
}

// A plugin text of about size bytes with unique padding lines.
std::string PluginBytes(int id, const std::string &shown, std::size_t size, bool crlf) {
    const std::string eol = crlf ? "\r\n" : "\n";
    std::string text = "<search" + eol + " version=\"7.1\"" + eol + " name=\"" + shown + "\"" + eol +
                       " method=\"GET\"" + eol + " action=\"http://search.example.com/p" +
                       std::to_string(id) + "\"" + eol + ">" + eol + "<input name=\"q\" user>" + eol;
    for (int line = 0; text.size() < size; ++line) {
        text += "# plugin " + std::to_string(id) + " line " + std::to_string(line) + eol;
    }
    return text + "</search>" + eol;
}

bool IsFailureBox(const SeenBox &box) {
    if (box.text == "Conversion not necessary!") {
        return false;
    }
    return box.icon == "warning" || box.icon == "error";
}

bool IsSuccessBox(const SeenBox &box) {
    return box.text.find("successful") != std::string::npos;
}

std::string Describe(const std::vector<SeenBox> &boxes) {
    if (boxes.empty()) {
        return "no box";
    }
    std::string out;
    for (const SeenBox &box : boxes) {
        std::string text = box.text;
        for (char &c : text) {
            if (c == '\r' || c == '\n') {
                c = '|';
            }
        }
        out += (out.empty() ? "" : "; ") + ("[" + box.icon + "] " + text);
    }
    return out;
}

// A fault that lasts while the operation runs: a handle held, a stray file
// put in the way, a disk filled. Undone by Clear, before the disk is checked.
struct Faults {
    std::vector<HANDLE> handles;
    std::vector<std::string> strays; // Windows paths, removed after the step
    std::string filler;
    std::vector<std::string> names; // for the log

    std::set<std::string> held; // names held open: a load meanwhile cannot read them

    void Hold(const std::string &path, const std::string &label) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handles.push_back(h);
            held.insert(label);
            names.push_back("hold " + label);
        } else {
            names.push_back("hold " + label + " (could not open)");
        }
    }
    void Clear() {
        for (HANDLE h : handles) {
            CloseHandle(h);
        }
        handles.clear();
        for (const std::string &path : strays) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
        strays.clear();
        if (!filler.empty()) {
            DeleteFileA(filler.c_str());
            filler.clear();
        }
    }
};

class Sequence {
  public:
    Sequence(unsigned seed, Volume volume, const TestDrive &drive, Tally &tally)
        : seed_(seed), rng_(seed), volume_(volume), drive_(drive), tally_(tally),
          browser_(volume == Volume::Local ? std::string() : drive.root) {
        toolFolder_ = browser_.Folder();
        CharLowerA(&toolFolder_[0]);
        toolFolder_ += "\\searchplugins";
    }

    void Run() {
        Populate();
        int steps = 4 + Pick(5);
        int step = 1;
        // After a stop in the middle of a re-copy the tool starts again, as
        // a user would, and its start-up offers the recovery.
        bool restarted = false;
        std::vector<std::string> damage;
        for (;;) {
            bool finished = false;
            std::unique_ptr<BoxWatch> startBoxes(restarted ? new BoxWatch(IDYES) : nullptr);
            int code = RunApplication([&] {
                if (restarted) {
                    // The start-up's boxes are over: no second watcher may
                    // answer the boxes of the operations that follow.
                    std::vector<SeenBox> seen = startBoxes->Boxes();
                    startBoxes.reset();
                    AfterStop(seen, damage);
                }
                MakeDialogLists();
                for (; step <= steps && !failed_; ++step) {
                    Step(step);
                }
                finished = true;
            });
            startBoxes.reset();
            bool stopped = code == StopExitCode && stop_.reached;
            Disarm();
            StopDuring();
            if (stopped && !failed_) {
                damage.clear();
                EndFaults(damage);
                delete activeWatch_; // the stopped operation showed nothing
                activeWatch_ = nullptr;
                ++step;
                restarted = true;
                continue;
            }
            faults_.Clear();
            if (!finished && !failed_) {
                log_.push_back(pending_);
                std::vector<std::string> seen;
                if (activeWatch_ != nullptr) {
                    seen.push_back("boxes: " + Describe(activeWatch_->Boxes()));
                    delete activeWatch_;
                    activeWatch_ = nullptr;
                }
                ++tally_.problems;
                Fail("the tool ended the program during this operation, exit code " + std::to_string(code),
                     seen);
            }
            break;
        }
        ++tally_.sequences;
        if (failed_) {
            tally_.failedSeeds.push_back(seed_);
            std::printf("FAILED sequence seed %u on %s\n", seed_, VolumeName(volume_));
            for (const std::string &line : log_) {
                std::printf("  %s\n", line.c_str());
            }
            std::fflush(stdout);
        }
    }

    // Called by the re-copy before each of its steps and after each file or
    // folder it moved, removed or made: at the armed point the program stops
    // there, as when it is killed, after a look at what the browser could
    // see at that moment.
    static void StopPointReached(RecopyStep step, std::int32_t done) {
        Sequence *self = Stopping;
        if (self == nullptr || self->stop_.reached || step != self->stop_.step || done != self->stop_.done) {
            return;
        }
        self->stop_.reached = true;
        self->stop_.twice = self->SeenTwice();
        ++self->tally_.stops[static_cast<int>(step)];
        EndProgramWithCode(StopExitCode);
    }

  private:
    int Pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    std::string Plugins() const { return browser_.Plugins(); }
    // The path under which the tool itself opens a file: the browser folder
    // lower-cased as the registry value is read. On the FAT drive each
    // spelling of a name has its own inode, and Wine notices a handle of
    // another program only under the same spelling.
    std::string ToolPath(const std::string &relative) const { return toolFolder_ + "\\" + relative; }

    void Populate() {
        static const char *const pool[] = {
            "alpha.src",   "Beta.SRC",  "K03##gamma.src",   "a##b.src",
            "x##y##z.src", "delta.src", "Q12##epsilon.src", "long name with spaces.src",
            "zeta.hid",    "Eta.HID",   "theta.src",        "M7##iota.src"};
        static const char *const exts[] = {".gif", ".png", ".jpg", ".ico"};
        std::vector<std::string> names(std::begin(pool), std::end(pool));
        std::shuffle(names.begin(), names.end(), rng_);
        int count = 3 + Pick(5);
        std::string start;
        for (int i = 0; i < count; ++i) {
            soak::Plugin p;
            p.id = ++nextId_;
            p.name = names[static_cast<std::size_t>(i)];
            p.shown = "Plugin " + std::to_string(p.id);
            p.bytes = PluginBytes(p.id, p.shown, 300 + static_cast<std::size_t>(Pick(29000)), Chance(40));
            browser_.AddFile(p.name, p.bytes);
            world_.plugins.push_back(p);
            start += p.name;
            if (Chance(50)) {
                soak::Icon icon{p.id, exts[Pick(4)], "icon of plugin " + std::to_string(p.id)};
                browser_.AddFile(soak::BaseOf(p.name) + icon.ext, icon.bytes);
                world_.icons.push_back(icon);
                start += "+" + icon.ext;
            }
            start += " ";
        }
        // Names whose short form matches the plugin searches but whose own
        // extension is no plugin's: never listed, never touched.
        for (const char *decoy : {"kappa.srcx", "lambda.hidden"}) {
            if (Chance(40)) {
                std::string bytes = PluginBytes(900 + nextId_++, std::string("Decoy ") + decoy, 200, true);
                browser_.AddFile(decoy, bytes);
                world_.others.push_back(soak::Other{decoy, bytes});
                start += decoy + std::string(" ");
            }
        }
        log_.push_back("start: " + start);
    }

    void MakeDialogLists() {
        dialogShown_ =
            CreateControl("LISTBOX", "", 0x44211141, 500, 500, 0, 0, MainWindow, 0, Instance, 0x200);
        dialogNames_ =
            CreateControl("LISTBOX", "", 0x44211141, 500, 500, 0, 0, MainWindow, 0, Instance, 0x200);
    }

    void Fail(const std::string &what, const std::vector<std::string> &details) {
        failed_ = true;
        log_.push_back("  => " + what);
        for (const std::string &d : details) {
            log_.push_back("     " + d);
        }
    }

    // Counts what a check found and fails the sequence when it found anything.
    void Judge(const Verdict &v, bool falseSuccess, const std::string &what) {
        if (v.lost.empty() && !falseSuccess && v.problems.empty()) {
            return;
        }
        tally_.lost += static_cast<int>(v.lost.size());
        tally_.falseSuccesses += falseSuccess ? 1 : 0;
        tally_.problems += static_cast<int>(v.problems.size());
        std::vector<std::string> details;
        for (const std::string &l : v.lost) {
            details.push_back("lost: " + l);
        }
        for (const std::string &p : v.problems) {
            details.push_back("problem: " + p);
        }
        Fail(what, details);
    }

    // --- faults -----------------------------------------------------------

    void DeleteBehindTheBack(const std::string &name) {
        soak::Plugin *p = world_.ByName(name);
        if (p == nullptr) {
            return;
        }
        SetFileAttributesA(browser_.Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(browser_.Path(name).c_str())) {
            // Held open by another fault of this step: it stays.
            if (p->readOnly) {
                SetReadOnly(browser_.Path(name), true);
            }
            faults_.names.push_back("deleted behind the back: " + name + " (could not)");
            return;
        }
        // Its icon stays, now a file of the user's like any other.
        for (auto it = world_.icons.begin(); it != world_.icons.end(); ++it) {
            if (it->plugin == p->id) {
                world_.others.push_back(soak::Other{soak::BaseOf(name) + it->ext, it->bytes});
                world_.icons.erase(it);
                break;
            }
        }
        int id = p->id;
        world_.plugins.erase(std::remove_if(world_.plugins.begin(), world_.plugins.end(),
                                            [id](const soak::Plugin &q) { return q.id == id; }),
                             world_.plugins.end());
        faults_.names.push_back("deleted behind the back: " + name);
        deletedBehindBack_.insert(name);
    }

    void AddBehindTheBack() {
        soak::Plugin p;
        p.id = ++nextId_;
        p.name = "added" + std::to_string(p.id) + ".src";
        p.shown = "Plugin " + std::to_string(p.id);
        p.bytes = PluginBytes(p.id, p.shown, 500, true);
        browser_.AddFile(p.name, p.bytes);
        world_.plugins.push_back(p);
        faults_.names.push_back("added behind the back: " + p.name);
    }

    void Stray(const std::string &relative) {
        std::string path = Plugins() + "\\" + relative;
        if (FileExists(path)) {
            return;
        }
        WriteBytes(path, "stray " + relative);
        faults_.strays.push_back(path);
        world_.others.push_back(soak::Other{relative, "stray " + relative});
        faults_.names.push_back("stray " + relative);
    }

    void ReadOnly(const std::string &name) {
        soak::Plugin *p = world_.ByName(name);
        if (p != nullptr && !p->readOnly) {
            SetReadOnly(browser_.Path(name), true);
            // Not every drive keeps the bit (fusefat does not).
            p->readOnly = IsReadOnly(browser_.Path(name));
            faults_.names.push_back(p->readOnly ? "read-only " + name : "read-only " + name + " (not kept)");
        }
    }

    void TempFolderThere() {
        if (!FileExists(browser_.Temp())) {
            CreateDirectoryA(browser_.Temp().c_str(), nullptr);
            faults_.names.push_back("temp folder already there");
        }
        tempByUser_ = true;
    }

    void FillDisk() {
        if (volume_ != Volume::Full) {
            return;
        }
        ULARGE_INTEGER free = {};
        GetDiskFreeSpaceExA(drive_.root.c_str(), &free, nullptr, nullptr);
        ULONGLONG pages = static_cast<ULONGLONG>(Pick(3));
        if (free.QuadPart <= pages * 4096) {
            return;
        }
        faults_.filler = browser_.Folder() + "\\filler.bin";
        WriteBytes(faults_.filler, std::string(static_cast<std::size_t>(free.QuadPart - pages * 4096), 'f'));
        faults_.names.push_back("disk full, " + std::to_string(pages) + " pages free");
    }

    // The faults common to operations on one plugin file.
    void FileFaults(const std::string &name, bool writes) {
        int kinds = Chance(30) ? 0 : (Chance(70) ? 1 : 2);
        for (int k = 0; k < kinds; ++k) {
            switch (Pick(writes ? 6 : 5)) {
            case 0:
                faults_.Hold(ToolPath(name), name);
                break;
            case 1:
                DeleteBehindTheBack(name);
                break;
            case 2:
                ReadOnly(name);
                break;
            case 3:
                AddBehindTheBack();
                break;
            case 4: {
                const soak::Plugin *p = world_.ByName(name);
                const soak::Icon *icon = p != nullptr ? world_.IconOf(p->id) : nullptr;
                if (icon != nullptr) {
                    faults_.Hold(ToolPath(world_.IconName(*icon)), world_.IconName(*icon));
                }
                break;
            }
            default:
                FillDisk();
                break;
            }
        }
    }

    // --- operations -------------------------------------------------------

    // Runs the operation with its boxes answered. The watcher lives on the
    // heap: should the tool end the program meanwhile (its script thread
    // simply stops), Run still finds it, reports what it saw and stops it.
    std::vector<SeenBox> Perform(int answer, const std::function<void()> &operation) {
        std::string faults;
        for (const std::string &f : faults_.names) {
            faults += " " + f + ";";
        }
        pending_ = std::to_string(step_) + ": " + what_ + (faults.empty() ? "" : " | faults:" + faults);
        activeWatch_ = new BoxWatch(answer);
        operation();
        std::vector<SeenBox> boxes = activeWatch_->Boxes();
        delete activeWatch_;
        activeWatch_ = nullptr;
        return boxes;
    }

    void SelectRow(int row) {
        SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        UpdateMoveButtons();
    }

    void Step(int step) {
        step_ = step;
        what_.clear();
        std::vector<std::string> files = Rows(NameList);
        std::vector<std::string> shown = Rows(MainList);
        int weights[] = {12, 10, 8, 12, 12, 18, RenameMethod == 1 ? 8 : 0, 8};
        int total = 0;
        for (int w : weights) {
            total += w;
        }
        int draw = Pick(total);
        int op = 0;
        while (draw >= weights[op]) {
            draw -= weights[op++];
        }
        if (files.empty() && (op == 0 || op == 2 || op == 3 || op == 4)) {
            op = 7;
        }
        faults_ = Faults();
        deletedBehindBack_.clear();
        tempByUser_ = FileExists(browser_.Temp());
        Intent intent;
        std::vector<SeenBox> boxes;
        std::string &what = what_;
        bool reloads = false;
        int row = files.empty() ? -1 : Pick(static_cast<int>(files.size()));
        std::string file = row >= 0 ? files[static_cast<std::size_t>(row)] : "";

        switch (op) {
        case 0: { // Hide
            what = "Hide " + file;
            if (Chance(25)) {
                Stray(soak::BaseOf(file) + ".hid");
            }
            FileFaults(file, false);
            Intend(intent, file,
                   [&](soak::Plugin &p) { intent.names[p.id] = soak::BaseOf(p.name) + ".hid"; });
            SelectRow(row);
            boxes = Perform(IDOK, [&] { HidePlugin(row); });
            break;
        }
        case 1: { // Restore, from the hidden-plugins lists
            Perform(IDYES, [&] { LoadCatalogue(dialogShown_, dialogNames_, 0, "*.HID"); });
            std::vector<std::string> hidden = Rows(dialogNames_);
            if (hidden.empty()) {
                what = "Restore (nothing hidden)";
                break;
            }
            int sel = Pick(static_cast<int>(hidden.size()));
            std::string h = hidden[static_cast<std::size_t>(sel)];
            what = "Restore " + h;
            if (Chance(25)) {
                Stray(soak::BaseOf(h) + ".src");
            }
            FileFaults(h, false);
            Intend(intent, h, [&](soak::Plugin &p) { intent.names[p.id] = soak::BaseOf(p.name) + ".src"; });
            boxes = Perform(IDOK, [&] { RestorePlugin(dialogShown_, dialogNames_, sel); });
            // Only a restore that worked reloads the catalogue.
            reloads = std::none_of(boxes.begin(), boxes.end(), IsFailureBox);
            break;
        }
        case 2: { // Delete
            bool yes = Chance(75);
            what = std::string("Delete ") + file + (yes ? " (Yes)" : " (No)");
            FileFaults(file, false);
            // The user means the plugin whose shown name the box asks about.
            soak::Plugin *meant = static_cast<std::size_t>(row) < shown.size()
                                      ? world_.ByShown(shown[static_cast<std::size_t>(row)])
                                      : nullptr;
            if (yes) {
                if (meant != nullptr) {
                    intent.deleted.push_back(meant->id);
                } else {
                    intent.impossible = true;
                }
            }
            SelectRow(row);
            boxes = Perform(yes ? IDYES : IDNO, [&] { DeletePlugin(row); });
            break;
        }
        case 3: { // Rename the shown name
            std::string newName = "Renamed " + std::to_string(seed_) + "." + std::to_string(step);
            what = "Rename " + file + " to '" + newName + "'";
            FileFaults(file, true);
            std::string old =
                static_cast<std::size_t>(row) < shown.size() ? shown[static_cast<std::size_t>(row)] : "";
            Intend(intent, file, [&](soak::Plugin &p) {
                if (p.bytes.find("name=\"" + old + "\"") == std::string::npos) {
                    intent.impossible = true;
                } else {
                    intent.bytes[p.id] = soak::Renamed(p.bytes, old, newName);
                }
            });
            SelectRow(row);
            boxes = Perform(IDOK, [&] { RenamePlugin(row, StringValue(newName.c_str())); });
            break;
        }
        case 4: { // Convert
            what = "Convert " + file;
            FileFaults(file, true);
            Intend(intent, file, [&](soak::Plugin &p) { intent.bytes[p.id] = soak::DosLineEnds(p.bytes); });
            SelectRow(row);
            boxes = Perform(IDOK, [&] { ConvertPlugin(row); });
            break;
        }
        case 5: // Re-sort
            boxes = Resort(files, intent, what);
            reloads = RenameMethod == 1;
            break;
        case 6: { // Orig. Filenames
            what = "Orig. Filenames";
            GeneralFaults(files, false);
            for (const std::string &f : files) {
                if (soak::WithoutSortPrefix(f) != f) {
                    if (Chance(20)) {
                        Stray(soak::WithoutSortPrefix(f));
                    }
                    Intend(intent, f,
                           [&](soak::Plugin &p) { intent.names[p.id] = soak::WithoutSortPrefix(p.name); });
                }
            }
            boxes = Perform(IDOK, [&] { RestoreOriginalNames(); });
            reloads = true;
            break;
        }
        default: // Refresh
            what = "Refresh";
            if (Chance(30)) {
                AddBehindTheBack();
            }
            if (!files.empty() && Chance(20)) {
                DeleteBehindTheBack(files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))]);
            }
            boxes = Perform(IDYES, [&] { LoadCatalogue(MainList, NameList, Selection, "*.SRC"); });
            reloads = true;
            break;
        }
        if (op == 5 && RenameMethod == 1) {
            IntendResortNames(arranged_, intent);
        }
        Finish(step, what, intent, boxes, reloads);
    }

    // Applies change to the plugin named file; a file that is not one of the
    // user's plugins (deleted behind the tool's back) makes the intent
    // impossible.
    void Intend(Intent &intent, const std::string &file, const std::function<void(soak::Plugin &)> &change) {
        soak::Plugin *p = world_.ByName(file);
        if (p == nullptr) {
            intent.impossible = true;
            return;
        }
        change(*p);
    }

    void GeneralFaults(const std::vector<std::string> &files, bool recopy) {
        int kinds = Chance(30) ? 0 : (Chance(60) ? 1 : 2);
        for (int k = 0; k < kinds && !files.empty(); ++k) {
            std::string f = files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))];
            switch (Pick(recopy ? 6 : 5)) {
            case 0:
                faults_.Hold(ToolPath(f), f);
                break;
            case 1: {
                const soak::Plugin *p = world_.ByName(f);
                const soak::Icon *icon = p != nullptr ? world_.IconOf(p->id) : nullptr;
                if (icon != nullptr) {
                    faults_.Hold(ToolPath(world_.IconName(*icon)), world_.IconName(*icon));
                } else {
                    ReadOnly(f);
                }
                break;
            }
            case 2:
                DeleteBehindTheBack(f);
                break;
            case 3:
                AddBehindTheBack();
                break;
            case 4:
                ReadOnly(f);
                break;
            default:
                TempFolderThere();
                if (Chance(50)) {
                    Stray("temp\\" + f);
                }
                break;
            }
        }
    }

    std::vector<SeenBox> Resort(const std::vector<std::string> &files, Intent &intent, std::string &what) {
        bool recopy = RenameMethod != 1;
        what = recopy ? "Re-sort (re-copy)" : "Re-sort (renaming)";
        // The user's new order first, as with the move buttons.
        std::vector<int> order(files.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = static_cast<int>(i);
        }
        std::shuffle(order.begin(), order.end(), rng_);
        std::vector<std::string> shown = Rows(MainList);
        SendMessageA(MainList, LB_RESETCONTENT, 0, 0);
        SendMessageA(NameList, LB_RESETCONTENT, 0, 0);
        std::vector<std::string> arranged;
        for (int i : order) {
            SendMessageA(MainList, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(shown[static_cast<std::size_t>(i)].c_str()));
            SendMessageA(NameList, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(files[static_cast<std::size_t>(i)].c_str()));
            arranged.push_back(files[static_cast<std::size_t>(i)]);
        }
        SelectRow(0);
        arranged_ = arranged;
        GeneralFaults(arranged, recopy);
        if (!recopy && !arranged.empty() && Chance(20)) {
            // Every name the re-sort could give one plugin is taken.
            std::string f = arranged[static_cast<std::size_t>(Pick(static_cast<int>(arranged.size())))];
            int p = static_cast<int>(std::find(arranged.begin(), arranged.end(), f) - arranged.begin());
            std::string number = std::to_string(p);
            while (number.size() < 2) {
                number = "0" + number;
            }
            std::size_t named = faults_.names.size();
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                Stray(std::string(1, letter) + number + "##" + soak::WithoutSortPrefix(f));
            }
            faults_.names.resize(named);
            faults_.names.push_back("every sorted name of " + f + " taken");
        }
        for (const std::string &f : arranged) {
            if (deletedBehindBack_.count(f) != 0) {
                intent.impossible = true;
            }
        }
        duringDone_ = false;
        if (recopy && Chance(30)) {
            ArmStop();
        } else if (recopy && !arranged.empty() && Chance(35)) {
            during_ = DuringRecopy(arranged, duringDone_);
        }
        std::vector<SeenBox> boxes = Perform(IDOK, [&] { ResortPlugins(); });
        if (stop_.armed) {
            faults_.names.push_back("(the stop was not reached)");
        }
        Disarm();
        StopDuring();
        return boxes;
    }

    // Arms a stop before or after one step of the re-copy, or after one of
    // the files it moves.
    void ArmStop() {
        static const RecopyStep stepsInOrder[] = {RecopyStep::MoveOut, RecopyStep::RemoveFolder,
                                                  RecopyStep::CreateFolder, RecopyStep::MoveBack,
                                                  RecopyStep::RemoveStaging};
        static const char *const names[] = {"moving out", "removing the plugin folder", "making it again",
                                            "moving back", "removing the staging folder"};
        int which = Pick(5);
        bool moves = which == 0 || which == 3;
        stop_ = StopPoint();
        stop_.armed = true;
        stop_.step = stepsInOrder[which];
        stop_.done = Pick(moves ? static_cast<int>(Listing(Plugins()).size()) + 1 : 2);
        faults_.names.push_back(std::string("stop ") + (stop_.done == 0 ? "before " : "after ") +
                                names[which] +
                                (moves && stop_.done > 0 ? " file " + std::to_string(stop_.done) : ""));
        Stopping = this;
        RecopyStepReached = StopPointReached;
    }

    void Disarm() {
        RecopyStepReached = nullptr;
        Stopping = nullptr;
        stop_.armed = false;
    }

    // The plugins whose bytes the browser could find in two places: in the
    // plugin folder or a folder inside it, which it reads too.
    std::vector<std::string> SeenTwice() {
        soak::Disk disk = soak::ReadDisk(Plugins());
        std::vector<std::string> twice;
        for (const soak::Plugin &p : world_.plugins) {
            int seen = 0;
            for (const auto &entry : disk) {
                bool staged = entry.first.compare(0, 3, "..\\") == 0;
                seen += !staged && entry.first.back() != '\\' && entry.second.bytes == p.bytes ? 1 : 0;
            }
            if (seen > 1) {
                twice.push_back(p.name);
            }
        }
        return twice;
    }

    // The next start after a stop: its recovery must have brought every file
    // home, and the browser must never have seen a plugin twice.
    void AfterStop(const std::vector<SeenBox> &boxes, const std::vector<std::string> &damage) {
        log_.push_back(pending_ + " -> stopped");
        log_.push_back("   next start -> " + Describe(boxes));
        Verdict v = world_.Check(soak::ReadDisk(Plugins()), Intent{});
        for (const std::string &s : v.stranded) {
            v.lost.push_back(s + " stays away after the next start");
        }
        v.lost.insert(v.lost.end(), damage.begin(), damage.end());
        for (const std::string &t : stop_.twice) {
            v.problems.push_back("the browser could see " + t + " in two places at the stop");
        }
        if (v.lost.empty()) {
            CheckCatalogue(v, {});
        }
        for (soak::Plugin &p : world_.plugins) {
            p.shown = ShownOf(p.bytes);
        }
        Judge(v, false, "check after the stop failed");
    }

    void StopDuring() {
        duringDone_ = true;
        if (during_.joinable()) {
            during_.join();
        }
    }

    // A fault that strikes while the re-copy runs: once a plugin has reached
    // the staging folder, it is held open (until the others are back, or to
    // the end), or a stray file takes its name in the plugin folder.
    std::thread DuringRecopy(const std::vector<std::string> &files, std::atomic<bool> &done) {
        std::string f = files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))];
        int kind = Pick(3);
        const char *labels[] = {"until the others are back", "to the end", "stray in its place"};
        faults_.names.push_back("when " + f + " is away: " + labels[kind]);
        if (kind == 2) {
            duringStray_ = Plugins() + "\\" + f;
        }
        std::string inTemp = toolFolder_ + " (re-sort)\\" + f;
        std::vector<std::string> others;
        for (const std::string &o : files) {
            if (o != f) {
                others.push_back(browser_.Staging() + "\\" + o);
            }
        }
        std::string stray = duringStray_;
        strayMade_ = false;
        bool *made = &strayMade_;
        return std::thread([inTemp, others, kind, stray, made, &done] {
            HANDLE held = INVALID_HANDLE_VALUE;
            while (!done) {
                if (kind == 2) {
                    if (FileExists(inTemp)) {
                        // Only while the name is free: the plugin may be back already.
                        HANDLE file = CreateFileA(stray.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr);
                        if (file != INVALID_HANDLE_VALUE) {
                            DWORD written = 0;
                            WriteFile(file, "stray in place", 14, &written, nullptr);
                            CloseHandle(file);
                            *made = true;
                        }
                        return;
                    }
                } else {
                    held = CreateFileA(inTemp.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                    if (held != INVALID_HANDLE_VALUE) {
                        break;
                    }
                }
                Sleep(1);
            }
            if (held == INVALID_HANDLE_VALUE) {
                return;
            }
            while (!done) {
                if (kind == 0) {
                    bool back = true;
                    for (const std::string &o : others) {
                        back = back && !FileExists(o);
                    }
                    if (back) {
                        Sleep(50);
                        break;
                    }
                }
                Sleep(1);
            }
            CloseHandle(held);
        });
    }

    // The names a re-sort by renaming intends: the new letter is the tool's
    // draw, so it is read back from the disk (the letter that explains most).
    void IntendResortNames(const std::vector<std::string> &files, Intent &intent) {
        int digits = static_cast<int>(std::to_string(files.size() > 1 ? files.size() - 1 : 0).size());
        digits = digits < 2 ? 2 : digits;
        soak::Disk disk = soak::ReadDisk(Plugins());
        Intent best;
        int bestHits = -1;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            Intent candidate;
            int hits = 0;
            for (std::size_t p = 0; p < files.size(); ++p) {
                soak::Plugin *plugin = world_.ByName(files[p]);
                if (plugin == nullptr) {
                    continue;
                }
                std::string number = std::to_string(p);
                number = std::string(static_cast<std::size_t>(digits) - number.size(), '0') + number;
                std::string name = std::string(1, letter) + number + "##" + soak::WithoutSortPrefix(files[p]);
                candidate.names[plugin->id] = name;
                hits += disk.count(name) != 0 ? 1 : 0;
            }
            if (hits > bestHits) {
                best = candidate;
                bestHits = hits;
            }
        }
        intent.names = best.names;
    }

    // --- checks -----------------------------------------------------------

    // The faults of a step end: a stray put in a plugin's place during the
    // operation must itself have survived (else it is added to damage), the
    // handles close and the strays leave the user's files again. Returns the
    // names that were held open, which a load meanwhile could not read.
    std::set<std::string> EndFaults(std::vector<std::string> &damage) {
        // A stray put in a plugin's place during the operation must itself
        // have survived; it goes with the other faults.
        if (!duringStray_.empty()) {
            if (strayMade_) {
                if (ReadBytes(duringStray_) != "stray in place") {
                    damage.push_back(duringStray_ + " (a stray file of the user's, overwritten)");
                }
                faults_.strays.push_back(duringStray_);
            }
            duringStray_.clear();
        }
        // The faults end; the strays leave the user's files again.
        std::set<std::string> strays;
        for (const std::string &path : faults_.strays) {
            strays.insert(path.substr(Plugins().size() + 1));
        }
        soak::Disk disk = soak::ReadDisk(Plugins());
        for (const std::string &s : strays) {
            for (const soak::Other &o : world_.others) {
                if (o.path == s && (disk.count(s) == 0 || disk.at(s).bytes != o.bytes)) {
                    damage.push_back(s + " (a stray file of the user's, changed or gone)");
                }
            }
        }
        std::set<std::string> heldDuringLoad = faults_.held;
        faults_.Clear();
        world_.others.erase(std::remove_if(world_.others.begin(), world_.others.end(),
                                           [&](const soak::Other &o) { return strays.count(o.path) != 0; }),
                            world_.others.end());
        world_.tempFolderKept =
            tempByUser_ && FileExists(browser_.Temp()) && !Listing(browser_.Temp()).empty();
        if (tempByUser_ && !world_.tempFolderKept) {
            // An empty temp folder of the user's may go or stay.
            world_.tempFolderKept = FileExists(browser_.Temp());
        }
        return heldDuringLoad;
    }

    void Finish(int step, const std::string &what, const Intent &intent, std::vector<SeenBox> boxes,
                bool reloads) {
        std::string line = std::to_string(step) + ": " + what;
        if (!faults_.names.empty()) {
            line += " | faults:";
            for (const std::string &f : faults_.names) {
                line += " " + f + ";";
            }
        }
        std::vector<std::string> strayDamage;
        std::set<std::string> heldDuringLoad = EndFaults(strayDamage);
        soak::Disk disk = soak::ReadDisk(Plugins());
        Verdict v = world_.Check(disk, intent);
        v.lost.insert(v.lost.end(), strayDamage.begin(), strayDamage.end());

        bool failure = false;
        bool success = false;
        for (const SeenBox &box : boxes) {
            failure = failure || IsFailureBox(box);
            success = success || IsSuccessBox(box);
        }
        line += " -> " + Describe(boxes);
        if (!v.fullEffect) {
            line += " (not done in full: " + v.shortfall + ")";
        }
        log_.push_back(line);

        bool falseSuccess = !v.fullEffect && (!failure || success);
        if (!v.stranded.empty()) {
            // While files wait away, the tool's note of them is there too.
            v.problems.erase(
                std::remove_if(v.problems.begin(), v.problems.end(),
                               [](const std::string &p) {
                                   return p.rfind("unexpected file temp\\", 0) == 0 ||
                                          p.rfind(std::string("unexpected file ") + soak::StagingPrefix, 0) ==
                                              0 ||
                                          p == "the folder temp was left behind" ||
                                          p == "the staging folder was left behind";
                               }),
                v.problems.end());
        }
        // Files stranded away come back at the next catalogue load, which
        // offers to move them back.
        if (!v.stranded.empty() && v.lost.empty()) {
            std::vector<SeenBox> recovery =
                Perform(IDYES, [] { LoadCatalogue(MainList, NameList, Selection, "*.SRC"); });
            log_.push_back("   stranded: " + Join(v.stranded) + "; next load -> " + Describe(recovery));
            Verdict after = world_.Check(soak::ReadDisk(Plugins()), Intent{});
            for (const std::string &s : after.stranded) {
                after.lost.push_back(s + " stays away after the next load");
            }
            v.lost.insert(v.lost.end(), after.lost.begin(), after.lost.end());
            v.problems.insert(v.problems.end(), after.problems.begin(), after.problems.end());
            reloads = true;
        }
        if (v.lost.empty() && reloads) {
            CheckCatalogue(v, heldDuringLoad);
        }
        for (soak::Plugin &p : world_.plugins) {
            p.shown = ShownOf(p.bytes);
        }
        Judge(v, falseSuccess, falseSuccess ? "false success" : "check failed");
    }

    // After a catalogue load the rows are exactly the plugins named ".src",
    // but for those held open during the load (a file that cannot be read is
    // left out).
    void CheckCatalogue(Verdict &v, const std::set<std::string> &held) {
        std::multiset<std::string> listed;
        for (const std::string &row : Rows(NameList)) {
            listed.insert(row);
        }
        std::multiset<std::string> wanted;
        for (const soak::Plugin &p : world_.plugins) {
            std::string ext = p.name.substr(p.name.size() - 4);
            if (soak::SameName(ext, ".src") && p.name.find('\\') == std::string::npos) {
                wanted.insert(p.name);
            }
        }
        for (const std::string &name : held) {
            if (wanted.count(name) != 0 && listed.count(name) == 0) {
                wanted.erase(name);
            }
        }
        if (listed != wanted) {
            std::string l;
            std::string w;
            for (const std::string &s : listed) {
                l += s + " ";
            }
            for (const std::string &s : wanted) {
                w += s + " ";
            }
            v.problems.push_back("catalogue lists " + l + "but the folder holds " + w);
        }
    }

    static std::string Join(const std::vector<std::string> &items) {
        std::string out;
        for (const std::string &i : items) {
            out += (out.empty() ? "" : ", ") + i;
        }
        return out;
    }

    unsigned seed_;
    std::mt19937 rng_;
    Volume volume_;
    TestDrive drive_;
    Tally &tally_;
    DemoBrowser browser_;
    std::string toolFolder_;
    soak::World world_;
    Faults faults_;
    bool tempByUser_ = false;
    std::string duringStray_;
    bool strayMade_ = false;                  // the stray of duringStray_ was put there
    std::vector<std::string> arranged_;       // the catalogue order of the last re-sort
    std::set<std::string> deletedBehindBack_; // in this step
    std::vector<std::string> log_;
    int step_ = 0;
    std::string what_;                // the operation of the step under way
    std::string pending_;             // its log line, until it has ended
    BoxWatch *activeWatch_ = nullptr; // the watcher of the operation under way
    // A stop armed in the re-copy under way (see ArmStop).
    struct StopPoint {
        bool armed = false;
        RecopyStep step = RecopyStep::MoveOut;
        std::int32_t done = 0;
        bool reached = false;
        std::vector<std::string> twice; // plugins the browser could see twice there
    };
    StopPoint stop_;
    static Sequence *Stopping; // the sequence whose stop is armed
    std::atomic<bool> duringDone_{false};
    std::thread during_; // a fault striking during a re-copy
    bool failed_ = false;
    int nextId_ = 0;
    HWND dialogShown_ = nullptr;
    HWND dialogNames_ = nullptr;
};

Sequence *Sequence::Stopping = nullptr;

} // namespace

TEST(Soak, RandomOperationsWithFaultsLoseNothingAndNeverClaimFalseSuccess) {
    int count = EnvNumber("QS_SOAK_SEQUENCES", 30);
    unsigned first = static_cast<unsigned>(EnvNumber("QS_SOAK_SEED", 1));
    TestDrive fat = FatDrive();
    TestDrive full = FullDrive();
    if (!fat.Ready()) {
        std::printf("FAT drive missing, its sequences run on C: (renaming): %s\n", fat.skip.c_str());
    }
    if (!full.Ready()) {
        std::printf("small drive missing, its sequences run on C: without a full disk: %s\n",
                    full.skip.c_str());
    }
    Tally tally;
    for (unsigned seed = first; seed < first + static_cast<unsigned>(count); ++seed) {
        // The volume follows from the seed alone.
        unsigned kind = std::mt19937(seed ^ 0x5eedu)() % 10;
        Volume volume = kind < 4 ? Volume::Fat : (kind < 7 ? Volume::Local : Volume::Full);
        const TestDrive *drive = volume == Volume::Fat ? &fat : (volume == Volume::Full ? &full : nullptr);
        if (drive != nullptr && !drive->Ready()) {
            volume = Volume::Local;
            drive = nullptr;
        }
        Sequence sequence(seed, volume, drive != nullptr ? *drive : TestDrive{}, tally);
        sequence.Run();
    }
    std::string failed;
    for (unsigned s : tally.failedSeeds) {
        failed += " " + std::to_string(s);
    }
    char line[256];
    std::snprintf(line, sizeof line, "seeds %u to %u; failing seeds:", first,
                  first + static_cast<unsigned>(count) - 1);
    std::string summary = line + (failed.empty() ? std::string(" none") : failed) + "\n";
    if (tally.problems > 0) {
        std::snprintf(line, sizeof line,
                      "%d other problems (left-over files, separated icons, changed attributes)\n",
                      tally.problems);
        summary += line;
    }
    std::snprintf(line, sizeof line,
                  "re-copies stopped midway and recovered: %d moving out, %d removing the plugin folder, %d "
                  "making it again, %d moving back, %d removing the staging folder\n",
                  tally.stops[0], tally.stops[1], tally.stops[2], tally.stops[3], tally.stops[4]);
    summary += line;
    std::snprintf(line, sizeof line, "%d sequences, %d files lost, %d false successes\n", tally.sequences,
                  tally.lost, tally.falseSuccesses);
    summary += line;
    std::printf("%s", summary.c_str());
    std::fflush(stdout);
    // tools/test repeats these lines at its end, also when the soak passed.
    std::string report = testdrives::Env("QS_SOAK_REPORT");
    if (!report.empty()) {
        WriteBytes(report, summary);
    }
    EXPECT_EQ(tally.lost, 0);
    EXPECT_EQ(tally.falseSuccesses, 0);
    EXPECT_EQ(tally.problems, 0);
}
