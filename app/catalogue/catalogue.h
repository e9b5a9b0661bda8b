// The plugin catalogue: one row per plugin file, held in two parallel list
// boxes of the main window (shown names, and file names at the same index).
// Script thread only; the list boxes are sent their messages synchronously.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// For the mask "*.SRC" first offers back the plugins that an unfinished
// re-sort left in the temporary folder (OfferJournalRecovery). Then refills
// both lists from the files of the plugin folder that match mask ("*." and
// an extension) by their own name, not only by their short name,
// in the file system's order, then selects row selection (row 0 when it is
// -1 or out of range), runs CatalogueLoaded and focuses the main list.
// A missing plugin folder gives empty lists; a file that cannot be read, and
// a folder whose name matches the mask, are left out.
void LoadCatalogue(HWND mainList, HWND nameList, std::int32_t selection, const StringValue &mask);

// Reads the plugin file name (relative to the current directory) and appends
// its shown name and file name to the lists; nothing when the name is empty
// or a folder, the file cannot be read, or it has no usable name entry.
void AddPluginEntry(const StringValue &name, HWND mainList, HWND nameList);
