// Operations on one plugin of the catalogue: hide, restore, delete, change
// the shown name, convert line ends, open in Notepad. Script thread only; each
// works on the row index it is given (nothing happens for a negative index)
// and tells the user in a "Message:" box when a file step fails, keeping the row.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// Renames the plugin's .src file to its hidden name (last three characters
// "hid") and removes its row, selecting the row now at sel or the one before.
void HidePlugin(std::int32_t sel);
// Renames the hidden file of row sel of the dialog's lists back to ".src",
// removes the dialog row and reloads the main catalogue.
void RestorePlugin(HWND dialogMainList, HWND dialogNameList, std::int32_t sel);
// Asks, then deletes the plugin file and its first non-empty icon.
void DeletePlugin(std::int32_t sel);
// Writes newName as the value of the plugin's shown-name entry and shows it
// in the row; names shorter than two characters change nothing.
void RenamePlugin(std::int32_t sel, const StringValue &newName);
// Turns the lone LFs of the plugin file into CR LF, unless its first line
// already ends in CR LF.
void ConvertPlugin(std::int32_t sel);
// Opens the plugin file in Notepad while the main window is in front.
void EditPlugin(std::int32_t sel);
