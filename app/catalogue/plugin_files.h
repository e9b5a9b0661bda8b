// File steps shared by the order writer and the plugin operations. Script
// thread only; they use file channel 1.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Moves or renames from to to (full paths); true when it succeeded.
bool MoveFileTo(const StringValue &from, const StringValue &to);
// The plugin's icon in the plugin folder: the first of base + ".gif", ".png",
// ".jpg", ".ico" that exists (an empty file counts), where base is the plugin
// file name without its last four characters; empty when there is none. The
// probes run silenced; "errorlevel" is 1 afterwards.
StringValue FindPluginIcon(const StringValue &pluginFile);
// Clears the read-only bit of path when it is set. False, with nothing
// reported, when the attributes cannot be read or written (a missing file).
bool ReleaseReadOnly(const StringValue &path);
// Reads the whole file into a new value, every byte as it stands; false when
// it cannot be read or is larger than limit bytes.
bool ReadWholeFile(const StringValue &path, std::int32_t limit, StringValue &bytes);
// Writes bytes as the file's whole new content; false when that failed.
bool WriteWholeFile(const StringValue &path, const StringValue &bytes);
// A short English description of a Win32 error code, for the messages.
StringValue FileErrorText(std::int32_t code);
