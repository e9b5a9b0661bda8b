// The order writer: the rename method, and the choice of method.
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
#include "app/catalogue/recopy.h"
#include "runtime/core/events.h"
#include "runtime/core/random.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/window/window_ops.h"

namespace {

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
