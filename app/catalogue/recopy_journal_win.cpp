// The re-copy journal on disk, and the recovery offered on a catalogue load.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/progress.h"
#include "app/catalogue/recopy_journal.h"
#include "runtime/core/strings.h"
#include "runtime/system/files_whole.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t JournalLimit = 1024 * 1024;
constexpr std::int32_t IdYes = 6;

StringValue InTemp(const StringValue &name) {
    return StrConcat(StrConcat(TempFolder, "\\"), name);
}

bool Exists(const StringValue &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::vector<StringValue> ReadRecopyJournal() {
    StringValue text;
    if (ReadFileBytes(InTemp(RecopyJournalName), JournalLimit, text) != 0) {
        return {};
    }
    return JournalNames(text);
}

std::int32_t WriteRecopyJournal(const std::vector<StringValue> &names) {
    StringValue journal = InTemp(RecopyJournalName);
    if (names.empty()) {
        if (!DeleteFileA(journal.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            return static_cast<std::int32_t>(GetLastError());
        }
        return 0;
    }
    // Written whole under a second name first, then put in place in one
    // step: a journal cut short would forget plugins.
    StringValue fresh = StrConcat(journal, ".new");
    DeleteFileA(fresh.c_str());
    std::int32_t error = CreateFileBytes(fresh, JournalText(names));
    if (error == 0 &&
        !MoveFileExA(fresh.c_str(), journal.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = static_cast<std::int32_t>(GetLastError());
        DeleteFileA(fresh.c_str());
    }
    return error;
}

std::vector<StringValue> StillInTemp(const std::vector<StringValue> &names) {
    std::vector<StringValue> there;
    for (const StringValue &name : names) {
        if (Exists(InTemp(name))) {
            there.push_back(name);
        }
    }
    return there;
}

void OfferJournalRecovery() {
    if (!Exists(InTemp(RecopyJournalName))) {
        return;
    }
    std::vector<StringValue> waiting = StillInTemp(ReadRecopyJournal());
    if (waiting.empty()) {
        WriteRecopyJournal({});
        RemoveDirectoryA(TempFolder.c_str());
        return;
    }
    if (ShowMessageBox(RecoveryQuestion(static_cast<std::int32_t>(waiting.size())),
                       "Question:", MB_YESNO | MB_ICONQUESTION) != IdYes) {
        return;
    }
    std::vector<StringValue> back;
    std::vector<StringValue> left;
    std::int32_t denied = 0;
    BeginProgress("Recovering", static_cast<std::int32_t>(waiting.size()));
    for (const StringValue &name : waiting) {
        ShowProgress(static_cast<std::int32_t>(back.size() + left.size()));
        StringValue home = StrConcat(StrConcat(PluginFolder, "\\"), name);
        // A name taken in the plugin folder meanwhile is never overwritten.
        std::int32_t status = 0;
        if (!Exists(home) && MoveFileTo(InTemp(name), home, &status)) {
            back.push_back(name);
        } else {
            left.push_back(name);
            denied = StrLength(AccessHint(status)) > 0 ? status : denied;
        }
    }
    WriteRecopyJournal(left);
    if (left.empty()) {
        RemoveDirectoryA(TempFolder.c_str());
    }
    EndProgress();
    ShowMessageBox(StrConcat(RecoveryReport(back, left), AccessHint(denied)),
                   "Message:", left.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}
