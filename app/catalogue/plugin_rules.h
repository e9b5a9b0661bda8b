// Text rules of the plugin operations: pure functions on file names and plugin texts.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The file name with its last three characters replaced by ext ("hid", "src").
StringValue WithExtension(const StringValue &name, const char *ext);
// True when the name's own extension, after its last ".", is exactly ext
// (any case) and something stands before that dot: "a.SRC" is a plugin file
// for "src", "a.srcx" and "a.src.bak" are not.
bool IsPluginFileName(const StringValue &name, const char *ext);
// The plugin file name without its extension (up to its last "."), the base
// its icon files share; the whole name when it has no ".".
StringValue IconBaseName(const StringValue &file);
// The line that a failure box adds after an "access denied" (Win32 code 5),
// with the line break before it; empty for every other code.
StringValue AccessHint(std::int32_t error);
// The name of the safety copy that a rewrite of the plugin file keeps next to
// it while it runs: the file name + ".safety-copy".
StringValue SafetyCopyName(const StringValue &file);
// The plugin text with the value of its shown-name entry (shown) replaced by
// newName, every other byte kept; each quote character of the entry inside
// newName becomes "_". False when the entry is not found.
bool ReplaceShownName(const StringValue &text, const StringValue &shown, const StringValue &newName,
                      StringValue &result);
// Every LF not preceded by CR becomes CR LF, then CR LF is appended.
StringValue ToDosLineEnds(const StringValue &text);
// True when the text's first LF follows a CR: the file needs no conversion.
bool AlreadyDosLineEnds(const StringValue &text);
