// Finding the browser and its plugin folder, choosing how the plugin order is
// written, and the application's two ways to end. Script thread only.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Sets BrowserFolder, PluginFolder, StagingFolder, TempFolder and RenameMethod from the
// installation key, the document-type command, the Program Files folder or
// the user's choice, in that order; ends the program through FatalStop(1)
// when none yields a folder holding ":\".
void LocateBrowser();

// Shows the numbered fatal message (1: plugin folder not found, 2: the
// re-copy's staging folder not created) titled "Fatal Error (#000n)" and ends
// the program.
[[noreturn]] void FatalStop(std::int32_t code);

// The path of a shell special folder (38: Program Files); empty when the shell
// cannot give one.
StringValue SpecialFolderPath(std::int32_t csidl);

// Releases the start-up areas, closes the installation key and ends the program.
[[noreturn]] void QuitTool();

// --- Pure rules, also used by the tests ---

// "Fatal Error (#" + code padded to four digits + ")".
StringValue FatalTitle(std::int32_t code);
// The text of the fatal message table for a code; empty for unused codes.
StringValue FatalText(std::int32_t code);
// True unless the volume's file-system name holds "FAT" (case matters).
bool UsesRenameMethod(const StringValue &fileSystemName);
// The folder part of the browser's registered open command: the text before
// "firefox.exe" inside the text before the first double quote, lower-cased.
StringValue BrowserFolderFromCommand(const StringValue &command);
// An "Install Directory" value lower-cased, with a backslash appended when it
// has none at its end, so the plugin folder is always inside it.
StringValue BrowserFolderFromInstallDirectory(const StringValue &value);
