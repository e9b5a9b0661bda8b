// The re-copy method: the plugin folder made anew, its files moved back in
// catalogue order.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/catalogue/main_lists.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/progress.h"
#include "app/catalogue/recopy.h"
#include "app/catalogue/recopy_journal.h"
#include "app/catalogue/wide_files.h"
#include "runtime/core/events.h"
#include "runtime/core/strings.h"
#include "runtime/window/window_ops.h"

void (*RecopyStepReached)(RecopyStep step, std::int32_t done) = nullptr;

namespace {

constexpr DWORD PluginPauseMs = 5;
constexpr DWORD RetryPauseMs = 500;
// Windows removes a folder that another program watches (an Explorer window
// showing it) only once that program lets go; until then its name cannot be
// made again. The attempts, a pause apart, give it a few seconds.
constexpr int CreateAttempts = 6;
// The attribute bits a folder made anew takes over from the old one.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// What became of the plugin folder itself.
enum class Folder { Kept, Renewed, Missing };

// One re-sort: the plugin folder's files in the order in which they go back
// (the listed plugins in catalogue order, then every other file), and what
// became of them.
struct Swap {
    StagingJournal journal; // the files, and the folder's attributes
    std::vector<bool> away; // per file: in the staging folder now
    Failures missing;       // catalogue rows whose file is not in the folder
    Failures stuck;         // files that could not leave the plugin folder
    Failures late;          // plugins that came back only on the second try
    Failures left;          // files that could not come back
    Folder folder = Folder::Kept;
    std::int32_t folderError = 0; // why the folder could not be removed or made
};

void Reached(RecopyStep step, std::int32_t done) {
    if (RecopyStepReached != nullptr) {
        RecopyStepReached(step, done);
    }
}

void Warn(const StringValue &text) {
    ShowMessageBox(text, "Message:", MB_ICONWARNING);
}

// A name on which the journal writes in the staging folder: a file of that
// name must not go there.
bool JournalsName(const std::wstring &name) {
    std::wstring journal = WideText(RecopyJournalName);
    return SameFileName(name, journal) || SameFileName(name, journal + L".new");
}

std::wstring UpperName(std::wstring name) {
    if (!name.empty()) {
        CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    }
    return name;
}

// Reads what the plugin folder holds and puts it in the order in which it
// goes back. False, after telling the user, when the folder cannot be read or
// holds folders: nothing has been changed then.
bool PlanSwap(Swap &swap) {
    // An empty "temp" of the previous version would be a folder in the way.
    RemoveDirectoryW(WidePath(TempFolder).c_str());
    std::vector<FolderEntry> entries;
    DWORD attributes = GetFileAttributesW(WidePath(PluginFolder).c_str());
    std::int32_t error = attributes == INVALID_FILE_ATTRIBUTES ? static_cast<std::int32_t>(GetLastError())
                                                               : ListFolderEntries(PluginFolder, entries);
    if (error != 0) {
        StringValue text = StrConcat("The plugin folder could not be read:\r", FileErrorText(error));
        Warn(StrConcat(StrConcat(text, "\rNothing was changed."), AccessHint(error)));
        return false;
    }
    swap.journal.folderAttributes = attributes;
    std::vector<StringValue> folders;
    std::map<std::wstring, std::size_t> byName;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].IsFolder()) {
            folders.push_back(AnsiText(entries[i].name));
        }
        byName[UpperName(entries[i].name)] = i;
    }
    if (!folders.empty()) {
        Warn(SubFolderRefusal(folders));
        return false;
    }
    std::vector<bool> listed(entries.size(), false);
    for (const StringValue &row : GetListItems(NameList)) {
        auto found = byName.find(UpperName(WideText(row)));
        if (found == byName.end() || listed[found->second]) {
            swap.missing.Add(row, ERROR_FILE_NOT_FOUND);
            continue;
        }
        listed[found->second] = true;
        swap.journal.files.push_back(StagedFile{entries[found->second].name, true});
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!listed[i]) {
            swap.journal.files.push_back(StagedFile{entries[i].name, false});
        }
    }
    swap.away.assign(swap.journal.files.size(), false);
    return true;
}

