// Writing the catalogue's order to disk, and giving renamed plugins their
// former names back. Script thread only.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Re-sort: by renaming every plugin and its icon with a fresh prefix letter
// and its position (rename method), or by making the plugin folder anew and
// moving its files back in catalogue order (re-copy method, recopy.h). Tells
// the user the outcome: success, or which files could not be renamed or
// moved or came back out of order.
void ResortPlugins();
// Gives every plugin and its icon the name after its sort prefix again, and
// reloads the catalogue. Silent unless a rename fails.
void RestoreOriginalNames();

// The rename method, called by ResortPlugins; like ResortByRecopying it
// takes the method as given, so tests can run either on any volume.
void ResortByRenaming();

// Files that could not be renamed or moved during one command: how many, the
// first few names one a line ("..." after them), and whether one of them was
// refused with "access denied".
struct Failures {
    std::int32_t count = 0;
    StringValue names;
    bool denied = false;

    // name could not be renamed or moved; status: the Win32 code, if known.
    void Add(const StringValue &name, std::int32_t status = 0);
};
// FailureReport of the failures, with the access hint when one was a denial.
StringValue FailureText(const Failures &failures);

// --- Pure rules, also used by the tests ---

// The name without its sort prefix (SortPrefixLength); the whole name when it
// does not begin with one.
StringValue OriginalName(const StringValue &name);
// Digits used for the positions of one re-sort of count plugins: at least
// two, and enough for the largest position, so the names sort in order.
std::int32_t PositionDigits(std::int32_t count);
// letter + position padded with zeros to digits + "##" + OriginalName(name).
StringValue SortedName(const StringValue &letter, std::int32_t position, std::int32_t digits,
                       const StringValue &name);
// The warning shown after a re-sort or name restore in which files could not
// be renamed or moved: their number and the first few names.
StringValue FailureReport(std::int32_t count, const StringValue &names);
// The warning after a re-copy in which files came back only on the second
// try: they now stand after all the others, out of the wanted order.
StringValue LateReturnReport(std::int32_t count, const StringValue &names);
