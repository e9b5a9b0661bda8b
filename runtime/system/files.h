// The runtime's file layer: 15 numbered file channels, one process-wide file
// search, directory operations and whole-file text reads into memory areas.
//
// Every operation runs on the calling thread (the script thread) and talks to
// the Win32 ANSI file functions directly; nothing is locked. Failures are
// reported in one of three ways, fixed per operation: a silent status in
// IoStatus (read and reset with IoResult), a RuntimeError, or a neutral result.
// Paths are handed to Win32 as they stand; relative paths resolve against the
// current directory.
//
// Channel numbers must lie in 1 to 15: any other number raises the fatal
// error 210 and, when the program goes on ("errorlevel" -1), the operation
// does nothing (GetFileAttr then yields 9, BlockRead its count argument).
// The runtime owns the channels' handles and streams: an operation that opens
// one keeps it in the channel until the matching close.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The file status: 0 when the last operation that sets it succeeded, else
// 2 (not created/opened, directory not entered or removed), 18 (no more names),
// 102 (no path assigned), 103 (channel not open as needed, file not found) or
// a Win32 error code. Kept until an operation sets it or IoResult reads it.
extern std::int32_t IoStatus;
// The access OpenBlockFile uses: 0 read, 1 write, anything else both (2 at start).
extern std::int32_t BlockFileMode;

// Returns IoStatus and sets it to 0.
std::int32_t IoResult();

// Prepares the layer before the script thread starts (GUI thread, process
// entry): all channels empty, BlockFileMode 2, IoStatus 0, no file search.
void StartFileLayer();
// Teardown after the script thread has ended (GUI thread): closes the file
// search if one is open. Channels still open are deliberately left to the
// operating system, because the ended script thread may have been stopped
// inside one of their streams.
void EndFileLayer();

// --- Channels -------------------------------------------------------------

// Stores path in the channel; opens nothing, IoStatus unchanged.
void AssignFile(std::int32_t channel, const StringValue &path);
// Opens the assigned path for block reads with the access of BlockFileMode and
// no sharing; modes 1 and 2 create it when missing, mode 0 (read) never does. On failure the channel has no
// block handle and IoStatus is the Win32 error code; a handle still open on the channel is closed first.
void OpenBlockFile(std::int32_t channel);
// Reads up to count bytes from the file's current position into area + offset
// and returns how many were read; area must be a memory area (DimArea) and the
// read never goes past its capacity (nothing is read into any other address).
// No block handle: IoStatus 103 and -1. A read failure sets IoStatus to the
// Win32 error code and returns what was read.
std::int32_t BlockRead(std::int32_t channel, char *area, std::int32_t offset, std::int32_t count);
// Closes and clears the block handle (IoStatus unchanged); a channel with only
// an output stream is closed as by CloseFile.
void CloseBlockFile(std::int32_t channel);
// Opens a binary output stream on the assigned path, created or emptied.
// No path: IoStatus 102 and nothing else. Opening fails: IoStatus 2, and the
// failed stream stays in the channel (writes to it set 103) until CloseFile.
void RewriteFile(std::int32_t channel);
// Writes the text's bytes unchanged, then per ending: 0 a space, 2 CR LF,
// anything else nothing. No stream, or a stream in an error state: IoStatus
// 103 and nothing written. A failed write sets 103 and clears the stream's
// error state so that the next write is tried again.
void PrintToFile(std::int32_t channel, const StringValue &text, std::int32_t ending);
// Flushes, closes and releases the output stream; IoStatus 0, or 103 when the
// buffered bytes could not be written. A channel without a stream gets its
// block handle closed (if any) and IoStatus 103.
void CloseFile(std::int32_t channel);
// Moves the assigned path to newPath (also into another folder); the channel
// keeps its old path. IoStatus 0 or the Win32 error code.
void RenameFile(std::int32_t channel, const StringValue &newPath);
// Deletes the assigned path. IoStatus 0 or the Win32 error code.
void EraseFile(std::int32_t channel);
// The Win32 attribute bits of the assigned path. Failure: fatal error 300 with
// the path, and 9 when the program goes on. IoStatus unchanged.
std::int32_t GetFileAttr(std::int32_t channel);
// Sets the attribute bits of the assigned path. Failure: fatal error 300 with
// the path. IoStatus unchanged.
void SetFileAttr(std::int32_t channel, std::int32_t attributes);

// --- File search ----------------------------------------------------------

// The size (low 32 bits; ReadFileBytes takes all 64) of the first entry matching path, which may hold
// wildcards; a folder gives 0. Uses its own search, not the one below. No
// match: IoStatus 103, the non-fatal error 209 with the path, and -1.
std::int32_t FileSize(const StringValue &path);
// Starts the one process-wide file search (abandoning any earlier one) and
// returns the first matching name without its folder; folders come in square
// brackets, "." and ".." included. No match: IoStatus 18 and the empty text.
StringValue FindFirst(const StringValue &mask);
// The next name of the search, formed as by FindFirst, in the file system's
// own order. None left, or no search: IoStatus 18 and the empty text.
StringValue FindNext();
// Closes the file search if one is open.
void CloseFileSearch();

// --- Directories ----------------------------------------------------------

// Creates a folder. IoStatus 0 or the Win32 error code (183: it exists).
void MakeDir(const StringValue &path);
// Makes path the current directory. IoStatus 0, or 2 whatever the reason.
void ChangeDir(const StringValue &path);
// Removes an empty folder. IoStatus 0, or 2 whatever the reason.
void RemoveDir(const StringValue &path);

// --- Whole-file text reads ------------------------------------------------

// Reads the file at path into the memory area (DimArea) as a zero-terminated
// text: every CR becomes CR LF, CR LF stays, a lone LF stays, and CR LF is
// appended at the end as far as room remains. Nothing is ever written past
// the area's capacity. A file that cannot be opened: fatal error 300 with the
// path (the area is untouched). Content that does not fit: the text is cut
// to the area (its last byte the terminator) and the non-fatal error 244 is
// reported. IoStatus unchanged.
void ReadTextToArea(char *area, const StringValue &path);
