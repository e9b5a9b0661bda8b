// Operations on one plugin of the catalogue: hide, restore, delete, change
// the shown name, convert line ends, open in Notepad. Script thread only; each
// works on the row index it is given (nothing happens for a negative index or
// a row that does not exist) and tells the user in a "Message:" box when a
// file step fails (the file changed or removed outside the tool included),
// keeping the row. After Hide, Delete, Rename and Convert the main list has
// the focus and the Enter latch is set.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// Renames the plugin's .src file to its hidden name (last three characters
// "hid") and removes its row, selecting the row now at sel or the one before.
void HidePlugin(std::int32_t sel);
// Renames the hidden file of row sel of the dialog's lists back to ".src",
// removes the dialog row, reloads the main catalogue and gives the focus back
// to the dialog's shown-name list.
void RestorePlugin(HWND dialogMainList, HWND dialogNameList, std::int32_t sel);
// Asks, then deletes the plugin file and its first non-empty icon (the file's
// base name with the icon extensions, in the plugin folder). Reads the main
// list's selection itself; "errorlevel" is 0 after a deletion.
void DeletePlugin(std::int32_t sel);
// Writes newName as the value of the plugin's shown-name entry, every other
// byte of the file kept, and shows it in the row; names shorter than two
// characters change nothing. Files over 32,767 bytes are refused.
void RenamePlugin(std::int32_t sel, const StringValue &newName);
// Turns the lone LFs of the whole plugin file into CR LF and appends CR LF,
// unless its first line already ends in CR LF; reports either in a box.
void ConvertPlugin(std::int32_t sel);
// Opens the plugin file in Notepad while the main window is in front.
void EditPlugin(std::int32_t sel);
