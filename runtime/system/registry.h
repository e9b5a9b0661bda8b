// INI-file and registry reads by the ReadIniValue rules. Called on the script
// thread (any thread works: nothing is shared between calls). Every result is
// a new StringValue owned by the caller; no key stays open after a call.
#pragma once

#include <windows.h>

#include "runtime/core/string_value.h"

// The predefined root whose name text begins with "HKEY_0" to "HKEY_6"
// (first six characters, without regard to case): classes root, current
// user, local machine, users, performance data, current config, dyn data.
// Any other text gives nullptr.
HKEY RegistryRoot(const StringValue &text);

// One entry of an INI file, or one registry value when file begins with
// "HKEY_" (without regard to case).
// INI form: the entry's text (at most 255 characters); empty when the file,
// section or key is missing, without an error.
// Registry form: file names the root and, when it contains "_DW_" in any case,
// asks for the value as a 32-bit number given back as signed decimal text;
// section is the key path below the root (a trailing backslash is allowed) and
// key the value name (empty for the default value). Text types (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ) give their first string unexpanded, other types
// the empty text. An unopenable key or a missing or over-long (more than 256
// bytes) value reports the non-fatal runtime error 305 and gives the empty text.
StringValue ReadIniValue(const StringValue &file, const StringValue &section, const StringValue &key);
