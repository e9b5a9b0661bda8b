// Text rules of the catalogue scan: pure functions on plugin texts and names.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The five normalisation passes of a plugin text, in their order: "NAME" and
// "Name" become "name", one blank before and up to two after "=" are removed.
StringValue NormaliseNameEntries(const StringValue &text);
// The shown name cut from a whole plugin text: the value of its first name=
// entry between the first character after "name=" and its next occurrence.
// The result is untrimmed; a blank or empty result means "no row".
StringValue ShownNameFromText(const StringValue &text);
// The length of the sort prefix that the re-sort puts in front of a name
// (one letter A-Z, two or more digits, then "##", at the very start, with a
// name after it), or 0 when the name does not begin with one. "##" anywhere
// else is part of the name.
std::int32_t SortPrefixLength(const StringValue &name);
// True for the bracketed folder names that the file search returns.
bool IsFolderName(const StringValue &name);
