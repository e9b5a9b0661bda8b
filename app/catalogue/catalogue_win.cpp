// Loading the catalogue from the plugin folder into the main window's lists.
#include <windows.h>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/recopy_journal.h"
#include "app/windows/main_window.h"
#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"

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

} // namespace

void AddPluginEntry(const StringValue &name, HWND mainList, HWND nameList) {
    if (StrLength(name) == 0 || IsFolderName(name)) {
        return;
    }
    if (!ReadPluginText(name)) {
        return;
    }
    StringValue shown = ShownNameFromText(StringValue(WorkArea));
    if (StrLength(StrTrim(shown)) == 0) {
        return;
    }
    if (SortPrefixLength(name) > 0) {
        PrefixLetter = StrLeft(name, 1);
    }
    // A row that one list refuses (out of memory) goes into neither: row i of
    // one list must stay the row i of the other.
    LRESULT row = SendMessageA(mainList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.data));
    if (row < 0) {
        return;
    }
    if (SendMessageA(nameList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.data)) < 0) {
        SendMessageA(mainList, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    }
}

void LoadCatalogue(HWND mainList, HWND nameList, std::int32_t selection, const StringValue &mask) {
    SendMessageA(mainList, LB_RESETCONTENT, 0, 0);
    SendMessageA(nameList, LB_RESETCONTENT, 0, 0);
    // Without redrawing each row the fill costs microseconds instead of
    // milliseconds per plugin; the lists are repainted once at the end.
    SendMessageA(mainList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(nameList, WM_SETREDRAW, FALSE, 0);

    // Plugins that an unfinished re-sort left in the temporary folder are
    // offered back before the folder is listed.
    if (StrEquals(mask, "*.SRC")) {
        OfferJournalRecovery();
    }
    IoResult();
    ChangeDir(PluginFolder);
    if (IoResult() == 0) {
        // The search also matches long names through their short names
        // ("x.srcx" is "X~1.SRC"): only a name's own extension counts.
        StringValue extension = StrRight(mask, StrLength(mask) - 2);
        StringValue name = FindFirst(mask);
        if (IsPluginFileName(name, extension.c_str())) {
            AddPluginEntry(name, mainList, nameList);
        }
        while (IoResult() == 0) {
            name = FindNext();
            if (IsPluginFileName(name, extension.c_str())) {
                AddPluginEntry(name, mainList, nameList);
            }
        }
        CloseFileSearch();
    }
    ChangeDir(StartDirectory);
    IoResult();

    SendMessageA(nameList, WM_SETREDRAW, TRUE, 0);
    SendMessageA(mainList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(mainList, nullptr, TRUE);

    LRESULT count = SendMessageA(mainList, LB_GETCOUNT, 0, 0);
    WPARAM row = (selection < count && selection != -1) ? static_cast<WPARAM>(selection) : 0;
    SendMessageA(mainList, LB_SETCURSEL, row, 0);
    UpdateMoveButtons();
    SetFocusTo(mainList);
}
