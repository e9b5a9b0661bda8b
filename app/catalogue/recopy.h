// The re-sort on FAT drives, whose folders list their files in the order of
// their directory entries. A folder in which nothing was ever deleted holds
// its entries strictly in the order they were made, under every FAT driver;
// so the re-sort makes the plugin folder anew: every file moves out into the
// staging folder beside it, the emptied folder is removed and made again
// with its attributes, the plugins come back in catalogue order and then
// every other file, and the staging folder goes. Only files move, never a
// folder, and only by moves: no file is ever in two places. A journal in the
// staging folder names every file while it is away (recopy_journal.h).
// Script thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "app/catalogue/order_writer.h"
#include "runtime/core/string_value.h"

// The re-copy method. Says "Re-sort successfully done!" only when every
// listed plugin's entry stands in catalogue order in a plugin folder made
// anew; otherwise it names what stayed, came back late or is still away, and
// says whether the order may not hold. Refuses with nothing changed when the
// plugin folder holds a folder (it cannot be made anew around it, and the
// browser reads plugins inside it too) or the staging folder holds files.
// Ends the program through FatalStop(2) when the staging folder cannot be
// made; nothing has moved then. An empty "temp" folder that the previous
// version left in the plugin folder is removed first.
void ResortByRecopying();

// The steps of the re-copy, in their order.
enum class RecopyStep { MoveOut, RemoveFolder, CreateFolder, MoveBack, RemoveStaging };
// When set, called on the script thread before each step (done 0) and after
// each file it moved or the folder it removed or made (done 1, 2, ...), so
// that a test can stop the program at any of these points. Null otherwise.
extern void (*RecopyStepReached)(RecopyStep step, std::int32_t done);

// --- Pure rules, also used by the tests ---

// The refusal when the plugin folder holds the given folders.
StringValue SubFolderRefusal(const std::vector<StringValue> &folders);
// The refusal when the staging folder already holds files.
StringValue StagingInUseRefusal();
// The report of files that could not leave the plugin folder, which was
// therefore not made anew.
StringValue StuckReport(const Failures &stuck);
// The report when the emptied plugin folder could not be removed (why).
StringValue FolderKeptReport(const StringValue &why);
// The report of files that could not come back from the staging folder.
StringValue LeftAwayReport(const Failures &left);
// The close-the-browser advice that these reports end with.
StringValue CloseBrowserAdvice();
