// The event loop's input polls: a group of key and pointer calls is made in
// one go the first time the group needs an answer, and answers as the calls
// made one by one would at that moment. Without a running runtime the calls
// are made on this thread, whose key state the test sets.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/windows/input.h"

namespace {

void SetKey(int vk, bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[vk] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

TEST(InputPoll, AGroupIsAskedOnceAtItsFirstAnswerAndKeepsThatMoment) {
    SetKey(VK_F13, false);
    SetKey(VK_F14, true);
    InputPoll poll;
    AddKeyPolls(poll, {VK_F13, VK_F14});
    const int foreground = AddUser32Poll(poll, "GetForegroundWindow", {});
    EXPECT_FALSE(poll.made) << "listing asks nothing";

    EXPECT_TRUE(KeyDown(poll, VK_F14));
    EXPECT_TRUE(poll.made);
    EXPECT_FALSE(KeyDown(poll, VK_F13));
    EXPECT_EQ(KeyState(VK_F14), KeyState(poll, VK_F14));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetForegroundWindow()), PollResult(poll, foreground));

    // The group's answers all come from the moment it was asked; the live
    // state has moved on since.
    SetKey(VK_F14, false);
    EXPECT_TRUE(KeyDown(poll, VK_F14));
    EXPECT_FALSE(KeyDown(VK_F14));
    // A key the group does not list is asked live.
    SetKey(VK_F15, true);
    EXPECT_TRUE(KeyDown(poll, VK_F15));
    SetKey(VK_F15, false);
    EXPECT_EQ(-1, PollResult(poll, 99));
}

TEST(InputPoll, AGroupHoldsAtMostItsCapacity) {
    InputPoll poll;
    for (int i = 0; i < InputPoll::Capacity; ++i)
        EXPECT_EQ(i, AddUser32Poll(poll, "GetKeyState", {static_cast<std::uintptr_t>(VK_F16)}));
    EXPECT_EQ(-1, AddUser32Poll(poll, "GetKeyState", {static_cast<std::uintptr_t>(VK_F16)}));
    EXPECT_EQ(-1, AddUser32Poll(poll, "GetForegroundWindow", {1, 2, 3, 4, 5}));
    EXPECT_EQ(InputPoll::Capacity, poll.count);
}

} // namespace
