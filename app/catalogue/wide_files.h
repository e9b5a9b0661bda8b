// Folder entries by their own names in wide characters, which spell every
// name, also one with characters the ANSI code page lacks (the ANSI search
// gives "?" for those, a name no file has). Used where the tool moves files
// it does not list. Script thread only; no file channel is touched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/string_value.h"

// One entry of a folder.
struct FolderEntry {
    std::wstring name;
    std::uint32_t attributes = 0; // the Win32 attribute bits
    bool IsFolder() const;
};

// The entries of folder, "." and ".." left out, in the file system's order.
// 0, also for an empty folder, or the Win32 code of the failure.
std::int32_t ListFolderEntries(const StringValue &folder, std::vector<FolderEntry> &entries);
// folder + "\" + name in wide characters; the folder itself for an empty name.
std::wstring WidePath(const StringValue &folder, const std::wstring &name = std::wstring());
// An ANSI text in wide characters.
std::wstring WideText(const StringValue &text);
// A wide name in the ANSI code page, characters it lacks as "?": for messages.
StringValue AnsiText(const std::wstring &text);
// The same name to the file system: equal but for case.
bool SameFileName(const std::wstring &a, const std::wstring &b);
// Moves the file name from folder from to folder to, under the same name; a
// file of that name in to is never replaced. 0 or the Win32 code.
std::int32_t MoveEntry(const StringValue &from, const StringValue &to, const std::wstring &name);
// True when folder\name exists (file or folder).
bool EntryExists(const StringValue &folder, const std::wstring &name);

// A wide text as UTF-8 bytes, and back (invalid bytes become U+FFFD).
StringValue Utf8Bytes(const std::wstring &text);
std::wstring FromUtf8(const StringValue &bytes);
