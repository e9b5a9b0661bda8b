// The order writer: rename method and re-copy method.
#include <windows.h>

#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/catalogue/main_lists.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/progress.h"
#include "app/catalogue/recopy_journal.h"
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
    // Some failure was an "access denied": the report adds its hint.
    bool denied = false;

    void Add(const StringValue &name, std::int32_t status = 0) {
        denied = denied || !StrEquals(AccessHint(status), "");
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

// Row p of the file-name list as GetListItem gives it, from the rows read in
// one request (the empty text past their end). The loops over the catalogue
// read the list once: it does not change while they run, and two
// cross-thread messages per row cost more than the renames.
StringValue NameAt(const std::vector<StringValue> &names, std::int32_t p) {
    return p >= 0 && static_cast<std::size_t>(p) < names.size() ? names[static_cast<std::size_t>(p)]
                                                                : StringValue();
}

StringValue InFolder(const StringValue &folder, const StringValue &name) {
    return StrConcat(StrConcat(folder, "\\"), name);
}

// Renames folder\from to folder\to; false, with the Win32 code in status,
// when the file system refused.
bool RenameInFolder(const StringValue &folder, const StringValue &from, const StringValue &to,
                    std::int32_t &status) {
    return MoveFileTo(InFolder(folder, from), InFolder(folder, to), &status);
}

// The report of failures, with the access hint when one of them was a denial.
StringValue FailureText(const Failures &failures) {
    StringValue text = FailureReport(failures.count, failures.names);
    return failures.denied ? StrConcat(StrConcat(text, "\r"), AccessHint(5)) : text;
}

// The success message, or the list of files that stayed as they were.
void ReportOutcome(const Failures &failures, bool successMessage) {
    if (failures.count > 0) {
        ShowMessageBox(FailureText(failures), "Message:", MB_ICONWARNING);
    } else if (successMessage) {
        ShowMessageBox("Re-sort successfully done!", "Message:", MB_ICONINFORMATION);
    }
}

// The plugin, renamed from file to renamed, has an icon that could not follow
// (status: why): the plugin takes its old name back, so that the icon still
// belongs to it. The icon is named to the user, and the plugin too when it
// could not return.
void KeepWithIcon(const StringValue &renamed, const StringValue &file, const StringValue &icon,
                  std::int32_t status, Failures &failures) {
    failures.Add(icon, status);
    std::int32_t back = 0;
    if (!RenameInFolder(PluginFolder, renamed, file, back)) {
        failures.Add(renamed, back);
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
    std::vector<StringValue> names = GetListItems(NameList);
    BeginProgress("Sorting", count);
    for (std::int32_t p = 0; p < count; ++p) {
        ShowProgress(p);
        StringValue file = NameAt(names, p);
        StringValue icon = FindPluginIcon(file);
        // The icon follows its plugin only: renamed alone it would no longer
        // belong to it.
        std::int32_t status = 0;
        StringValue sorted = SortedName(letter, p, digits, file);
        if (!RenameInFolder(PluginFolder, file, sorted, status)) {
            failures.Add(file, status);
        } else if (StrLength(icon) > 0 &&
                   !RenameInFolder(PluginFolder, icon, SortedName(letter, p, digits, icon), status)) {
            KeepWithIcon(sorted, file, icon, status, failures);
        }
    }
    ShowProgress(count);
    LoadCatalogue(MainList, NameList, Selection, "*.SRC");
    EndProgress();
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
    std::vector<StringValue> names = GetListItems(NameList);
    for (std::int32_t p = 0; p < count; ++p) {
        StringValue file = NameAt(names, p);
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
        StringValue text = StrConcat("Could not write the re-sort journal in the temporary folder:\r",
                                     FileErrorText(journalError));
        text = StrConcat(StrConcat(text, "\rNo plugin was moved."), AccessHint(journalError));
        ShowMessageBox(text, "Message:", MB_ICONWARNING);
        return;
    }
    std::vector<StringValue> movedOut;
    BeginProgress("Moving out", static_cast<std::int32_t>(leaving.size()));
    std::int32_t out = 0;
    for (const StringValue &file : leaving) {
        ShowProgress(out++);
        std::int32_t status = 0;
        if (MoveFileTo(InFolder(PluginFolder, file), InFolder(TempFolder, file), &status)) {
            movedOut.push_back(file);
        } else {
            failures.Add(file, status);
        }
    }
    std::vector<StringValue> stranded;
    BeginProgress("Sorting", static_cast<std::int32_t>(movedOut.size()));
    std::int32_t back = 0;
    for (const StringValue &file : movedOut) {
        ShowProgress(back++);
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
        std::int32_t status = 0;
        if (MoveFileTo(InFolder(TempFolder, file), InFolder(PluginFolder, file), &status)) {
            late.Add(file);
        } else {
            failures.Add(InFolder("temp", file), status);
            away.push_back(file);
        }
    }
    WriteRecopyJournal(away);
    RemoveDir(TempFolder);
    IoResult();
    EndProgress();
    if (late.count > 0) {
        StringValue text = LateReturnReport(late.count, late.names);
        if (failures.count > 0) {
            text = StrConcat(StrConcat(FailureText(failures), "\r\r"), text);
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
    std::vector<StringValue> names = GetListItems(NameList);
    BeginProgress("Restoring names", count);
    for (std::int32_t p = 0; p < count; ++p) {
        ShowProgress(p);
        StringValue file = NameAt(names, p);
        StringValue icon = FindPluginIcon(file);
        if (SortPrefixLength(file) == 0) {
            continue;
        }
        std::int32_t status = 0;
        if (!RenameInFolder(PluginFolder, file, OriginalName(file), status)) {
            failures.Add(file, status);
        } else if (SortPrefixLength(icon) > 0 &&
                   !RenameInFolder(PluginFolder, icon, OriginalName(icon), status)) {
            KeepWithIcon(OriginalName(file), file, icon, status, failures);
        }
    }
    ShowProgress(count);
    LoadCatalogue(MainList, NameList, Selection, "*.SRC");
    EndProgress();
    ReportOutcome(failures, false);
}
