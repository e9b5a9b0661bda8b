// The runtime's window classes "FENSTER" (main window) and "DIALOG"
// (secondary windows). Registered by the window-services start-up and
// unregistered at its end, on the GUI thread.
#pragma once

#include "runtime/core/window_settings.h" // the class names

// Registers both classes; false when a registration fails.
bool RegisterRuntimeClasses();
// Unregisters both classes.
void UnregisterRuntimeClasses();
