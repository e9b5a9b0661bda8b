// How the application reads input: the live key state, and the last captured
// command message (UserMessage). Script thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "runtime/system/library_call.h"

// GetKeyState of vk, called on the GUI thread, as a signed 16-bit value.
std::int32_t KeyState(std::int32_t vk);
// A key is down when the absolute value of its state is above 100 (its high bit).
bool KeyDown(std::int32_t vk);
// The captured message is a click of control: lParam is the control and the
// high word of wParam (the notification code) is 0.
bool Clicked(HWND control);
// The captured message carries menu command id in the low word of wParam.
bool MenuCommand(std::int32_t id);

// A group of input tests that follow each other with nothing in between that
// could change what they read (no command, wait, pause or window change):
// their library calls are listed first and made together, in the listed
// order, in one hand-over to the GUI thread (CallLibraryBatch) the first time
// one of the group's answers is needed. A group that needs no answer makes
// no call at all. Script thread only; a poll lives for its group only.
struct InputPoll {
    static constexpr int Capacity = 16;
    BatchedCall calls[Capacity];
    int count = 0;
    bool made = false;
};
// Lists GetKeyState of each key in order. At most Capacity calls in all.
void AddKeyPolls(InputPoll &poll, std::initializer_list<std::int32_t> keys);
// Lists a call of function of user32 with the words args; returns its index.
int AddUser32Poll(InputPoll &poll, const char *function, std::initializer_list<std::uintptr_t> args);
// The result of the listed call index, making the group's calls first when
// they have not been made yet.
std::intptr_t PollResult(InputPoll &poll, int index);
// KeyState and KeyDown from the group's GetKeyState of vk; a key that the
// group does not list is asked of the GUI thread on its own.
std::int32_t KeyState(InputPoll &poll, std::int32_t vk);
bool KeyDown(InputPoll &poll, std::int32_t vk);
