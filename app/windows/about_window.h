// The About window: banner, name and version, the information text, a button
// to the maker's web site and OK. Modeless; the event loop calls
// HandleAboutEvents once a pass while it is open. Script thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"

// 1 from ShowAboutWindow until the window is closed.
extern std::int32_t AboutWindowOpen;
extern HWND AboutWindow;
extern HWND InfoList;
extern HWND WebsiteButton;
extern HWND AboutOkButton;

// Builds the window off-screen, fills it and centres it.
void ShowAboutWindow();
// Adds the rows of the information text to InfoList.
void FillInfoText();
// A static control showing the bitmap resource name (3-D greys mapped to the
// system colours) at x, y in parent (0: the foreground window).
HWND ShowBitmap(const StringValue &name, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, HWND parent);
// One pass: the web-site button, and closing by OK or by Escape while the
// window is in front.
void HandleAboutEvents();
