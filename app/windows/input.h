// How the application reads input: the live key state, and the last captured
// command message (UserMessage). Script thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// GetKeyState of vk, called on the GUI thread, as a signed 16-bit value.
std::int32_t KeyState(std::int32_t vk);
// A key is down when the absolute value of its state is above 100 (its high bit).
bool KeyDown(std::int32_t vk);
// The captured message is a click of control: lParam is the control and the
// high word of wParam (the notification code) is 0.
bool Clicked(HWND control);
// The captured message carries menu command id in the low word of wParam.
bool MenuCommand(std::int32_t id);
