// File steps shared by the order writer and the plugin operations. Script
// thread only; they use file channel 1.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Moves or renames from to to (full paths); true when it succeeded. status,
// when given, receives 0 or the Win32 code of the failure.
bool MoveFileTo(const StringValue &from, const StringValue &to, std::int32_t *status = nullptr);
// The plugin's icon in the plugin folder: the first of base + ".gif", ".png",
// ".jpg", ".ico" that exists (an empty file counts), where base is the plugin
// file name without its last four characters; empty when there is none. The
// probes run silenced; "errorlevel" is 1 afterwards.
StringValue FindPluginIcon(const StringValue &pluginFile);
// Clears the read-only bit of path when it is set. False, with nothing
// reported, when the attributes cannot be read or written (a missing file).
bool ReleaseReadOnly(const StringValue &path);
// Reads the whole existing file into a new value, every byte as it stands;
// false, with nothing created, when it cannot be read, is larger than limit
// bytes (all 64 bits of its size count) or changes its size meanwhile.
bool ReadWholeFile(const StringValue &path, std::int32_t limit, StringValue &bytes);

// What became of a plugin file rewrite.
struct RewriteOutcome {
    // 0: the file holds the new bytes; else the Win32 code of the failure.
    std::int32_t error = 0;
    // Set only when even putting the old bytes back failed: the name of the
    // safety copy in the plugin folder that still holds them.
    StringValue keptCopy;
};
// Rewrites the plugin file folder\file, whose present content is old, with
// bytes, in place. A safety copy of old is written next to it first; on any
// failure the file gets old back, with its attributes, and the copy goes.
// On success the read-only bit is left cleared, all other attributes kept.
RewriteOutcome RewritePluginFile(const StringValue &folder, const StringValue &file, const StringValue &old,
                                 const StringValue &bytes);
// A short English description of a Win32 error code, for the messages.
StringValue FileErrorText(std::int32_t code);
