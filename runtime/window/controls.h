// Windows and controls created on request of the script thread: controls by
// keyword or by explicit class, secondary "DIALOG" windows, template dialogs,
// and their destruction. The creating operations run on the script thread and
// carry the work to the GUI thread as GuiRequests (requests.h), waiting for
// each; the GUI thread owns every window created. Handles returned are null
// when creation failed (nothing is reported then).
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/string_value.h"
#include "runtime/window/window_ops.h" // the main window operations belong to the same interface

// Script thread. A visible child control of parent chosen by keyword
// (compared without regard to case: "button", "defbutton", "checkbox",
// "radiobutton", "text", "edit", "multiedit", "listbox", "sortedlistbox",
// "choicebox", "groupbox", "hscroll", "vscroll", "dialog", "window",
// "tabctrl", "richedit", "spinedit", "dateedit", "timeedit") with the next
// automatic id. For "edit", "multiedit" and "spinedit" a negative height
// selects the variant style and its absolute value is used. An unknown keyword
// raises the fatal runtime error 101 with the keyword in capitals and gives null.
HWND CreateByKeyword(const StringValue &keyword, HWND parent, const StringValue &text, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height);

// Script thread. A window of className with the given style, extended style,
// id and instance (GR_CREATE_CONTROL with an explicit id).
HWND CreateControl(const StringValue &className, const StringValue &text, std::uint32_t style, std::int32_t x,
                   std::int32_t y, std::int32_t width, std::int32_t height, HWND parent, std::int32_t id,
                   HINSTANCE instance, std::uint32_t exStyle);

// Script thread. A shown "DIALOG" window owned by parent, with the main
// window's current frame style and extended style.
HWND OpenDialogWindow(HWND parent, const StringValue &title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height);

// Script thread. A modeless dialog of the program's template "LDIALOG" owned
// by parent, placed and titled as given; null when the template is missing.
HWND OpenTemplateDialog(HWND parent, const StringValue &title, std::int32_t x, std::int32_t y,
                        std::int32_t width, std::int32_t height);

// Script thread. Destroys the window on the GUI thread; nonzero on success.
std::int32_t DestroyControl(HWND window);

// The control font (ControlFontMode, ControlFont, ApplyControlFont) is kept in
// runtime/core/window_settings.h, where the GUI thread's requests use it.
#include "runtime/core/window_settings.h"