// Makes the staging folder, or takes an empty one that is there already.
// Refuses when it holds files; ends the program when it cannot be made.
bool PrepareStaging() {
    std::wstring staging = WidePath(StagingFolder);
    if (CreateDirectoryW(staging.c_str(), nullptr)) {
        return true;
    }
    DWORD attributes = GetFileAttributesW(staging.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        FatalStop(2);
    }
    std::vector<FolderEntry> entries;
    if (ListFolderEntries(StagingFolder, entries) != 0 || !entries.empty()) {
        Warn(StagingInUseRefusal());
        return false;
    }
    return true;
}

// The journal names every file before the first one leaves, so that a stop
// at any moment leaves a record of every file that is not at home.
bool StartJournal(const Swap &swap) {
    std::int32_t error = WriteStagingJournal(swap.journal);
    if (error == 0) {
        return true;
    }
    RemoveDirectoryW(WidePath(StagingFolder).c_str());
    StringValue text =
        StrConcat(StrConcat("Could not write the re-sort journal in the folder ''", StagingName), "'':\r");
    text = StrConcat(StrConcat(text, FileErrorText(error)), "\rNothing was moved.");
    Warn(StrConcat(text, AccessHint(error)));
    return false;
}

// The plugins among the files that wanted says, for the progress line.
std::int32_t PluginsAmong(const Swap &swap, const std::vector<bool> *wanted) {
    std::int32_t plugins = 0;
    for (std::size_t i = 0; i < swap.journal.files.size(); ++i) {
        plugins += swap.journal.files[i].plugin && (wanted == nullptr || (*wanted)[i]) ? 1 : 0;
    }
    return plugins;
}

// Every file out into the staging folder. A file that cannot leave (held
// open, access denied) stays where it is, in the browser's sight.
void MoveOut(Swap &swap) {
    Reached(RecopyStep::MoveOut, 0);
    const std::int32_t plugins = PluginsAmong(swap, nullptr);
    BeginProgress("Moving out", plugins);
    std::int32_t moved = 0;
    std::int32_t pluginsDone = 0;
    for (std::size_t i = 0; i < swap.journal.files.size(); ++i) {
        if (swap.journal.files[i].plugin) {
            ShowProgress(pluginsDone++);
        }
        const std::wstring &name = swap.journal.files[i].name;
        std::int32_t status =
            JournalsName(name) ? ERROR_ALREADY_EXISTS : MoveEntry(PluginFolder, StagingFolder, name);
        if (status == 0) {
            swap.away[i] = true;
            Reached(RecopyStep::MoveOut, ++moved);
        } else {
            swap.stuck.Add(AnsiText(name), status);
        }
    }
    ShowProgress(plugins);
}

// Removes the emptied plugin folder and makes it again with its attributes.
// A folder that cannot be removed (held open by the browser or a window
// showing it, access denied) is kept; a removed one that cannot be made
// again at once is tried again for a few seconds.
void RenewPluginFolder(Swap &swap) {
    std::wstring folder = WidePath(PluginFolder);
    DWORD attributes = swap.journal.folderAttributes & KeptAttributes;
    Reached(RecopyStep::RemoveFolder, 0);
    // A read-only folder cannot be removed.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(folder.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (!RemoveDirectoryW(folder.c_str())) {
        swap.folderError = static_cast<std::int32_t>(GetLastError());
        if (attributes != 0) {
            SetFileAttributesW(folder.c_str(), attributes);
        }
        return;
    }
    Reached(RecopyStep::RemoveFolder, 1);
    Reached(RecopyStep::CreateFolder, 0);
    bool made = CreateDirectoryW(folder.c_str(), nullptr) != 0;
    for (int attempt = 1; !made && attempt < CreateAttempts; ++attempt) {
        SleepMs(RetryPauseMs);
        made = CreateDirectoryW(folder.c_str(), nullptr) != 0;
    }
    if (!made) {
        swap.folderError = static_cast<std::int32_t>(GetLastError());
        swap.folder = Folder::Missing;
        return;
    }
    if (attributes != 0) {
        SetFileAttributesW(folder.c_str(), attributes);
    }
    swap.folder = Folder::Renewed;
    Reached(RecopyStep::CreateFolder, 1);
}

