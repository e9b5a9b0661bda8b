// The re-copy journals on disk, and the recovery offered on a catalogue load.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_rules.h"
#include "app/catalogue/progress.h"
#include "app/catalogue/recopy_journal.h"
#include "app/catalogue/wide_files.h"
#include "runtime/core/strings.h"
#include "runtime/system/files_whole.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t JournalLimit = 4 * 1024 * 1024;
constexpr std::int32_t IdYes = 6;
constexpr char Utf8Mark[] = "\xEF\xBB\xBF";

StringValue InFolder(const StringValue &folder, const StringValue &name) {
    return StrConcat(StrConcat(folder, "\\"), name);
}

bool Exists(const StringValue &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes text as the journal in folder, replacing any earlier one in one
// step: written whole under a second name first, then put in place, since a
// journal cut short would forget files. With no text the journal goes.
std::int32_t WriteJournalFile(const StringValue &folder, const StringValue &text) {
    StringValue journal = InFolder(folder, RecopyJournalName);
    if (StrLength(text) == 0) {
        if (!DeleteFileA(journal.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            return static_cast<std::int32_t>(GetLastError());
        }
        return 0;
    }
    StringValue fresh = StrConcat(journal, ".new");
    DeleteFileA(fresh.c_str());
    std::int32_t error = CreateFileBytes(fresh, text);
    if (error == 0 &&
        !MoveFileExA(fresh.c_str(), journal.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = static_cast<std::int32_t>(GetLastError());
        DeleteFileA(fresh.c_str());
    }
    return error;
}

// The box after a recovery, with the access hint when a move was denied.
void ReportRecovery(const std::vector<StringValue> &back, const std::vector<StringValue> &left,
                    const StringValue &where, std::int32_t denied) {
    ShowMessageBox(StrConcat(RecoveryReport(back, left, where), AccessHint(denied)),
                   "Message:", left.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}

// Makes the plugin folder again, with the attributes it had, when a stop
// left it missing. 0 or the Win32 code.
std::int32_t EnsurePluginFolder(std::uint32_t attributes) {
    std::wstring folder = WidePath(PluginFolder);
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        return static_cast<std::int32_t>(GetLastError());
    }
    DWORD kept = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE);
    if (kept != 0) {
        SetFileAttributesW(folder.c_str(), kept);
    }
    return 0;
}

// The files of the staging journal, back home in its order.
void OfferStagingRecovery() {
    if (!Exists(StagingFolder)) {
        return;
    }
    StagingJournal journal;
    if (!ReadStagingJournal(journal)) {
        // A stop before the journal was written leaves the folder empty.
        RemoveDirectoryW(WidePath(StagingFolder).c_str());
        return;
    }
    StagingJournal waiting = journal;
    waiting.files.clear();
    for (const StagedFile &file : journal.files) {
        if (EntryExists(StagingFolder, file.name)) {
            waiting.files.push_back(file);
        }
    }
    if (waiting.files.empty()) {
        WriteStagingJournal(waiting);
        RemoveDirectoryW(WidePath(StagingFolder).c_str());
        return;
    }
    if (ShowMessageBox(RecoveryQuestion(static_cast<std::int32_t>(waiting.files.size()), StagingWhere()),
                       "Question:", MB_YESNO | MB_ICONQUESTION) != IdYes) {
        return;
    }
    std::int32_t made = EnsurePluginFolder(journal.folderAttributes);
    if (made != 0) {
        ShowMessageBox(
            StrConcat(FolderNotMadeReport(FileErrorText(made),
                                          static_cast<std::int32_t>(waiting.files.size()), StagingWhere()),
                      AccessHint(made)),
            "Message:", MB_ICONWARNING);
        return;
    }
    std::vector<StringValue> back;
    std::vector<StringValue> left;
    StagingJournal stays = journal;
    stays.files.clear();
    std::int32_t denied = 0;
    std::int32_t plugins = 0;
    for (const StagedFile &file : waiting.files) {
        plugins += file.plugin ? 1 : 0;
    }
    BeginProgress("Recovering", plugins);
    std::int32_t pluginsDone = 0;
    for (const StagedFile &file : waiting.files) {
        if (file.plugin) {
            ShowProgress(pluginsDone++);
        }
        // A name taken in the plugin folder meanwhile is never overwritten.
        std::int32_t status = MoveEntry(StagingFolder, PluginFolder, file.name);
        if (status == 0) {
            back.push_back(AnsiText(file.name));
        } else {
            left.push_back(AnsiText(file.name));
            stays.files.push_back(file);
            denied = StrLength(AccessHint(status)) > 0 ? status : denied;
        }
    }
    WriteStagingJournal(stays);
    if (stays.files.empty()) {
        RemoveDirectoryW(WidePath(StagingFolder).c_str());
    }
    EndProgress();
    ReportRecovery(back, left, StagingWhere(), denied);
}

// The plugins that the previous version's re-sort left in "temp".
std::vector<StringValue> ReadOldJournal() {
    StringValue text;
    if (ReadFileBytes(InFolder(TempFolder, RecopyJournalName), JournalLimit, text) != 0) {
        return {};
    }
    return JournalNames(text);
}

void OfferOldTempRecovery() {
    if (!Exists(InFolder(TempFolder, RecopyJournalName))) {
        return;
    }
    std::vector<StringValue> waiting;
    for (const StringValue &name : ReadOldJournal()) {
        if (Exists(InFolder(TempFolder, name))) {
            waiting.push_back(name);
        }
    }
    if (waiting.empty()) {
        WriteJournalFile(TempFolder, StringValue());
        RemoveDirectoryA(TempFolder.c_str());
        return;
    }
    if (ShowMessageBox(RecoveryQuestion(static_cast<std::int32_t>(waiting.size()), OldTempWhere()),
                       "Question:", MB_YESNO | MB_ICONQUESTION) != IdYes) {
        return;
    }
    std::vector<StringValue> back;
    std::vector<StringValue> left;
    std::int32_t denied = 0;
    BeginProgress("Recovering", static_cast<std::int32_t>(waiting.size()));
    for (const StringValue &name : waiting) {
        ShowProgress(static_cast<std::int32_t>(back.size() + left.size()));
        StringValue home = InFolder(PluginFolder, name);
        std::int32_t status = 0;
        if (!Exists(home) && MoveFileTo(InFolder(TempFolder, name), home, &status)) {
            back.push_back(name);
        } else {
            left.push_back(name);
            denied = StrLength(AccessHint(status)) > 0 ? status : denied;
        }
    }
    WriteJournalFile(TempFolder, left.empty() ? StringValue() : JournalText(left));
    if (left.empty()) {
        RemoveDirectoryA(TempFolder.c_str());
    }
    EndProgress();
    ReportRecovery(back, left, OldTempWhere(), denied);
}

} // namespace

bool ReadStagingJournal(StagingJournal &journal) {
    StringValue bytes;
    if (ReadFileBytes(InFolder(StagingFolder, RecopyJournalName), JournalLimit, bytes) != 0) {
        return false;
    }
    if (StrLength(bytes) >= 3 && StrEquals(StrLeft(bytes, 3), Utf8Mark)) {
        bytes = StrRight(bytes, StrLength(bytes) - 3);
    }
    journal = ParseStagingJournal(FromUtf8(bytes));
    return true;
}

std::int32_t WriteStagingJournal(const StagingJournal &journal) {
    if (journal.files.empty()) {
        return WriteJournalFile(StagingFolder, StringValue());
    }
    // UTF-8 spells every name; the mark tells Notepad so.
    return WriteJournalFile(StagingFolder, StrConcat(Utf8Mark, Utf8Bytes(StagingJournalText(journal))));
}

void OfferJournalRecovery() {
    OfferStagingRecovery();
    OfferOldTempRecovery();
}
