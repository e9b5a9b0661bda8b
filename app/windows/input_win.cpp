#include "app/windows/input.h"

#include <cstdlib>
#include <cstring>

#include "runtime/core/events.h"
#include "runtime/system/library_call.h"

std::int32_t KeyState(std::int32_t vk) {
    return static_cast<std::int16_t>(CallLibrary("user32", "GetKeyState", {static_cast<std::uintptr_t>(vk)}));
}

bool KeyDown(std::int32_t vk) {
    return std::abs(KeyState(vk)) > 100;
}

bool Clicked(HWND control) {
    return control != nullptr && UserMessage.lParam == reinterpret_cast<LONG_PTR>(control) &&
           HIWORD(static_cast<DWORD>(UserMessage.wParam)) == 0;
}

bool MenuCommand(std::int32_t id) {
    return LOWORD(static_cast<DWORD>(UserMessage.wParam)) == id;
}

int AddUser32Poll(InputPoll &poll, const char *function, std::initializer_list<std::uintptr_t> args) {
    if (poll.count >= InputPoll::Capacity || args.size() > static_cast<std::size_t>(MaxBatchedArguments))
        return -1;
    BatchedCall &call = poll.calls[poll.count];
    call.library = "user32";
    call.function = function;
    call.count = static_cast<int>(args.size());
    int i = 0;
    for (std::uintptr_t word : args)
        call.args[i++] = word;
    call.result = -1;
    return poll.count++;
}

void AddKeyPolls(InputPoll &poll, std::initializer_list<std::int32_t> keys) {
    for (std::int32_t vk : keys)
        AddUser32Poll(poll, "GetKeyState", {static_cast<std::uintptr_t>(vk)});
}

std::intptr_t PollResult(InputPoll &poll, int index) {
    if (!poll.made) {
        poll.made = true;
        CallLibraryBatch(poll.calls, poll.count);
    }
    return index >= 0 && index < poll.count ? poll.calls[index].result : -1;
}

std::int32_t KeyState(InputPoll &poll, std::int32_t vk) {
    for (int i = 0; i < poll.count; ++i) {
        const BatchedCall &call = poll.calls[i];
        if (std::strcmp(call.function, "GetKeyState") == 0 && call.args[0] == static_cast<std::uintptr_t>(vk))
            return static_cast<std::int16_t>(PollResult(poll, i));
    }
    return KeyState(vk);
}

bool KeyDown(InputPoll &poll, std::int32_t vk) {
    return std::abs(KeyState(poll, vk)) > 100;
}