// The files back home: the plugins in catalogue order, each followed by a
// short pause, then every other file. A move that fails is tried once more
// after the others, after a pause that lets a passing lock (a virus scanner,
// an indexer) go; a plugin that comes back then stands after all the others.
void MoveBack(Swap &swap) {
    Reached(RecopyStep::MoveBack, 0);
    BeginProgress("Sorting", PluginsAmong(swap, &swap.away));
    std::int32_t moved = 0;
    std::int32_t pluginsDone = 0;
    std::vector<std::size_t> again;
    for (std::size_t i = 0; i < swap.journal.files.size(); ++i) {
        if (!swap.away[i]) {
            continue;
        }
        const StagedFile &file = swap.journal.files[i];
        if (file.plugin) {
            ShowProgress(pluginsDone++);
        }
        if (MoveEntry(StagingFolder, PluginFolder, file.name) == 0) {
            swap.away[i] = false;
            Reached(RecopyStep::MoveBack, ++moved);
        } else {
            again.push_back(i);
        }
        if (file.plugin) {
            SleepMs(PluginPauseMs);
        }
    }
    if (!again.empty()) {
        SleepMs(RetryPauseMs);
    }
    for (std::size_t i : again) {
        const StagedFile &file = swap.journal.files[i];
        std::int32_t status = MoveEntry(StagingFolder, PluginFolder, file.name);
        if (status == 0) {
            swap.away[i] = false;
            Reached(RecopyStep::MoveBack, ++moved);
            if (file.plugin) {
                swap.late.Add(AnsiText(file.name));
            }
        } else {
            swap.left.Add(StrConcat(StrConcat(StagingName, "\\"), AnsiText(file.name)), status);
        }
    }
}

// The journal keeps only what is still away; with nothing away it goes, and
// the staging folder with it.
void FinishStaging(Swap &swap) {
    StagingJournal still = swap.journal;
    still.files.clear();
    for (std::size_t i = 0; i < swap.journal.files.size(); ++i) {
        if (swap.away[i]) {
            still.files.push_back(swap.journal.files[i]);
        }
    }
    Reached(RecopyStep::RemoveStaging, 0);
    WriteStagingJournal(still);
    if (still.files.empty()) {
        RemoveDirectoryW(WidePath(StagingFolder).c_str());
    }
    Reached(RecopyStep::RemoveStaging, 1);
}

StringValue Joined(const StringValue &text, const StringValue &part) {
    return StrLength(text) == 0 ? part : StrConcat(StrConcat(text, "\r\r"), part);
}

// The success message when the order is exact, else what went wrong.
void ReportSwap(const Swap &swap) {
    StringValue text;
    if (swap.stuck.count > 0) {
        text = StuckReport(swap.stuck);
    } else if (swap.folder == Folder::Kept) {
        text = StrConcat(FolderKeptReport(FileErrorText(swap.folderError)), AccessHint(swap.folderError));
    }
    if (swap.missing.count > 0) {
        text = Joined(text, FailureText(swap.missing));
    }
    if (swap.left.count > 0) {
        text = Joined(text, LeftAwayReport(swap.left));
    }
    if (swap.late.count > 0) {
        text = Joined(text, LateReturnReport(swap.late.count, swap.late.names));
    }
    if (StrLength(text) == 0) {
        ShowMessageBox("Re-sort successfully done!", "Message:", MB_ICONINFORMATION);
    } else {
        Warn(text);
    }
}

} // namespace

void ResortByRecopying() {
    Swap swap;
    if (!PlanSwap(swap) || !PrepareStaging() || !StartJournal(swap)) {
        return;
    }
    MoveOut(swap);
    if (swap.stuck.count == 0) {
        RenewPluginFolder(swap);
    }
    if (swap.folder == Folder::Missing) {
        // The files stay where the journal names them, for the recovery.
        std::int32_t waiting = 0;
        for (bool away : swap.away) {
            waiting += away ? 1 : 0;
        }
        EndProgress();
        Warn(StrConcat(FolderNotMadeReport(FileErrorText(swap.folderError), waiting, StagingWhere()),
                       AccessHint(swap.folderError)));
        return;
    }
    MoveBack(swap);
    FinishStaging(swap);
    EndProgress();
    ReportSwap(swap);
}
