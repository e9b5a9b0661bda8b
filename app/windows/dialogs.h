// The two modal dialogs of the main window, each with its own polling loop
// on the script thread; the main window is disabled while one is open.
#pragma once

#include "runtime/core/string_value.h"

// One-line input: the edit field's text on OK or Enter, the empty text on
// Cancel or Escape. At most 48 characters; the initial text starts selected.
StringValue InputDialog(const StringValue &prompt, const StringValue &title, const StringValue &initial);
// Lists the hidden plugins ("*.HID") by shown name and restores the selected
// one by button or key. Returns the shown-name list's text on OK or Enter.
StringValue HiddenPluginsDialog();
