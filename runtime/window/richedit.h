// Streaming a file into a rich-edit control and its content into a file.
// Script thread; the control's stream callback runs on the GUI thread, which
// owns the control, while the script thread waits in the message send.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// Stream formats.
constexpr std::int32_t RichEditText = 1; // SF_TEXT
constexpr std::int32_t RichEditRtf = 2;  // SF_RTF

// Replaces the control's content with the file at path, read in format, and
// clears its modified flag. 0 on success, 87 (ERROR_INVALID_PARAMETER) when
// control is not a rich-edit control, else the Win32 error code of the failed
// step.
std::uint32_t RichEditLoad(HWND control, const StringValue &path, std::int32_t format);
// Writes the control's content in format to a new file at path (an existing
// file is replaced) and clears the control's modified flag. Results as above.
std::uint32_t RichEditSave(HWND control, const StringValue &path, std::int32_t format);
