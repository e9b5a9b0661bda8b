// The current directory of a drive (Windows only). Script thread; it changes
// the process's current directory for a moment, so no other thread may depend
// on it meanwhile.
#pragma once

#include "runtime/core/string_value.h"

// For a text starting with "@": the current directory. Otherwise the current
// directory of the drive whose letter is the text's first character; the
// empty text when that drive cannot be made current.
StringValue DriveDirectory(const StringValue &drive);
