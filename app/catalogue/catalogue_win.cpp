// Loading the catalogue from the plugin folder into the main window's lists.
#include <windows.h>

#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/main_lists.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/recopy_journal.h"
#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/system/library_call.h"
#include "runtime/window/window_ops.h"

namespace {

// Reads a plugin file whole into the work area. A file that cannot be opened
// (locked, access denied, gone) gives false and no message; a file longer than
// the area is cut and its warning reported at the level in force.
bool ReadPluginText(const StringValue &name) {
    std::int32_t level = ErrorLevel;
    TakeErrorKind();
    SetErrorLevel(-1);
    ReadTextToArea(WorkArea, name);
    std::int32_t kind = TakeErrorKind();
    std::int32_t number = LastErrorNumber;
    SetErrorLevel(level);
    if (kind == 2) {
        return false;
    }
    if (kind == 1 && number == 244) {
        RaiseNonFatal(244);
    }
    return true;
}

// The rows of one load, handed to the lists together at its end.
struct Rows {
    std::vector<StringValue> shown;
    std::vector<StringValue> files;
};

// The shown name of plugin file name, and the prefix letter it carries; false
// when the file gives no row.
bool ReadPluginEntry(const StringValue &name, StringValue &shown) {
    if (StrLength(name) == 0 || IsFolderName(name)) {
        return false;
    }
    if (!ReadPluginText(name)) {
        return false;
    }
    shown = ShownNameFromText(StringValue(WorkArea));
    if (StrLength(StrTrim(shown)) == 0) {
        return false;
    }
    if (SortPrefixLength(name) > 0) {
        PrefixLetter = StrLeft(name, 1);
    }
    return true;
}

void CollectPluginEntry(const StringValue &name, Rows &rows) {
    StringValue shown;
    if (ReadPluginEntry(name, shown)) {
        rows.shown.push_back(shown);
        rows.files.push_back(name);
    }
}

} // namespace

void AddPluginEntry(const StringValue &name, HWND mainList, HWND nameList) {
    StringValue shown;
    if (ReadPluginEntry(name, shown)) {
        AddListRowPairs(mainList, {shown}, nameList, {name});
    }
}

void LoadCatalogue(HWND mainList, HWND nameList, std::int32_t selection, const StringValue &mask) {
    const std::uintptr_t main = reinterpret_cast<std::uintptr_t>(mainList);
    const std::uintptr_t names = reinterpret_cast<std::uintptr_t>(nameList);
    // Both lists emptied, then their redraw turned off, in one hand-over to
    // the GUI thread. Without redrawing each row the fill costs microseconds
    // instead of milliseconds per plugin; the lists are repainted once at the
    // end.
    BatchedCall empty[4] = {{"user32", "SendMessageA", 4, {main, LB_RESETCONTENT, 0, 0}, 0},
                            {"user32", "SendMessageA", 4, {names, LB_RESETCONTENT, 0, 0}, 0},
                            {"user32", "SendMessageA", 4, {main, WM_SETREDRAW, FALSE, 0}, 0},
                            {"user32", "SendMessageA", 4, {names, WM_SETREDRAW, FALSE, 0}, 0}};
    CallLibraryBatch(empty, 4);

    // Plugins that an unfinished re-sort left in the temporary folder are
    // offered back before the folder is listed.
    if (StrEquals(mask, "*.SRC")) {
        OfferJournalRecovery();
    }
    // The rows go to the lists in one request to the GUI thread, not in one
    // cross-thread message per row.
    Rows rows;
    IoResult();
    ChangeDir(PluginFolder);
    if (IoResult() == 0) {
        // The search also matches long names through their short names
        // ("x.srcx" is "X~1.SRC"): only a name's own extension counts.
        StringValue extension = StrRight(mask, StrLength(mask) - 2);
        StringValue name = FindFirst(mask);
        if (IsPluginFileName(name, extension.c_str())) {
            CollectPluginEntry(name, rows);
        }
        while (IoResult() == 0) {
            name = FindNext();
            if (IsPluginFileName(name, extension.c_str())) {
                CollectPluginEntry(name, rows);
            }
        }
        CloseFileSearch();
    }
    ChangeDir(StartDirectory);
    IoResult();
    // A row that one list refuses (out of memory) goes into neither: row i of
    // one list must stay the row i of the other.
    AddListRowPairs(mainList, rows.shown, nameList, rows.files);

    // Redraw back on, the main list repainted and its rows counted: one
    // hand-over again.
    BatchedCall shown[4] = {{"user32", "SendMessageA", 4, {names, WM_SETREDRAW, TRUE, 0}, 0},
                            {"user32", "SendMessageA", 4, {main, WM_SETREDRAW, TRUE, 0}, 0},
                            {"user32", "InvalidateRect", 3, {main, 0, TRUE}, 0},
                            {"user32", "SendMessageA", 4, {main, LB_GETCOUNT, 0, 0}, 0}};
    CallLibraryBatch(shown, 4);

    LRESULT count = shown[3].result;
    WPARAM row = (selection < count && selection != -1) ? static_cast<WPARAM>(selection) : 0;
    SendMessageA(mainList, LB_SETCURSEL, row, 0);
    if (CatalogueLoaded != nullptr) {
        CatalogueLoaded();
    }
    SetFocusTo(mainList);
}
