// Hands a file, folder or web address to the Windows shell.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// ShellExecuteA with no owner window, the verb (an empty verb runs the
// type's default verb), the file, no parameters and no working directory, and the
// show mode (a Win32 SW_ value). Returns ShellExecuteA's result unchanged:
// above 32 on success, 32 or less on failure; nothing is reported. Runs on
// the calling thread.
std::intptr_t ShellOpen(const StringValue &file, const StringValue &verb, std::int32_t showMode);
