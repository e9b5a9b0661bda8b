// The order writer: rename method and re-copy method.
#include <windows.h>

#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/recopy_journal.h"
#include "app/windows/main_window.h"
#include "runtime/core/events.h"
#include "runtime/core/random.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t FolderExists = 183;
constexpr std::int32_t ListedFailures = 8;
constexpr DWORD RetryPauseMs = 500;

// Files that could not be renamed or moved during one command.
struct Failures {
    std::int32_t count = 0;
    StringValue names;

    void Add(const StringValue &name) {
        ++count;
        if (count == 1) {
            names = name;
        } else if (count <= ListedFailures) {
            names = StrConcat(StrConcat(names, "\r"), name);
        } else if (count == ListedFailures + 1) {
            names = StrConcat(names, "\r...");
        }
    }
};

std::int32_t RowCount() {
    return static_cast<std::int32_t>(SendMessageA(MainList, LB_GETCOUNT, 0, 0));
}

StringValue InFolder(const StringValue &folder, const StringValue &name) {
    return StrConcat(StrConcat(folder, "\\"), name);
}

// Renames folder\from to folder\to; false when the file system refused.
bool RenameInFolder(const StringValue &folder, const StringValue &from, const StringValue &to) {
    return MoveFileTo(InFolder(folder, from), InFolder(folder, to));
}

// The success message, or the list of files that stayed as they were.
void ReportOutcome(const Failures &failures, bool successMessage) {
    if (failures.count > 0) {
        ShowMessageBox(FailureReport(failures.count, failures.names), "Message:", MB_ICONWARNING);
    } else if (successMessage) {
        ShowMessageBox("Re-sort successfully done!", "Message:", MB_ICONINFORMATION);
    }
}

// The plugin, renamed from file to renamed, has an icon that could not follow:
// the plugin takes its old name back, so that the icon still belongs to it.
// The icon is named to the user, and the plugin too when it could not return.
void KeepWithIcon(const StringValue &renamed, const StringValue &file, const StringValue &icon,
                  Failures &failures) {
    failures.Add(icon);
    if (!RenameInFolder(PluginFolder, renamed, file)) {
        failures.Add(renamed);
    }
}

StringValue NewPrefixLetter() {
    StringValue letter = PrefixLetter;
    while (StrEquals(letter, PrefixLetter)) {
        letter = StrFromByte(65 + Random(26));
    }
    return letter;
}

} // namespace

void ResortByRenaming() {
    StringValue letter = NewPrefixLetter();
    std::int32_t count = RowCount();
    std::int32_t digits = PositionDigits(count);
    Failures failures;
    for (std::int32_t p = 0; p < count; ++p) {
        StringValue file = GetListItem(NameList, p);
        StringValue icon = FindPluginIcon(file);
        // The icon follows its plugin only: renamed alone it would no longer
        // belong to it.
        StringValue sorted = SortedName(letter, p, digits, file);
        if (!RenameInFolder(PluginFolder, file, sorted)) {
            failures.Add(file);
        } else if (StrLength(icon) > 0 &&
                   !RenameInFolder(PluginFolder, icon, SortedName(letter, p, digits, icon))) {
            KeepWithIcon(sorted, file, icon, failures);
        }
    }
    LoadCatalogue(MainList, NameList, Selection, "*.SRC");
    ReportOutcome(failures, true);
}

void ResortByRecopying() {
    MakeDir(TempFolder);
    std::int32_t made = IoResult();
    if (made != 0 && made != FolderExists) {
        FatalStop(2);
    }
    std::int32_t count = RowCount();
    Failures failures;
    // The plugins to move: a file of the same name already in the temporary
    // folder keeps its plugin where it is, and is none of this re-sort's
    // business.
    std::vector<StringValue> leaving;
    for (std::int32_t p = 0; p < count; ++p) {
        StringValue file = GetListItem(NameList, p);
        if (GetFileAttributesA(InFolder(TempFolder, file).c_str()) != INVALID_FILE_ATTRIBUTES) {
            failures.Add(file);
        } else {
            leaving.push_back(file);
        }
    }
    // The journal names them before the first one leaves, together with what
    // an earlier unfinished re-sort left there, so that a stop at any moment
    // leaves a record of every plugin that is not at home.
    std::vector<StringValue> earlier = StillInTemp(ReadRecopyJournal());
    std::vector<StringValue> journal = earlier;
    journal.insert(journal.end(), leaving.begin(), leaving.end());
    std::int32_t journalError = WriteRecopyJournal(journal);
    if (journalError != 0) {
        RemoveDir(TempFolder);
        IoResult();
        ShowMessageBox(StrConcat(StrConcat("Could not write the re-sort journal in the temporary folder:\r",
                                           FileErrorText(journalError)),
                                 "\rNo plugin was moved."),
                       "Message:", MB_ICONWARNING);
        return;
    }
    std::vector<StringValue> movedOut;
    for (const StringValue &file : leaving) {
        if (MoveFileTo(InFolder(PluginFolder, file), InFolder(TempFolder, file))) {
            movedOut.push_back(file);
        } else {
            failures.Add(file);
        }
    }
    std::vector<StringValue> stranded;
    for (const StringValue &file : movedOut) {
        if (!MoveFileTo(InFolder(TempFolder, file), InFolder(PluginFolder, file))) {
            stranded.push_back(file);
        }
        SleepMs(5);
    }
    // A move back that failed is tried once more after the others, after a
    // pause that lets a passing lock (a virus scanner, an indexer) go. What
    // comes back then stands after all the others; what still cannot return
    // stays in the journal. Both are named to the user.
    if (!stranded.empty()) {
        SleepMs(RetryPauseMs);
    }
    Failures late;
    std::vector<StringValue> away = earlier;
    for (const StringValue &file : stranded) {
        if (MoveFileTo(InFolder(TempFolder, file), InFolder(PluginFolder, file))) {
            late.Add(file);
        } else {
            failures.Add(InFolder("temp", file));
            away.push_back(file);
        }
    }
    WriteRecopyJournal(away);
    RemoveDir(TempFolder);
    IoResult();
    if (late.count > 0) {
        StringValue text = LateReturnReport(late.count, late.names);
        if (failures.count > 0) {
            text = StrConcat(StrConcat(FailureReport(failures.count, failures.names), "\r\r"), text);
        }
        ShowMessageBox(text, "Message:", MB_ICONWARNING);
    } else {
        ReportOutcome(failures, true);
    }
}

void ResortPlugins() {
    if (RenameMethod == 1) {
        ResortByRenaming();
    } else {
        ResortByRecopying();
    }
}

void RestoreOriginalNames() {
    std::int32_t count = RowCount();
    Failures failures;
    for (std::int32_t p = 0; p < count; ++p) {
        StringValue file = GetListItem(NameList, p);
        StringValue icon = FindPluginIcon(file);
        if (SortPrefixLength(file) == 0) {
            continue;
        }
        if (!RenameInFolder(PluginFolder, file, OriginalName(file))) {
            failures.Add(file);
        } else if (SortPrefixLength(icon) > 0 && !RenameInFolder(PluginFolder, icon, OriginalName(icon))) {
            KeepWithIcon(OriginalName(file), file, icon, failures);
        }
    }
    LoadCatalogue(MainList, NameList, Selection, "*.SRC");
    ReportOutcome(failures, false);
}
