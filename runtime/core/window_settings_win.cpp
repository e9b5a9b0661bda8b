// Storage and start values of the window settings read by the window procedures.
#include "runtime/core/window_settings.h"

volatile LONG WindowStyleSetting = 0;
const char *volatile CloseConfirmCaption = nullptr;
const char *volatile CloseConfirmText = nullptr;
volatile LONG ManifestPresent = 0;
volatile LONG ClientWidth = 0;
volatile LONG ClientHeight = 0;
