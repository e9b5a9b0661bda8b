// Application-wide values of the plugin catalogue, set once at start-up by
// the browser location and the first load, and read by every command. All of
// them belong to the script thread.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The browser's installation folder; ends in a backslash.
extern StringValue BrowserFolder;
// BrowserFolder + "searchplugins" (no trailing backslash).
extern StringValue PluginFolder;
// BrowserFolder + StagingName: the folder beside the plugin folder where a
// re-sort by re-copying keeps the files while it makes the plugin folder anew.
extern StringValue StagingFolder;
constexpr char StagingName[] = "searchplugins (re-sort)";
// BrowserFolder + "searchplugins\temp": where the previous version's re-copy
// kept the plugins while they were away, and its journal. Only the recovery
// of a re-sort that version left unfinished reads it.
extern StringValue TempFolder;
// 1 when the plugin folder's volume is not a FAT type: the order is written
// by renaming the files, and their original names can be given back.
extern std::int32_t RenameMethod;
// The browser's installation key, open from start-up until QuitTool (0 when
// it could not be opened).
extern std::uintptr_t BrowserKey;

// The memory areas allocated at start-up and released by QuitTool.
extern char *SubkeyArea; // 250 bytes: subkey names of the registry enumeration
extern char *WorkArea;   // 32,768 bytes: one plugin file read whole
extern char *PointArea;  // 8 bytes: a screen point (cursor position)
extern char *VolumeArea; // 255 bytes: volume information
constexpr std::int32_t SubkeyAreaSize = 250;
constexpr std::int32_t WorkAreaSize = 32768;
constexpr std::int32_t PointAreaSize = 8;
constexpr std::int32_t VolumeAreaSize = 255;

// First letter of the last loaded file name with a sort prefix; empty until one
// was seen, never cleared. The re-sort draws a different letter.
extern StringValue PrefixLetter;
// The current directory after start-up; every catalogue load returns to it.
extern StringValue StartDirectory;
// Icon extensions that Delete probes, "#"-separated, in probing order.
extern StringValue IconExtensions;

// Allocates the four memory areas, in the order of the table above.
void AllocateAreas();
// Releases them again, in the same order.
void ReleaseAreas();
