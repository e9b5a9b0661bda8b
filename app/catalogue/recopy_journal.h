// The re-copy journal: a small file in the temporary folder naming the
// plugins that a re-sort by re-copying moves out, so that none is left where
// the browser cannot see it, even after the program was stopped midway.
// Script thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/core/string_value.h"

// The journal's file name inside the temporary folder.
constexpr char RecopyJournalName[] = "Quillsort journal.txt";

// The names the journal in the temporary folder lists (empty when there is
// none or it cannot be read).
std::vector<StringValue> ReadRecopyJournal();
// Writes the journal listing names, replacing any earlier one in one step;
// with no names it removes the journal. 0 or the Win32 code of the failure.
std::int32_t WriteRecopyJournal(const std::vector<StringValue> &names);
// Of the listed names, those whose file is in the temporary folder.
std::vector<StringValue> StillInTemp(const std::vector<StringValue> &names);

// When a journal is there and names plugins still in the temporary folder,
// asks whether to move them back into the plugin folder (each whose name is
// free there), does so on Yes and reports what came back and what could not.
// A journal naming nothing left in the temporary folder is removed silently.
// Nothing in the temporary folder that the journal does not name is touched.
void OfferJournalRecovery();

// --- Pure rules, also used by the tests ---

// The journal's text: a line saying what it is, then one name per line.
StringValue JournalText(const std::vector<StringValue> &names);
// The names a journal text lists: every line that is a plain plugin file
// name (no folder part); the first line and anything else are skipped.
std::vector<StringValue> JournalNames(const StringValue &text);
// The offer, and the report after the recovery.
StringValue RecoveryQuestion(std::int32_t count);
StringValue RecoveryReport(const std::vector<StringValue> &back, const std::vector<StringValue> &left);
