// The plugin operations on files and catalogue rows.
#include <windows.h>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/main_lists.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_ops.h"
#include "app/catalogue/plugin_rules.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/system/library_call.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t IdYes = 6;
constexpr std::int32_t MaxConvertedSize = 64 * 1024 * 1024;

StringValue PluginPath(const StringValue &file) {
    return StrConcat(StrConcat(PluginFolder, "\\"), file);
}

StringValue Quoted(const StringValue &text) {
    return StrConcat(StrConcat("''", text), "''");
}

void Tell(const StringValue &text) {
    ShowMessageBox(text, "Message:", MB_ICONWARNING);
}

// Removes row sel from both lists and selects the row now at sel, or the one
// before when the last row went.
void RemoveRow(HWND mainList, HWND nameList, std::int32_t sel) {
    SendMessageA(mainList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    SendMessageA(nameList, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    std::int32_t count = static_cast<std::int32_t>(SendMessageA(mainList, LB_GETCOUNT, 0, 0));
    std::int32_t row = sel == count ? sel - 1 : sel;
    SendMessageA(mainList, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

// Rewrites the plugin file with bytes, keeping its old content on any
// failure; tells the user why it failed and where the old bytes are when not
// even they could be put back. True when the file holds the new bytes.
bool Rewrite(const StringValue &file, const StringValue &old, const StringValue &bytes) {
    RewriteOutcome outcome = RewritePluginFile(PluginFolder, file, old, bytes);
    if (outcome.error == 0) {
        return true;
    }
    StringValue text = StrConcat(StrConcat("Could not write ", Quoted(file)), ":\r");
    if (outcome.error == ERROR_FILE_EXISTS) {
        // Only the safety copy is ever created: one is left from an earlier
        // failure, and it may hold the only whole version of the plugin.
        text = StrConcat(StrConcat(StrConcat(text, "an earlier safety copy "), Quoted(SafetyCopyName(file))),
                         " is still in the plugin folder; move it away first.");
    } else {
        text = StrConcat(text, FileErrorText(outcome.error));
    }
    if (StrLength(outcome.keptCopy) == 0) {
        text = StrConcat(text, "\rThe plugin was left unchanged.");
    } else {
        text = StrConcat(StrConcat(StrConcat(text, "\rIts former content could not be put back either; it is "
                                                   "kept in the plugin folder as "),
                                   Quoted(outcome.keptCopy)),
                         ".");
    }
    Tell(StrConcat(text, AccessHint(outcome.error)));
    return false;
}

// After a command on the main list: focus back to it, and Enter must be
// released before Edit can run.
void BackToList() {
    SetFocusTo(MainList);
    EnterLatch = 1;
}

} // namespace

void HidePlugin(std::int32_t sel) {
    if (sel < 0) {
        return;
    }
    StringValue file = GetListItem(NameList, sel);
    if (StrLength(file) == 0) {
        return;
    }
    AssignFile(1, PluginPath(file));
    RenameFile(1, PluginPath(WithExtension(file, "hid")));
    std::int32_t status = IoResult();
    if (status == 0) {
        RemoveRow(MainList, NameList, sel);
    } else {
        Tell(StrConcat(
            StrConcat(StrConcat(StrConcat("Could not hide ", Quoted(file)), ":\r"), FileErrorText(status)),
            AccessHint(status)));
    }
    BackToList();
}

void RestorePlugin(HWND dialogMainList, HWND dialogNameList, std::int32_t sel) {
    if (sel < 0) {
        return;
    }
    StringValue file = GetListItem(dialogNameList, sel);
    if (StrLength(file) == 0) {
        return;
    }
    AssignFile(1, PluginPath(file));
    RenameFile(1, PluginPath(WithExtension(file, "src")));
    std::int32_t status = IoResult();
    if (status != 0) {
        Tell(StrConcat(
            StrConcat(StrConcat(StrConcat("Could not restore ", Quoted(file)), ":\r"), FileErrorText(status)),
            AccessHint(status)));
        return;
    }
    RemoveRow(dialogMainList, dialogNameList, sel);
    LoadCatalogue(MainList, NameList, Selection, "*.SRC");
    // The reload focuses the main list; the dialog's list keeps the keys.
    SetFocusTo(dialogMainList);
}

void DeletePlugin(std::int32_t sel) {
    sel = static_cast<std::int32_t>(SendMessageA(MainList, LB_GETCURSEL, 0, 0));
    if (sel < 0) {
        return;
    }
    StringValue shown = GetListItem(MainList, sel);
    std::int32_t answer =
        ShowMessageBox(StrConcat("Do yo really want to delete this plugin?\r\r", shown), "Question:", 36);
    if (answer == IdYes) {
        StringValue file = GetListItem(NameList, sel);
        StringValue path = PluginPath(file);
        DWORD attributes = GetFileAttributesA(path.c_str());
        std::int32_t status = 2;
        if (ReleaseReadOnly(path)) {
            AssignFile(1, path);
            EraseFile(1);
            status = IoResult();
        }
        if (status != 0) {
            // A plugin that stays keeps its read-only bit.
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
                SetFileAttributesA(path.c_str(), attributes);
            }
            Tell(StrConcat(StrConcat(StrConcat(StrConcat("Could not delete ", Quoted(file)), ":\r"),
                                     FileErrorText(status)),
                           AccessHint(status)));
        } else {
            // The icon shares the plugin file's base name, inside the plugin folder.
            StringValue base = PluginPath(IconBaseName(file));
            StringValue iconName;
            std::int32_t iconStatus = 0;
            SetErrorLevel(-1);
            for (std::int32_t k = 1; k <= 7; ++k) {
                StringValue extension = StrField(IconExtensions, k, "#");
                StringValue icon = StrConcat(base, extension);
                if (FileSize(icon) > 0) {
                    IoResult();
                    iconStatus = 2;
                    if (ReleaseReadOnly(icon)) {
                        AssignFile(1, icon);
                        EraseFile(1);
                        iconStatus = IoResult();
                    }
                    iconName = StrConcat(IconBaseName(file), extension);
                    break;
                }
            }
            IoResult();
            SetErrorLevel(0);
            RemoveRow(MainList, NameList, sel);
            // An icon left behind is no longer any plugin's: the user hears of it.
            if (iconStatus != 0) {
                Tell(StrConcat(
                    StrConcat(StrConcat(StrConcat(StrConcat(Quoted(file), " was deleted, but not its icon "),
                                                  Quoted(iconName)),
                                        ":\r"),
                              FileErrorText(iconStatus)),
                    AccessHint(iconStatus)));
            }
        }
    }
    BackToList();
}

void RenamePlugin(std::int32_t sel, const StringValue &newName) {
    if (sel < 0) {
        return;
    }
    if (StrLength(newName) < 2) {
        // A cancelled dialog or a too short name changes nothing, but the
        // Enter that closed the dialog must still not start Edit.
        BackToList();
        return;
    }
    StringValue file = GetListItem(NameList, sel);
    if (StrLength(file) == 0) {
        return;
    }
    StringValue path = PluginPath(file);
    StringValue shown = GetListItem(MainList, sel);
    StringValue text;
    StringValue changed;
    if (!ReadWholeFile(path, WorkAreaSize - 1, text)) {
        Tell(StrConcat(Quoted(file), " cannot be read, or is too large to rename; it was left unchanged."));
    } else if (!ReplaceShownName(text, shown, newName, changed)) {
        Tell(StrConcat(Quoted(file), " has no name entry for this plugin; it was left unchanged."));
    } else if (Rewrite(file, text, changed)) {
        StringValue name = newName;
        // The row shows the name as the file now holds it.
        StringValue written = ShownNameFromText(changed);
        if (StrLength(written) > 0) {
            name = written;
        }
        // The new text goes in before the old one goes, so a list that
        // refuses it keeps its row count in step with the file-name list.
        if (SendMessageA(MainList, LB_INSERTSTRING, static_cast<WPARAM>(sel),
                         reinterpret_cast<LPARAM>(name.data)) >= 0) {
            SendMessageA(MainList, LB_DELETESTRING, static_cast<WPARAM>(sel + 1), 0);
        }
        SendMessageA(MainList, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    }
    BackToList();
}

void ConvertPlugin(std::int32_t sel) {
    if (sel < 0) {
        return;
    }
    StringValue file = GetListItem(NameList, sel);
    if (StrLength(file) == 0) {
        return;
    }
    StringValue path = PluginPath(file);
    StringValue text;
    if (!ReadWholeFile(path, MaxConvertedSize, text)) {
        Tell(StrConcat(Quoted(file), " cannot be read, or is too large to convert; it was left unchanged."));
    } else if (AlreadyDosLineEnds(text)) {
        ShowMessageBox("Conversion not necessary!", "Message:", MB_ICONEXCLAMATION);
    } else if (Rewrite(file, text, ToDosLineEnds(text))) {
        ShowMessageBox("Conversion successful!", "Message:", MB_ICONINFORMATION);
    }
    BackToList();
}

void EditPlugin(std::int32_t sel) {
    if (sel < 0) {
        return;
    }
    if (static_cast<HWND>(reinterpret_cast<void *>(CallLibrary("user32", "GetForegroundWindow"))) !=
        MainWindow) {
        return;
    }
    StringValue file = GetListItem(NameList, sel);
    if (StrLength(file) == 0) {
        return;
    }
    StringValue command = StrConcat("notepad.exe ", PluginPath(file));
    CallLibrary("kernel32", "WinExec", {reinterpret_cast<std::uintptr_t>(command.data), 1});
}
