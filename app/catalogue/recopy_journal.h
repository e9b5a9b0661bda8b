// The re-copy journal: a small file in the staging folder that names every
// file a re-sort by re-copying has taken out of the plugin folder, so that
// none is left where the browser cannot see it, even after the program was
// stopped midway. Also the journal of the previous version, which kept the
// plugins in the plugin folder's sub-folder "temp". Script thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/string_value.h"

// The journal's file name, inside the staging folder (and, in the previous
// version, inside the temporary folder "temp").
constexpr char RecopyJournalName[] = "Quillsort journal.txt";

// One file the journal names.
struct StagedFile {
    std::wstring name;
    bool plugin = false; // a listed plugin, back before every other file
};

// What the journal records: the plugin folder's attribute bits, to make it
// again with them, and the files in the order in which they go back.
struct StagingJournal {
    std::uint32_t folderAttributes = 0;
    std::vector<StagedFile> files;
};

// Reads the journal in the staging folder; false when there is none or it
// cannot be read.
bool ReadStagingJournal(StagingJournal &journal);
// Writes it, replacing any earlier one in one step; with no files it removes
// the journal. 0 or the Win32 code of the failure.
std::int32_t WriteStagingJournal(const StagingJournal &journal);

// When the staging folder holds files that its journal names, asks whether
// to move them back into the plugin folder (making that folder again first
// when it is missing), does so on Yes in the journal's order (each whose name
// is free there) and reports what came back and what could not. Then the
// same for plugins that the previous version left in "temp". A journal
// naming nothing left is removed silently, and so is its folder when empty.
// Nothing that a journal does not name is touched.
void OfferJournalRecovery();

// --- Pure rules, also used by the tests ---

// The journal's text: a heading saying what it is, the folder's attributes,
// then one line per file ("plugin: " or "file: " and its name).
std::wstring StagingJournalText(const StagingJournal &journal);
// The journal a text holds; lines that are not the journal's own, and names
// with a folder part, are skipped.
StagingJournal ParseStagingJournal(const std::wstring &text);

// The previous version's journal text: a heading, then one name per line.
StringValue JournalText(const std::vector<StringValue> &names);
// The names such a text lists: every line that is a plain plugin file name
// (no folder part); the first line and anything else are skipped.
std::vector<StringValue> JournalNames(const StringValue &text);

// The offer, for count files waiting in the folder described by where, and
// the report after the recovery (back: what came back; left: what stays there).
StringValue RecoveryQuestion(std::int32_t count, const StringValue &where);
StringValue RecoveryReport(const std::vector<StringValue> &back, const std::vector<StringValue> &left,
                           const StringValue &where);
// The box when the plugin folder is missing and cannot be made again.
StringValue FolderNotMadeReport(const StringValue &why, std::int32_t waiting, const StringValue &where);
// How the messages name the staging folder and the previous version's one.
StringValue StagingWhere();
StringValue OldTempWhere();
