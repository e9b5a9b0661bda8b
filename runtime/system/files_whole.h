// Whole-file operations for callers that must never lose a file's bytes: a
// read that never creates and refuses what it cannot hold whole, a new file
// written and checked, and an in-place rewrite that keeps the file's own
// directory entry. Any thread; each call opens and closes its own handle and
// touches no file channel. Results are 0 or a Win32 error code.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The error code of a rewrite or new file whose bytes, read back, differ from
// those written (ERROR_WRITE_FAULT).
constexpr std::int32_t FileBytesDiffer = 29;
// The error code of a file larger than the caller's limit, or one that changed
// its size while it was read (ERROR_FILE_TOO_LARGE).
constexpr std::int32_t FileTooLarge = 223;

// Reads the existing file at path whole into bytes. Never creates a file.
// Sizes are 64-bit: a file over limit bytes, or one that grows or shrinks
// while it is read, gives FileTooLarge and bytes unchanged.
std::int32_t ReadFileBytes(const StringValue &path, std::int64_t limit, StringValue &bytes);
// Creates path, which must not exist yet, with exactly bytes, flushed to the
// disk and read back. On any failure a file it created is deleted again; an
// existing file is never touched (ERROR_FILE_EXISTS).
std::int32_t CreateFileBytes(const StringValue &path, const StringValue &bytes);
// Writes bytes over the existing file at path from its first byte, sets its
// end after them, flushes and reads them back. The file keeps its directory
// entry (no new file replaces it). On failure touched tells whether the file
// was opened for writing: then it may hold anything, and the caller keeps a
// copy to put back; else it is as it was.
std::int32_t OverwriteFileBytes(const StringValue &path, const StringValue &bytes, bool &touched);
